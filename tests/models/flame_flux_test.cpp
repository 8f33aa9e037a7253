// Heat flux of one jet flame: the fast field against the plain routine, the geometry of the three
// flames, the flame base, the shift of the asymmetric flames, symmetry, and the refused flames.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
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

// ---------------------------------------------------------------------------------------------------
// Fast field against the plain routine

TEST(TorchFluxField, EqualsPlainRoutineOnRandomFlamesAtEveryWidth) {
  const std::vector<FluxLanes> widths = RunnableWidths();
  std::mt19937 rng(20261206);
  std::uniform_real_distribution<double> u(0, 1);
  const FlameShape shapes[] = {FlameShape::Pit, FlameShape::Symmetric, FlameShape::Asymmetric};
  int cases = 0;
  for (int round = 0; round < 5; ++round) {
    for (FlameShape shape : shapes) {
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
      TorchFluxArgs args;
      args.FlameTilt = (round == 1 ? 0.0 : kPi / 2 * u(rng));
      args.Dir = round == 4 ? 0.0 : 2 * kPi * u(rng) - kPi;
      if (shape == FlameShape::Asymmetric) {
        args.BaseZ = -1.5 + 5 * u(rng);
        args.BaseX = 10 * u(rng);
        args.Shift = 20 * (round % 3);  // half of it a whole number of metres, as the model makes it
      }
      args.Hr = round == 2 ? 2 : 0;

      CalcState plain = s;
      literal::TorchFluxField(plain, shape, args);
      const Grid first = FieldAtWidth(s, shape, args, widths.front());
      for (FluxLanes lanes : widths) {
        const Grid fast = FieldAtWidth(s, shape, args, lanes);
        EXPECT_LE(MaxRelDiff(fast, plain.GridValue), 1e-12)
            << "round " << round << " shape " << static_cast<int>(shape) << " lanes " << static_cast<int>(lanes);
        // Every width adds the same terms in the same order: the same bits.
        EXPECT_EQ(fast.cells(), first.cells()) << "round " << round << " lanes " << static_cast<int>(lanes);
      }
      // The field is not trivially zero: the flame reaches the grid.
      EXPECT_GT(*std::max_element(first.cells().begin(), first.cells().end()), 0.1);
      ++cases;
    }
  }
  EXPECT_EQ(cases, 15);
}

TEST(TorchFluxField, CellsInsideTheBaseRingTakeOnePatchPerRing) {
  // On a 1 m grid around a frustum 8 m wide at its base, the cells within 4 m of the base see the arc
  // ψ = 0: a single patch angle per ring, the rest of the vector lanes padding. Compared with the plain
  // routine (no shift, so its whole-metre columns are the cells).
  CalcState s = testdata::JetState(20, 20, 1);
  s.derived.W1 = 8;
  s.derived.ConeAngle = std::atan(((s.derived.W2 - s.derived.W1) / 2) / s.derived.RL);
  TorchFluxArgs args;
  args.FlameTilt = 0.5;
  args.BaseX = 2;
  args.Dir = 0.7;
  CalcState plain = s;
  literal::TorchFluxField(plain, FlameShape::Asymmetric, args);
  for (FluxLanes lanes : RunnableWidths()) {
    const Grid fast = FieldAtWidth(s, FlameShape::Asymmetric, args, lanes);
    EXPECT_LE(MaxRelDiff(fast, plain.GridValue), 1e-12) << static_cast<int>(lanes);
    EXPECT_GT(fast(1, 1), 0.0);  // r = √2 m < ρ₀ = 4 m
  }
}

TEST(TorchFluxField, SameWhateverTheThreadCountAndWidth) {
  ThreadCountGuard restore;
  CalcState s = testdata::JetState(300, 200, 10);
  TorchFluxArgs args;
  args.FlameTilt = s.derived.Tilt;
  args.Dir = 0.3;
  SetThreadCount(1);
  const Grid one = FieldAtWidth(s, FlameShape::Symmetric, args, FluxLanes::Two);
  for (FluxLanes lanes : RunnableWidths()) {
    SetThreadCount(4);
    EXPECT_EQ(FieldAtWidth(s, FlameShape::Symmetric, args, lanes).cells(), one.cells());  // bit for bit
    SetThreadCount(1);
    EXPECT_EQ(FieldAtWidth(s, FlameShape::Symmetric, args, lanes).cells(), one.cells());
  }
}

