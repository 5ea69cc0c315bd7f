#pragma once
// The bodies of a document's picture jobs. Each runs on the document's worker thread,
// touches only the composition it is given, and returns its result for the window to apply
// on the UI thread; nothing proportional to the picture is left for that thread.

#include <QImage>
#include <optional>
#include <string>
#include <vector>

#include "composition/bitmap_file.h"
#include "composition/composition.h"
#include "composition/picture.h"
#include "composition/ui/worker_job.h"

class TpunCompo;

// A picture read from a bitmap, PNG or JPEG file, for the composition to take (its block
// by move).
struct ImportResult {
  std::optional<ImportedPicture> picture;  // none when the file was refused
  std::string refusal;                     // why, then
};
WorkerJob::Body ImportPictureJob(std::string file_name);

// Pictures a composition let go of, freed on the worker: a large block's pages are not
// given back on the UI thread.
WorkerJob::Body ReleasePicturesJob(std::vector<TPicture> pictures);

struct PictureUpdateResult {
  std::optional<TPicture> mapped;  // for the composition to install; none: not remapped
  QImage screen;                   // the picture shown, as the window paints it
};
// Maps the picture onto the working palette when `remap` (the composition is only read),
// then makes the screen image of the mapped picture.
WorkerJob::Body UpdatePictureJob(const TpunCompo& composition, bool remap);

// A picture made from the source (transposed, turned, resized) for the composition to
// install; none when cancelled.
using RotationResult = std::optional<TPicture>;
WorkerJob::Body RotatePictureJob(const TpunCompo& composition);
// The picture turned a quarter either way, as a RotationResult.
WorkerJob::Body TurnPictureJob(const TpunCompo& composition, QuarterTurn turn);
// The picture resampled to width x height stitches, as a RotationResult.
WorkerJob::Body ResizePictureJob(const TpunCompo& composition, uint16_t width, uint16_t height);
