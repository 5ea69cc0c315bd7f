#include "composition/ui/picture_jobs.h"

#include <utility>

#include "composition/bitmap_file.h"
#include "composition/composition.h"
#include "composition/ui/screen_bitmap.h"

namespace {

// The composition reports to the job's sink while the job runs, and to its own handler
// again after, however the job ends.
class ReportsTo {
 public:
  ReportsTo(TpunCompo& composition, const ProgressHandler& sink)
      : composition_(composition), saved_(std::move(composition.OnProgress)) {
    composition_.OnProgress = sink;
  }
  ~ReportsTo() { composition_.OnProgress = std::move(saved_); }
  ReportsTo(const ReportsTo&) = delete;
  ReportsTo& operator=(const ReportsTo&) = delete;

 private:
  TpunCompo& composition_;
  ProgressHandler saved_;
};

}  // namespace

WorkerJob::Body ImportPictureJob(const TpunCompo& document, std::string file_name) {
  return [&document, file_name = std::move(file_name)](const ProgressHandler&, const CancelToken&) {
    auto result = std::make_shared<ImportResult>();
    std::vector<uint8_t> file = ReadBitmapFile(file_name);
    BitmapLayout layout;
    const BitmapVerdict verdict = CheckBitmap(file.data(), file.size(), layout);
    if (verdict != BitmapVerdict::Taken) {
      result->refusal = BitmapRefusalText(verdict);
      return std::any(result);
    }
    ImportedPicture picture{TakeBitmapPixels(std::move(file), layout), layout.width, layout.height};
    auto next = std::make_unique<TpunCompo>(&document.RefPalette);
    next->SetNotes(document.Notes);
    next->SetCottonSize(document.CottonSize);
    next->SetZoom(document.Zoom);
    next->SetTransparentColor(document.TransparentColor);
    next->LoadedFromFile = document.LoadedFromFile;
    next->TakePicture(std::move(picture));
    result->composition = std::move(next);
    return std::any(result);
  };
}

WorkerJob::Body UpdatePictureJob(TpunCompo& composition, bool remap) {
  return [&composition, remap](const ProgressHandler& progress, const CancelToken&) {
    auto result = std::make_shared<PictureUpdateResult>();
    if (remap) {
      ReportsTo reports(composition, progress);
      composition.Remap();
    }
    result->remapped = remap;
    result->screen = CreateScreenBitmap(composition);
    return std::any(result);
  };
}

WorkerJob::Body RotatePictureJob(TpunCompo& composition) {
  return [&composition](const ProgressHandler& progress, const CancelToken&) {
    ReportsTo reports(composition, progress);
    composition.Rotate();
    return std::any();
  };
}
