// One asymmetric jet scenario (four jets, probit, zones by direction, risk) on a 1000 m × 1000 m grid at
// 10 m steps: the fast model on one thread, two threads and all threads, beside the four jet fields of the plain
// flux routine (the part of the scenario that the flux routine decides).
#include <benchmark/benchmark.h>

#include "models/flame_flux.h"
#include "models/jet_asymmetric.h"
#include "literal/literal_flux.h"
#include "models/parallel.h"

namespace velaron::models {
namespace {

void Report(benchmark::State& state, const CalcState& s) {
  const double cells = static_cast<double>(s.GridValue.cells().size());
  state.counters["cells/s"] = benchmark::Counter(cells * state.iterations(), benchmark::Counter::kIsRate);
  state.counters["threads"] = ThreadCount();
}

void BM_AsymmetricScenarioFast(benchmark::State& state) {
  SetThreadCount(static_cast<int>(state.range(0)));
  const ReferenceTables tables = testdata::SyntheticTables();
  AsimmTorchInputs in;
  in.D = 1.0;
  in.Prob = 1e-5;
  in.Glubina = 1.2;
  CalcState s = testdata::JetState(1000, 1000, 10);
  for (auto _ : state) {
    state.PauseTiming();
    CalcState run = s;
    state.ResumeTiming();
    RaschetAsimmTorch(run, in, tables);
    benchmark::DoNotOptimize(run.GridRisk.cells().data());
  }
  Report(state, s);
  SetThreadCount(0);
}
BENCHMARK(BM_AsymmetricScenarioFast)->Arg(1)->Arg(2)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

// The four jet fields alone, fast and plain, so that the two can be set side by side.
TorchFluxArgs JetArgs(const CalcState& s, double dir) {
  const AsimmFlameBase b = AsimmFlameBaseFor(s.derived.JetAngle, s.derived.LiftOff, 35, 1.2, s.settings.CStep);
  return AsimmJetArgs(b, s.derived.JetAngle, dir);
}

void BM_AsymmetricJetsFast(benchmark::State& state) {
  SetThreadCount(static_cast<int>(state.range(0)));
  CalcState s = testdata::JetState(1000, 1000, 10);
  for (auto _ : state) {
    for (double dir : AsimmJetDirections(s.derived.Azimut)) TorchFluxField(s, FlameShape::Asymmetric, JetArgs(s, dir));
    benchmark::DoNotOptimize(s.GridValue.cells().data());
  }
  Report(state, s);
  SetThreadCount(0);
}
BENCHMARK(BM_AsymmetricJetsFast)->Arg(1)->Arg(2)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AsymmetricJetsLiteral(benchmark::State& state) {
  SetThreadCount(1);
  CalcState s = testdata::JetState(1000, 1000, 10);
  for (auto _ : state) {
    for (double dir : AsimmJetDirections(s.derived.Azimut))
      literal::TorchFluxField(s, FlameShape::Asymmetric, JetArgs(s, dir));
    benchmark::DoNotOptimize(s.GridValue.cells().data());
  }
  Report(state, s);
  SetThreadCount(0);
}
BENCHMARK(BM_AsymmetricJetsLiteral)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace
}  // namespace velaron::models
