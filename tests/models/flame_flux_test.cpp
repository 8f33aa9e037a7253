// Heat flux of one jet flame: the fast field against the plain routine, the geometry of the flames, the
// air's transmissivity, the half-metre shift of the asymmetric flames, and the refused flames.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "models/flame_flux.h"
#include "models/literal_flux.h"
#include "models/parallel.h"

namespace velaron::models {
namespace {

constexpr double kPi = 3.14159265358979;

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
  ~ThreadCountGuard() { SetThreadCount(0); }
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

// The field of `shape` at every runnable width, on one thread and on four, equals the plain routine's to
// 1e-12, and all of them are the same bits (every width adds the same terms in the same order, and rows
// are independent); returns the field.
Grid ExpectFastEqualsPlain(const CalcState& s, FlameShape shape, const TorchFluxArgs& args, const std::string& what) {
  ThreadCountGuard restore;
  CalcState plain = s;
  literal::TorchFluxField(plain, shape, args);
  SetThreadCount(1);
  const Grid first = FieldAtWidth(s, shape, args, FluxLanes::Two);
  for (FluxLanes lanes : RunnableWidths())
    for (int threads : {1, 4}) {
      SetThreadCount(threads);
      const Grid fast = FieldAtWidth(s, shape, args, lanes);
      const std::string label = what + " lanes " + std::to_string(static_cast<int>(lanes)) + " threads " +
                                std::to_string(threads);
      EXPECT_LE(MaxRelDiff(fast, plain.GridValue), 1e-12) << label;
      EXPECT_EQ(fast.cells(), first.cells()) << label;
    }
  return first;
}

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
      d.W1 = round == 3 ? 0.0 : 1 + 5 * u(rng);  // W1 = 0: the first ring has no size and gives nothing
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
    }
  }
  // On a 1 m grid around a frustum 8 m wide at its base, the cells within 4 m of the base see the arc
  // ψ = 0: a single patch angle per ring, the rest of the vector lanes padding (no shift, so the plain
  // routine's whole-metre columns are the cells).
  CalcState s = testdata::JetState(20, 20, 1);
  s.derived.W1 = 8;
  s.derived.ConeAngle = std::atan(((s.derived.W2 - s.derived.W1) / 2) / s.derived.RL);
  const Grid field = ExpectFastEqualsPlain(s, FlameShape::Asymmetric, {.BaseX = 2, .FlameTilt = 0.5, .Dir = 0.7}, "ring");
  EXPECT_GT(field(1, 1), 0.0);  // r = √2 m < ρ₀ = 4 m
  // A 9.9 m/s wind: a pit flame of some 2500 rings, made a chunk at a time, on a few cells.
  CalcState thin = testdata::JetState(40, 20, 10);
  thin.derived.LTorch = 80, thin.derived.KEllipse = 0.01;
  const TorchFluxArgs thinArgs{.FlameTilt = 0.1, .Dir = 0.3};
  const FlameSetup chunked = PrepareFlame(FlameShape::Pit, FlameInputsFrom(thin.derived), thinArgs, 10, 2, 1);
  ASSERT_LT(chunked.moreRingsFrom, chunked.D);  // more rings than one chunk holds
  EXPECT_GT(*std::ranges::max_element(ExpectFastEqualsPlain(thin, FlameShape::Pit, thinArgs, "thin").cells()), 0.0);
}

// ---------------------------------------------------------------------------------------------------
// Geometry of the three flames

TEST(PrepareFlame, PitAndSymmetricDifferOnlyInTheirFactors) {
  // LTorch 100 m, KEllipse 0.8, tilt 30°: sin T = 0.5.
  FlameGeometryInputs g;
  g.LTorch = 100, g.KEllipse = 0.8;
  TorchFluxArgs args{.FlameTilt = kPi / 6};
  const FlameSetup pit = PrepareFlame(FlameShape::Pit, g, args, 10, 5, 5);
  const FlameSetup sym = PrepareFlame(FlameShape::Symmetric, g, args, 10, 5, 5);
  EXPECT_NEAR(pit.R, 0.4 * 100 * 0.8, 1e-12);         // 32 m
  EXPECT_NEAR(pit.L, 0.5 * 100 * 1.5, 1e-9);          // 75 m
  EXPECT_NEAR(sym.R, 0.65 * 100 * 0.8, 1e-12);        // 52 m
  EXPECT_NEAR(sym.L, 0.6 * 100 * 1.5, 1e-9);          // 90 m
  EXPECT_NEAR(pit.A, std::atan(32.0 / 75.0), 1e-12);
  EXPECT_NEAR(sym.D, std::hypot(52.0, 90.0), 1e-9);
  // The first ring of a full cone lies one slant step up: ρ0 = R·ds/D with ds = 0.025·R.
  EXPECT_NEAR(pit.s0, 0.8, 1e-12);
  EXPECT_NEAR(pit.rho0, 32 * 0.8 / std::hypot(32.0, 75.0), 1e-12);
  // Emissive power 0.1939 × 5.67e-11 × 1720⁴ = 0.1939 × 5.67e-11 × 8.75213e12 ≈ 96.22 kW/m².
  EXPECT_NEAR(pit.E, 96.22, 0.01);
}

