#include "app/ui/add_color_dlg.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QVBoxLayout>

#include "app/help/help_ids.h"
#include "app/ui/floss_item_delegate.h"
#include "app/ui/help_topic.h"
#include "app/ui/hints.h"
#include "palette/floss_palette.h"

namespace {

constexpr int kItemHeight = 20;

QFont ListFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPixelSize(kItemHeight - 1);
  return font;
}

// The closed list shows its chosen floss as the open one draws it: swatch, then name.
class FlossComboBox : public QComboBox {
 public:
  using QComboBox::QComboBox;

 protected:
  void paintEvent(QPaintEvent*) override {
    QStylePainter painter(this);
    QStyleOptionComboBox frame;
    initStyleOption(&frame);
    frame.currentText.clear();
    painter.drawComplexControl(QStyle::CC_ComboBox, frame);
    if (currentIndex() < 0) return;
    QStyleOptionViewItem item;
    item.initFrom(this);
    item.state &= ~QStyle::State_Selected;
    item.rect =
        style()->subControlRect(QStyle::CC_ComboBox, &frame, QStyle::SC_ComboBoxEditField, this);
    itemDelegate()->paint(&painter, item, model()->index(currentIndex(), modelColumn()));
  }
};

}  // namespace

TaddColorDlg::TaddColorDlg(const TpunPal& main, QWidget* parent) : QDialog(parent) {
  SetHelpTopic(this, help_ids::kAddColor);
  setObjectName("addColorDlg");
  setWindowTitle("Add DMC Color");
  Label1 =
      new QLabel("Enter the name or number of the DMC floss you wish to add to the palette.", this);
  Label1->setObjectName("Label1");
  ComboBox1 = new FlossComboBox(this);
  ComboBox1->setObjectName("ComboBox1");
  SetHint(ComboBox1, "Color|List of pure DMC colors installed");
  ComboBox1->setItemDelegate(new FlossItemDelegate(main, kItemHeight, ListFont(), ComboBox1));
  ComboBox1->setFont(ListFont());
  QStringList names;
  names.reserve(main.Count());
  for (int32_t i = 0; i < main.Count(); ++i) names << QString::fromLatin1(main.GetName(i));
  ComboBox1->addItems(names);
  if (ComboBox1->count() > 0) ComboBox1->setCurrentIndex(0);

  okbtn = new QPushButton("&Ok", this);
  okbtn->setObjectName("okbtn");
  okbtn->setDefault(true);
  cancelbtn = new QPushButton("&Cancel", this);
  cancelbtn->setObjectName("cancelbtn");
  connect(okbtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancelbtn, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(okbtn);
  buttons->addWidget(cancelbtn);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(ComboBox1);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // a fixed dialog border
}

int TaddColorDlg::SelectedIndex() const {
  return ComboBox1->currentIndex();
}
