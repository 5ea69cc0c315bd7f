#pragma once
// A composition: one cross-stitch design in the making. A true-color picture, the floss
// palette its pixels are mapped onto, and the fabric and display settings. Its fields are
// private: every setter keeps the modified flag, and the picture its sizes.

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/progress.h"
#include "composition/picture.h"
#include "palette/floss_palette.h"

struct CompositionHeader;
struct ImportedPicture;

// A quarter turn of the picture: clockwise or counter-clockwise.
enum class QuarterTurn : uint8_t { Right, Left };

// What a load that succeeded has to tell. The caller shows the warnings (the model shows
// no message); the composition is loaded in any case.
struct TLoadResult {
  std::vector<std::string> Warnings;
  bool PaletteRecovered = false;  // its palette image was damaged: on the reference palette
  bool OlderVersion = false;      // a version-12 file, which ConvertOlderFile may rewrite
};

class TpunCompo {
 public:
  static constexpr uint16_t kFormatVersion = 13;

  // Create: an empty composition; with a palette, the reference palette becomes a copy of
  // it and the working palette a copy of that, both under that palette's ColorMatch. A new
  // composition counts as modified.
  explicit TpunCompo(const TpunPal* palette = nullptr);
  TpunCompo(const TpunCompo&) = delete;
  TpunCompo& operator=(const TpunCompo&) = delete;

  // The picture as imported (or rotated): the source of every mapping, search and count.
  const TPicture& SourcePicture() const { return source_; }
  // The picture as shown: every pixel replaced by its floss color once Remap ran, the
  // source picture itself (shared, not copied) before. Empty without a picture.
  const TPicture& MappedPicture() const { return mapped_ ? mapped_ : source_; }
  // Whether a mapping has been installed since the source picture was set.
  bool Mapped() const { return !mapped_.Empty(); }
  bool HasPicture() const { return !source_.Empty(); }
  uint16_t Width() const { return source_.Width(); }
  uint16_t Height() const { return source_.Height(); }

  const TpunPal& RefPalette() const { return ref_palette_; }
  // The working palette: every pixel is mapped onto it.
  TpunPal& Palette() { return palette_; }
  const TpunPal& Palette() const { return palette_; }

  bool TransparencyOn() const { return transparency_on_; }
  int32_t TransparentColor() const { return transparent_color_; }  // a working-palette index
  uint8_t CottonSize() const { return cotton_size_; }  // 0..3: 11, 14, 18 or 22 per inch
  uint8_t Zoom() const { return zoom_; }               // shown at (Zoom + 1):1
  const std::string& Notes() const { return notes_; }
  bool LoadedFromFile() const { return loaded_from_file_; }
  bool Modified() const { return modified_; }

  // The default progress sink and cancel flag of the operations below; a worker passes
  // its own to the operations instead.
  const ProgressHandler& OnProgress() const { return on_progress_; }
  void SetOnProgress(ProgressHandler handler) { on_progress_ = std::move(handler); }
  bool CancelRequested() const { return cancel_requested_; }
  const std::atomic<bool>& CancelFlag() const { return cancel_requested_; }
  void SetCancelRequested(bool cancel) { cancel_requested_ = cancel; }

  // How every nearest-floss lookup of the composition goes: the rule of both its palettes.
  // A mapped picture made under the old rule stays until the next mapping.
  void SetColorMatch(ColorMatch rule);
  ColorMatch Match() const { return palette_.Match(); }

  // Becomes a copy of `other`: working palette, its color match, picture (shared),
  // settings, notes. The reference palette's entries stay; the mapped picture is the
  // source picture again.
  void Assign(const TpunCompo& other);
  // The picture becomes the source picture, and the mapped picture is the source again;
  // an empty one removes the picture. The modified flag is left to the caller.
  void SetPicture(TPicture picture);
  void ResetMappedPicture() { mapped_ = TPicture(); }
  // The working palette returns to the reference palette; transparency goes off.
  void ResetPalette();

  void SetNotes(const std::string& notes);
  void SetCottonSize(uint8_t size);
  void SetZoom(uint8_t zoom);
  void SetTransparencyOn(bool on);
  void SetTransparentColor(int32_t index);
  // Working-palette entry `index` was deleted: the transparent color keeps its floss, and
  // transparency ends when that floss was the one deleted.
  void ColorDeleted(int32_t index);
  void SetModified(bool modified) { modified_ = modified; }

  // Stitches per inch of the fabric: 11, 14, 18, 22 for cotton sizes 0-3, else 0.
  uint16_t FabricCount() const;
  void Progress(const std::string& text, uint16_t percent) const;

  // Composition files (".dmc"): written in version 13; 13 and 12 read.
  void SaveToFile(const std::string& file_name);
  // The bytes SaveToFile writes, handed to `write` piece by piece straight from the blocks;
  // leaves the modified flag alone.
  using ByteSink = std::function<void(const uint8_t* bytes, size_t size)>;
  void SaveTo(const ByteSink& write);
  // Replaces the picture, settings, notes and working palette by the file's, which is only
  // read. Raises ECompositionMissing, EOldComposition, EInvalidComposition (also for a
  // width or height of 0) or EInOutError "Unable to read <name>"; a refused file changes
  // nothing.
  TLoadResult LoadFromFile(const std::string& file_name);
  // The same from the bytes of a file in memory.
  TLoadResult LoadFromBytes(const uint8_t* data, size_t size);
  // Writes a version-12 file just loaded again in version 13, keeping the file as it was
  // under NAME.v12 the first time; for a load without warnings. Raises EInOutError.
  void ConvertOlderFile(const std::string& file_name);

