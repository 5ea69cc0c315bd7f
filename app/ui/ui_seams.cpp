#include "app/ui/ui_seams.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QUrl>
#include <atomic>
#include <utility>

#include "app/ui/help_topic.h"
#include "app/ui/help_window.h"
#include "app/ui/ui_thread.h"
#include "base/message_seam.h"

namespace {

class QtFileDialogs : public FileDialogSeam {
 public:
  QStringList Open(QWidget* parent, const FileDialogRequest& request) override {
    QFileDialog dialog(parent, request.title, request.folder, QtFilter(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    if (!request.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(request.defaultSuffix);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
  }

  QString Save(QWidget* parent, const FileDialogRequest& request) override {
    QFileDialog dialog(parent, request.title, request.folder, QtFilter(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (!request.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
  }
};

QtFileDialogs default_dialogs;
std::atomic<FileDialogSeam*> installed_dialogs{nullptr};
// Help is asked for from dialogs on the interface's thread only.
HelpSeam installed_help;
DesktopSeam installed_desktop;
FontSeam installed_font_dialog;
PrintSeam installed_print_dialog;
ModalSeam installed_modal;

// Messages end their lines with CR LF, as the files do; a label wants LF alone.
QString Shown(const std::string& text) {
  return QString::fromUtf8(text.c_str()).replace("\r\n", "\n");
}

}  // namespace

// Model operations that run beside the windows report through here too: a box is always
// shown on the interface's thread, while the reporting thread waits for its answer.
class QtMessages : public MessageSeam {
 public:
  void Error(const std::string& text) override {
    RunOnUiThread(qApp, [&] { Box(QMessageBox::Critical, "Error", text); });
  }
  void Info(const std::string& text) override {
    RunOnUiThread(qApp, [&] { Box(QMessageBox::Information, "Information", text); });
  }
  bool Confirm(const std::string& text) override {
    bool yes = false;
    RunOnUiThread(qApp, [&] { yes = Ask(text); });
    return yes;
  }

 private:
  static bool Ask(const std::string& text) {
    QMessageBox box(QMessageBox::Question, "Confirm", Shown(text), QMessageBox::NoButton,
                    QApplication::activeWindow());
    QPushButton* yes = box.addButton("&Yes", QMessageBox::YesRole);
    box.addButton("&No", QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.exec();
    return box.clickedButton() == yes;
  }
  static void Box(QMessageBox::Icon icon, const char* caption, const std::string& text) {
    QMessageBox box(icon, caption, Shown(text), QMessageBox::NoButton,
                    QApplication::activeWindow());
    box.addButton("OK", QMessageBox::AcceptRole);
    box.exec();
  }
};

FileDialogSeam& FileDialogs() {
  FileDialogSeam* seam = installed_dialogs.load();
  return seam ? *seam : default_dialogs;
}

FileDialogSeam* InstallFileDialogs(FileDialogSeam* seam) {
  return installed_dialogs.exchange(seam);
}

void ShowHelp(const std::string& topic) {
  if (installed_help) {
    installed_help(topic);
    return;
  }
  ShowHelpWindow(topic);
}

bool OpenOnDesktop(const QUrl& url) {
  if (installed_desktop) return installed_desktop(url);
  return QDesktopServices::openUrl(url);
}

DesktopSeam InstallDesktop(DesktopSeam seam) {
  std::swap(seam, installed_desktop);
  return seam;
}

HelpSeam InstallHelp(HelpSeam seam) {
  std::swap(seam, installed_help);
  return seam;
}

std::optional<QFont> AskFont(QWidget* parent, const QFont& initial) {
  if (installed_font_dialog) return installed_font_dialog(parent, initial);
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, initial, parent);
  if (!ok) return std::nullopt;
  return font;
}

FontSeam InstallFontDialog(FontSeam seam) {
  std::swap(seam, installed_font_dialog);
  return seam;
}

bool AskPrinter(QWidget* parent, QPrinter& printer, int pages) {
  if (installed_print_dialog) return installed_print_dialog(parent, printer, pages);
  QPrintDialog dialog(&printer, parent);
  dialog.setMinMax(1, pages);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange);
  return dialog.exec() == QDialog::Accepted;
}

PrintSeam InstallPrintDialog(PrintSeam seam) {
  std::swap(seam, installed_print_dialog);
  return seam;
}

int RunModal(QDialog& dialog) {
  if (installed_modal) return installed_modal(dialog);
  // Modal to its own window only: the help window it may open stays usable.
  if (dialog.parentWidget()) dialog.setWindowModality(Qt::WindowModal);
  return dialog.exec();
}

ModalSeam InstallModal(ModalSeam seam) {
  std::swap(seam, installed_modal);
  return seam;
}

void InstallQtMessages() {
  static QtMessages messages;
  InstallMessages(&messages);
}

QString QtFilter(const QString& filter) {
  const QStringList parts = filter.split('|', Qt::SkipEmptyParts);
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    // The description already names the patterns in brackets; QFileDialog reads them there.
    QString description = parts[i].trimmed();
    if (!description.contains('(')) description += " (" + parts[i + 1] + ")";
    filters << description;
  }
  return filters.join(";;");
}
