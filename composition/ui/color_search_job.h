#pragma once
// The automatic color search as a job: the model's search on a copy of the document's
// composition (sharing its picture), handing back the reduced palette; the document is
// only read.

#include <memory>
#include <optional>

#include "base/progress.h"
#include "composition/color_search.h"
#include "composition/ui/worker_job.h"
#include "palette/floss_palette.h"

class TpunCompo;

struct ColorSearchResult {
  bool finished = false;  // false: cancelled
  std::unique_ptr<TpunPal> palette;
};

WorkerJob::Body ColorSearchJob(const TpunCompo& document, const TSearchOptions& options);

// Hears every report of the searches made after it is set, on the worker and before the
// report goes on, so a test can act at a chosen moment of a search (during a sort, in a
// merge round). None by default; set it on the interface's thread.
void SetSearchReportProbe(ProgressHandler probe);
