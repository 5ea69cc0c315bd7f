#pragma once
// "Resize picture": the picture's new width and height in stitches, in proportion unless
// the user says otherwise, with the size the finished embroidery will have. Ok checks both
// fields and stays open on the first wrong one with the focus on it.

#include <QDialog>
#include <cstdint>
#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;
class SpinEdit;

class TResizeDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kLargest = 65535;

  // For a picture of source_width x source_height stitches on fabric of `fabric_count`
  // stitches per inch; the finished size is shown in the settings' unit `unit` (stitches
  // show as centimetres: the fields already count them). Opens on the picture's own size.
  TResizeDlg(uint16_t source_width, uint16_t source_height, uint16_t fabric_count, uint8_t unit,
             QWidget* parent = nullptr);

  SpinEdit *WidthEdit, *HeightEdit;
  QCheckBox* KeepProportions;
  QLabel* FinishedSize;
  QPushButton *OkButton, *CancelButton;

  // Sets the width; the height follows while proportions are kept.
  void SetWidth(int width);
  // The field's value when it holds a whole number from 1 to kLargest.
  std::optional<uint16_t> NewWidth() const;
  std::optional<uint16_t> NewHeight() const;

  void OkClick();

 private:
  void WidthEdited();
  void HeightEdited();
  // The other field in proportion to the edited one, when proportions are kept.
  void Follow(const SpinEdit* edited, SpinEdit* other,
              uint16_t (*proportional)(uint32_t, uint32_t, uint32_t));
  void ShowFinishedSize();

  uint16_t source_width_, source_height_, fabric_count_;
  uint8_t unit_;
  bool following_ = false;  // one field is being set from the other
};
