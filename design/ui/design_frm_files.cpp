// The editor's size fields, files and the question about unsaved changes.
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QSpinBox>

#include "app/settings.h"
#include "app/ui/file_names.h"
#include "app/ui/ui_seams.h"
#include "app/ui/wait_cursor.h"
#include "base/message_seam.h"
#include "design/ui/design_file.h"
#include "design/ui/design_frm.h"
#include "design/ui/design_grid.h"
#include "design/ui/design_history.h"
#include "imageio/picture_reader.h"

namespace {

constexpr int kLowestSide = 10, kHighestSide = 1000;
constexpr const char* kDesignFilter = "BMP files (*.bmp)|*.bmp|PNG files (*.png)|*.png";

std::string Local(const QString& text) {
  return text.toLocal8Bit().toStdString();
}

// A field shows a loaded size outside its range as it is.
void ShowSide(QSpinBox* field, int value) {
  field->setRange(std::min(kLowestSide, value), std::max(kHighestSide, value));
  field->setValue(value);
}

}  // namespace

void TDesignFrm::ShowSize(int width, int height) {
  shown_width_ = width;
  shown_height_ = height;
  ShowSide(CtrlWidth, width);
  ShowSide(CtrlHeight, height);
}

bool TDesignFrm::AcceptableSide(int value, int current) const {
  return value == current || (value >= kLowestSide && value <= kHighestSide);
}

void TDesignFrm::SizeFieldLeft() {
  // A question box takes the focus from the field, which leaves it once more.
  if (in_size_change_) return;
  const int width = CtrlWidth->value(), height = CtrlHeight->value();
  if (width == design_.Width() && height == design_.Height()) return;
  in_size_change_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{in_size_change_};
  if (!AcceptableSide(width, design_.Width()) || !AcceptableSide(height, design_.Height())) {
    ShowSize(design_.Width(), design_.Height());
    return;
  }
  if (Modified() && !Messages().Confirm("Changing the size erases the design. Continue ?")) {
    ShowSize(design_.Width(), design_.Height());
    return;
  }
  WaitCursor wait;  // after the question: it is answered with the arrow
  auto step = std::make_shared<ResizeStep>(design_, width, height);
  design_.Resize(width, height);
  history_->Record(std::move(step), "Resize");
  ShowSize(width, height);
  DrawGrid1->DesignResized();
}

void TDesignFrm::GridSizeLeft() {
  DrawGrid1->SetCellSize(CtrlGridSize->value());
}

QString TDesignFrm::Caption() const {
  return "Design Editor [" + caption_name_ + "]";
}

bool TDesignFrm::Modified() const {
  return history_->Modified();
}

void TDesignFrm::SetCaptionName(const QString& name) {
  caption_name_ = name;
  // Qt shows its modified mark in place of "[*]" while there are unsaved changes.
  setWindowTitle(Caption() + "[*]");
  if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) sub->setWindowTitle(windowTitle());
}

QString TDesignFrm::StartFolder() const {
  if (!file_.isEmpty()) return QFileInfo(file_).absolutePath();
  return ShownPath(settings_.Imagepath);
}

bool TDesignFrm::Save1Click() {
  const QString path =
      Dialogs().Save(this, {"Save Design", StartFolder(), kDesignFilter, "Untitled", "bmp"});
  if (path.isEmpty()) return false;
  return SaveTo(path);
}

bool TDesignFrm::SaveTo(QString path) {
  const QString name = NameOfPath(path);
  const int dot = name.lastIndexOf('.');
  QString extension = dot < 0 ? QString() : name.mid(dot + 1);
  if (dot < 0) {
    // The real dialog adds the suffix itself and asks about overwriting the final name.
    path += ".bmp";
    extension = "bmp";
    if (QFileInfo::exists(path) &&
        !Messages().Confirm(FormatMessage("\"%s\" already exists. Replace it ?", Local(path))))
      return false;
  }
  DesignFormat format = DesignFormat::Bmp;
  if (extension.compare("png", Qt::CaseInsensitive) == 0) {
    format = DesignFormat::Png;
  } else if (extension.compare("bmp", Qt::CaseInsensitive) != 0) {
    Messages().Error(FormatMessage(kUnknownPictureExtension, Local(extension)));
    return false;
  }
  try {
    WaitCursor wait;
    WriteDesignPicture(LocalPath(path), design_, format);
  } catch (const std::exception& error) {
    Messages().Error(error.what());
    return false;
  }
  file_ = path;
  SetCaptionName(NameOfPath(path));
  history_->MarkSaved();
  return true;
}

void TDesignFrm::Load1Click() {
  if (!SaveQuestion()) return;
  const QStringList files =
      Dialogs().Open(this, {"Load Design", StartFolder(), kDesignFilter, {}, "bmp", false});
  if (files.isEmpty()) return;
  const QString path = files.first();
  DesignRaster loaded;
  try {
    WaitCursor wait;
    loaded = ReadDesignPicture(path);
  } catch (const EDesignFileTooLarge& error) {
    Messages().Error(error.what());
    return;
  } catch (const std::exception& error) {
    Messages().Error("Unable to load the design \"" + Local(NameOfPath(path)) + "\" :\r\n" +
                     error.what());
    return;
  }
  design_ = std::move(loaded);
  history_->Restart();
  file_ = path;
  SetCaptionName(NameOfPath(path));
  ShowSize(design_.Width(), design_.Height());
  DrawGrid1->DesignResized();
}

bool TDesignFrm::SaveQuestion() {
  if (!Modified()) return true;
  const QString name = caption_name_.trimmed();
  if (!Messages().Confirm("Save changes to :\"" + Local(name) + "\" ?")) return true;
  return Save1Click();
}
