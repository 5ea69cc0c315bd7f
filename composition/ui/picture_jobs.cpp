#include "composition/ui/picture_jobs.h"

#include <utility>

#include "composition/composition.h"
#include "composition/composition_errors.h"
#include "composition/ui/screen_bitmap.h"
#include "imageio/picture_reader.h"

WorkerJob::Body ImportPictureJob(std::string file_name) {
  return [file_name = std::move(file_name)](const ProgressHandler&, const CancelToken&) {
    auto result = std::make_shared<ImportResult>();
    try {
      // PNG and JPEG come through Qt's readers; a bitmap is read as it always was.
      result->picture =
          IsQtPictureFile(file_name) ? ReadPicture(file_name) : ReadBitmapPicture(file_name);
    } catch (const EBitmapRefused& refused) {
      result->refusal = refused.Message();
    } catch (const EPictureUnreadable& refused) {
      result->refusal = refused.Message();
    }
    return std::any(result);
  };
}

WorkerJob::Body ReleasePicturesJob(std::vector<TPicture> pictures) {
  return [pictures = std::move(pictures)](const ProgressHandler&, const CancelToken&) mutable {
    pictures.clear();
    return std::any();
  };
}

WorkerJob::Body UpdatePictureJob(const TpunCompo& composition, bool remap) {
  return [&composition, remap](const ProgressHandler& progress, const CancelToken& cancel) {
    auto result = std::make_shared<PictureUpdateResult>();
    if (remap) result->mapped = composition.MapPicture(progress, cancel);
    result->screen = CreateScreenBitmap(
        result->mapped && *result->mapped ? *result->mapped : composition.MappedPicture());
    return std::any(result);
  };
}

WorkerJob::Body RotatePictureJob(const TpunCompo& composition) {
  return [&composition](const ProgressHandler& progress, const CancelToken& cancel) {
    return std::any(std::make_shared<RotationResult>(composition.RotatedPicture(progress, cancel)));
  };
}

WorkerJob::Body TurnPictureJob(const TpunCompo& composition, QuarterTurn turn) {
  return [&composition, turn](const ProgressHandler& progress, const CancelToken& cancel) {
    return std::any(
        std::make_shared<RotationResult>(composition.TurnedPicture(turn, progress, cancel)));
  };
}

WorkerJob::Body ResizePictureJob(const TpunCompo& composition, uint16_t width, uint16_t height) {
  return [&composition, width, height](const ProgressHandler& progress, const CancelToken& cancel) {
    return std::any(std::make_shared<RotationResult>(
        composition.ResizedPicture(width, height, progress, cancel)));
  };
}
