// Writing the result workbook of a finished run: the code-1 workbook of a 4000 m × 4000 m grid at 10 m
// (401 × 401 points, 21 value sheets and 17 pictures, all drawn by the writer; the fields shaped like a
// real run's), and the 1000 m workbook of
// each code from a real run through the driver. The peak resident memory of the process is reported as
// a counter (run the large case alone, with --benchmark_filter, to read its own peak).
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <cmath>
#include <map>
#include <memory>
#include <sys/resource.h>

#include "bench_app.h"
#include "output/workbook/result_workbook.h"
#include "run/headless.h"
#include "run/sample_request.h"

namespace {

using velaron::bench::App;
using velaron::bench::Database;
namespace models = velaron::models;
namespace result = velaron::result;

double PeakMegabytes() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_maxrss) / 1024.0;
}

// Fields shaped like those of the driver's 4000 m code-1 run: a heat flux over every cell, falling with
// the distance (full-precision values everywhere), and a percent, probit or risk only near the rupture
// (about 3 % of the cells, nought elsewhere). `seed` moves the peak a little, so that no two sheets are
// alike.
void FillFlux(models::Grid& g, int n, double peak, double seed) {
  g.resize(n, n);
  for (int y = -n; y <= n; ++y)
    for (int x = -n; x <= n; ++x) {
      const double r = std::hypot(x - 0.02 * n * seed, y + 0.01 * n);
      g(x, y) = peak / (1 + r * r / 25.0);
    }
}

void FillNear(models::Grid& g, int n, double peak, double seed) {
  g.resize(n, n);
  const double reach = 0.1 * n;  // π·(0.1·n)² is about 3 % of (2n + 1)²
  for (int y = -n; y <= n; ++y)
    for (int x = -n; x <= n; ++x) {
      const double r = std::hypot(x - 0.01 * n * seed, y);
      g(x, y) = r < reach ? peak * (1 - r / reach) * (1 + 0.05 * std::sin(x + seed)) : 0.0;
    }
}

// The record of a complex assessment (code 1) on a square grid of `width` m at `step` m.
std::shared_ptr<result::RunSnapshot> ComplexRecord(int width, int step) {
  auto record = std::make_shared<result::RunSnapshot>();
  record->request.run.scenario = result::Scenario::Complex;
  record->request.settings.XLimit = record->request.settings.YLimit = width;
  record->request.settings.CStep = step;
  record->request.options.Opt3D = true;
  const int n = width / step / 2;
  double seed = 0;
  FillFlux(record->GridValue, n, 370, seed += 1);
  FillNear(record->GridProbit, n, 20, seed += 1);
  FillNear(record->GridProc, n, 99.99, seed += 1);
  FillNear(record->GridRisk, n, 6e-4, seed += 1);
  record->LayerFlux.resize(6, n, n);
  record->LayerProc.resize(8, n, n);
  for (int k = 1; k <= 6; ++k) FillFlux(record->LayerFlux.layer(k), n, 110, seed += 1);
  for (int k = 1; k <= 8; ++k) FillNear(record->LayerProc.layer(k), n, 94, seed += 1);
  models::ComplexGrids& c = record->complexGrids;
  for (models::Grid* g : {&c.RiskExplosion, &c.RiskFireBall, &c.RiskTorch, &c.RiskGPVS})
    FillNear(*g, n, 1e-5, seed += 1);
  for (models::Grid* g : {&c.ProcExplosion, &c.ProcFireBall, &c.ProcTorch, &c.ProcGPVS}) FillNear(*g, n, 99, seed += 1);
  return record;
}

// Argument: the grid's width, m, at 10 m.
void BM_ComplexWorkbook(benchmark::State& state) {
  App();
  const auto record = ComplexRecord(static_cast<int>(state.range(0)), 10);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("complex.xlsx"));
  for (auto _ : state) {
    const auto written = velaron::output::WriteResultWorkbook(*record, path);
    if (!written.ok) {
      state.SkipWithError(written.detail.toUtf8().constData());
      return;
    }
  }
  state.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(BM_ComplexWorkbook)->Arg(4000)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The finished 1000 m run of each code, made once through the driver.
std::shared_ptr<const result::RunSnapshot> RunOf(int code) {
  static std::map<int, std::shared_ptr<const result::RunSnapshot>> runs;
  auto& r = runs[code];
  if (!r) {
    const QString db = Database();
    if (db.isEmpty()) return nullptr;
    const auto done = velaron::run::RunHeadless(db, velaron::test::SampleRequest(code, 1000, 10), 2, {});
    if (done.exitCode != 0) return nullptr;
    r = done.record;
  }
  return r;
}

// Argument: scenario code.
void BM_Workbook1000m(benchmark::State& state) {
  App();
  const auto record = RunOf(static_cast<int>(state.range(0)));
  if (!record) {
    state.SkipWithError("no run (no database beside the program, or the run was refused)");
    return;
  }
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("run.xlsx"));
  for (auto _ : state) {
    const auto written = velaron::output::WriteResultWorkbook(*record, path);
    if (!written.ok) {
      state.SkipWithError(written.detail.toUtf8().constData());
      return;
    }
  }
}
BENCHMARK(BM_Workbook1000m)->DenseRange(1, 8)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
