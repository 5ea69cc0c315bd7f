#include "app/ui/viewer_form.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QScrollArea>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/app_settings.h"
#include "app/help/help_ids.h"
#include "app/ui/desktop_trash.h"
#include "app/ui/file_names.h"
#include "app/ui/glyphs.h"
#include "app/ui/help_topic.h"
#include "app/ui/hints.h"
#include "app/ui/slot_guard.h"
#include "app/ui/ui_seams.h"
#include "app/ui/wait_cursor.h"
#include "base/exceptions.h"
#include "base/message_seam.h"
#include "imageio/picture_reader.h"

namespace {

class QtFileRemoval : public TViewerForm::FileRemoval {
 public:
  Outcome MoveToTrash(const QString& path, QString& reason) override {
    switch (MoveToDesktopTrash(path, reason)) {
      case TrashOutcome::Trashed:
        return Outcome::Trashed;
      case TrashOutcome::NoTrash:
        return Outcome::NoTrash;
      case TrashOutcome::Failed:
        break;
    }
    return Outcome::Failed;
  }
  bool Remove(const QString& path, QString& reason) override {
    QFile file(path);
    if (file.remove()) return true;
    reason = file.errorString();
    return false;
  }
};

std::string Text(const QString& text) {
  return text.toStdString();
}

}  // namespace

TViewerForm::FileRemoval& TViewerForm::DesktopTrash() {
  static QtFileRemoval removal;
  return removal;
}

TViewerForm::TViewerForm(QWidget* parent, FileRemoval& removal)
    : QWidget(parent), removal_(removal) {
  setObjectName("ViewerForm");
  SetHelpTopic(this, help_ids::kImageViewer);
  setWindowTitle(kCaption);
  resize(kWidth, kHeight);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  CreatePanel();
  layout->addWidget(Panel1);
  ScrollBox1 = new QScrollArea(this);
  ScrollBox1->setObjectName("ScrollBox1");
  ScrollBox1->setWidgetResizable(false);
  Image1 = new QLabel;
  Image1->setObjectName("Image1");
  Image1->resize(0, 0);
  ScrollBox1->setWidget(Image1);
  layout->addWidget(ScrollBox1, 1);
}

void TViewerForm::CreatePanel() {
  Panel1 = new QWidget(this);
  Panel1->setObjectName("Panel1");
  Panel1->setFixedHeight(kPanelHeight);
  auto* row = new QHBoxLayout(Panel1);
  row->setContentsMargins(4, 2, 4, 2);
  const auto button = [this, row](const char* name, const QIcon& icon, const char* hint) {
    auto* tool = new QToolButton(Panel1);
    tool->setObjectName(name);
    tool->setIcon(icon);
    tool->setAutoRaise(true);
    tool->setIconSize(QSize(24, 24));
    SetHint(tool, hint);
    row->addWidget(tool);
    return tool;
  };
  SpeedButton1 = button("SpeedButton1", ToolbarGlyph("BtnOpen"), "Open|Open Image file");
  deletebtn =
      button("deletebtn", style()->standardIcon(QStyle::SP_TrashIcon), "Delete|Delete Image file");
  deletebtn->setEnabled(false);  // nothing shown yet
  connect(SpeedButton1, &QToolButton::clicked, this, GuardedSlot([this] { SpeedButton1Click(); }));
  connect(deletebtn, &QToolButton::clicked, this, GuardedSlot([this] { deletebtnClick(); }));
  row->addStretch(1);
  QFont bold = font();
  bold.setBold(true);
  bold.setPixelSize(kLabelPixels);
  const auto label = [this, row, &bold](const char* name) {
    auto* text = new QLabel(Panel1);
    text->setObjectName(name);
    text->setFont(bold);
    text->setFrameShape(QFrame::Panel);
    text->setFrameShadow(QFrame::Sunken);
    row->addWidget(text);
    return text;
  };
  fname = label("fname");
  fsize = label("fsize");
}

void TViewerForm::SpeedButton1Click() {
  const QStringList files = FileDialogs().Open(
      this, {"Open Image file", ShownPath(Settings().Imagepath), kFilter, {}, {}});
  if (!files.isEmpty()) OpenFile(files.first());
}

bool TViewerForm::OpenFile(const QString& path) {
  QPixmap picture;
  std::string refusal;
  {
    WaitCursor wait;
    try {
      picture = QPixmap::fromImage(ReadImage(LocalPath(path)));
    } catch (const Exception& error) {
      refusal = error.Message();
    }
  }
  // The message box comes with the default cursor; nothing has changed then.
  if (!refusal.empty()) {
    Messages().Error(refusal);
    return false;
  }
  Image1->setPixmap(picture);
  Image1->resize(picture.size());
  fname->setText(NameOfPath(path));
  fsize->setText(QString("[%1],[%2]").arg(picture.width()).arg(picture.height()));
  ViewerFile = path;
  deletebtn->setEnabled(true);
  return true;
}

void TViewerForm::deletebtnClick() {
  if (ViewerFile.isEmpty()) return;
  if (!Messages().Confirm("Are you sure you want to delete : \"" + Text(ViewerFile) + "\"")) return;
  if (!RemoveFile(ViewerFile)) return;
  // The picture and its texts stay; the name is forgotten, so that a second Delete cannot
  // remove a file that has taken that name since.
  ViewerFile.clear();
  deletebtn->setEnabled(false);
}

bool TViewerForm::RemoveFile(const QString& path) {
  QString reason;
  switch (removal_.MoveToTrash(path, reason)) {
    case FileRemoval::Outcome::Trashed:
      return true;
    case FileRemoval::Outcome::NoTrash:
      if (!Messages().Confirm(FormatMessage(
              "Cannot move \"%s\" to the trash.\r\nDelete it for good ?", Text(path))))
        return false;
      if (removal_.Remove(path, reason)) return true;
      break;
    case FileRemoval::Outcome::Failed:
      break;
  }
  std::string message = FormatMessage("Unable to delete \"%s\" !", Text(path));
  if (!reason.isEmpty()) message += "\r\n" + Text(reason);
  Messages().Error(message);
  return false;
}
