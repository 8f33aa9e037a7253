// Entry of the test binaries that draw pictures or open databases: fonts need a GUI application object
// and Qt SQL loads its driver through it, on the offscreen platform.
#include <QGuiApplication>
#include <clocale>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
