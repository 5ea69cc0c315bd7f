#pragma once
// The editor's drop-down lists of floss: each item a swatch with a black outline and the
// floss name, 16 pixels high, in the popup and in the closed box alike.

#include <QComboBox>
#include <QStyledItemDelegate>
#include <functional>

#include "base/color.h"

class ColorListBox : public QComboBox {
  Q_OBJECT

 public:
  static constexpr int kItemHeight = 16;
  // The colour an item shows, by its row.
  using ColorOf = std::function<TColor(int row)>;

  // A list whose items keep their own colour (Qt::UserRole).
  explicit ColorListBox(QWidget* parent);
  // A list whose colours come from elsewhere (the main palette, row for entry).
  ColorListBox(ColorOf color_of, QWidget* parent);

  TColor ColorAt(int row) const { return color_of_(row); }
  void AddColor(const QString& name, TColor colour);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  ColorOf color_of_;
};

class ColorItemDelegate : public QStyledItemDelegate {
 public:
  ColorItemDelegate(ColorListBox::ColorOf color_of, QObject* parent);
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  ColorListBox::ColorOf color_of_;
};
