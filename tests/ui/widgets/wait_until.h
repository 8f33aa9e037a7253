// Lets the event loop run until `done` holds or `ms` milliseconds have passed: a run on its worker, a queued
// signal, a window that closes. True when `done` held.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <functional>

namespace velaron::test {

inline bool WaitUntil(const std::function<bool()>& done, int ms = 60000) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
  QApplication::processEvents();
  return done();
}

}  // namespace velaron::test
