#pragma once
// What the widget tests share: scripted file and font dialogs and waiting with a time limit.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFont>
#include <QImage>
#include <QPageLayout>
#include <QPrinter>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <set>

#include "app/ui/ui_seams.h"
#include "base/color.h"

// Answers the file dialogs from a script; an unscripted dialog answers "cancelled" and is
// recorded, so a test never waits for a person.
class ScriptedFileDialogs : public FileDialogSeam {
 public:
  ScriptedFileDialogs() : previous_(InstallFileDialogs(this)) {}
  ~ScriptedFileDialogs() override { InstallFileDialogs(previous_); }

  void AnswerOpen(QStringList files) { opens_.push_back(std::move(files)); }
  void AnswerSave(QString file) { saves_.push_back(std::move(file)); }

  QStringList Open(QWidget*, const FileDialogRequest& request) override {
    requests.push_back(request);
    if (opens_.empty()) return {};
    QStringList files = opens_.front();
    opens_.pop_front();
    return files;
  }
  QString Save(QWidget*, const FileDialogRequest& request) override {
    requests.push_back(request);
    if (saves_.empty()) return {};
    QString file = saves_.front();
    saves_.pop_front();
    return file;
  }

  std::vector<FileDialogRequest> requests;

 private:
  std::deque<QStringList> opens_;
  std::deque<QString> saves_;
  FileDialogSeam* previous_;
};

// Answers the font dialog with `answer` (none: cancelled) while it lives, and keeps the
// font the dialog was opened with.
class ScriptedFontDialog {
 public:
  ScriptedFontDialog()
      : previous_(InstallFontDialog([this](QWidget*, const QFont& initial) {
          asked_with = initial;
          return answer;
        })) {}
  ~ScriptedFontDialog() { InstallFontDialog(previous_); }
  ScriptedFontDialog(const ScriptedFontDialog&) = delete;
  ScriptedFontDialog& operator=(const ScriptedFontDialog&) = delete;

  std::optional<QFont> answer;
  QFont asked_with;

 private:
  FontSeam previous_;
};

// Answers Qt's print dialog: `answer` sets the printer as a user would and says whether
// to print (none: cancelled). Keeps what the dialog was opened with.
class ScriptedPrintDialog {
 public:
  ScriptedPrintDialog()
      : previous_(InstallPrintDialog([this](QWidget*, QPrinter& printer, int pages) {
          ++asked;
          asked_pages = pages;
          asked_layout = printer.pageLayout();
          asked_full_page = printer.fullPage();
          return answer && answer(printer);
        })) {}
  ~ScriptedPrintDialog() { InstallPrintDialog(previous_); }
  ScriptedPrintDialog(const ScriptedPrintDialog&) = delete;
  ScriptedPrintDialog& operator=(const ScriptedPrintDialog&) = delete;

  std::function<bool(QPrinter&)> answer;
  int asked = 0, asked_pages = 0;
  QPageLayout asked_layout;
  bool asked_full_page = false;

 private:
  PrintSeam previous_;
};

// The program's own modal dialogs, scripted: each run takes the next script, which gets the
// live dialog, works its controls and returns the dialog's result (it may call exec() itself
// after arranging how the dialog ends). A dialog with no script left fails the test at once
// and is rejected.
class ScriptedModal {
 public:
  using Script = std::function<int(QDialog&)>;
  ScriptedModal()
      : previous_(InstallModal([this](QDialog& dialog) {
          titles.push_back(dialog.windowTitle());
          if (scripts.empty()) {
            ADD_FAILURE() << "no script for the dialog \"" << dialog.windowTitle().toStdString()
                          << "\"";
            return int(QDialog::Rejected);
          }
          const Script script = std::move(scripts.front());
          scripts.pop_front();
          return script(dialog);
        })) {}
  ~ScriptedModal() { InstallModal(previous_); }
  ScriptedModal(const ScriptedModal&) = delete;
  ScriptedModal& operator=(const ScriptedModal&) = delete;

  void Then(Script script) { scripts.push_back(std::move(script)); }

  std::deque<Script> scripts;
  QStringList titles;  // of every dialog run, in order

 private:
  ModalSeam previous_;
};

// Runs the event loop until `done` holds or `milliseconds` pass; true when it held.
inline bool WaitFor(const std::function<bool()>& done, int milliseconds = 10000) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > milliseconds) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

// The colors of a shown picture, as color values.
inline std::set<TColor> ColorsOf(const QImage& picture) {
  std::set<TColor> colors;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) {
      const QRgb pixel = picture.pixel(x, y);
      colors.insert(MakeColor(uint8_t(qRed(pixel)), uint8_t(qGreen(pixel)), uint8_t(qBlue(pixel))));
    }
  return colors;
}

// Whether every pixel of `image` is white.
inline bool AllWhite(const QImage& image) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) return false;
  return true;
}
