#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <chrono>
#include <functional>
#include <thread>

namespace zelvo::shell::gui {

// Lets the window's thread run until `done` holds or `ms` pass.
inline bool wait_until(const std::function<bool()>& done, int ms = 5000) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > ms) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 10);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  QApplication::processEvents();
  return true;
}

}  // namespace zelvo::shell::gui
