#include "app/ui/floss_item_delegate.h"

#include <QPainter>

#include "palette/floss_palette.h"

FlossItemDelegate::FlossItemDelegate(const TpunPal& palette, int item_height, const QFont& font,
                                     QObject* parent)
    : QStyledItemDelegate(parent), palette_(palette), item_height_(item_height), font_(font) {}

QString FlossItemDelegate::PaddedName(const QString& name) {
  return name.leftJustified(6, ' ');
}

void FlossItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
  // Painting runs outside any guard: it must not throw, and a row past the palette draws
  // nothing but its background.
  const QRect item = option.rect;
  const bool selected = option.state & QStyle::State_Selected;
  painter->save();
  painter->fillRect(item, option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
  const int row = index.row();
  if (row >= 0 && row < palette_.Count()) {
    const TColor color = palette_.GetClr(row);
    painter->setFont(font_);
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect text(item.left() + item_height_ + 5, item.top() + 1,
                     std::max(0, item.width() - item_height_ - 5), item.height() - 1);
    painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      PaddedName(index.data(Qt::DisplayRole).toString()));
    painter->setPen(Qt::black);
    painter->setBrush(QColor(RedOf(color), GreenOf(color), BlueOf(color)));
    // Left 2 to one item height, top 1 to bottom 2, the outline inside.
    painter->drawRect(
        QRect(QPoint(item.left() + 2, item.top() + 1),
              QPoint(item.left() + item_height_ - 1, item.top() + item.height() - 3)));
  }
  painter->restore();
}

QSize FlossItemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
  return {QStyledItemDelegate::sizeHint(option, index).width() + item_height_ + 5, item_height_};
}
