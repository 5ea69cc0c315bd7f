#include "composition/ui/picture_jobs.h"

#include <utility>

#include "composition/composition.h"
#include "composition/composition_errors.h"
#include "composition/ui/screen_bitmap.h"

WorkerJob::Body ImportPictureJob(std::string file_name) {
  return [file_name = std::move(file_name)](const ProgressHandler&, const CancelToken&) {
    auto result = std::make_shared<ImportResult>();
    try {
      result->picture = ReadBitmapPicture(file_name);
    } catch (const EBitmapRefused& refused) {
      result->refusal = refused.Message();
    }
    return std::any(result);
  };
}

WorkerJob::Body ReleasePicturesJob(TPicture source, TPicture mapped) {
  return [source = std::move(source), mapped = std::move(mapped)](const ProgressHandler&,
                                                                  const CancelToken&) mutable {
    source = TPicture();
    mapped = TPicture();
    return std::any();
  };
}

WorkerJob::Body UpdatePictureJob(TpunCompo& composition, bool remap) {
  return [&composition, remap](const ProgressHandler& progress, const CancelToken& cancel) {
    auto result = std::make_shared<PictureUpdateResult>();
    if (remap) composition.Remap(progress, cancel);
    result->remapped = remap && !cancel;
    result->screen = CreateScreenBitmap(composition);
    return std::any(result);
  };
}

WorkerJob::Body RotatePictureJob(TpunCompo& composition) {
  return [&composition](const ProgressHandler& progress, const CancelToken& cancel) {
    composition.Rotate(progress, cancel);
    return std::any();
  };
}