TEST(AtmosphericTransmissivity, MatchesTheExponentialOverEveryDistance) {
  // exp(−0.0007·d) from the library against the routine's own series, from the flame to 1000 km.
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> u(0, 1);
  for (int i = 0; i < 20000; ++i) {
    const double d = (i % 2 ? 1000.0 : 1e6) * u(rng);
    ASSERT_NEAR(AtmosphericTransmissivity(d), std::exp(-0.0007 * d), 4e-16 * std::exp(-0.0007 * d)) << d;
  }
  EXPECT_EQ(AtmosphericTransmissivity(0), 1.0);
  EXPECT_NEAR(AtmosphericTransmissivity(1000), 0.4965853037914095, 1e-16);  // e^−0.7
}

// ---------------------------------------------------------------------------------------------------
// The flame base and the shift

// At 1 m steps a shift of 3 m puts column i at x = i + 1.5. The plain routine counted the columns in
// whole metres: it started at round(−10 + 1.5) = −8 and rounded (X − 1.5) half to even, so every other
// cell was written twice and the cells between (−9, −7, ...) never. Each cell now gets its own point.
TEST(FlameFluxRow, HalfMetreShiftWritesEveryColumnOnce) {
  CalcState s = testdata::JetState(20, 20, 1);
  TorchFluxArgs args{.FlameTilt = 0.4, .Shift = 3};
  CalcState fast = s, plain = s;
  TorchFluxField(fast, FlameShape::Asymmetric, args);
  literal::TorchFluxField(plain, FlameShape::Asymmetric, args);
  EXPECT_EQ(plain.GridValue(-9, 4), 0.0);  // the cell the plain routine skipped
  for (int ix = -10; ix <= 10; ++ix) EXPECT_GT(fast.GridValue(ix, 4), 0.0) << ix;
  // Cell −9 of the shifted field is the point x = −7.5: evaluate it directly.
  const FlameSetup f = PrepareFlame(FlameShape::Asymmetric, FlameInputsFrom(s.derived), args, 1, 10, 10);
  FluxScratch scratch;
  EXPECT_EQ(fast.GridValue(-9, 4), FlameFluxAt(f, -7.5, 4, scratch));
}

// ---------------------------------------------------------------------------------------------------
// Symmetry

// ---------------------------------------------------------------------------------------------------
// Flames that are refused

TEST(CheckFlame, RefusedFlamesChangeNothing) {
  // A 10 m/s wind is refused for every shape before anything changes.
  CalcState s = testdata::JetState(100, 100, 10);
  s.GridValue.fill(7);
  s.derived.KEllipse = 1 - 0.1 * 10;
  for (FlameShape shape : {FlameShape::Pit, FlameShape::Symmetric, FlameShape::Asymmetric}) {
    try {
      TorchFluxField(s, shape, TorchFluxArgs{});
      ADD_FAILURE() << "a 10 m/s wind was accepted";
    } catch (const ModelInputError& e) {
      EXPECT_STREQ(e.what(), kStrongWindMessage);
    }
  }
  EXPECT_EQ(s.GridValue(3, -2), 7.0);
  // A negative wind speed would give KEllipse above 1 and the square root of a negative eccentricity.
  FlameGeometryInputs g;
  g.LTorch = 50, g.KEllipse = 1.1;
  EXPECT_THROW(CheckFlame(FlameShape::Symmetric, g, 0.5), ModelInputError);
  g.KEllipse = 1.0;
  EXPECT_NO_THROW(CheckFlame(FlameShape::Symmetric, g, 0.5));
  // A flame of no length would make the slant step 0 and the ring loop endless.
  for (double length : {0.0, std::nan("")}) {
    g.LTorch = length;
    EXPECT_THROW(CheckFlame(FlameShape::Pit, g, 0.5), ModelInputError) << length;
  }
  // The frustum's rings run from W1/2 to (W2 − W1)/2: with W2 = 2·W1 there is nothing between.
  g.W1 = 10, g.W2 = 20, g.RL = 50, g.KEllipse = 0.8;
  try {
    CheckFlame(FlameShape::Asymmetric, g, 0.4);
    ADD_FAILURE() << "an empty frustum was accepted";
  } catch (const ModelInputError& e) {
    EXPECT_STREQ(e.what(), kEmptyFrustumMessage);
  }
  g.W2 = 20.5;
  EXPECT_NO_THROW(CheckFlame(FlameShape::Asymmetric, g, 0.4));
  // A section of a ten-thousandth of its length (a wind of 9.999 m/s) would need 200 000 rings and more.
  g.LTorch = 100, g.KEllipse = 1e-4;
  try {
    PrepareFlame(FlameShape::Symmetric, g, TorchFluxArgs{}, 10, 5, 5);
    ADD_FAILURE() << "a flame of a ten-thousandth section was accepted";
  } catch (const ModelInputError& e) {
    EXPECT_STREQ(e.what(), kThinFlameMessage);
  }
}

TEST(FlameFluxAt, AJetDirectionOfHugeAngleEndsWithAFiniteFlux) {
  // 2·10^16 degrees: adding the angular step no longer moves the angle, so the patch loop would never end.
  FlameGeometryInputs g;
  g.LTorch = 60, g.KEllipse = 0.7;
  const FlameSetup f = PrepareFlame(FlameShape::Symmetric, g, TorchFluxArgs{.Dir = 2e16 * kPi / 180}, 10, 5, 5);
  FluxScratch scratch;
  const double q = FlameFluxAt(f, 30, 20, scratch);
  EXPECT_TRUE(std::isfinite(q) && q >= 0) << q;
  EXPECT_LE(scratch.patches.c.size(), 300u);  // at most one turn of patch angles
}

}  // namespace
}  // namespace velaron::models
