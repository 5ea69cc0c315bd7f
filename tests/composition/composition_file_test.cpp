#include "composition/composition_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "base/exceptions.h"
#include "composition/composition.h"
#include "composition/composition_errors.h"
#include "tests/composition/picture_fixtures.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_folder.h"

using namespace fixtures;

namespace {

uint32_t At32(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | uint8_t(bytes[at + size_t(i)]);
  return value;
}
uint16_t At16(const std::string& bytes, size_t at) {
  return uint16_t(At32(bytes + "  ", at));
}

class CompositionFile : public ::testing::Test {
 protected:
  CompositionFile() {
    // Temporary files land in the test's folder, so it shows that none is left behind.
    const char* old = std::getenv("TMPDIR");
    old_tmpdir_ = old ? old : "";
    had_tmpdir_ = old != nullptr;
    setenv("TMPDIR", scratch.Path().c_str(), 1);
    FillPalette(palette);
  }
  ~CompositionFile() override {
    EXPECT_EQ(ListFolder(scratch.Path()), "") << "temporary files left";
    if (had_tmpdir_)
      setenv("TMPDIR", old_tmpdir_.c_str(), 1);
    else
      unsetenv("TMPDIR");
  }

  // A 3 x 2 composition with settings that all differ from a new one's.
  void Fill(TpunCompo& compo) {
    GivePicture(compo, 3, 2, RandomPicture(3, 2, 21));
    compo.Palette().Delete(4);
    compo.SetZoom(3);
    compo.SetCottonSize(2);
    compo.SetTransparencyOn(true);
    compo.SetTransparentColor(1);
    compo.SetNotes("Some notes\r\nwith a second line");
  }
  std::string SavedBytes(TpunCompo& compo, const std::string& name = "c.dmc") {
    compo.SaveToFile(folder.File(name));
    return ReadFileBytes(folder.File(name));
  }
  // How a load ends: "" when taken, else the kind of error raised and its text. A load
  // shows no message itself.
  std::string Refusal(TpunCompo& compo, const std::string& name) {
    const size_t shown = messages.shown.size();
    std::string refusal;
    try {
      compo.LoadFromFile(name);
    } catch (const EOldComposition& error) {
      refusal = "Old: " + error.Message();
    } catch (const EInvalidComposition& error) {
      refusal = "Invalid: " + error.Message();
    } catch (const ECompositionMissing&) {
      refusal = "Missing";
    } catch (const EInOutError& error) {
      refusal = "Unreadable: " + error.Message();
    }
    EXPECT_EQ(messages.shown.size(), shown);
    return refusal;
  }
  std::string NativeImage(const TpunPal& source) {
    source.SaveToFile(folder.File("p.clr"));
    std::string bytes = ReadFileBytes(folder.File("p.clr"));
    std::remove(folder.File("p.clr").c_str());
    return bytes;
  }

  TempFolder folder, scratch;
  ScriptedMessages messages;
  TpunPal palette;

 private:
  std::string old_tmpdir_;
  bool had_tmpdir_ = false;
};

}  // namespace

TEST_F(CompositionFile, WritesVersion13FieldByField) {
  TpunCompo compo(&palette);
  Fill(compo);
  compo.Palette().SetThreadCount(77);
  compo.SetTransparentColor(70000);
  compo.SetNotes(std::string(300, 'n'));
  const std::string file = SavedBytes(compo);

  EXPECT_FALSE(compo.Modified());
  EXPECT_EQ(At16(file, 0), 13);
  EXPECT_EQ(file[2], 0);
  EXPECT_EQ(At32(file, 3), 24u);
  EXPECT_EQ(At32(file, 7), 24u);
  EXPECT_EQ(At16(file, 11), 3);
  EXPECT_EQ(At16(file, 13), 2);
  EXPECT_EQ(At16(file, 15), 3);
  EXPECT_EQ(At32(file, 17), 4u);
  EXPECT_EQ(uint8_t(file[25]), 2);
  EXPECT_EQ(At16(file, 26), 77);
  EXPECT_EQ(file[28], 1);
  EXPECT_EQ(At16(file, 29), 4464);
  EXPECT_EQ(uint8_t(file[31]), 255);
  EXPECT_EQ(file.substr(32, 255), std::string(255, 'n'));
  EXPECT_EQ(file.substr(287, 24), Bytes(compo.SourcePicture().Block()));
  const std::string image = NativeImage(compo.Palette());
  EXPECT_EQ(At32(file, 21), image.size());
  EXPECT_EQ(file.substr(311), image);

  compo.SetNotes("short");
  const std::string again = SavedBytes(compo);
  EXPECT_EQ(again.substr(31, 6), "\x05short");
  EXPECT_EQ(again.substr(37, 250), std::string(250, '\0'));
}

