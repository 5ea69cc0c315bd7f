#include "app/ui/help_topic.h"

#include <QKeyEvent>
#include <QVariant>
#include <QWidget>

#include "app/help/help_ids.h"
#include "app/ui/slot_guard.h"
#include "app/ui/ui_seams.h"

namespace {
constexpr const char* kProperty = "helpTopic";

bool IsF1(const QEvent* event) {
  const auto* key = static_cast<const QKeyEvent*>(event);
  return key->key() == Qt::Key_F1 && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}
}  // namespace

void SetHelpTopic(QWidget* widget, const char* topic) {
  widget->setProperty(kProperty, QString::fromLatin1(topic));
}

std::string HelpTopicAt(const QWidget* widget) {
  for (; widget; widget = widget->parentWidget()) {
    const QVariant topic = widget->property(kProperty);
    if (topic.isValid() && !topic.toString().isEmpty()) return topic.toString().toStdString();
  }
  return help_ids::kContents;
}

bool HelpKey::eventFilter(QObject* watched, QEvent* event) {
  // Claimed before any shortcut sees it, so F1 means help in every window alike.
  if (event->type() == QEvent::ShortcutOverride && IsF1(event)) {
    event->accept();
    return true;
  }
  if (event->type() != QEvent::KeyPress || !IsF1(event) || !watched->isWidgetType())
    return QObject::eventFilter(watched, event);
  // Taken here, the press goes no further up the parents: it is answered once.
  auto* target = static_cast<QWidget*>(watched);
  Guarded([target] { ShowHelp(HelpTopicAt(target)); });
  return true;
}
