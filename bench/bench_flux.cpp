// Heat-flux field of one symmetric jet flame on a 1000 m × 1000 m grid at 10 m steps: the fast field
// on one thread, two threads and all threads, at each vector width, beside the plain routine.
#include <benchmark/benchmark.h>

#include "models/flame_flux.h"
#include "literal/literal_flux.h"
#include "models/parallel.h"

namespace velaron::models {
namespace {

CalcState FluxState() { return testdata::JetState(1000, 1000, 10); }

TorchFluxArgs FluxArgs(const CalcState& s) {
  TorchFluxArgs args;
  args.FlameTilt = s.derived.Tilt;
  return args;
}

void Report(benchmark::State& state, const CalcState& s) {
  const double cells = static_cast<double>(s.GridValue.cells().size());
  state.counters["cells/s"] = benchmark::Counter(cells * state.iterations(), benchmark::Counter::kIsRate);
  state.counters["threads"] = ThreadCount();
}

void BM_SymmetricFluxFast(benchmark::State& state) {
  SetThreadCount(static_cast<int>(state.range(0)));
  const FluxLanes widths[] = {FluxLanes::Best, FluxLanes::Two, FluxLanes::Four, FluxLanes::Eight};
  SetFluxLanes(widths[state.range(1)]);
  CalcState s = FluxState();
  const TorchFluxArgs args = FluxArgs(s);
  for (auto _ : state) {
    TorchFluxField(s, FlameShape::Symmetric, args);
    benchmark::DoNotOptimize(s.GridValue.cells().data());
  }
  Report(state, s);
  const FluxLanes active = ActiveFluxLanes();
  state.counters["lanes"] = active == FluxLanes::Eight ? 8 : active == FluxLanes::Four ? 4 : 2;
  SetThreadCount(0);
  SetFluxLanes(FluxLanes::Best);
}
// {threads, width}: 1 thread, 2 threads, all cores (0); the best width (0), two (1), four (2) and eight
// lanes (3), each falling back to the widest the processor has.
BENCHMARK(BM_SymmetricFluxFast)
    ->ArgsProduct({{1, 2, 0}, {0, 1, 2, 3}})
    ->ArgNames({"threads", "width"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_SymmetricFluxLiteral(benchmark::State& state) {
  SetThreadCount(1);
  CalcState s = FluxState();
  const TorchFluxArgs args = FluxArgs(s);
  for (auto _ : state) {
    literal::TorchFluxField(s, FlameShape::Symmetric, args);
    benchmark::DoNotOptimize(s.GridValue.cells().data());
  }
  Report(state, s);
  SetThreadCount(0);
}
BENCHMARK(BM_SymmetricFluxLiteral)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace
}  // namespace velaron::models
