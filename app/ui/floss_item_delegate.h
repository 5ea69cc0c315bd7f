#pragma once
// Draws a list item of floss: a swatch in the entry's colour, then its name padded to six
// characters. Row i of the list is entry i of the palette.

#include <QFont>
#include <QStyledItemDelegate>

class TpunPal;

class FlossItemDelegate : public QStyledItemDelegate {
 public:
  FlossItemDelegate(const TpunPal& palette, int item_height, const QFont& font, QObject* parent);

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  // The name as the list shows it: blanks added up to six characters.
  static QString PaddedName(const QString& name);

 private:
  const TpunPal& palette_;
  int item_height_;
  QFont font_;
};
