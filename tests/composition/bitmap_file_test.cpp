#include "composition/bitmap_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "base/exceptions.h"
#include "composition/composition.h"
#include "tests/composition/picture_fixtures.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/message_of.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_folder.h"

using namespace fixtures;

namespace {

struct BitmapFields {
  uint32_t header_size = 40;
  int32_t width = 3;
  int32_t height = 2;
  uint16_t bits = 24;
  uint32_t colors_used = 0;
  std::string table{};   // color-table bytes
  std::string pixels{};  // everything after the table
};

// A bitmap file laid out by hand; the pixel-data offset is deliberately past the end, as
// careless writers leave it: the reader then takes the data after the color table.
std::string BitmapBytes(const BitmapFields& bitmap) {
  std::string file = "BM";
  Le32(file, 0);
  Le32(file, 0);
  Le32(file, 9999);
  Le32(file, bitmap.header_size);
  if (bitmap.header_size == 12) {
    Le16(file, uint32_t(bitmap.width));
    Le16(file, uint32_t(bitmap.height));
    Le16(file, 1);
    Le16(file, bitmap.bits);
  } else {
    Le32(file, uint32_t(bitmap.width));
    Le32(file, uint32_t(bitmap.height));
    Le16(file, 1);
    Le16(file, bitmap.bits);
    for (uint32_t field : {0u, 0u, 0u, 0u, bitmap.colors_used, 0u}) Le32(file, field);
  }
  return file + bitmap.table + bitmap.pixels;
}

std::string Pixels(size_t count, char first = 1) {
  std::string bytes(count, 0);
  for (size_t i = 0; i < count; ++i) bytes[i] = char(first + i);
  return bytes;
}

class BitmapFile : public ::testing::Test {
 protected:
  BitmapFile() : compo(&Filled(palette)) {}
  static TpunPal& Filled(TpunPal& palette) {
    FillPalette(palette);
    return palette;
  }
  // False with the refusal's text kept when the file is no picture.
  bool Import(const std::string& bytes) {
    WriteFileBytes(folder.File("in.bmp"), bytes);
    refused.clear();
    try {
      compo.ImportBitmap(folder.File("in.bmp"));
      return true;
    } catch (const EBitmapRefused& error) {
      refused = error.what();
      return false;
    }
  }

  TempFolder folder;
  ScriptedMessages messages;
  std::string refused;
  TpunPal palette;
  TpunCompo compo;
};

}  // namespace

