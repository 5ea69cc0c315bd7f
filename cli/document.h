#pragma once
// Compositions as the command-line tool builds them: the way a document window does,
// from the main palette, then an import or a load.

#include <memory>
#include <string>

#include "cli/command_line.h"
#include "composition/composition.h"

// `--match rgb|ciede2000`: how colors find their nearest floss, exact RGB when absent;
// any other value raises CliError.
ColorMatch TakeColorMatch(Arguments& args);
// The main palette: `--palette FILE` when given, else dmc25.clr of the program folder,
// under the rule of `--match`, which every composition made on it follows.
std::unique_ptr<TpunPal> LoadMainPalette(Arguments& args);
// A new composition on the main palette, cotton size 1, reporting to `progress`.
std::unique_ptr<TpunCompo> NewDocument(const TpunPal& main_palette, ProgressHandler progress);
// NewDocument, then the composition file loaded into it, which is only read; "not a
// composition file" if refused, and a load with a warning (a damaged palette) fails too.
std::unique_ptr<TpunCompo> LoadDocument(const TpunPal& main_palette, const std::string& file_name,
                                        ProgressHandler progress);
// Where a command that changes `file_name` saves: `out` (-o OUT, never the input itself),
// or the input when `in_place` (--in-place). With neither, or both, raises CliError: no
// file the user has is changed unless asked.
std::string ChangedFileTarget(const std::string& file_name, const std::string& out, bool in_place);
// Raises CliError when `output` names the file `input` (the same name or a link to it).
void RefuseOverwritingInput(const std::string& input, const std::string& output);

// An exclusive advisory lock (flock) on a file, held while the object lives, so that two
// commands changing one file in place run one after the other instead of one losing the
// other's change. Waits for the lock. A save replaces the file by another one, so the lock
// is taken on whatever file the name holds once it is granted. A file that cannot be opened
// is not locked: loading it reports why.
class FileLock {
 public:
  explicit FileLock(const std::string& file_name);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

 private:
  int fd_ = -1;
};
