#include "app/ui/spin_button.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kFirstRepeatMs = 400;
constexpr int kRepeatMs = 80;

}  // namespace

SpinButton::SpinButton(QWidget* parent) : QWidget(parent) {
  up_ = MakeHalf("up", Qt::UpArrow);
  down_ = MakeHalf("down", Qt::DownArrow);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(up_);
  column->addWidget(down_);
  connect(up_, &QToolButton::clicked, this, &SpinButton::Up);
  connect(down_, &QToolButton::clicked, this, &SpinButton::Down);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  setFocusPolicy(Qt::NoFocus);
}

QToolButton* SpinButton::MakeHalf(const char* name, Qt::ArrowType arrow) {
  auto* half = new QToolButton(this);
  half->setObjectName(name);
  half->setArrowType(arrow);
  half->setAutoRepeat(true);
  half->setAutoRepeatDelay(kFirstRepeatMs);
  half->setAutoRepeatInterval(kRepeatMs);
  half->setFocusPolicy(Qt::NoFocus);
  half->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  // A tool button asks for room around its arrow; a spin button half is far smaller.
  half->setMinimumSize(8, 6);
  // The tooltip and status tip are the spin button's own: the halves pass those events on.
  return half;
}

QSize SpinButton::sizeHint() const {
  return {17, 24};
}
