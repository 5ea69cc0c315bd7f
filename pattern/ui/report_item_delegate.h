#pragma once
// Draws one line of a report list: 22 pixels high, the line in the list's font, and in the
// color usage report a swatch of the line's color in front of it.

#include <QColor>
#include <QStyledItemDelegate>
#include <functional>
#include <optional>

class ReportItemDelegate : public QStyledItemDelegate {
 public:
  static constexpr int kItemHeight = 22;
  // Left of the text without and with a swatch.
  static constexpr int kTextLeft = 5;
  static constexpr int kSwatchTextLeft = kItemHeight + 10;
  // The swatch's outline, relative to the item's top-left: from (2, 2) up to, not
  // including, (i + 5, i - 2).
  static constexpr int kSwatchLeft = 2, kSwatchTop = 2;
  static constexpr int kSwatchRight = kItemHeight + 5, kSwatchBottom = kItemHeight - 2;

  // `swatch(row)`: the color of a row's swatch, none for a line drawn without one.
  using SwatchColor = std::function<std::optional<QColor>(int row)>;
  ReportItemDelegate(SwatchColor swatch, QObject* parent);

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  SwatchColor swatch_;
};
