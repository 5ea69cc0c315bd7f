#include "cli/document.h"

#include <filesystem>

#include "app/program_folders.h"
#include "app/settings.h"
#include "composition/composition_errors.h"

std::unique_ptr<TpunPal> LoadMainPalette(Arguments& args) {
  std::string file = args.TakeOption("--palette", "");
  if (file.empty()) file = ProgramDataFolder() + kDefaultPaletteName;
  auto palette = std::make_unique<TpunPal>();
  LoadPalette(*palette, file);
  return palette;
}

std::unique_ptr<TpunCompo> NewDocument(const TpunPal& main_palette, ProgressHandler progress) {
  auto document = std::make_unique<TpunCompo>(&main_palette);
  document->SetOnProgress(std::move(progress));
  document->SetCottonSize(1);
  return document;
}

std::unique_ptr<TpunCompo> LoadDocument(const TpunPal& main_palette, const std::string& file_name,
                                        ProgressHandler progress) {
  if (!std::filesystem::is_regular_file(file_name)) throw CliError(file_name + ": no such file");
  auto document = NewDocument(main_palette, std::move(progress));
  TLoadResult loaded;
  try {
    loaded = document->LoadFromFile(file_name);
  } catch (const ECompositionMissing&) {
    throw CliError(file_name + ": no such file");
  } catch (const EInvalidComposition& error) {
    throw CliError(file_name + ": not a composition file: " + error.Message());
  } catch (const EOldComposition& error) {
    throw CliError(file_name + ": not a composition file: " + error.Message());
  } catch (const Exception& error) {
    throw CliError(file_name + ": " + error.Message());
  }
  // What the window shows and goes on from fails here: no command writes from a
  // composition that is not what its file holds.
  if (!loaded.Warnings.empty()) throw CliError(file_name + ": " + loaded.Warnings.front());
  return document;
}

void SaveDocument(TpunCompo& document, const std::string& file_name, const std::string& out) {
  document.SaveToFile(out.empty() ? file_name : out);
}
