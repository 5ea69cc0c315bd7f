#pragma once
// The file dialogs of the program go through this seam, so tests can script them; the
// real one uses QFileDialog. Message boxes go through the MessageSeam of base/.

#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>

class QPrinter;
class QDialog;
class QUrl;
class QWidget;

struct FileDialogRequest {
  QString title;
  QString folder;         // where the dialog starts
  QString filter;         // "Puntel files (*.dmc)|*.dmc": description and pattern, '|' between
  QString fileName;       // proposed name (save dialogs)
  QString defaultSuffix;  // added when the user types none (save dialogs)
  bool multiple = false;  // open dialogs: several files may be chosen
};

class FileDialogSeam {
 public:
  virtual ~FileDialogSeam() = default;
  // The files chosen, empty when the user cancelled.
  virtual QStringList Open(QWidget* parent, const FileDialogRequest& request) = 0;
  // The file chosen, empty when the user cancelled.
  virtual QString Save(QWidget* parent, const FileDialogRequest& request) = 0;
};

// The seam in use: QFileDialog until another is installed.
FileDialogSeam& FileDialogs();
// Installs a seam (nullptr restores the default) and returns the one it replaces.
FileDialogSeam* InstallFileDialogs(FileDialogSeam* seam);

// Help topics ("PUNTEL0002") open through this seam, so tests see which one was asked for.
// The default opens the help window on the topic.
using HelpSeam = std::function<void(const std::string& topic)>;
void ShowHelp(const std::string& topic);
// Installs a seam (an empty one restores the default) and returns the one it replaces.
HelpSeam InstallHelp(HelpSeam seam);

// Pages handed to the desktop (the help's "Open in web browser") go through this seam: false
// when no program could be started. The default is QDesktopServices.
using DesktopSeam = std::function<bool(const QUrl& url)>;
bool OpenOnDesktop(const QUrl& url);
// Installs a seam (an empty one restores the default) and returns the one it replaces.
DesktopSeam InstallDesktop(DesktopSeam seam);

// The font dialog goes through this seam too: the font chosen, none when the user
// cancelled. The default is QFontDialog.
using FontSeam = std::function<std::optional<QFont>(QWidget* parent, const QFont& initial)>;
std::optional<QFont> AskFont(QWidget* parent, const QFont& initial);
// Installs a seam (an empty one restores the default) and returns the one it replaces.
FontSeam InstallFontDialog(FontSeam seam);

// Qt's print dialog goes through this seam too: true when the user chose to print, the
// printer then set as chosen (its paper, page range, copies). `pages` is the page count
// the range is chosen from. The default is QPrintDialog.
using PrintSeam = std::function<bool(QWidget* parent, QPrinter& printer, int pages)>;
bool AskPrinter(QWidget* parent, QPrinter& printer, int pages);
// Installs a seam (an empty one restores the default) and returns the one it replaces.
PrintSeam InstallPrintDialog(PrintSeam seam);

// The program's own modal dialogs run through this seam: the result of the dialog's run
// (QDialog::Accepted, Rejected or its done() value). The default is QDialog::exec(); a test
// installs a script that gets the live dialog, works its controls and ends it.
using ModalSeam = std::function<int(QDialog& dialog)>;
int RunModal(QDialog& dialog);
// Installs a seam (an empty one restores the default) and returns the one it replaces.
ModalSeam InstallModal(ModalSeam seam);

// Message boxes with the program's captions and buttons: "Error" and "Information" with
// "OK", "Confirm" with "&Yes" and "&No".
class QtMessages;
void InstallQtMessages();

// "Puntel files (*.dmc)|*.dmc|Other (*.x)|*.x" as a QFileDialog filter list.
QString QtFilter(const QString& filter);
