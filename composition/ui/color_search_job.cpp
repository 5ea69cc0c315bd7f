#include "composition/ui/color_search_job.h"

#include <utility>

#include "composition/composition.h"

namespace {

ProgressHandler search_probe;

}  // namespace

void SetSearchReportProbe(ProgressHandler probe) {
  search_probe = std::move(probe);
}

WorkerJob::Body ColorSearchJob(const TpunCompo& document, const TSearchOptions& options) {
  // The probe is taken here, on the interface's thread, so the worker never reads the setting.
  return [&document, options, probe = search_probe](const ProgressHandler& progress,
                                                    const CancelToken& cancel) {
    const ProgressHandler relay =
        !probe ? progress : ProgressHandler([&](const std::string& text, uint16_t percent) {
          probe(text, percent);
          progress(text, percent);
        });
    auto result = std::make_shared<ColorSearchResult>();
    TSearchResult search = RunColorSearch(document, options, relay, cancel);
    result->finished = !search.Cancelled && search.Palette && !cancel;
    result->palette = std::move(search.Palette);
    return std::any(result);
  };
}
