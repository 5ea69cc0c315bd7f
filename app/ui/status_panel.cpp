#include "app/ui/status_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>

namespace {

// A message that keeps its whole text but, in a narrow window, shows what fits with "..."
// at its end (the whole text as its tip), instead of pushing the meter out or being clipped.
class MessageLabel : public QLabel {
 public:
  using QLabel::QLabel;
  QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QRect area = contentsRect();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, area.width());
    setToolTip(shown == text() ? QString() : text());
    painter.drawText(area, int(alignment()), shown);
  }
};

}  // namespace

StatusPanel::StatusPanel(QWidget* parent, int meter_width) : QFrame(parent) {
  setFixedHeight(30);
  setFrameShape(QFrame::StyledPanel);
  setFrameShadow(QFrame::Sunken);
  msgpanel = new MessageLabel(this);
  msgpanel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  QFont bold = msgpanel->font();
  bold.setBold(true);
  bold.setPixelSize(12);
  msgpanel->setFont(bold);
  meter = new QProgressBar(this);
  meter->setRange(0, 100);
  meter->setTextVisible(false);
  meter->setFixedWidth(meter_width);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(4, 2, 4, 2);
  layout->addWidget(msgpanel, 1);
  layout->addWidget(meter);
}
