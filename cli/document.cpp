#include "cli/document.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "app/program_folders.h"
#include "app/settings.h"
#include "composition/composition_errors.h"

ColorMatch TakeColorMatch(Arguments& args) {
  const std::string rule = args.TakeOption("--match", "rgb");
  if (rule == "rgb") return ColorMatch::ExactRgb;
  if (rule == "ciede2000") return ColorMatch::Ciede2000;
  throw CliError("--match must be rgb or ciede2000, not \"" + rule + "\"");
}

std::unique_ptr<TpunPal> LoadMainPalette(Arguments& args) {
  std::string file = args.TakeOption("--palette", "");
  const ColorMatch rule = TakeColorMatch(args);
  if (file.empty()) file = ProgramDataFolder() + kDefaultPaletteName;
  auto palette = std::make_unique<TpunPal>();
  palette->SetColorMatch(rule);
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
  if (!IsRegularFile(file_name)) throw CliError(file_name + ": no such file");
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

namespace {

// Whether two names reach one file: the same name, or links to one file.
bool SameFile(const std::string& a, const std::string& b) {
  if (a == b) return true;
  struct stat first {
  }, second{};
  return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

}  // namespace

void RefuseOverwritingInput(const std::string& input, const std::string& output) {
  if (SameFile(input, output)) throw CliError(output + ": is the input file itself");
}

std::string ChangedFileTarget(const std::string& file_name, const std::string& out, bool in_place) {
  if (out.empty() && !in_place) throw BareCliError(kGiveOutput);
  if (!out.empty() && in_place) throw CliError("give -o OUT.dmc or --in-place, not both");
  if (in_place) return file_name;
  if (SameFile(out, file_name))
    throw CliError(out + " is the input file: give --in-place to change it");
  return out;
}

FileLock::FileLock(const std::string& file_name) {
  for (;;) {
    fd_ = ::open(file_name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) return;
    int locked;
    do locked = ::flock(fd_, LOCK_EX);
    while (locked != 0 && errno == EINTR);
    struct stat held {
    }, named{};
    if (locked != 0 || ::fstat(fd_, &held) != 0) break;  // no lock to be had: go on without
    // The holder before us may have replaced the file: then lock the one there now.
    if (::stat(file_name.c_str(), &named) == 0 && named.st_dev == held.st_dev &&
        named.st_ino == held.st_ino)
      return;
    ::close(fd_);
  }
  ::close(fd_);
  fd_ = -1;
}

FileLock::~FileLock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}
