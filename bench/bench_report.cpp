// A report of a 1000 m × 1000 m run: gathering its input from the record (the two
// distance charts drawn), building the document, encoding its five pictures and writing the .docx through
// a temporary file and a rename. The run itself and its three result pictures are made once, outside the
// measured loop.
#include <benchmark/benchmark.h>

#include <QDate>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <map>
#include <memory>

#include "output/report/docx_writer.h"
#include "output/report/report_of_record.h"
#include "run/headless.h"
#include "run/sample_request.h"

namespace {

void EnsureApp() {
  static int argc = 1;
  static char name[] = "velaron_bench";
  static char* argv[] = {name, nullptr};
  if (QGuiApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(argc, argv);
}

QString BenchDatabase() {
  if (!qEnvironmentVariableIsEmpty("VELARON_BENCH_DB")) return qEnvironmentVariable("VELARON_BENCH_DB");
  const QString dir = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
  for (const char* name : {"data.pristine.db", "data.db"})
    if (QFileInfo::exists(dir + QLatin1Char('/') + QLatin1String(name)))
      return dir + QLatin1Char('/') + QLatin1String(name);
  return {};
}

// The finished run of a code, made once per code.
std::shared_ptr<const velaron::result::RunSnapshot> Record(int code, QString& error) {
  static std::map<int, std::shared_ptr<const velaron::result::RunSnapshot>> records;
  if (auto it = records.find(code); it != records.end()) return it->second;
  const QString db = BenchDatabase();
  if (db.isEmpty()) {
    error = QStringLiteral("no database beside the program (set VELARON_BENCH_DB)");
    return nullptr;
  }
  const velaron::run::HeadlessResult r =
      velaron::run::RunHeadless(db, velaron::test::SampleRequest(code, 1000, 10), 0, {});
  if (r.exitCode != 0) {
    error = r.error;
    return nullptr;
  }
  return records[code] = r.record;
}

// Argument: scenario code.
void BM_SingleReport1000m(benchmark::State& state) {
  EnsureApp();
  QString error;
  const auto record = Record(static_cast<int>(state.range(0)), error);
  if (!record) {
    state.SkipWithError(error.toUtf8().constData());
    return;
  }
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("report.docx"));
  for (auto _ : state) {
    const auto doc = velaron::report::ReportOfRecord(*record, QDate::currentDate());
    const QString e = doc ? velaron::report::WriteDocx(*doc, path) : QStringLiteral("no report");
    if (!e.isEmpty()) {
      state.SkipWithError(e.toUtf8().constData());
      return;
    }
  }
}
BENCHMARK(BM_SingleReport1000m)
    ->Arg(2)
    ->Arg(3)
    ->Arg(4)
    ->Arg(5)
    ->Arg(6)
    ->Arg(8)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

namespace {

// The two year-round reports (all jet fires over a year, 7; the complex assessment, 1) of a 1000 m run:
// the same call, with the town's wind table, six figures (the rose drawn from the town row) and four more
// tables. The complex report must be built and written in under 0.5 s.
void BM_YearReport1000m(benchmark::State& state) { BM_SingleReport1000m(state); }
BENCHMARK(BM_YearReport1000m)->Arg(7)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