TEST(TorchFluxGrid, OneRowEqualsThatRowOfTheField) {
  CalcState s = testdata::JetState(200, 200, 10);
  TorchFluxArgs args;
  args.FlameTilt = s.derived.Tilt;
  CalcState whole = s;
  TorchFluxField(whole, FlameShape::Pit, args);
  CalcState rows = s;
  const double radius = TorchFluxGrid(rows, FlameShape::Pit, args, 30);  // row iy = 3
  for (int ix = -10; ix <= 10; ++ix) EXPECT_EQ(rows.GridValue(ix, 3), whole.GridValue(ix, 3));
  // Other rows are untouched by a one-row call.
  for (int ix = -10; ix <= 10; ++ix) EXPECT_EQ(rows.GridValue(ix, 2), 0.0);
  // Pit flame radius 0.4 × LTorch × KEllipse = 0.4 × 150 × 0.7 = 42 m.
  EXPECT_NEAR(radius, 42.0, 1e-12);
}

// ---------------------------------------------------------------------------------------------------
// Geometry of the three flames

TEST(PrepareFlame, PitAndSymmetricDifferOnlyInTheirFactors) {
  // LTorch 100 m, KEllipse 0.8, tilt 30°: sin T = 0.5.
  FlameGeometryInputs g;
  g.LTorch = 100;
  g.KEllipse = 0.8;
  TorchFluxArgs args;
  args.FlameTilt = kPi / 6;
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
}

TEST(PrepareFlame, FrustumRunsFromHalfTheBaseWidthToItsTipRadius) {
  FlameGeometryInputs g;
  g.W1 = 6;
  g.W2 = 40;
  g.RL = 80;
  g.ConeAngle = 0.2;
  g.KEllipse = 0.9;
  TorchFluxArgs args;
  const FlameSetup f = PrepareFlame(FlameShape::Asymmetric, g, args, 10, 5, 5);
  EXPECT_DOUBLE_EQ(f.R, 17.0);  // (40 − 6)/2
  EXPECT_DOUBLE_EQ(f.A, 0.2);   // the frustum's own half-angle, not atan(R/L)
  EXPECT_DOUBLE_EQ(f.rho0, 3.0);
  ASSERT_FALSE(f.rings.empty());
  // Rings are every other slant step (2 × 0.025 × 17 = 0.85 m) from the base ring to below D.
  EXPECT_NEAR(f.rings.front().rho1, 3.0, 1e-12);
  EXPECT_LT(f.rings.back().rho1, 17.0);
  EXPECT_GT(f.rings.back().rho1, 17.0 - 2 * 0.425 * 17.0 / f.D - 1e-9);
  const double D = std::hypot(80.0, 17.0);
  const std::size_t expected = static_cast<std::size_t>(std::ceil((D - 3.0 * D / 17.0) / 0.85));
  EXPECT_NEAR(static_cast<double>(f.rings.size()), static_cast<double>(expected), 1.0);
}

TEST(PrepareFlame, EmissivePowerOfTheUsualFlame) {
  // 0.1939 × 5.67e-11 × 1720⁴ = 0.1939 × 5.67e-11 × 8.75213e12 ≈ 96.22 kW/m².
  FlameGeometryInputs g;
  g.LTorch = 50;
  TorchFluxArgs args;
  EXPECT_NEAR(PrepareFlame(FlameShape::Pit, g, args, 10, 1, 1).E, 96.22, 0.01);
}

TEST(AtmosphericTransmissivity, MatchesTheExponentialOverEveryDistance) {
  // exp(−0.0007·d) from the library against the routine's own series, from the flame to 1000 km.
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> u(0, 1);
  for (int i = 0; i < 20000; ++i) {
    const double d = (i % 2 ? 1000.0 : 1e6) * u(rng);
    const double expected = std::exp(-0.0007 * d);
    EXPECT_NEAR(AtmosphericTransmissivity(d), expected, 4e-16 * expected) << d;
  }
  EXPECT_EQ(AtmosphericTransmissivity(0), 1.0);
  EXPECT_NEAR(AtmosphericTransmissivity(1000), 0.4965853037914095, 1e-16);  // e^−0.7
}

