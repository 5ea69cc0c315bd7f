#include "composition/ui/color_search_job.h"

#include "composition/composition.h"

WorkerJob::Body ColorSearchJob(const TpunCompo& document, const TSearchOptions& options) {
  return [&document, options](const ProgressHandler& progress, const CancelToken& cancel) {
    TpunCompo work(&document.RefPalette);
    work.Assign(document);
    // The search looks at its copy's flag; the job's token reaches it with every report.
    const ProgressHandler relay = [&](const std::string& text, uint16_t percent) {
      if (cancel) work.CancelRequested = true;
      progress(text, percent);
    };
    work.OnProgress = relay;
    work.Palette.OnProgress = relay;
    auto result = std::make_shared<ColorSearchResult>();
    result->finished = AutomaticColorSearch(work, options) && !cancel;
    if (result->finished) {
      result->palette = std::make_unique<TpunPal>();
      result->palette->Assign(work.Palette);
    }
    work.OnProgress = nullptr;
    work.Palette.OnProgress = nullptr;
    return std::any(result);
  };
}
