#pragma once
// The bodies of a document's picture jobs. Each runs on the document's worker thread,
// touches only the composition it is given, and returns its result for the window to apply
// on the UI thread; nothing proportional to the picture is left for that thread.

#include <QImage>
#include <memory>
#include <string>

#include "composition/ui/worker_job.h"

class TpunCompo;

// A picture read from a bitmap file, already in the composition the document will hold.
struct ImportResult {
  std::unique_ptr<TpunCompo> composition;  // none when the file was refused
  std::string refusal;                     // why, then
};
// Reads `file_name` and builds the document's next composition: `document`'s reference
// palette and settings with the new picture. `document` is only read.
WorkerJob::Body ImportPictureJob(const TpunCompo& document, std::string file_name);

struct PictureUpdateResult {
  bool remapped = false;
  QImage screen;  // the mapped picture as the window paints it
};
// Remaps the picture onto the working palette when `remap`, then makes its screen image.
WorkerJob::Body UpdatePictureJob(TpunCompo& composition, bool remap);

// Turns the picture a quarter turn.
WorkerJob::Body RotatePictureJob(TpunCompo& composition);