  // Picture operations. Without arguments they report to OnProgress; a mapping and a
  // rotation found cancelled stop and leave the composition as it was. Remap without a
  // cancel flag writes into the block of the mapped picture it replaces when nothing else
  // holds it.
  void Remap();
  void Remap(const ProgressHandler& progress, const std::atomic<bool>& cancel);
  void Rotate();
  void Rotate(const ProgressHandler& progress, const std::atomic<bool>& cancel);
  // The picture turned by 90 degrees, and resampled to width x height (see resample.h;
  // raises std::invalid_argument for a zero size); marks the composition modified.
  void Turn(QuarterTurn turn);
  void Resize(uint16_t width, uint16_t height);
  // Raises EBitmapRefused (why the file is no picture) or EInOutError; changes nothing then.
  void ImportBitmap(const std::string& file_name);
  // ImportBitmap's second half: the picture becomes the source picture, the working
  // palette returns to the reference palette and transparency goes off.
  void TakePicture(ImportedPicture&& picture);
  void ExportBitmap(const std::string& file_name) const;
  // The picture as Remap would map it, written as a bitmap file band by band without
  // making the mapped picture; a cancel leaves the target as it was. Raises EInOutError.
  void ExportMappedBitmap(const std::string& file_name, const ProgressHandler& progress,
                          const std::atomic<bool>& cancel) const;

  // The halves of Remap, Rotate, Turn and Resize that change nothing, for a worker: the
  // picture they would install, or none when cancelled (and, but for MapPicture, without a
  // picture). The window installs it on its own thread: SetMappedPicture, or SetPicture and
  // SetModified.
  std::optional<TPicture> MapPicture(const ProgressHandler& progress,
                                     const std::atomic<bool>& cancel) const;
  std::optional<TPicture> RotatedPicture(const ProgressHandler& progress,
                                         const std::atomic<bool>& cancel) const;
  std::optional<TPicture> TurnedPicture(QuarterTurn turn, const ProgressHandler& progress,
                                        const std::atomic<bool>& cancel) const;
  std::optional<TPicture> ResizedPicture(uint16_t width, uint16_t height,
                                         const ProgressHandler& progress,
                                         const std::atomic<bool>& cancel) const;
  // Raises std::invalid_argument unless it has the source picture's sizes and block size;
  // an empty one shows the source picture again.
  void SetMappedPicture(TPicture mapped);

  // Color reduction. Without a progress sink and cancel flag, SearchUsedColors and
  // RemoveSimilarColors clear the composition's own flag first and then poll it.
  void SearchUsedColors();
  void SearchUsedColors(const ProgressHandler& progress, const std::atomic<bool>& cancel);
  std::vector<std::string> DotHistogram() const;
  std::vector<std::string> DotHistogram(const ProgressHandler& progress) const;
  void RemoveUniqueEntries(uint8_t light_threshold, uint8_t dots);
  void RemoveUniqueEntries(uint8_t light_threshold, uint8_t dots, const ProgressHandler& progress,
                           const std::atomic<bool>& cancel);
  void RemoveSimilarColors(uint16_t tolerance);
  void RemoveSimilarColors(uint16_t tolerance, const ProgressHandler& progress,
                           const std::atomic<bool>& cancel);

  // A free file name in the temporary folder that ends in "bmp".
  static std::string TempBitmapName();

 private:
  // The bytes (blue, green, red, 0) each working-palette entry is shown in; with an empty
  // palette, raises as GetClr does after calling before_refusal.
  std::vector<std::array<uint8_t, 4>> ShownColors(
      const std::function<void()>& before_refusal) const;
  // MapPicture writing into `spare` when it has the source block's size.
  std::optional<TPicture> MapPictureInto(PictureBlock spare, const ProgressHandler& progress,
                                         const std::atomic<bool>& cancel) const;
  TLoadResult Take(const CompositionHeader& header, TPicture picture,
                   const std::string& palette_image, bool older);

  TPicture mapped_;  // empty until a Remap
  TPicture source_;
  TpunPal ref_palette_;
  bool transparency_on_ = false;
  int32_t transparent_color_ = 0;
  uint8_t cotton_size_ = 0;
  uint8_t zoom_ = 0;
  std::string notes_;
  ProgressHandler on_progress_;
  TpunPal palette_;
  bool loaded_from_file_ = false;
  bool modified_ = false;
  std::atomic<bool> cancel_requested_{false};
};

// A cancel flag nobody sets, for operations run to their end.
const std::atomic<bool>& NeverCancelled();

// "Composition version 13 \r\nCreated : <date> <time>\r\n\r\n" with the user's local date
// and time formats.
std::string CreationNotes();
