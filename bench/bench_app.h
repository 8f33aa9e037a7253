// What the benchmarks share: the one application object (pictures are drawn with fonts, which need it)
// and the database of the headless runs.
#pragma once

#include <QFileInfo>
#include <QGuiApplication>
#include <QString>

namespace velaron::bench {

inline void App() {
  if (QCoreApplication::instance()) return;  // made by another benchmark already
  static int argc = 1;
  static char name[] = "velaron_bench";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(argc, argv);
}

// The database of the headless runs: the pristine copy beside the program (or VELARON_BENCH_DB).
inline QString Database() {
  if (!qEnvironmentVariableIsEmpty("VELARON_BENCH_DB")) return qEnvironmentVariable("VELARON_BENCH_DB");
  const QString dir = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
  for (const char* name : {"data.pristine.db", "data.db"})
    if (QFileInfo::exists(dir + QLatin1Char('/') + QLatin1String(name)))
      return dir + QLatin1Char('/') + QLatin1String(name);
  return {};
}

}  // namespace velaron::bench
