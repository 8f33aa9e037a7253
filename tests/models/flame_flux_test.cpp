// Heat flux of one jet flame: the fast field equals the plain routine on random flames of every shape, at
// every vector width and thread count, on cells at the flame's base and on a thin flame of many rings; the
// bound from above of the flux is never below it there.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "models/flame_flux.h"
#include "literal/literal_flux.h"
#include "models/parallel.h"

namespace velaron::models {
namespace {

// Largest relative difference between two grids of the same bounds (absolute below 1e-300).
double MaxRelDiff(const Grid& a, const Grid& b) {
  double worst = 0;
  for (std::size_t i = 0; i < a.cells().size(); ++i) {
    const double x = a.cells()[i], y = b.cells()[i];
    const double scale = std::max(std::fabs(x), std::fabs(y));
    if (scale < 1e-300) continue;
    worst = std::max(worst, std::fabs(x - y) / scale);
  }
  return worst;
}

struct ThreadCountGuard {
  ~ThreadCountGuard() { SetThreadCount(0), SetThreadStarter(nullptr); }
};
struct FluxLanesGuard {
  ~FluxLanesGuard() { SetFluxLanes(FluxLanes::Best); }
};

// The widths this processor can run: two always, four with AVX2, eight with AVX-512.
std::vector<FluxLanes> RunnableWidths() {
  std::vector<FluxLanes> widths;
  for (FluxLanes lanes : {FluxLanes::Two, FluxLanes::Four, FluxLanes::Eight}) {
    SetFluxLanes(lanes);
    if (ActiveFluxLanes() == lanes) widths.push_back(lanes);
  }
  SetFluxLanes(FluxLanes::Best);
  return widths;
}

// The field of `shape` on the state's grid, computed at the given width.
Grid FieldAtWidth(const CalcState& s, FlameShape shape, const TorchFluxArgs& args, FluxLanes lanes) {
  FluxLanesGuard restore;
  SetFluxLanes(lanes);
  CalcState run = s;
  TorchFluxField(run, shape, args);
  return run.GridValue;
}

// The field of `shape` at every runnable width, on one thread, on four and on the two of four that the
// system gives (a process limit, which used to end the program), equals the plain routine's to 1e-12, and
// all of them are the same bits (every width adds the same terms in the same order, and rows are
// independent); returns the field.
Grid ExpectFastEqualsPlain(const CalcState& s, FlameShape shape, const TorchFluxArgs& args, const std::string& what) {
  ThreadCountGuard restore;
  CalcState plain = s;
  literal::TorchFluxField(plain, shape, args);
  SetThreadCount(1);
  const Grid first = FieldAtWidth(s, shape, args, FluxLanes::Two);
  for (FluxLanes lanes : RunnableWidths())
    for (int threads : {1, 4, -4}) {
      SetThreadCount(std::abs(threads));
      int asked = 0;
      SetThreadStarter([&asked, refuse = threads < 0](std::function<void()> work) {
        if (refuse && asked++) throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
        return std::thread(std::move(work));
      });
      const Grid fast = FieldAtWidth(s, shape, args, lanes);
      EXPECT_EQ(asked, threads < 0 ? 2 : 0) << "no thread is asked for after a refusal";
      const std::string label =
          what + " lanes " + std::to_string(static_cast<int>(lanes)) + " threads " + std::to_string(threads);
      EXPECT_LE(MaxRelDiff(fast, plain.GridValue), 1e-12) << label;
      EXPECT_EQ(fast.cells(), first.cells()) << label;
    }
  return first;
}

// The bound of the flux that rules points out without their flux is never below the field's flux at a cell.
void ExpectBoundHolds(const CalcState& s, FlameShape shape, const TorchFluxArgs& args, const Grid& field) {
  const FlameSetup f = PrepareFlame(shape, FlameInputsFrom(s.derived), args, s.settings.CStep, s.nx(), s.ny());
  const FlameFluxBound bound(f);
  for (int iy = -s.ny(); iy <= s.ny(); ++iy)
    for (int ix = -s.nx(); ix <= s.nx(); ++ix) {
      const double X = ix * s.settings.CStep + args.Shift / 2, Y = iy * s.settings.CStep;
      if (X == 0 && Y == 0) continue;  // the base repeats its neighbour
      ASSERT_GE(bound.at(X, Y), field(ix, iy)) << ix << ", " << iy;
      ASSERT_GE(bound.at(X, Y, INFINITY), field(ix, iy)) << "the boxes as one, at " << ix << ", " << iy;
    }
}

// The fast field equals the plain routine, and the bound of the flux holds, on flames of every shape.
TEST(TorchFluxField, EqualsPlainRoutineOnRandomFlamesAtEveryWidthAndThreadCount) {
  std::mt19937 rng(20261206);
  std::uniform_real_distribution<double> u(0, 1);
  for (int round = 0; round < 5; ++round) {
    for (FlameShape shape : {FlameShape::Pit, FlameShape::Symmetric, FlameShape::Asymmetric}) {
      CalcState s = testdata::JetState(100, 80, 10);
      DerivedQuantities& d = s.derived;
      d.LTorch = 20 + 100 * u(rng);
      d.KEllipse = 0.1 + 0.9 * u(rng);
      if (round == 0) d.KEllipse = 1;  // still air: a circular section
      d.WindAngle = 2 * kPi * u(rng);
      if (round == 4) d.WindAngle = kPi / 2 + 3 * kPi / 4;  // the year-round wind states: multiples of 45°
      d.W1 = round == 3 ? 0.0 : 1 + 5 * u(rng);             // W1 = 0: the first ring has no size and gives nothing
      d.W2 = 2 * d.W1 + 5 + 40 * u(rng);
      d.RL = 30 + 80 * u(rng);
      d.ConeAngle = std::atan(((d.W2 - d.W1) / 2) / d.RL);
      TorchFluxArgs args{.FlameTilt = round == 1 ? 0.0 : kPi / 2 * u(rng),
                         .Dir = round == 4 ? 0.0 : 2 * kPi * u(rng) - kPi};
      if (shape == FlameShape::Asymmetric) {
        args.BaseZ = -1.5 + 5 * u(rng);
        args.BaseX = 10 * u(rng);
        args.Shift = 20 * (round % 3);  // half of it a whole number of metres, as the model makes it
      }
      args.Hr = round == 2 ? 2 : 0;
      const Grid field = ExpectFastEqualsPlain(s, shape, args, "round " + std::to_string(round));
      // The field is not trivially zero: the flame reaches the grid.
      EXPECT_GT(*std::max_element(field.cells().begin(), field.cells().end()), 0.1);
      ExpectBoundHolds(s, shape, args, field);
    }
  }
  // On a 1 m grid around a frustum 8 m wide at its base, the cells within 4 m of the base see the arc
  // ψ = 0: a single patch angle per ring, the rest of the vector lanes padding (no shift, so the plain
  // routine's whole-metre columns are the cells).
  CalcState s = testdata::JetState(20, 20, 1);
  s.derived.W1 = 8;
  s.derived.ConeAngle = std::atan(((s.derived.W2 - s.derived.W1) / 2) / s.derived.RL);
  const TorchFluxArgs ringArgs{.BaseX = 2, .FlameTilt = 0.5, .Dir = 0.7};
  const Grid field = ExpectFastEqualsPlain(s, FlameShape::Asymmetric, ringArgs, "ring");
  EXPECT_GT(field(1, 1), 0.0);  // r = √2 m < ρ₀ = 4 m
  ExpectBoundHolds(s, FlameShape::Asymmetric, ringArgs, field);
  // A 9.9 m/s wind: a pit flame of some 2500 rings, made a chunk at a time, on a few cells.
  CalcState thin = testdata::JetState(40, 20, 10);
  thin.derived.LTorch = 80, thin.derived.KEllipse = 0.01;
  const TorchFluxArgs thinArgs{.FlameTilt = 0.1, .Dir = 0.3};
  const FlameSetup chunked = PrepareFlame(FlameShape::Pit, FlameInputsFrom(thin.derived), thinArgs, 10, 2, 1);
  ASSERT_LT(chunked.moreRingsFrom, chunked.D);  // more rings than one chunk holds
  const Grid thinField = ExpectFastEqualsPlain(thin, FlameShape::Pit, thinArgs, "thin");
  EXPECT_GT(*std::ranges::max_element(thinField.cells()), 0.0);
  ExpectBoundHolds(thin, FlameShape::Pit, thinArgs, thinField);
}

// Every patch of a ring, placed as the method places it on the elliptic section (rounded as it rounds), lies
// in the ring's box, on flames of every shape in still air and in winds up to 9.9 m/s, upright and leaning.
TEST(FlameFluxBound, EveryPatchLiesInItsRingsBox) {
  std::mt19937 rng(20261207);
  std::uniform_real_distribution<double> u(0, 1);
  const auto round = [](double x, double scale) { return std::nearbyint(x * scale) / scale; };
  for (int k = 0; k < 30; ++k) {
    CalcState s = testdata::JetState(100, 80, 10);
    s.derived.KEllipse = k % 3 == 0 ? 1 : 0.01 + 0.99 * u(rng);
    const FlameShape shape = std::array{FlameShape::Pit, FlameShape::Symmetric, FlameShape::Asymmetric}[k % 3];
    const FlameSetup f =
        PrepareFlame(shape, FlameInputsFrom(s.derived), {.FlameTilt = kPi * (u(rng) - 0.25)}, 10, 1, 1);
    const FlameFluxBound bound(f);
    const std::vector<FlameFluxBound::Box>& boxes = bound.ringBoxes();
    std::size_t n = 0;
    std::vector<FlameSetup::Ring> rings = f.rings;
    for (double next = f.moreRingsFrom;; next = NextRings(f, next, rings)) {
      for (const FlameSetup::Ring& ring : rings) {
        if (ring.rho1 == 0) continue;
        ASSERT_LT(n, boxes.size());
        const FlameFluxBound::Box& b = boxes[n++];
        for (int i = 0; i < 720; ++i) {
          const double th = kFluxTwoPi * i / 720 + 1e-3 * u(rng), c = std::cos(th);
          const double rth = f.K2 * ring.rho1 / (1 - f.e * c);
          const double x = round(rth * c * f.sinT + ring.aCosT, 1000), y = rth * std::sin(th);
          const double z = ring.aSinT - round(ring.rho1 * c * f.cosT, 10000);
          ASSERT_TRUE(x >= b.xLow && x <= b.xHigh && std::fabs(y) <= b.yHalf && z >= b.zLow && z <= b.zHigh)
              << "flame " << k << ", ring " << n << ", θ " << th;
        }
      }
      if (!(next < f.D)) break;
    }
    EXPECT_EQ(n, boxes.size());
  }
}

}  // namespace
}  // namespace velaron::models
