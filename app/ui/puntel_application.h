#pragma once
// The application object: an error that escapes a command reaches the user in the standard
// error box instead of ending the program.

#include <QApplication>

class PuntelApplication : public QApplication {
 public:
  PuntelApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};
