// Entry of the start-up tests: one application object on the offscreen platform for all of them. Started
// with `--drawing-threads-child`, the binary is instead the program's start under a process limit that a
// test looks at from outside (drawing_threads_test.cpp); with `--window-threads-child`, the whole program
// on the platform its test chose (window_threads_test.cpp).
#include <QApplication>
#include <clocale>
#include <cstring>
#include <gtest/gtest.h>

namespace velaron::app {
int DrawingThreadsChild(int argc, char** argv);
int WindowThreadsChild(int argc, char** argv);
}  // namespace velaron::app

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--window-threads-child") == 0)
    return velaron::app::WindowThreadsChild(argc, argv);
  qputenv("QT_QPA_PLATFORM", "offscreen");
  if (argc > 2 && std::strcmp(argv[1], "--drawing-threads-child") == 0)
    return velaron::app::DrawingThreadsChild(argc, argv);
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
