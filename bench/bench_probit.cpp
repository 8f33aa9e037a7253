// Thermal probit field on a 1000 m × 1000 m grid at a 10 m step (101 × 101 cells): the escape-distance
// search through the per-column and per-row tables against the examination of every grid point per hot
// cell. The field is the heat flux of a 20 t fireball, hot (above 4 kW/m²) out to about 390 m.
#include <benchmark/benchmark.h>

#include "models/calc_state.h"
#include "models/fireball.h"
#include "literal/literal_probit.h"
#include "models/parallel.h"
#include "models/probit.h"
#include "models/synthetic_tables.h"

namespace velaron::models {
namespace {

CalcState ThermalField() {
  CalcState s;
  s.settings.XLimit = 1000;
  s.settings.YLimit = 1000;
  s.settings.CStep = 10;
  s.settings.Skor_chel = 5;
  s.dimension(s.GridValue);
  const double Ds = FireBallOf(20000).Ds;
  for (int iy = -s.ny(); iy <= s.ny(); ++iy)
    for (int ix = -s.nx(); ix <= s.nx(); ++ix) s.GridValue(ix, iy) = FireBallFlux(Ds, std::hypot(ix * 10.0, iy * 10.0));
  return s;
}

void CountCells(benchmark::State& state, const CalcState& s) {
  const double cells = static_cast<double>(s.GridValue.cells().size());
  state.counters["cells"] =
      benchmark::Counter(cells * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  int hot = 0;
  for (double q : s.GridValue.cells()) hot += q > kSafeFlux;
  state.counters["hot_cells"] = hot;
}

void BM_ThermalProbitGrid_Fast(benchmark::State& state) {
  const ReferenceTables tables = testing::SyntheticTables();
  CalcState s = ThermalField();
  SetThreadCount(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    ProbitGrid(s, ProbitBranch::Thermal, tables);
    benchmark::DoNotOptimize(s.GridProc.cells().data());
  }
  SetThreadCount(0);
  CountCells(state, s);
}
BENCHMARK(BM_ThermalProbitGrid_Fast)->Arg(1)->Arg(0)->ArgName("threads")->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_ThermalProbitGrid_Literal(benchmark::State& state) {
  const ReferenceTables tables = testing::SyntheticTables();
  CalcState s = ThermalField();
  for (auto _ : state) {
    literal::ThermalProbitGrid(s, tables);
    benchmark::DoNotOptimize(s.GridProc.cells().data());
  }
  CountCells(state, s);
}
BENCHMARK(BM_ThermalProbitGrid_Literal)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velaron::models
