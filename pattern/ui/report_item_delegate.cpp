#include "pattern/ui/report_item_delegate.h"

#include <QPainter>
#include <utility>

ReportItemDelegate::ReportItemDelegate(SwatchColor swatch, QObject* parent)
    : QStyledItemDelegate(parent), swatch_(std::move(swatch)) {}

void ReportItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
  const QRect item = option.rect;
  const bool selected = option.state & QStyle::State_Selected;
  const QPalette& colors = option.palette;
  painter->save();
  painter->fillRect(item, colors.color(selected ? QPalette::Highlight : QPalette::Base));
  const std::optional<QColor> swatch = swatch_ ? swatch_(index.row()) : std::nullopt;
  const int left = item.left() + (swatch ? kSwatchTextLeft : kTextLeft);
  painter->setFont(option.font);
  painter->setPen(colors.color(selected ? QPalette::HighlightedText : QPalette::Text));
  painter->drawText(left, item.top() + 1 + option.fontMetrics.ascent(),
                    index.data(Qt::DisplayRole).toString());
  if (swatch) {
    // Filled spans, not a stroked rectangle: the outline is one exact pixel wide.
    const QRect outline(QPoint(item.left() + kSwatchLeft, item.top() + kSwatchTop),
                        QPoint(item.left() + kSwatchRight - 1, item.top() + kSwatchBottom - 1));
    painter->fillRect(outline, Qt::black);
    painter->fillRect(outline.adjusted(1, 1, -1, -1), *swatch);
  }
  painter->restore();
}

QSize ReportItemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
  // As wide as the line drawn from its own left, so that scrolling reaches its end.
  const bool swatch = swatch_ && swatch_(index.row());
  const int width = (swatch ? kSwatchTextLeft : kTextLeft) +
                    option.fontMetrics.horizontalAdvance(index.data(Qt::DisplayRole).toString()) +
                    kTextLeft;
  return {width, kItemHeight};
}
