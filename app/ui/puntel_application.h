#pragma once
// The application object: an error that escapes a command is logged and shown in the
// standard error box ("Not enough memory for this operation." for a failed allocation)
// instead of ending the program.

#include <QApplication>

class PuntelApplication : public QApplication {
 public:
  PuntelApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};
