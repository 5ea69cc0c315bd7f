#pragma once
// A composition: one cross-stitch design in the making. A true-color picture, the floss
// palette its pixels are mapped onto, and the fabric and display settings.

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/progress.h"
#include "composition/picture_block.h"
#include "palette/floss_palette.h"

struct ImportedPicture;

class TpunCompo {
 public:
  static constexpr uint16_t kFormatVersion = 13;

  // Create: an empty composition; with a palette, the reference palette becomes a copy of
  // it and the working palette a copy of that. A new composition counts as modified.
  explicit TpunCompo(const TpunPal* palette = nullptr);
  TpunCompo(const TpunCompo&) = delete;
  TpunCompo& operator=(const TpunCompo&) = delete;

  // The picture as shown: every pixel replaced by its floss color. Absent without a picture.
  std::optional<PictureBlock> MappedPicture;
  // The picture as imported (or rotated): the source of every mapping, search and count.
  std::optional<PictureBlock> SourcePicture;
  TpunPal RefPalette;
  bool TransparencyOn = false;
  int32_t TransparentColor = 0;  // an index of the working palette
  uint8_t CottonSize = 0;        // 0..3: 11, 14, 18 or 22 stitches per inch
  uint8_t Zoom = 0;              // shown at (Zoom + 1):1
  std::string Notes;
  ProgressHandler OnProgress;
  TpunPal Palette;  // the working palette: every pixel is mapped onto it
  uint16_t Width = 0;
  uint16_t Height = 0;
  bool LoadedFromFile = false;
  bool Modified = false;
  std::atomic<bool> CancelRequested{false};

  bool HasPicture() const { return SourcePicture.has_value(); }

  // Becomes a copy of `other`: working palette, sizes, settings, notes, and both pictures
  // as copies of the other's source picture. The reference palette stays.
  void Assign(const TpunCompo& other);
  // The block becomes the source picture and a copy of it the mapped picture; none
  // removes the picture. Width and height are left to the caller.
  void SetPicture(std::optional<PictureBlock> block);
  void ResetMappedPicture();
  // The working palette returns to the reference palette; transparency goes off.
  void ResetPalette();

  void SetNotes(const std::string& notes);
  void SetCottonSize(uint8_t size);
  void SetZoom(uint8_t zoom);
  void SetTransparencyOn(bool on);
  void SetTransparentColor(int32_t index);

  // Stitches per inch of the fabric: 11, 14, 18, 22 for cotton sizes 0-3, else 0.
  uint16_t FabricCount() const;
  void Progress(const std::string& text, uint16_t percent);

  // Composition files (".dmc"): written in version 13; 13 and 12 read.
  void SaveToFile(const std::string& file_name);
  bool LoadFromFile(const std::string& file_name);

  // Picture operations.
  void Remap();
  void Rotate();
  // Raises EBitmapRefused (why the file is no picture) or EInOutError; changes nothing then.
  void ImportBitmap(const std::string& file_name);
  // ImportBitmap's second half: the picture becomes the source picture, the working
  // palette returns to the reference palette and transparency goes off.
  void TakePicture(ImportedPicture&& picture);
  void ExportBitmap(const std::string& file_name) const;

  // Color reduction.
  void SearchUsedColors();
  std::vector<std::string> DotHistogram();
  void RemoveUniqueEntries(uint8_t light_threshold, uint8_t dots);
  void RemoveSimilarColors(uint16_t tolerance);

  // A free file name in the temporary folder that ends in "bmp".
  static std::string TempBitmapName();

 private:
  friend struct ColorSearchRun;
  void SearchUsedColors(bool clear_cancel);
  void RemoveSimilarColors(uint16_t tolerance, bool clear_cancel);
};

// "Composition version 13 \r\nCreated : <date> <time>\r\n\r\n" with the user's local date
// and time formats.
std::string CreationNotes();