// ---------------------------------------------------------------------------------------------------
// The flame base and the shift

TEST(FlameFluxRow, CellAtTheFlameBaseRepeatsTheCellBeforeIt) {
  CalcState s = testdata::JetState(200, 200, 10);
  TorchFluxArgs args;
  args.FlameTilt = s.derived.Tilt;
  TorchFluxField(s, FlameShape::Symmetric, args);
  EXPECT_GT(s.GridValue(-1, 0), 0.0);
  EXPECT_EQ(s.GridValue(0, 0), s.GridValue(-1, 0));
  EXPECT_NE(s.GridValue(1, 0), s.GridValue(0, 0));
}

TEST(FlameFluxRow, FlameBaseInTheFirstColumnGivesZero) {
  // Shift = 2·nx·CStep puts the flame base at column −nx of row 0: nothing before it, so 0.
  CalcState s = testdata::JetState(100, 100, 10);
  TorchFluxArgs args;
  args.FlameTilt = s.derived.Tilt;
  args.Shift = 100;
  TorchFluxField(s, FlameShape::Pit, args);
  EXPECT_EQ(s.GridValue(-5, 0), 0.0);
  EXPECT_GT(s.GridValue(-4, 0), 0.0);
  EXPECT_GT(s.GridValue(-5, 1), 0.0);  // other rows have no base cell
}

TEST(FlameFluxRow, ShiftMovesEveryColumnByHalfOfIt) {
  // With Shift = 2·CStep, column i is evaluated where column i + 1 is without a shift.
  CalcState s = testdata::JetState(200, 100, 10);
  TorchFluxArgs args;
  args.FlameTilt = 0.4;
  args.BaseZ = -1;
  args.BaseX = 3;
  CalcState plain = s, shifted = s;
  TorchFluxField(plain, FlameShape::Asymmetric, args);
  args.Shift = 20;
  TorchFluxField(shifted, FlameShape::Asymmetric, args);
  for (int iy = -5; iy <= 5; ++iy)
    for (int ix = -10; ix < 10; ++ix) EXPECT_EQ(shifted.GridValue(ix, iy), plain.GridValue(ix + 1, iy));
}