TEST_F(CompositionFile, ReadsBackWhatItWroteAndSavesTheSameBytesAgain) {
  TpunCompo original(&palette);
  Fill(original);
  PictureBlock longer = original.SourcePicture().Block();
  longer.push_back(0x5A);  // a block longer than its rows is kept as stored
  GivePicture(original, 3, 2, longer);
  original.Palette().SetThreadCount(77);
  original.SetTransparentColor(70000);
  original.SetNotes(std::string(300, 'n'));
  const std::string first = SavedBytes(original);

  TpunCompo loaded(&palette);
  ASSERT_TRUE(loaded.LoadFromFile(folder.File("c.dmc")).Warnings.empty());
  EXPECT_TRUE(loaded.LoadedFromFile());
  EXPECT_FALSE(loaded.Modified());
  EXPECT_EQ(loaded.Width(), 3);
  EXPECT_EQ(loaded.Height(), 2);
  EXPECT_EQ(loaded.Zoom(), 3);
  EXPECT_EQ(loaded.CottonSize(), 2);
  EXPECT_TRUE(loaded.TransparencyOn());
  EXPECT_EQ(loaded.TransparentColor(), 4464);
  EXPECT_EQ(loaded.Notes(), std::string(255, 'n'));
  EXPECT_EQ(loaded.SourcePicture().Block(), original.SourcePicture().Block());
  EXPECT_EQ(loaded.MappedPicture().Block(), original.SourcePicture().Block());
  EXPECT_EQ(loaded.Palette().Colors.Entries(), original.Palette().Colors.Entries());
  EXPECT_EQ(loaded.Palette().ThreadCount(), 77);  // installed, not counted again
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(SavedBytes(loaded, "again.dmc"), first);

  // Read from memory exactly as from the file.
  TpunCompo from_bytes(&palette);
  from_bytes.LoadFromBytes(reinterpret_cast<const uint8_t*>(first.data()), first.size());
  EXPECT_EQ(StateOf(from_bytes), StateOf(loaded));

  // A composition without a picture saves, but nothing could be done with its file.
  TpunCompo empty;  // no picture, no colors
  const std::string bare = SavedBytes(empty, "bare.dmc");
  EXPECT_EQ(At32(bare, 7), 0u);
  TpunCompo bare_loaded;
  EXPECT_EQ(Refusal(bare_loaded, folder.File("bare.dmc")), "Invalid: Invalid composition file !");
  EXPECT_FALSE(bare_loaded.HasPicture());
}

