// Pictures are drawn with fonts, which need a GUI application object: one for the whole test binary,
// made by the first test that draws.
#pragma once

#include <QGuiApplication>

namespace velaron::test {

inline void EnsureGuiApp() {
  if (QGuiApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "test";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  (void)app;
}

}  // namespace velaron::test
