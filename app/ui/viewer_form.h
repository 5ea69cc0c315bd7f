#pragma once
// "Image Viewer": an MDI child that shows one picture file at its natural size, with its
// name and size, and moves the file shown to the desktop's trash when asked.

#include <QString>
#include <QWidget>

class QLabel;
class QScrollArea;
class QToolButton;

class TViewerForm : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kWidth = 578, kHeight = 387, kPanelHeight = 39, kLabelPixels = 16;
  static constexpr const char* kCaption = "Image Viewer";
  // The viewer's own kind first; then every kind a composition imports.
  static constexpr const char* kFilter =
      "BMP   file  (*.bmp)|*.bmp|Pictures (*.bmp *.png *.jpg *.jpeg)|*.bmp;*.png;*.jpg;*.jpeg|";

  // How a file leaves: the desktop's trash, or deleted for good. Tests script it.
  class FileRemoval {
   public:
    enum class Outcome { Trashed, NoTrash, Failed };
    virtual ~FileRemoval() = default;
    // NoTrash where the file's file system has no trash; `reason` is set unless Trashed.
    virtual Outcome MoveToTrash(const QString& path, QString& reason) = 0;
    virtual bool Remove(const QString& path, QString& reason) = 0;
  };
  // QFile::moveToTrash and QFile::remove.
  static FileRemoval& DesktopTrash();

  explicit TViewerForm(QWidget* parent = nullptr, FileRemoval& removal = DesktopTrash());

  QWidget* Panel1;
  QToolButton *SpeedButton1, *deletebtn;
  QLabel *fname, *fsize;
  QScrollArea* ScrollBox1;
  QLabel* Image1;
  // The full path of the file shown; empty before the first open and after a delete.
  QString ViewerFile;

  // Asks for a picture file and shows it.
  void SpeedButton1Click();
  // Shows the picture of a file: true when it could be read; else its message is shown and
  // the previous picture, texts and ViewerFile stay.
  bool OpenFile(const QString& path);
  // Asks, then moves the file shown to the trash.
  void deletebtnClick();

 private:
  void CreatePanel();
  // True when the file is gone; says why when it is not.
  bool RemoveFile(const QString& path);

  FileRemoval& removal_;
};