TEST_F(CompositionFile, Version12IsReadAndRewrittenAsVersion13) {
  TpunPal colors;
  colors.AddClr(MakeColor(1, 2, 3), "310");
  colors.AddClr(MakeColor(200, 100, 50), "321");
  const std::string image = NativeImage(colors);
  const std::string pixels = Bytes(RandomPicture(2, 1, 8));
  std::string file;
  Le16(file, 12);
  file += std::string(2, '\0');  // reserved, unused
  Le32(file, 8);
  Le32(file, 8);
  Le16(file, 2);  // width
  Le16(file, 1);  // height
  Le16(file, 4);  // zoom
  Le16(file, 2);  // palette entries
  Le32(file, uint32_t(image.size()));
  file += std::string("\x03\x00", 2);  // cotton size, unused
  Le16(file, 2);                       // threads
  file += "\x01";                      // transparency on
  Le16(file, 1);                       // transparent color
  file += std::string(3, '\0');
  file +=
      "\x04"
      "note" +
      std::string(251, 'x');
  ASSERT_EQ(file.size(), 290u);
  WriteFileBytes(folder.File("old.dmc"), file + pixels + image);

  TpunCompo compo(&palette);
  const TLoadResult loaded = compo.LoadFromFile(folder.File("old.dmc"));
  EXPECT_TRUE(loaded.OlderVersion);
  EXPECT_TRUE(loaded.Warnings.empty());
  EXPECT_EQ(compo.Width(), 2);
  EXPECT_EQ(compo.Zoom(), 4);
  EXPECT_EQ(compo.CottonSize(), 3);
  EXPECT_EQ(compo.Notes(), "note");
  EXPECT_EQ(Bytes(compo.SourcePicture().Block()), pixels);
  EXPECT_EQ(compo.Palette().Colors.Entries(), colors.Colors.Entries());
  EXPECT_FALSE(compo.Modified());

  // Reading only reads; the rewrite is asked for, and keeps the file as it was.
  EXPECT_EQ(ReadFileBytes(folder.File("old.dmc")), file + pixels + image);
  compo.ConvertOlderFile(folder.File("old.dmc"));
  const std::string rewritten = ReadFileBytes(folder.File("old.dmc"));
  EXPECT_EQ(At16(rewritten, 0), 13);
  EXPECT_EQ(rewritten.substr(287, 8), pixels);
  EXPECT_EQ(ReadFileBytes(folder.File("old.dmc.v12")), file + pixels + image);
  TpunCompo again(&palette);
  EXPECT_FALSE(again.LoadFromFile(folder.File("old.dmc")).OlderVersion);
  EXPECT_EQ(StateOf(again), StateOf(compo));
  // A later conversion leaves the first kept file alone.
  WriteFileBytes(folder.File("old.dmc"), file + pixels + image);
  compo.SetNotes("later");
  compo.ConvertOlderFile(folder.File("old.dmc"));
  EXPECT_EQ(ReadFileBytes(folder.File("old.dmc.v12")), file + pixels + image);
  EXPECT_EQ(ListFolder(folder.Path()), "old.dmc old.dmc.v12");
}

TEST_F(CompositionFile, RefusedFilesLeaveTheCompositionAlone) {
  TpunCompo source(&palette);
  Fill(source);
  const std::string good = SavedBytes(source);
  std::string no_palette_room = good;  // the palette image is one byte longer than the file
  no_palette_room[21] = char(uint8_t(no_palette_room[21]) + 1);
  std::string short_picture = good;  // 23 bytes cannot hold 3 x 2 pixels
  short_picture[7] = 23;
  std::string huge_picture = good;  // more picture than file
  huge_picture[10] = 0x7F;
  std::string huge_palette = good;  // would allocate gigabytes if believed
  huge_palette[24] = char(0xFF);
  std::string v11 = good, v99 = good, no_width = good, no_height = good;
  v11[0] = 11;
  v99[0] = 99;
  no_width[11] = 0;  // 0 x 2, its 24 picture bytes still there
  no_height[13] = 0;
  const std::string invalid = "Invalid: Invalid composition file !";
  const std::string old = "Old: Old Composition, use the convert utility !";
  const std::pair<std::string, std::string> cases[] = {
      {"", invalid},
      {good.substr(0, 1), invalid},
      {good.substr(0, 2), invalid},
      {good.substr(0, 286), invalid},
      {good.substr(0, 287 + 23), invalid},
      {good.substr(0, good.size() - 1), invalid},
      {no_palette_room, invalid},
      {short_picture, invalid},
      {huge_picture, invalid},
      {huge_palette, invalid},
      {v99, invalid},
      {no_width, invalid},
      {no_height, invalid},
      {v11, old},
      {v11.substr(0, 2), old},
  };
  TpunCompo compo(&palette);
  GivePicture(compo, 1, 1, RandomPicture(1, 1, 1));
  const std::string before = StateOf(compo);
  for (const auto& [bytes, message] : cases) {
    WriteFileBytes(folder.File("bad.dmc"), bytes);
    EXPECT_EQ(Refusal(compo, folder.File("bad.dmc")), message) << bytes.size();
    EXPECT_EQ(StateOf(compo), before) << bytes.size();
    std::string from_bytes;
    try {
      compo.LoadFromBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    } catch (const Exception& error) {
      from_bytes = error.Message();
    }
    EXPECT_EQ(from_bytes, message.substr(message.find(": ") + 2)) << bytes.size();
    EXPECT_EQ(StateOf(compo), before) << bytes.size();
  }
  EXPECT_EQ(Refusal(compo, folder.File("missing.dmc")), "Missing");
  EXPECT_EQ(Refusal(compo, folder.Path()), "Unreadable: Unable to read " + folder.Path());
  EXPECT_EQ(Refusal(compo, "/dev/zero"), "Unreadable: Unable to read /dev/zero");
  EXPECT_EQ(StateOf(compo), before);
}

