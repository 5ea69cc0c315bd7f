#include "app/ui/status_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

StatusPanel::StatusPanel(QWidget* parent, int meter_width) : QFrame(parent) {
  setFixedHeight(30);
  setFrameShape(QFrame::StyledPanel);
  setFrameShadow(QFrame::Sunken);
  msgpanel = new QLabel(this);
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