TEST(FlameFluxRow, HalfMetreShiftWritesEveryColumnOnce) {
  // At 1 m steps a shift of 3 m puts column i at x = i + 1.5. The plain routine counted the columns in
  // whole metres: it started at round(−10 + 1.5) = −8 and rounded (X − 1.5) half to even, so every other
  // cell was written twice and the cells between (−9, −7, ...) never. Each cell now gets its own point.
  CalcState s = testdata::JetState(20, 20, 1);
  TorchFluxArgs args;
  args.FlameTilt = 0.4;
  args.Shift = 3;
  CalcState fast = s;
  TorchFluxField(fast, FlameShape::Asymmetric, args);
  CalcState plain = s;
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

TEST(TorchFluxField, UprightFlameInStillAirIsTheSameAllAround) {
  // A vertical flame without wind is a cone standing on the rupture point: cells at the same distance
  // get the same flux, apart from the centimetre and millimetre roundings of the positions.
  CalcState s = testdata::JetState(200, 200, 10);
  s.derived.KEllipse = 1;
  TorchFluxArgs args;
  args.FlameTilt = kPi / 2;
  TorchFluxField(s, FlameShape::Symmetric, args);
  const Grid& g = s.GridValue;
  const double ref = g(5, 0);  // 50 m east
  ASSERT_GT(ref, 1.0);
  for (auto [ix, iy] : {std::pair{0, 5}, {-5, 0}, {0, -5}, {3, 4}, {-4, 3}, {-3, -4}, {4, -3}})
    EXPECT_NEAR(g(ix, iy), ref, 1e-3 * ref) << ix << "," << iy;
  // And the four quadrants mirror each other everywhere.
  for (int ix = 1; ix <= 10; ++ix)
    for (int iy = 1; iy <= 10; ++iy) {
      const double v = g(ix, iy);
      EXPECT_NEAR(g(-ix, iy), v, 1e-3 * v);
      EXPECT_NEAR(g(ix, -iy), v, 1e-3 * v);
      EXPECT_NEAR(g(iy, ix), v, 1e-3 * v);
    }
}

TEST(TorchFluxField, TiltedFlameIsMirroredAboutItsAxis) {
  // The flame leans along x of its own frame (WindAngle − Dir = 0 turns it along the grid's x): the
  // field is the same at (x, y) and (x, −y), up to the sampling of the visible arc in 0.025 rad steps.
  CalcState s = testdata::JetState(300, 300, 10);
  s.derived.WindAngle = 0;
  TorchFluxArgs args;
  args.FlameTilt = 1.0;
  TorchFluxField(s, FlameShape::Symmetric, args);
  const Grid& g = s.GridValue;
  for (int ix = -15; ix <= 15; ++ix)
    for (int iy = 1; iy <= 15; ++iy) {
      const double v = g(ix, iy);
      EXPECT_NEAR(g(ix, -iy), v, 1e-2 * v) << ix << "," << iy;
    }
  // Leaning towards +x, the flame is hotter downwind than upwind at the same distance.
  EXPECT_GT(g(8, 0), g(-8, 0));
}

TEST(TorchFluxField, FluxFallsWithDistance) {
  CalcState s = testdata::JetState(1000, 100, 50);
  TorchFluxArgs args;
  args.FlameTilt = s.derived.Tilt;
  TorchFluxField(s, FlameShape::Symmetric, args);
  for (int ix = 3; ix < 10; ++ix) EXPECT_LT(s.GridValue(ix + 1, 0), s.GridValue(ix, 0)) << ix;
}

// ---------------------------------------------------------------------------------------------------
// Flames that are refused

TEST(CheckFlame, WindOfTenMetresASecondIsRefusedBeforeAnythingChanges) {
  CalcState s = testdata::JetState(100, 100, 10);
  s.GridValue.fill(7);
  s.derived.KEllipse = 1 - 0.1 * 10;  // 10 m/s
  TorchFluxArgs args;
  for (FlameShape shape : {FlameShape::Pit, FlameShape::Symmetric, FlameShape::Asymmetric}) {
    try {
      TorchFluxField(s, shape, args);
      ADD_FAILURE() << "a 10 m/s wind was accepted";
    } catch (const ModelInputError& e) {
      EXPECT_STREQ(e.what(), kStrongWindMessage);
    }
  }
  EXPECT_EQ(s.GridValue(3, -2), 7.0);
}

TEST(CheckFlame, EllipseFactorAboveOneIsRefused) {
  // A negative wind speed would give KEllipse above 1 and the square root of a negative eccentricity.
  FlameGeometryInputs g;
  g.LTorch = 50;
  g.KEllipse = 1.1;
  EXPECT_THROW(CheckFlame(FlameShape::Symmetric, g, 0.5), ModelInputError);
  g.KEllipse = 1.0;
  EXPECT_NO_THROW(CheckFlame(FlameShape::Symmetric, g, 0.5));
}

TEST(CheckFlame, EmptyFrustumIsRefused) {
  // The frustum's rings run from W1/2 to (W2 − W1)/2: with W2 = 2·W1 there is nothing between.
  FlameGeometryInputs g;
  g.W1 = 10;
  g.W2 = 20;
  g.RL = 50;
  g.KEllipse = 0.8;
  try {
    CheckFlame(FlameShape::Asymmetric, g, 0.4);
    ADD_FAILURE() << "an empty frustum was accepted";
  } catch (const ModelInputError& e) {
    EXPECT_STREQ(e.what(), kEmptyFrustumMessage);
  }
  g.W2 = 20.5;
  EXPECT_NO_THROW(CheckFlame(FlameShape::Asymmetric, g, 0.4));
}

TEST(CheckFlame, FlameWithoutLengthIsRefused) {
  // A flame of no length would make the slant step 0 and the ring loop endless.
  FlameGeometryInputs g;
  g.LTorch = 0;
  g.KEllipse = 0.9;
  EXPECT_THROW(CheckFlame(FlameShape::Pit, g, 0.5), ModelInputError);
  g.LTorch = std::nan("");
  EXPECT_THROW(CheckFlame(FlameShape::Pit, g, 0.5), ModelInputError);
}

}  // namespace
}  // namespace velaron::models
