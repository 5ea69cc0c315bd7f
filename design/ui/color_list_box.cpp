#include "design/ui/color_list_box.h"

#include <QPainter>
#include <QStylePainter>

namespace {

constexpr int kHeight = ColorListBox::kItemHeight;

// An item whose top-left is `item`'s: the name at (l + h + 5, t + 1), the swatch from
// (l + 2, t + 1) to (l + h, t + h - 2) outlined in black.
void DrawItem(QPainter& painter, const QRect& item, TColor colour, const QString& name,
              const QColor& text) {
  const int l = item.left(), t = item.top();
  painter.setPen(text);
  painter.drawText(
      QRect(l + kHeight + 5, t + 1, std::max(0, item.width() - kHeight - 5), kHeight - 1),
      Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, name);
  painter.setPen(Qt::black);
  painter.setBrush(QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)));
  painter.drawRect(QRect(QPoint(l + 2, t + 1), QPoint(l + kHeight - 1, t + kHeight - 3)));
}

}  // namespace

ColorListBox::ColorListBox(QWidget* parent)
    : ColorListBox(
          [this](int row) {
            return row >= 0 && row < count() ? TColor(itemData(row).toUInt()) : TColor(0);
          },
          parent) {}

ColorListBox::ColorListBox(ColorOf color_of, QWidget* parent)
    : QComboBox(parent), color_of_(std::move(color_of)) {
  setItemDelegate(new ColorItemDelegate(color_of_, this));
}

void ColorListBox::AddColor(const QString& name, TColor colour) {
  addItem(name, QVariant::fromValue(uint(colour)));
}

void ColorListBox::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionComboBox option;
  initStyleOption(&option);
  option.currentText.clear();
  option.currentIcon = QIcon();
  painter.drawComplexControl(QStyle::CC_ComboBox, option);
  if (currentIndex() < 0) return;
  const QRect field =
      style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
  const QRect item(field.left(), field.top() + (field.height() - kHeight) / 2, field.width(),
                   kHeight);
  painter.save();
  painter.setClipRect(field);
  DrawItem(painter, item, color_of_(currentIndex()), currentText(),
           palette().color(QPalette::ButtonText));
  painter.restore();
}

ColorItemDelegate::ColorItemDelegate(ColorListBox::ColorOf color_of, QObject* parent)
    : QStyledItemDelegate(parent), color_of_(std::move(color_of)) {}

void ColorItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
  // Runs outside any guard: nothing here throws.
  const bool selected = option.state & QStyle::State_Selected;
  painter->save();
  painter->fillRect(option.rect,
                    option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
  DrawItem(*painter, option.rect, color_of_(index.row()), index.data(Qt::DisplayRole).toString(),
           option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
  painter->restore();
}

QSize ColorItemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
  return {QStyledItemDelegate::sizeHint(option, index).width() + kHeight + 5, kHeight};
}