TEST_F(CompositionFile, PaletteImageThatIsNoPaletteFallsBackToTheReference) {
  TpunCompo source(&palette);
  Fill(source);
  std::string file = SavedBytes(source);
  const size_t image_at = 287 + 24;
  file.replace(image_at, std::string::npos, std::string(file.size() - image_at, 'z'));
  WriteFileBytes(folder.File("c.dmc"), file);

  TpunCompo compo(&palette);
  compo.Palette().Delete(0);
  const TLoadResult loaded = compo.LoadFromFile(folder.File("c.dmc"));
  EXPECT_EQ(loaded.Warnings, std::vector<std::string>{"Error loading composition colors !"});
  EXPECT_TRUE(loaded.PaletteRecovered);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(compo.Palette().Colors.Entries(), palette.Colors.Entries());
  EXPECT_FALSE(compo.TransparencyOn());
  EXPECT_EQ(compo.SourcePicture().Block(), source.SourcePicture().Block());
  EXPECT_EQ(compo.Zoom(), 3);
  EXPECT_FALSE(compo.Modified());
}

TEST_F(CompositionFile, NoPaletteEntriesKeepTheWorkingPalette) {
  TpunCompo source(&palette);
  Fill(source);
  std::string file = SavedBytes(source);
  file[17] = 0;
  WriteFileBytes(folder.File("c.dmc"), file.substr(0, 287 + 24));  // and no image at all

  TpunCompo compo(&palette);
  compo.Palette().Delete(0);
  compo.Palette().Delete(0);
  const auto kept = compo.Palette().Colors.Entries();
  ASSERT_TRUE(compo.LoadFromFile(folder.File("c.dmc")).Warnings.empty());
  EXPECT_EQ(compo.Palette().Colors.Entries(), kept);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(CompositionFile, FailedSaveRaisesKeepsTheOldFileAndStaysModified) {
  WriteFileBytes(folder.File("keep.dmc"), "old composition");
  TpunCompo compo(&palette);
  GivePicture(compo, 40, 40, RandomPicture(40, 40, 4));
  {
    FileSizeLimit full_disk(2048);
    ASSERT_TRUE(full_disk.Active());
    EXPECT_THROW(compo.SaveToFile(folder.File("keep.dmc")), EInOutError);
  }
  EXPECT_EQ(ReadFileBytes(folder.File("keep.dmc")), "old composition");
  EXPECT_EQ(ListFolder(folder.Path()), "keep.dmc");
  EXPECT_TRUE(compo.Modified());

  EXPECT_THROW(compo.SaveToFile(folder.File("no/such/folder.dmc")), EInOutError);
  EXPECT_TRUE(compo.Modified());
}
