#include "app/ui/spin_edit.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>

#include "app/ui/spin_button.h"
#include "base/int_parse.h"

SpinEdit::SpinEdit(int low, int high, int digits, QWidget* parent)
    : QWidget(parent), low_(low), high_(high) {
  edit_ = new QLineEdit(this);
  edit_->setMaxLength(digits);
  arrows_ = new SpinButton(this);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(1);
  row->addWidget(edit_, 1);
  row->addWidget(arrows_);
  edit_->setFixedHeight(arrows_->sizeHint().height());
  // The field takes the focus for the whole control: a label's buddy, a failed check.
  setFocusProxy(edit_);
  edit_->installEventFilter(this);
  connect(edit_, &QLineEdit::textChanged, this, &SpinEdit::textChanged);
  connect(arrows_, &SpinButton::Up, this, &SpinEdit::StepUp);
  connect(arrows_, &SpinButton::Down, this, &SpinEdit::StepDown);
}

QString SpinEdit::Text() const {
  return edit_->text();
}

void SpinEdit::SetText(const QString& text) {
  edit_->setText(text);
}

void SpinEdit::SetValue(int value) {
  edit_->setText(QString::number(value));
}

void SpinEdit::SetRange(int low, int high) {
  low_ = low;
  high_ = high;
}

void SpinEdit::StepBy(int delta) {
  if (!isEnabled() || edit_->isReadOnly() || low_ > high_) return;
  const std::optional<int32_t> read = TryStrToInt(edit_->text().toStdString());
  // No number to step from: the arrow brings in the bound it moves away from.
  int64_t value = read ? int64_t(*read) + delta : (delta > 0 ? low_ : high_);
  value = std::clamp<int64_t>(value, low_, high_);
  SetValue(int(value));
  edit_->selectAll();
}

bool SpinEdit::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      key == Qt::Key_Up ? StepUp() : StepDown();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}
