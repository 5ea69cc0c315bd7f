#pragma once
// "Temporary Palette": the frame's scratch list of floss, shown and edited in an MDI child.
// The list mirrors TempPalette entry for entry; it lists again whenever the frame says the
// palette changed.

#include <QWidget>

class QAction;
class QListWidget;
class QMenu;
class TMainForm;

class TTempPalFrm : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kWidth = 221, kHeight = 310, kItemHeight = 16;

  explicit TTempPalFrm(TMainForm* frame);

  QListWidget* ListBox1;
  // Joins the frame's menu bar while this window is current; PopupMenu holds the same items.
  QMenu *TempPaletteMenu, *PopupMenu;
  QAction *MixColors1, *Delete1, *Add1, *Clear1, *Close1;

  void MixColors1Click();
  void Delete1Click();
  void Add1Click();
  void Clear1Click();
  void Close1Click();

  // Lists every entry of the temporary palette in order.
  void Relist();

 private:
  void Changed();
  void closeEvent(QCloseEvent* event) override;

  TMainForm* frame_;
};
