#include "app/ui/commands.h"

#include "app/ui/later_commands.h"

namespace {

using C = Command;
using N = Need;

// In Command order.
constexpr std::array<CommandInfo, kCommandCount> kCommands = {{
    {C::New, "FileNewItem", "&New", "F10", "BtnNewWin", "New Document|Create a new DMC document",
     N::Nothing},
    {C::Open, "FileOpenItem", "&Open", "F2", "BtnOpen", "Open|Open a .DMC composition file",
     N::Nothing},
    {C::Save, "Save1", "&Save", "F3", "BtnSave", "Save|Save to a .DMC composition file",
     N::Picture},
    {C::SaveAs, "SaveAs1", "Save &As...", "", nullptr, nullptr, N::Document},
    {C::Import, "Import1", "&Import", "Ctrl+I", "BtnImport",
     "Import|Import BMP 24bits truecolor file", N::IdleOrNone},
    {C::Export, "Export1", "&Export", "Ctrl+E", nullptr, nullptr, N::Picture},
    {C::LoadColors, "Load1", "&Load", "Ctrl+L", "BtnLoadColors",
     "Load Colors|Load color palette into current document", N::IdlePicture},
    {C::SaveColors, "Save2", "&Save", "Ctrl+S", nullptr, nullptr, N::Document},
    {C::Notes, "Editcompositionnotes1", "&Edit composition notes", "", "BtnNotes",
     "Notes|Edit compositions' notes", N::Picture},
    {C::Preferences, "FilePrefItem", "&Preferences", "Ctrl+P", "BtnPref",
     "Configure|Configure Puntel", N::Nothing},
    {C::Print, "Print1", "P&rint", "Ctrl+F7", "BtnPrint", "Print|Print current documents' pattern",
     N::IdlePicture},
    {C::Exit, "FileExitItem", "E&xit", "Ctrl+F4", "BtnExit", "Exit|Exit PUNTEL", N::NoneBusy},
    {C::ColorTable, "ColorTable1", "&Color Table", "F5", "BtnColorTable",
     "Palette|Edit the Document color palette", N::IdlePicture},
    {C::Rotate, "Rotateimage1", "&Rotate image", "", nullptr, nullptr, N::IdlePicture},
    {C::ColorSearch, "Automaticcolorsearch1", "&Automatic color search", "", "BtnColorSearch",
     "Color Search|Automatic color search", N::IdlePicture},
    {C::CancelSearch, "CancelSearch", "&Cancel color search", "", nullptr, nullptr, N::Cancellable},
    {C::CreateDesign, "CreateModel1", "&Create Design", "", "BtnDesign",
     "Design|Create a design from an existing composition", N::IdlePicture},
    {C::Remap, "RemapPict", "&Remap Picture", "", nullptr, nullptr, N::Unmapped},
    {C::BusyOff, "BUSYflagoff", "&Turn BUSY flag off", "", nullptr, nullptr, N::Busy},
    {C::StitchPattern, "Stitchpattern1", "&Stitch pattern", "F8", "BtnViewStitch",
     "Pattern|View final stitch pattern", N::IdlePicture},
    {C::FlossReport, "Flossreport1", "&Floss report", "F9", "BtnFlossReport",
     "Floss report|View floss report of current document", N::IdlePicture},
    // F10 belongs to File "&New" too, which comes first and takes the key: shown, not bound.
    {C::ColorUsage, "Colorusagereport1", "&Color usage report\tF10", "", nullptr, nullptr,
     N::IdlePicture},
    {C::CharTable, "CharTableItem", "C&haracter table", "F6", "BtnCharTbl",
     "CharTable|Edit the character table", N::Nothing},
    {C::Viewer, "ViewerItem", "&Image file viewer", "Ctrl+V", "BtnFileViewer",
     "Viewer|View BMP image file", N::Nothing},
    {C::DesignEditor, "DesignEditorItem", "&Design Editor", "", nullptr, nullptr, N::Nothing},
    {C::TempPalette, "TempPaletteItem", "&Temp Palette", "", nullptr, nullptr, N::NoTempPal},
    {C::AutoRemap, "AutoRemap", "&Automatic Remap", "", nullptr, nullptr, N::Nothing, true},
    {C::FitInWindow, "Fitinwindows1", "&Fit in window", "", nullptr, nullptr, N::Nothing, true},
    {C::Cascade, "CascadeItem", "&Cascade", "", nullptr, "|Arrange windows to overlap", N::Nothing},
    {C::Tile, "TileItem", "&Tile", "", nullptr, "|Arrange windows without overlap", N::Nothing},
    {C::Arrange, "ArrangeItem", "&Arrange Icons", "", nullptr,
     "|Arrange window icons at bottom of main window", N::Nothing},
    {C::MinimizeAll, "MinimizeItem", "&Minimize All", "", nullptr, "|Minimize all windows",
     N::Nothing},
    {C::HelpContents, "HelpContentsItem", "&Help", "F1", nullptr, nullptr, N::Nothing},
    {C::About, "AboutItem", "&About", "Ctrl+A", nullptr, nullptr, N::Nothing},
    {C::TurnRight, "Turnright1", "Turn &right", "", nullptr, nullptr, N::IdlePicture},
    {C::TurnLeft, "Turnleft1", "Turn &left", "", nullptr, nullptr, N::IdlePicture},
    {C::Resize, "Resizepicture1", "Re&size picture...", "", "BtnResize",
     "Resize|Change the size of the picture in stitches", N::IdlePicture},
    {C::ExportOxs, "ExportOxs1", "E&xport pattern (OXS)...", "", nullptr, nullptr, N::IdlePicture},
    {C::UndoPalette, "UndoPalette1", "&Undo palette change", "Ctrl+Z", nullptr, nullptr,
     N::PaletteUndo},
    // It remaps every document, so not while one is busy.
    {C::PerceptualMatch, "PerceptualMatch", "&Perceptual color matching", "", nullptr, nullptr,
     N::NoneBusy, true},
}};

constexpr bool InCommandOrder() {
  for (size_t i = 0; i < kCommandCount; ++i)
    if (size_t(kCommands[i].command) != i) return false;
  return true;
}
static_assert(InCommandOrder(), "kCommands lists the commands in Command order");

}  // namespace

const CommandInfo& InfoOf(Command command) {
  return kCommands[size_t(command)];
}

const std::array<CommandInfo, kCommandCount>& AllCommands() {
  return kCommands;
}

bool CommandEnabled(Command command, const CommandFacts& facts) {
  if (IsUnbuilt(command)) return false;
  const bool idle = facts.document && !facts.busy;
  switch (InfoOf(command).need) {
    case Need::Nothing:
      return true;
    case Need::Document:
      return facts.document;
    case Need::IdleDocument:
      return idle;
    case Need::IdleOrNone:
      return !facts.document || !facts.busy;
    case Need::Picture:
      return facts.document && facts.picture;
    case Need::IdlePicture:
      return idle && facts.picture;
    case Need::Busy:
      return facts.document && facts.busy;
    case Need::Cancellable:
      return facts.document && (facts.searching || facts.printing);
    case Need::Unmapped:
      return idle && facts.unmapped;
    case Need::NoneBusy:
      return !facts.any_busy && !facts.closing;
    case Need::NoTempPal:
      return !facts.temp_pal;
    case Need::PaletteUndo:
      return idle && facts.palette_undo;
  }
  return false;
}
