// A whole run as the headless driver does it: read the request, open the database, prepare, run the
// scenario model, the edge test, the zone radii, the distance charts and the three pictures, and write
// the JSON. The database is the pristine copy beside the program (or VELARON_BENCH_DB).
#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QGuiApplication>
#include <QString>
#include <memory>

#include "bench_app.h"
#include "output/json/run_json.h"
#include "run/headless.h"
#include "run/sample_request.h"

namespace {

using velaron::bench::App;
using velaron::bench::Database;

// Arguments: scenario code, threads.
void BM_HeadlessRun1000m(benchmark::State& state) {
  App();
  const QString db = Database();
  if (db.isEmpty()) {
    state.SkipWithError("no database beside the program (build velaron_fresh_database or set VELARON_BENCH_DB)");
    return;
  }
  const QByteArray request = velaron::test::SampleRequest(static_cast<int>(state.range(0)), 1000, 10);
  for (auto _ : state) {
    const velaron::run::HeadlessResult r = velaron::run::RunHeadless(db, request, static_cast<int>(state.range(1)), {});
    if (r.exitCode != 0) {
      state.SkipWithError(r.error.toUtf8().constData());
      return;
    }
    const QByteArray out = velaron::output::SnapshotJson(*r.record, {});
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_HeadlessRun1000m)
    ->Args({5, 2})
    ->Args({3, 2})
    ->Args({2, 2})
    ->Args({6, 2})
    ->Args({8, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
