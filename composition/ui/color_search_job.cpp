#include "composition/ui/color_search_job.h"

#include "composition/composition.h"

WorkerJob::Body ColorSearchJob(const TpunCompo& document, const TSearchOptions& options) {
  return [&document, options](const ProgressHandler& progress, const CancelToken& cancel) {
    auto result = std::make_shared<ColorSearchResult>();
    TSearchResult search = RunColorSearch(document, options, progress, cancel);
    result->finished = !search.Cancelled && search.Palette && !cancel;
    result->palette = std::move(search.Palette);
    return std::any(result);
  };
}
