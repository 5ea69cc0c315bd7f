#include "cli/composition_commands.h"

#include "base/exceptions.h"
#include "cli/document.h"
#include "cli/gui_session.h"
#include "cli/picture_size.h"
#include "cli/progress_bar.h"
#include "composition/bitmap_file.h"
#include "composition/color_search.h"
#include "composition/search_result.h"
#include "imageio/picture_reader.h"
#include "pattern/report_lines.h"
#include "pattern/symbol_table.h"

namespace {

// Every line break of the notes as the two characters \r\n, so notes stay on one line.
std::string EscapedNotes(const std::string& notes) {
  std::string text;
  for (char c : notes) {
    if (c == '\r')
      text += "\\r";
    else if (c == '\n')
      text += "\\n";
    else
      text += c;
  }
  return text;
}

uint8_t SmallNumber(Arguments& args, const std::string& option, int32_t fallback, int32_t low,
                    int32_t high) {
  return uint8_t(ParseNumber(args.TakeOption(option, std::to_string(fallback)), low, high, option));
}

void Import(Arguments& args, const std::string& usage) {
  ProgressBar bar;
  auto palette = LoadMainPalette(args);
  uint8_t cotton = SmallNumber(args, "--cotton", 1, 0, 3);
  const std::optional<PictureSize> size = PictureSize::Take(args);
  auto files = args.Positional(2, usage);
  auto document = NewDocument(*palette, bar.Handler());
  document->SetCottonSize(cotton);
  try {
    if (IsQtPictureFile(files[0])) {
      // PNG and JPEG are read with Qt Gui, offscreen; a bitmap needs no Qt at all.
      GuiSession gui;
      document->TakePicture(ReadPicture(files[0]));
    } else {
      document->ImportBitmap(files[0]);
    }
  } catch (const Exception& error) {
    throw CliError(files[0] + ": " + error.Message());
  }
  if (size) {
    const auto [width, height] = size->For(document->Width(), document->Height());
    document->Resize(width, height);
  }
  document->SaveToFile(files[1]);
}

void Info(Arguments& args, const std::string& usage) {
  auto palette = LoadMainPalette(args);
  auto files = args.Positional(1, usage);
  auto document = LoadDocument(*palette, files[0], nullptr);
  auto line = [](const std::string& key, const std::string& value) {
    PrintLine(key + "\t" + value);
  };
  line("width", std::to_string(document->Width()));
  line("height", std::to_string(document->Height()));
  line("zoom", std::to_string(document->Zoom()));
  line("cotton", std::to_string(document->CottonSize()));
  line("fabric", std::to_string(document->FabricCount()));
  line("transparency", document->TransparencyOn() ? "1" : "0");
  line("transparent", std::to_string(document->TransparentColor()));
  line("colors", std::to_string(document->Palette().Count()));
  line("threads", std::to_string(document->Palette().ThreadCount()));
  line("notes", EscapedNotes(document->Notes()));
}

void Mapped(Arguments& args, const std::string& usage) {
  ProgressBar bar;
  auto palette = LoadMainPalette(args);
  auto files = args.Positional(2, usage);
  auto document = LoadDocument(*palette, files[0], bar.Handler());
  if (!document->HasPicture()) throw CliError(files[0] + ": the composition has no picture");
  document->ExportMappedBitmap(files[1], document->OnProgress(), NeverCancelled());
}

void Export(Arguments& args, const std::string& usage) {
  auto palette = LoadMainPalette(args);
  auto files = args.Positional(2, usage);
  auto document = LoadDocument(*palette, files[0], nullptr);
  if (!document->HasPicture()) throw CliError(files[0] + ": the composition has no picture");
  document->ExportBitmap(files[1]);
}

void Colors(Arguments& args, const std::string& usage) {
  auto palette = LoadMainPalette(args);
  auto files = args.Positional(2, usage);
  LoadDocument(*palette, files[0], nullptr)->Palette().SaveToFile(files[1]);
}

using CompositionChange = std::function<void(TpunCompo&, const std::vector<std::string>&)>;

// Loads the file of plain argument `file_at` (of 1 + extra), changes the composition and
// saves it to `-o OUT`, or back into the file with --in-place.
void Change(Arguments& args, const std::string& usage, size_t extra,
            const CompositionChange& change, size_t file_at = 0) {
  ProgressBar bar;
  auto palette = LoadMainPalette(args);
  const std::string out = args.TakeOption("-o", "");
  const bool in_place = args.TakeFlag("--in-place");
  auto words = args.Positional(1 + extra, usage);
  const std::string& file = words[file_at];
  const std::string target = ChangedFileTarget(file, out, in_place);
  FileLock lock(file);  // from the load to the save
  auto document = LoadDocument(*palette, file, bar.Handler());
  change(*document, words);
  document->SaveToFile(target);
}

void NeedsPicture(const TpunCompo& document, const std::string& file) {
  if (!document.HasPicture()) throw CliError(file + ": the composition has no picture");
}

void Resize(Arguments& args, const std::string& usage) {
  const std::optional<PictureSize> size = PictureSize::Take(args);
  if (!size) throw CliError("give --width N, --height N or --size WxH\nusage: " + usage);
  Change(args, usage, 0, [&](TpunCompo& document, const std::vector<std::string>& words) {
    NeedsPicture(document, words[0]);
    const auto [width, height] = size->For(document.Width(), document.Height());
    document.Resize(width, height);
  });
}

void Turn(Arguments& args, const std::string& usage) {
  Change(
      args, usage, 1,
      [&](TpunCompo& document, const std::vector<std::string>& words) {
        if (words[0] != "right" && words[0] != "left")
          throw CliError("turn right or left, not \"" + words[0] + "\"\nusage: " + usage);
        NeedsPicture(document, words[1]);
        document.Turn(words[0] == "right" ? QuarterTurn::Right : QuarterTurn::Left);
      },
      1);
}

void Search(Arguments& args, const std::string& usage) {
  TSearchOptions options;
  options.MaxFloss =
      uint16_t(ParseNumber(args.TakeOption("--max-floss", "50"), 1, 65535, "--max-floss"));
  options.Increment = SmallNumber(args, "--increment", 1, 1, 255);
  options.Dots = SmallNumber(args, "--dots", 1, 0, 255);
  options.LightThreshold = SmallNumber(args, "--light", 75, 0, 255);
  options.KeepOriginalPalette = args.TakeFlag("--keep");
  options.RemoveLonely = !args.TakeFlag("--no-remove-lonely");
  Change(args, usage, 0, [&](TpunCompo& document, const std::vector<std::string>&) {
    // As the document window does it: only a finished search touches the document.
    const TSearchResult result =
        RunColorSearch(document, options, document.OnProgress(), NeverCancelled());
    if (!result.Palette || !ApplySearchResult(document, *result.Palette))
      throw CliError(kEmptySearchResult);
  });
}

void Report(Arguments& args, const std::string& usage) {
  ProgressBar bar;
  auto palette = LoadMainPalette(args);
  auto words = args.Positional(2, usage);
  auto document = LoadDocument(*palette, words[1], bar.Handler());
  std::vector<std::string> lines;
  if (words[0] == "floss") {
    std::vector<std::string> threads;
    document->Palette().ListThreads(threads);
    lines = FlossReportLines(*document, threads);
  } else if (words[0] == "usage") {
    lines = ColorUsageLines(*document, document->Palette());
  } else {
    throw CliError("usage: " + usage);
  }
  for (const auto& line : lines) PrintLine(line);
}

void Symbols(Arguments& args, const std::string& usage) {
  auto words = args.Positional(2, usage);
  SymbolTable table;
  table.LoadFromFile(words[0]);
  const uint32_t colors = uint32_t(ParseNumber(words[1], 0, 65535, "COLORS"));
  for (uint32_t k = 0; k < colors; ++k) {
    auto symbol = table.SymbolOfColor(k, colors);
    PrintLine(std::to_string(k) + "\t" + (symbol ? std::to_string(*symbol) : "-"));
  }
}

}  // namespace

