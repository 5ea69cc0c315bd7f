#include "app/ui/ui_progress.h"

#include <QCoreApplication>
#include <utility>

#include "app/ui/progress_throttle.h"

ProgressHandler UiThreadProgress(ProgressHandler show) {
  auto throttle = std::make_shared<ProgressThrottle>();
  auto shown = [show = std::move(show)](const std::string& text, uint16_t percent) {
    if (show) show(text, percent);
    QCoreApplication::processEvents();
  };
  return [throttle, shown = std::move(shown)](const std::string& text, uint16_t percent) {
    throttle->Report(text, percent, shown);
  };
}
