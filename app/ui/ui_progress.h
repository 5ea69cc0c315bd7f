#pragma once
// Progress of work that runs on the interface's own thread (the colour table's S&imilar,
// &Used and Sort). The model may report a hundred thousand times; the binding shows at most
// one report per ProgressThrottle interval (always the last one of a run) and lets events
// run each time it shows one, so a "S&top" click is seen within a screen refresh or two.

#include <memory>

#include "base/progress.h"

// Makes a handler that passes the model's reports, throttled, to `show`, then lets the
// interface handle its events.
ProgressHandler UiThreadProgress(ProgressHandler show);
