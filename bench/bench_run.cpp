// A whole run as the headless driver does it: read the request, open the database, prepare, run the
// scenario model, the edge test, the zone radii, the distance charts and the three pictures, and write
// the JSON. The database is the pristine copy beside the program (or VELARON_BENCH_DB).
//
// The inputs of the jet fires (the golden ones of codes 1, 3, 4, 5, 7, small flames, and two refusals) run
// whole side by side with the check of their zones against a fine grid alone, on the state their run left:
// the run without the check takes the difference.
#include <benchmark/benchmark.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <memory>
#include <optional>
#include <utility>

#include "bench_app.h"
#include "db/database.h"
#include "models/parallel.h"
#include "output/json/run_json.h"
#include "run/execute.h"
#include "run/flame_grid.h"
#include "run/flame_zones.h"
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

// The inputs of the check's benchmarks, by the first argument: 1, 3, 4, 5, 7 the golden inputs of those
// codes; 11 and 17 those of codes 1 and 7 on a 100 mm pipe on 300 m at 6 m (small flames); 24 the golden
// code 4 on 1000 m at 250 m (refused before the run for its step); 27 the golden code 7 escaping at
// 1000 m/s (refused once its field is computed: a zone of 50 % falls between its points).
QByteArray CheckInput(int input) {
  if (input < 10) return GoldenInput(input);
  QJsonObject in = QJsonDocument::fromJson(GoldenInput(input % 10)).object();
  QJsonObject settings = in["settings"].toObject(), pipeline = in["pipeline"].toObject();
  switch (input) {
    case 11:
    case 17:
      settings["XLimit"] = settings["YLimit"] = 300;
      settings["CStep"] = 6;
      pipeline["Diametr"] = 100;
      break;
    case 24:
      settings["XLimit"] = settings["YLimit"] = 1000;
      settings["CStep"] = 250;
      break;
    case 27: settings["Skor_chel"] = 1000; break;
    default: return {};
  }
  in["settings"] = settings;
  in["pipeline"] = pipeline;
  return QJsonDocument(in).toJson();
}
constexpr int kCheckInputs[] = {1, 3, 4, 5, 7, 11, 17, 24, 27};

// Arguments: input, threads. The whole run of the input, its checks included, to its JSON or its refusal.
void BM_CheckedRun(benchmark::State& state) {
  App();
  const QString db = Database();
  const QByteArray request = CheckInput(static_cast<int>(state.range(0)));
  const long long before = velaron::run::CheckEvaluations();
  for (auto _ : state) {
    const velaron::run::HeadlessResult r = velaron::run::RunHeadless(db, request, static_cast<int>(state.range(1)), {});
    if (r.exitCode != 0) {
      benchmark::DoNotOptimize(velaron::output::ErrorJson(r.error).data());
      continue;
    }
    benchmark::DoNotOptimize(velaron::output::SnapshotJson(*r.record, {}).data());
  }
  // The flux evaluations of its checks, points times flames, per run.
  state.counters["check_evaluations"] = benchmark::Counter(
      static_cast<double>(velaron::run::CheckEvaluations() - before), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_CheckedRun)
    ->ArgsProduct({{std::begin(kCheckInputs), std::end(kCheckInputs)}, {2}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The request of the benchmark's input (its first argument) and the rows its run reads, with the run's
// threads (its second argument) set; nothing, with the benchmark skipped, when there is no database.
std::optional<std::pair<velaron::run::HeadlessRequest, velaron::run::RunData>> LoadCheckInput(benchmark::State& state) {
  using namespace velaron;
  App();
  const QString db = Database();
  QString error;
  auto parsed = run::ParseHeadlessRequest(CheckInput(static_cast<int>(state.range(0))), error);
  if (db.isEmpty() || !parsed || !db::OpenDatabase(db, true).isEmpty()) {
    state.SkipWithError("no database or input");
    return std::nullopt;
  }
  run::RunData data = run::LoadRunData(parsed->request, parsed->sectionInline);
  db::CloseDatabase();
  models::SetThreadCount(static_cast<int>(state.range(1)));
  return std::make_pair(std::move(*parsed), std::move(data));
}

// Arguments: input, threads. The same run without the check of its zones against a fine grid (the check of
// its grid against the flame's size before the run stays), to its JSON.
void BM_UncheckedRun(benchmark::State& state) {
  using namespace velaron;
  const auto loaded = LoadCheckInput(state);
  if (!loaded) return;
  const auto& [parsed, data] = *loaded;
  run::ExecuteOptions options;
  options.checkZones = false;
  for (auto _ : state) {
    run::PrepareResult prepared = run::PrepareRun(parsed.request, data, QDateTime::currentDateTime());
    if (!prepared.ok()) {
      state.SkipWithError(prepared.error.toUtf8().constData());
      break;
    }
    const run::RunOutcome outcome = run::ExecuteRun(std::move(*prepared.run), models::NoProgress(), options);
    if (!outcome.ok()) {
      state.SkipWithError(outcome.error.toUtf8().constData());
      break;
    }
    benchmark::DoNotOptimize(output::SnapshotJson(*outcome.snapshot, {}).data());
  }
  models::SetThreadCount(0);
}
BENCHMARK(BM_UncheckedRun)
    ->ArgsProduct({{std::begin(kCheckInputs), std::end(kCheckInputs)}, {2}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The check of the zones alone, on the state the run of the input left (nothing for an input refused
// before its run).
void BM_ZoneCheck(benchmark::State& state) {
  using namespace velaron;
  const auto loaded = LoadCheckInput(state);
  if (!loaded) return;
  const auto& [parsed, data] = *loaded;
  run::PrepareResult prepared = run::PrepareRun(parsed.request, data, QDateTime::currentDateTime());
  if (!prepared.ok()) {
    state.SkipWithError(prepared.error.toUtf8().constData());
    return;
  }
  const std::vector<run::JetCase> cases = run::JetCasesOf(*prepared.run);
  // The field as the run computes it, without the check, which the run would end with a refusal.
  run::PreparedRun unchecked = *prepared.run;
  models::CalcState s;
  s.settings = unchecked.request.settings;
  {
    run::ExecuteOptions options;
    options.checkZones = false;
    const run::RunOutcome outcome = run::ExecuteRun(std::move(unchecked), models::NoProgress(), options);
    if (!outcome.ok()) {
      state.SkipWithError(outcome.error.toUtf8().constData());
      return;
    }
    s.zones = outcome.snapshot->zones;
    s.GridValue = outcome.snapshot->GridValue;
    s.LayerFlux = outcome.snapshot->LayerFlux;
  }
  for (auto _ : state) benchmark::DoNotOptimize(run::CheckZonesSeen(s, cases, *data.tables));
  models::SetThreadCount(0);
}
BENCHMARK(BM_ZoneCheck)
    ->ArgsProduct({{std::begin(kCheckInputs), std::end(kCheckInputs)}, {2}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
