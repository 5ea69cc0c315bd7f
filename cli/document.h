#pragma once
// Compositions as the command-line tool builds them: the way a document window does,
// from the main palette, then an import or a load.

#include <memory>
#include <string>

#include "cli/command_line.h"
#include "composition/composition.h"

// The main palette: `--palette FILE` when given, else dmc25.clr of the program folder.
std::unique_ptr<TpunPal> LoadMainPalette(Arguments& args);
// A new composition on the main palette, cotton size 1, reporting to `progress`.
std::unique_ptr<TpunCompo> NewDocument(const TpunPal& main_palette, ProgressHandler progress);
// NewDocument, then the composition file loaded into it, which is only read; "not a
// composition file" if refused, and a load with a warning (a damaged palette) fails too.
std::unique_ptr<TpunCompo> LoadDocument(const TpunPal& main_palette, const std::string& file_name,
                                        ProgressHandler progress);
// Saves to `-o OUT` when given, else back into `file_name`.
void SaveDocument(TpunCompo& document, const std::string& file_name, const std::string& out);
