// A whole run as the headless driver does it: read the request, open the database, prepare, run the
// scenario model, the edge test, the zone radii, the distance charts and the three pictures, and write
// the JSON. The database is the pristine copy beside the program (or VELARON_BENCH_DB).
//
// The golden inputs of the jet fires (codes 1, 3, 4, 5, 7) side by side with the check of their zones
// against a fine grid alone, on the state their run left: the run without the check takes the difference.
#include <benchmark/benchmark.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QString>
#include <memory>

#include "bench_app.h"
#include "db/database.h"
#include "models/parallel.h"
#include "output/json/run_json.h"
#include "run/execute.h"
#include "run/flame_grid.h"
#include "run/headless.h"
#include "run/prepare.h"
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

QByteArray GoldenInput(int code) {
  QFile f(QStringLiteral(VELARON_SOURCE_DIR "/tests/golden/code%1.in.json").arg(code));
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Arguments: scenario code, threads. The whole run of the golden input, its check of the zones included.
void BM_GoldenRun(benchmark::State& state) {
  App();
  const QString db = Database();
  const QByteArray request = GoldenInput(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    const velaron::run::HeadlessResult r = velaron::run::RunHeadless(db, request, static_cast<int>(state.range(1)), {});
    if (r.exitCode != 0) {
      state.SkipWithError(r.error.toUtf8().constData());
      return;
    }
    benchmark::DoNotOptimize(velaron::output::SnapshotJson(*r.record, {}).data());
  }
}
BENCHMARK(BM_GoldenRun)->ArgsProduct({{1, 3, 4, 5, 7}, {2}})->Unit(benchmark::kMillisecond)->UseRealTime();

// The check of the zones alone, on the state the run of the golden input left.
void BM_GoldenZoneCheck(benchmark::State& state) {
  using namespace velaron;
  App();
  const QString db = Database();
  QString error;
  auto parsed = run::ParseHeadlessRequest(GoldenInput(static_cast<int>(state.range(0))), error);
  if (db.isEmpty() || !parsed || !db::OpenDatabase(db, true).isEmpty()) {
    state.SkipWithError("no database or golden input");
    return;
  }
  const run::RunData data = run::LoadRunData(parsed->request, parsed->sectionInline);
  db::CloseDatabase();
  run::PrepareResult prepared = run::PrepareRun(parsed->request, data, QDateTime::currentDateTime());
  if (!prepared.ok()) {
    state.SkipWithError(prepared.error.toUtf8().constData());
    return;
  }
  const std::vector<run::JetCase> cases = run::JetCasesOf(*prepared.run);
  models::SetThreadCount(static_cast<int>(state.range(1)));
  const run::RunOutcome outcome = run::ExecuteRun(*prepared.run, models::NoProgress());
  if (!outcome.ok()) {
    state.SkipWithError(outcome.error.toUtf8().constData());
    return;
  }
  models::CalcState s;
  s.settings = outcome.snapshot->request.settings;
  s.zones = outcome.snapshot->zones;
  s.GridValue = outcome.snapshot->GridValue;
  s.LayerFlux = outcome.snapshot->LayerFlux;
  for (auto _ : state) benchmark::DoNotOptimize(run::CheckZonesSeen(s, cases, *data.tables));
  models::SetThreadCount(0);
}
BENCHMARK(BM_GoldenZoneCheck)->ArgsProduct({{1, 3, 4, 5, 7}, {2}})->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