const CommandTable& CompositionCommands() {
  static const CommandTable commands = {
      {"import",
       {"puntel-cli import PICTURE.bmp OUT.dmc [--width N | --height N | --size WxH] "
        "[--palette FILE] [--match rgb|ciede2000] [--cotton 0-3]",
        "a new composition of a true-color bitmap on the floss palette (cotton size 1 "
        "unless given), resized to the width or height given (the other side in "
        "proportion) or to WxH stitches, 1 to 65535",
        Import}},
      {"info",
       {"puntel-cli info FILE.dmc [--palette FILE]",
        "key<TAB>value lines: width, height, zoom, cotton, fabric, transparency, "
        "transparent, colors, threads, notes",
        Info}},
      {"mapped",
       {"puntel-cli mapped FILE.dmc OUT.bmp [--palette FILE] [--match rgb|ciede2000]",
        "the picture mapped onto the composition's floss, as a 24-bit bitmap", Mapped}},
      {"export",
       {"puntel-cli export FILE.dmc OUT.bmp [--palette FILE]",
        "the composition's picture as imported, as a 24-bit bitmap", Export}},
      {"rotate",
       {"puntel-cli rotate FILE.dmc (-o OUT.dmc | --in-place) [--palette FILE]",
        "transpose the picture (rows become columns) and save",
        [](Arguments& a, const std::string& u) {
          Change(a, u, 0, [](TpunCompo& d, const auto&) { d.Rotate(); });
        }}},
      {"turn",
       {"puntel-cli turn right|left FILE.dmc (-o OUT.dmc | --in-place) [--palette FILE]",
        "turn the picture 90 degrees clockwise (right) or counter-clockwise (left) and save",
        Turn}},
      {"resize",
       {"puntel-cli resize FILE.dmc (--width N | --height N | --size WxH) "
        "(-o OUT.dmc | --in-place) [--palette FILE]",
        "resample the picture to the width or height given (the other side in proportion) "
        "or to WxH stitches, 1 to 65535, and save; shrinking takes the mean of the pixels "
        "each stitch covers, growing repeats them",
        Resize}},
      {"colors",
       {"puntel-cli colors FILE.dmc OUT.clr [--palette FILE]",
        "the composition's floss palette as a palette file", Colors}},
      {"search",
       {"puntel-cli search FILE.dmc [--max-floss N] [--increment N] [--dots N] "
        "[--light N] [--keep] [--no-remove-lonely] (-o OUT.dmc | --in-place) [--palette FILE] "
        "[--match rgb|ciede2000]",
        "the automatic color search (defaults: 50 floss, increment 1, dots 1, light 75; "
        "from the floss palette unless --keep); the result replaces the palette",
        Search}},
      {"used",
       {"puntel-cli used FILE.dmc (-o OUT.dmc | --in-place) [--palette FILE] "
        "[--match rgb|ciede2000]",
        "keep only the floss the picture uses, in the order the picture meets them",
        [](Arguments& a, const std::string& u) {
          Change(a, u, 0, [](TpunCompo& d, const auto&) { d.SearchUsedColors(); });
        }}},
      {"similar",
       {"puntel-cli similar FILE.dmc TOLERANCE (-o OUT.dmc | --in-place) [--palette FILE]",
        "merge floss whose red, green and blue all lie within TOLERANCE",
        [](Arguments& a, const std::string& u) {
          Change(a, u, 1, [](TpunCompo& d, const std::vector<std::string>& w) {
            d.RemoveSimilarColors(uint16_t(ParseNumber(w[1], 0, 65535, "TOLERANCE")));
          });
        }}},
      {"unique",
       {"puntel-cli unique FILE.dmc LIGHT DOTS (-o OUT.dmc | --in-place) [--palette FILE] "
        "[--match rgb|ciede2000]",
        "delete floss used by exactly DOTS pixels whose light level is at most LIGHT",
        [](Arguments& a, const std::string& u) {
          Change(a, u, 2, [](TpunCompo& d, const std::vector<std::string>& w) {
            d.RemoveUniqueEntries(uint8_t(ParseNumber(w[1], 0, 255, "LIGHT")),
                                  uint8_t(ParseNumber(w[2], 0, 255, "DOTS")));
          });
        }}},
      {"report",
       {"puntel-cli report floss|usage FILE.dmc [--palette FILE] [--match rgb|ciede2000]",
        "the floss report (stitches, thread length, skeins per thread) or the color "
        "usage report (pixels per floss), one line each",
        Report}},
      {"symbols",
       {"puntel-cli symbols TABLE.tbl COLORS",
        "the symbol of each color index of a palette of COLORS colors "
        "(k<TAB>symbol, or k<TAB>- when it gets none)",
        Symbols}},
  };
  return commands;
}