TEST_F(BitmapFile, TakesTheInformationHeaderAndAllPixelDataToTheEnd) {
  compo.Palette().Clear();
  compo.SetTransparencyOn(true);
  compo.SetModified(false);
  BitmapFields bitmap;
  bitmap.pixels = Pixels(24 + 5);  // rows of 12 bytes, and 5 bytes beyond them
  ASSERT_TRUE(Import(BitmapBytes(bitmap)));
  EXPECT_EQ(compo.Width(), 3);
  EXPECT_EQ(compo.Height(), 2);
  EXPECT_EQ(Bytes(compo.SourcePicture().Block()), bitmap.pixels);
  EXPECT_EQ(compo.MappedPicture().Block(), compo.SourcePicture().Block());
  EXPECT_EQ(compo.Palette().Count(), 5);  // back to the reference palette
  EXPECT_FALSE(compo.TransparencyOn());
  EXPECT_TRUE(compo.Modified());
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(BitmapFile, TakesTheCoreHeaderAndSkipsTheColorTable) {
  BitmapFields core{.header_size = 12, .width = 2, .height = 1, .pixels = Pixels(8)};
  ASSERT_TRUE(Import(BitmapBytes(core)));
  EXPECT_EQ(Bytes(compo.SourcePicture().Block()), core.pixels);

  BitmapFields table{
      .width = 1, .height = 1, .colors_used = 2, .table = std::string(8, 'T'), .pixels = Pixels(4)};
  ASSERT_TRUE(Import(BitmapBytes(table)));
  EXPECT_EQ(Bytes(compo.SourcePicture().Block()), table.pixels);
}

TEST_F(BitmapFile, TopDownRowsArePutBottomUp) {
  BitmapFields bitmap{.width = 1, .height = -3, .pixels = Pixels(12) + "extra"};
  ASSERT_TRUE(Import(BitmapBytes(bitmap)));
  EXPECT_EQ(compo.Height(), 3);
  EXPECT_EQ(Bytes(compo.SourcePicture().Block()),
            bitmap.pixels.substr(8, 4) + bitmap.pixels.substr(4, 4) + bitmap.pixels.substr(0, 4));
}

TEST_F(BitmapFile, RefusalsSayWhyAndChangeNothing) {
  GivePicture(compo, 2, 2, RandomPicture(2, 2, 5));
  compo.Palette().Clear();
  const std::string before = StateOf(compo);
  const std::string not_true_color = "Not true color image !";
  const std::string damaged = "Invalid bitmap file !";
  const std::string large = "Image too large, at most 65535 pixels wide and high !";
  const std::string empty = "Image without pixels !";
  const std::string unstorable = "The picture is too large for a composition file";
  const std::string good = BitmapBytes({.pixels = Pixels(24)});
  struct Case {
    std::string bytes, message;
  } cases[] = {
      {BitmapBytes({.bits = 8, .pixels = Pixels(2000)}), not_true_color},
      {BitmapBytes({.bits = 16, .pixels = Pixels(24)}), not_true_color},
      {"XM" + good.substr(2), not_true_color},
      {BitmapBytes({.header_size = 20, .pixels = Pixels(200)}), not_true_color},
      {good.substr(0, 16), damaged},  // no whole header size
      {good.substr(0, 40), damaged},  // the information header cut short
      {good.substr(0, good.size() - 1), damaged},
      {BitmapBytes({.colors_used = 0x40000000, .pixels = Pixels(24)}), damaged},
      {BitmapBytes({.width = -3, .pixels = Pixels(24)}), damaged},
      {BitmapBytes({.width = 65536, .height = 1, .pixels = Pixels(196608)}), large},
      {BitmapBytes({.width = 1, .height = -65536, .pixels = Pixels(4)}), large},
      {BitmapBytes({.width = 0, .pixels = Pixels(24)}), empty},
      {BitmapBytes({.height = 0, .pixels = Pixels(24)}), empty},
      // Refused from the header alone, however little of the pixels the file holds.
      {BitmapBytes({.width = 65535, .height = 21846, .pixels = Pixels(4)}), unstorable},
      {BitmapBytes({.width = 65535, .height = -21846}), unstorable},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(Import(c.bytes)) << c.message;
    EXPECT_EQ(refused, c.message);
    EXPECT_EQ(StateOf(compo), before) << c.message;
  }
  EXPECT_TRUE(messages.shown.empty());  // the callers show them

  // A file whose pixel data passes what a composition file holds is refused before any of
  // it is read (a sparse file: nothing is on disk).
  WriteFileBytes(folder.File("in.bmp"), BitmapBytes({.width = 1, .height = 1}));
  // Its pixel-data offset lies inside it then, and the data from there is still too much.
  ASSERT_EQ(truncate(folder.File("in.bmp").c_str(), off_t(UINT32_MAX) + 20000), 0);
  EXPECT_EQ(MessageOf<EBitmapRefused>([&] { compo.ImportBitmap(folder.File("in.bmp")); }),
            unstorable);
  EXPECT_EQ(StateOf(compo), before);
}

TEST_F(BitmapFile, UnreadableFilesRaise) {
  auto message_of = [&](const std::string& name) -> std::string {
    try {
      compo.ImportBitmap(name);
    } catch (const EInOutError& error) {
      return error.what();
    }
    return "no error";
  };
  EXPECT_EQ(message_of(folder.File("none.bmp")), "Cannot open file " + folder.File("none.bmp"));
  WriteFileBytes(folder.File("short.bmp"), "BM" + std::string(11, 0));
  EXPECT_EQ(message_of(folder.File("short.bmp")), "Stream read error");
}

TEST_F(BitmapFile, ExportWritesTheHeadersAndTheSourceRows) {
  const PictureBlock picture = RandomPicture(3, 2, 9);
  PictureBlock longer = picture;
  longer.push_back(0x77);  // a block longer than its rows, as imports make
  GivePicture(compo, 3, 2, longer);
  compo.Remap();
  compo.ExportBitmap(folder.File("out.bmp"));

  std::string expected = "BM";
  for (uint32_t field : {54u + 24u, 0u, 54u, 40u, 3u, 2u}) Le32(expected, field);
  Le16(expected, 1);
  Le16(expected, 24);
  for (uint32_t field : {0u, 24u, 0u, 0u, 0u, 0u}) Le32(expected, field);
  EXPECT_EQ(ReadFileBytes(folder.File("out.bmp")), expected + Bytes(picture));

  ASSERT_NO_THROW(compo.ImportBitmap(folder.File("out.bmp")));
  EXPECT_EQ(compo.SourcePicture().Block(), picture);

  GivePicture(compo, 1, 1, RandomPicture(1, 1, 2));
  compo.ExportBitmap(folder.File("one.bmp"));
  EXPECT_EQ(ReadFileBytes(folder.File("one.bmp")).size(), 58u);
}

TEST_F(BitmapFile, ExportWithoutPictureWritesNothing) {
  compo.ExportBitmap(folder.File("none.bmp"));
  EXPECT_EQ(ListFolder(folder.Path()), "");
}

TEST_F(BitmapFile, FailedExportRaisesAndKeepsTheOldFile) {
  WriteFileBytes(folder.File("keep.bmp"), "old picture");
  GivePicture(compo, 40, 40, RandomPicture(40, 40, 4));
  {
    FileSizeLimit full_disk(1024);
    ASSERT_TRUE(full_disk.Active());
    EXPECT_THROW(compo.ExportBitmap(folder.File("keep.bmp")), EInOutError);
  }
  EXPECT_EQ(ReadFileBytes(folder.File("keep.bmp")), "old picture");
  EXPECT_EQ(ListFolder(folder.Path()), "keep.bmp");

  EXPECT_THROW(compo.ExportBitmap(folder.File("no/such/folder.bmp")), EInOutError);
}

TEST_F(BitmapFile, MappedExportEqualsTheRemappedPictureBandByBand) {
  // Odd widths put padding in every row, whose bytes are the source's; 300 rows of 4000
  // pixels make more than one band.
  for (auto [w, h] :
       std::vector<std::pair<uint16_t, uint16_t>>{{1, 1}, {5, 3}, {37, 23}, {4000, 300}}) {
    PictureBlock block = RandomPicture(w, h, w);
    for (uint32_t y = 0; y < h; ++y)
      for (size_t at = 3 * size_t(w); at < RowLength(w); ++at) block[y * RowLength(w) + at] = 0x55;
    block.push_back(0x77);  // past the rows: never exported
    GivePicture(compo, w, h, block);
    compo.SetTransparencyOn(true);
    compo.SetTransparentColor(2);
    compo.ExportMappedBitmap(folder.File("mapped.bmp"), nullptr, NeverCancelled());
    compo.Remap();
    WriteBitmapFile(folder.File("remapped.bmp"), compo.MappedPicture().Block(), w, h);
    EXPECT_EQ(ReadFileBytes(folder.File("mapped.bmp")), ReadFileBytes(folder.File("remapped.bmp")))
        << w << "x" << h;
  }
  // A cancel leaves the target as it was and nothing beside it.
  const std::string before = ReadFileBytes(folder.File("mapped.bmp"));
  const std::atomic<bool> cancel{true};
  compo.ExportMappedBitmap(folder.File("mapped.bmp"), nullptr, cancel);
  EXPECT_EQ(ReadFileBytes(folder.File("mapped.bmp")), before);
  EXPECT_EQ(ListFolder(folder.Path()), "mapped.bmp remapped.bmp");
}
