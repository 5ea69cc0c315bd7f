#pragma once
// Which help topic a window, dialog or page has: a property of the widget, found from any
// widget inside it by walking up its parents. F1 opens the topic of the focused widget's
// nearest owner that has one, else the contents.

#include <QObject>
#include <string>

class QWidget;

void SetHelpTopic(QWidget* widget, const char* topic);
// The topic of `widget` or its nearest parent with one; the contents when none has one.
std::string HelpTopicAt(const QWidget* widget);

// Installed on the application: F1 anywhere, modal dialogs included, asks ShowHelp for the
// topic of the focused widget (or of the active window when nothing has the focus).
class HelpKey : public QObject {
 public:
  explicit HelpKey(QObject* parent = nullptr) : QObject(parent) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};
