#pragma once
// The status panel of the frame and of each document window: a message and a progress bar.

#include <QFrame>

class QLabel;
class QProgressBar;

class StatusPanel : public QFrame {
 public:
  StatusPanel(QWidget* parent, int meter_width);

  QLabel* msgpanel;
  QProgressBar* meter;
};
