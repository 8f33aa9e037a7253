// The complex assessment (scenario 1) and the year-round jet fires (scenario 7) on the program's default
// grid, 1000 m × 1000 m at 10 m, through the same path as the run dialog: the run prepared from a
// request, then the case the run driver dispatches to. Two worker threads, as on a modest desktop.
#include <benchmark/benchmark.h>

#include <QDateTime>
#include <cmath>
#include <memory>

#include "models/parallel.h"
#include "run/prepare.h"
#include "run/yearround/year_round.h"

namespace {

using namespace velaron;

// Reference tables standing in for the database's: an ideal gas with methane's gas constant
// (0.5183 kJ/(kg·K)) and a constant cp, a straight pit-length line, the normal distribution's probits.
std::shared_ptr<const models::ReferenceTables> BenchTables() {
  auto t = std::make_shared<models::ReferenceTables>();
  for (std::size_t k = 0; k < models::kGasTablePressures.size(); ++k) {
    auto& table = t->gas[k];
    table.pressureBar = models::kGasTablePressures[k];
    for (double T = 200; T <= 400; T += 50) table.rows.push_back({T, 2.5, 0.5183 * T / (table.pressureBar * 100)});
  }
  t->lp = {{0.1, 3.5}, {1.5, 45}};
  for (int k = 260; k <= 740; ++k) {
    const double pr = k / 100.0;
    t->probit.push_back({pr, 50 * (1 + std::erf((pr - 5) / std::sqrt(2.0)))});
  }
  return t;
}

db::WindRow BenchTown() {
  db::WindRow w;
  w.idCity = 1;
  w.winter = {10, 5, 5, 10, 20, 20, 15, 10, 5};
  w.summer = {15, 10, 5, 5, 10, 15, 20, 15, 5};
  w.speedWinter = {3, 2.5, 2, 3, 4, 5, 4, 3, 0};
  w.speedSummer = {2, 2, 1.5, 2, 3, 3, 3, 2, 0};
  w.Tmedium = 210;
  return w;
}

run::PreparedRun BenchRun(result::Scenario scenario) {
  result::RunRequest rq;
  rq.settings.XLimit = 1000;
  rq.settings.YLimit = 1000;
  rq.settings.CStep = 10;
  rq.settings.Skor_chel = 1;
  rq.pipeline.Diametr = 1420;
  rq.rate.way = 3;
  rq.rate.alfa_tr = 0.5;
  rq.section.TPID = 1;
  rq.section.Length = 5000;
  rq.section.Udal = 20000;
  rq.section.Azimut = 30;
  rq.section.p_v = 0.1;
  rq.section.Ground = "2.1.1.2";
  rq.run.scenario = scenario;
  rq.run.idCity = 1;
  rq.run.shares = result::JetShares{0.3, 0.3, 0.4, 0.2, 0.3, 0.5};
  run::RunData data;
  data.gas = db::GasRow{QString::fromUtf8("Метан"), 16.043, 50000, 21, 0.2, 4};
  data.section = rq.section;
  db::Ground3Row g;
  g.Ground = "2.1.1.2";
  g.P4 = 0.3;
  data.ground = g;
  data.town = BenchTown();
  data.tables = BenchTables();
  return std::move(*run::PrepareRun(rq, data, QDateTime::currentDateTime()).run);
}

void BM_ComplexAssessment1000m(benchmark::State& state) {
  models::SetThreadCount(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    run::PreparedRun r = BenchRun(result::Scenario::Complex);
    state.ResumeTiming();
    run::yearround::RunComplexScenario(r, *r.town, *r.tables);
    benchmark::DoNotOptimize(r.state.GridRisk.cells().data());
  }
  models::SetThreadCount(0);
}
BENCHMARK(BM_ComplexAssessment1000m)->Arg(2)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

void BM_YearRound1000m(benchmark::State& state) {
  models::SetThreadCount(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    run::PreparedRun r = BenchRun(result::Scenario::YearRoundJets);
    state.ResumeTiming();
    run::yearround::RunYearRoundScenario(r, *r.town, *r.tables);
    benchmark::DoNotOptimize(r.state.GridRisk.cells().data());
  }
  models::SetThreadCount(0);
}
BENCHMARK(BM_YearRound1000m)->Arg(2)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace
