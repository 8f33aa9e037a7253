// The year-round jet-fire assessment with the flame field and the asymmetric model replaced by test
// functions, so that every expected value can be worked out here from the injected fields. Codes 1 and 7
// with the real models run end to end in the driver's tests.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "models/calc_state.h"
#include "models/jet_symmetric.h"
#include "run/execute.h"
#include "run/flame_geometry.h"
#include "run/prepare.h"
#include "run/yearround/combine.h"
#include "run/yearround/wind_states.h"
#include "run/run_fixtures.h"
#include "run/yearround/year_round.h"

namespace velaron::run::yearround {
namespace {

using models::CalcState;
using models::FlameShape;
using models::Grid;

// A 100 m × 100 m grid at 10 m with a 50 m flame, an outflow of 300 m/s and a route azimuth of 30°.
CalcState BaseState() {
  CalcState s;
  s.settings.XLimit = 100;
  s.settings.YLimit = 100;
  s.settings.CStep = 10;
  s.settings.Skor_chel = 5;
  auto& d = s.derived;
  d.SpeedOut = 300;
  d.Dtrub = 1.0;
  d.SpecVolume = 0.02;
  d.DEquiv = d.Dtrub * std::sqrt(1 / (1.293 * d.SpecVolume));
  d.LTorch = d.LTorchBase = 50;
  d.Ri = std::cbrt(9.81 / std::pow(d.DEquiv * d.SpeedOut, 2)) * d.LTorch;
  d.JetAngle = 0;
  d.Azimut = 30;
  s.LayerFlux.resize(6, s.nx(), s.ny());
  s.LayerProc.resize(8, s.nx(), s.ny());
  return s;
}

constexpr std::array<double, 9> kEqual = {1, 1, 1, 1, 1, 1, 1, 1, 1};

// Winter speeds 2 m/s except south (6 m/s, the strongest flame); summer 3 m/s except calm (0 m/s).
db::WindRow Town(std::array<double, 9> winterRep = kEqual, std::array<double, 9> summerRep = kEqual) {
  db::WindRow w;
  w.idCity = 1;
  w.winter = winterRep;
  w.summer = summerRep;
  w.speedWinter = {2, 2, 2, 2, 6, 2, 2, 2, 2};
  w.speedSummer = {3, 3, 3, 3, 3, 3, 3, 3, 0};
  w.Tmedium = 100;
  return w;
}

YearRoundInputs Inputs(const CalcState& s, const db::WindRow& town) {
  YearRoundInputs in;
  in.W = s.derived.SpeedOut;
  in.D = s.derived.Dtrub;
  in.V = s.derived.SpecVolume;
  in.Glubina = 1.2;
  in.probabilities.PRupture = 1e-3;
  in.probabilities.PIgnition = 0.5;
  in.probabilities.Pkw = in.probabilities.Pks = 0.3;
  in.probabilities.Psw = in.probabilities.Pss = 0.3;
  in.probabilities.Paw = in.probabilities.Pas = 0.4;
  in.wind = town;
  return in;
}

// The injected flame: a hill of heat flux whose height grows with the wind (read back from the ellipse
// factor, v = (1 − K)/0.1) and is half as high again for the symmetric flame, leaning into the wind angle.
double FluxAt(FlameShape shape, double K, double windAngle, int ix, int iy, int step) {
  const double v = (1 - K) / 0.1;
  const double amp = (shape == FlameShape::Pit ? 1.0 : 1.5) * (8 + 4 * v);
  const double r = step * std::hypot(ix, iy);
  const double phi = std::atan2(iy, ix);
  return amp * std::exp(-r / 40) * (1 + 0.3 * std::cos(phi - windAngle));
}

Grid FieldOf(const CalcState& base, FlameShape shape, double speed, int state) {
  Grid g;
  base.dimension(g);
  for (int iy = -g.ny(); iy <= g.ny(); ++iy)
    for (int ix = -g.nx(); ix <= g.nx(); ++ix)
      g(ix, iy) = FluxAt(shape, 1 - 0.1 * speed, (state - 1) * kPi / 4 + kPi / 2, ix, iy, base.settings.CStep);
  return g;
}

// Percent of injury of a heat-flux field, by the probit routine on a state of its own.
Grid PercentOf(const CalcState& base, const Grid& field, const models::ReferenceTables& tables) {
  CalcState t;
  t.settings = base.settings;
  t.GridValue = field;
  models::ProbitGrid(t, models::ProbitBranch::Thermal, tables);
  return t.GridProc;
}

struct FlameCall {
  FlameShape shape;
  double Rw, Tilt, KEllipse, WindAngle;
};

// The asymmetric model's stand-in: a flat 5 kW/m² disc of 20 m, a percent of 40 everywhere on the grid,
// and radii 30, 40, 50, 60 m in every direction (or a −1 where a test sets one).
struct AsymmetricStandIn {
  int calls = 0;
  double probSeen = 0;
  models::DerivedQuantities derivedSeen;   // the flame quantities the model was called with
  int notFoundDir = 0, notFoundLevel = 0;  // a direction and level to report −1

  void operator()(CalcState& s, const models::AsimmTorchInputs& in) {
    ++calls;
    probSeen = in.Prob;
    derivedSeen = s.derived;
    s.dimension(s.GridValue);
    s.GridProc.resize(s.nx() + 1, s.ny() + 1);
    for (int iy = -s.ny(); iy <= s.ny(); ++iy)
      for (int ix = -s.nx(); ix <= s.nx(); ++ix) {
        s.GridValue(ix, iy) = std::hypot(ix, iy) * 10 <= 20 ? 5.0 : 0.0;
        s.GridProc(ix, iy) = 40;
      }
    models::MaxIntoLayer(s.LayerFlux, s.GridValue, s.settings, 5);
    const models::ScenarioKind asymmetric = models::ScenarioKind::Asymmetric;
    for (int z = 1; z <= 4; ++z) {
      for (int d = 1; d <= 8; ++d) s.zones.ZoneRDir(asymmetric, d)(z) = 20 + 10 * z;
      s.zones.ZoneR(asymmetric)(z) = 20 + 10 * z;
    }
    if (notFoundDir) s.zones.ZoneRDir(asymmetric, notFoundDir)(notFoundLevel) = -1;
  }
};

struct Harness {
  models::ReferenceTables tables = *test::SyntheticTables();
  CalcState s = BaseState();
  std::vector<FlameCall> calls;
  AsymmetricStandIn asym;
  Hooks hooks;

  Harness() {
    hooks.flameField = [this](CalcState& st, FlameShape shape, models::Progress&) {
      calls.push_back({shape, st.derived.Rw, st.derived.Tilt, st.derived.KEllipse, st.derived.WindAngle});
      st.dimension(st.GridValue);
      for (int iy = -st.ny(); iy <= st.ny(); ++iy)
        for (int ix = -st.nx(); ix <= st.nx(); ++ix)
          st.GridValue(ix, iy) = FluxAt(shape, st.derived.KEllipse, st.derived.WindAngle, ix, iy, st.settings.CStep);
    };
    hooks.asymmetric = [this](CalcState& st, const models::AsimmTorchInputs& in, const models::ReferenceTables&,
                              models::Progress&) { asym(st, in); };
  }
  void run(const YearRoundInputs& in, models::Progress& p = models::NoProgress()) {
    RaschetComplex(s, in, tables, p, hooks);
  }
  void run(const db::WindRow& town = Town(), models::Progress& p = models::NoProgress()) { run(Inputs(s, town), p); }
};

// Compares the cells of the calculation grid (a percent grid's margin is left out).
void ExpectGridNear(const Grid& actual, const Grid& expected, double tol, const char* what) {
  const int nx = std::min(actual.nx(), expected.nx()), ny = std::min(actual.ny(), expected.ny());
  for (int iy = -ny; iy <= ny; ++iy)
    for (int ix = -nx; ix <= nx; ++ix)
      ASSERT_NEAR(actual(ix, iy), expected(ix, iy), tol) << what << " at (" << ix << ", " << iy << ")";
}

// Raises each cell of `into` (the calculation grid) to scale × g.
void MaxInto(Grid& into, const Grid& g, double scale = 1) {
  for (int iy = -into.ny(); iy <= into.ny(); ++iy)
    for (int ix = -into.nx(); ix <= into.nx(); ++ix) into(ix, iy) = std::max(into(ix, iy), scale * g(ix, iy));
}

// The largest flux of the nine wind states of one shape and season of `town`.
Grid LargestFlux(const CalcState& s, FlameShape shape, const std::array<double, 9>& speeds) {
  Grid m;
  s.dimension(m);
  for (int i = 1; i <= 9; ++i) MaxInto(m, FieldOf(s, shape, speeds[i - 1], i));
  return m;
}

// The radii of jet case 1 found on the percent of a flux field, unweighted.
std::array<double, 5> RadiiOf(const Grid& flux, const models::ReferenceTables& tables) {
  CalcState ref = BaseState();
  ref.GridValue = flux;
  models::ProbitGrid(ref, models::ProbitBranch::Thermal, tables);
  models::DirectionZoneRadii(ref, models::ScenarioKind::PitWinter);
  models::RaiseZoneR(ref, models::ScenarioKind::PitWinter);
  const models::ZoneRow& r = ref.zones.ZoneR(models::ScenarioKind::PitWinter);
  return {0, r(1), r(2), r(3), r(4)};
}

// --- Weights of the wind states -------------------------------------------------------------------

TEST(YearRoundWeights, OneStateAtFullRepetitionGivesThatStatesPercentAndZeroStatesStillShapeTheFlux) {
  Harness h;
  // Winter: all the repetition in the east state (3); the south state (5) has none but the strongest wind.
  h.run(Town({0, 0, 100, 0, 0, 0, 0, 0, 0}, kEqual));

  // The pit-winter percent layer is the east state's percent, weight 1.
  const Grid east = FieldOf(h.s, FlameShape::Pit, 2, 3);
  ExpectGridNear(h.s.LayerProc.layer(1), PercentOf(h.s, east, h.tables), 1e-12, "LayerProc 1");

  // The flux layer is the cell-wise largest of all nine winter flames, the 0 % south state included.
  const Grid maxFlux = LargestFlux(h.s, FlameShape::Pit, Town().speedWinter);
  ExpectGridNear(h.s.LayerFlux.layer(1), maxFlux, 1e-12, "LayerFlux 1");

  // The radii of the case come from the percent of that largest flux, unweighted, and they are wider than
  // the east state alone would give: the south flame, though never blowing in winter, sets the zones.
  const auto radii = RadiiOf(maxFlux, h.tables);
  const models::ZoneRow& pitWinter = h.s.zones.ZoneR(models::ScenarioKind::PitWinter);
  for (int z = 1; z <= 4; ++z) EXPECT_DOUBLE_EQ(pitWinter(z), radii[z]) << "level " << z;
  EXPECT_GT(pitWinter(4), RadiiOf(east, h.tables)[4]);
}

// --- The asymmetric jet and the seasons -----------------------------------------------------------

TEST(YearRoundSeasons, AsymmetricSummerTermIsWeightedByTheWarmDays) {
  // Only the asymmetric jet in summer: GridRisk = PIgnition·PRupture·0.01·(As/2), As = 40·WarmDays/364.
  // The old weighting had the seasons swapped (summer by (364 − WarmDays)/364), which gave a town with
  // 100 warm days the summer share of 264 days.
  // Only the asymmetric jet in winter: the rest of the year, (364 − 100)/364.
  for (const bool summer : {true, false}) {
    Harness h;
    YearRoundInputs in = Inputs(h.s, Town());
    in.probabilities = {};
    in.probabilities.PRupture = 1e-3;
    in.probabilities.PIgnition = 0.5;
    (summer ? in.probabilities.Pas : in.probabilities.Paw) = 1;
    h.run(in);
    const double days = summer ? 100 : 264, otherDays = 364 - days;
    EXPECT_NEAR(h.s.GridRisk(2, -3), 0.5e-3 * 0.01 * (40.0 * days / 364) / 2, 1e-18) << summer;
    EXPECT_GT(std::abs(h.s.GridRisk(2, -3) - 0.5e-3 * 0.01 * (40.0 * otherDays / 364) / 2), 1e-9) << summer;
  }
}

TEST(YearRoundSeasons, AsymmetricFrustumTakesTheWindOfTheCalmSummerState) {
  // The asymmetric geometry is worked out with the wind ratio and the tilt that the last state walked
  // (calm, summer) left, not with the wind typed in the run dialog (hidden for codes 1 and 7), which C1 and
  // W2 once took: 3 m/s here instead of the calm summer's 1 m/s. Worked here from the formulas:
  // calm summer 1 m/s, outflow 300 m/s, still-air flame 50 m, jet elevation 25°.
  Harness h;
  h.s.derived.WindSpeed = 3;  // the run dialog's wind: must not enter
  db::WindRow town = Town();
  town.speedSummer[8] = 1;
  h.run(town);
  const models::DerivedQuantities& d = h.asym.derivedSeen;

  const double W = 300, L0 = 50, V = 0.02;
  const double DEq = 1.0 * std::sqrt(1 / (1.293 * V));
  const double Ri0 = std::cbrt(9.81 / ((DEq * W) * (DEq * W))) * L0;
  const double Rw = 1.0 / W;
  // Tilt of the calm summer state (first rule, the run's jet angle 0 for the pit and symmetric flames).
  const double tiltDeg = 90 - ((0 - kPi / 2) * (1 - std::exp(-25.6 * Rw)) + 8000 * Rw / Ri0);
  ASSERT_GT(tiltDeg, 0);  // about 52°: no clamping
  const double T = tiltDeg * kPi / 180;
  const double J = 25.0 / 180 * kPi;
  const double LTW = (0.51 * std::exp(-0.4 * W) + 0.49) * L0 * (1 - 0.00607 * (J - kPi / 2));
  const double KLift = 0.185 * std::exp(-20 * Rw) + 0.015;
  const double LiftOff = LTW * std::sin(KLift * T) / std::sin(T);
  const double RL = std::sqrt(LTW * LTW - LiftOff * LiftOff * std::sin(T) * std::sin(T)) - LiftOff * std::cos(T);
  const double W1 = DEq * std::sqrt(1.293 * V);  // the still-air base width
  const double W2 = (0.18 * std::exp(-1.5 * Rw) + 0.31) * (1 - 0.46 * std::exp(-25 * Rw)) * LTW;

  EXPECT_NEAR(d.LTorchWind, LTW, 1e-12);
  EXPECT_NEAR(d.KLift, KLift, 1e-12);
  EXPECT_NEAR(d.C1, 1000 * std::exp(-100 * Rw) + 0.8, 1e-9);
  EXPECT_NEAR(d.LiftOff, LiftOff, 1e-12);
  EXPECT_NEAR(d.RL, RL, 1e-12);
  EXPECT_NEAR(d.W1, W1, 1e-12);
  EXPECT_NEAR(d.W2, W2, 1e-12);
  EXPECT_NEAR(d.ConeAngle, std::atan(((W2 - W1) / 2) / RL), 1e-12);
  EXPECT_NEAR(d.JetDir, -30 * kPi / 180, 1e-15);
  // The flame section and the frame are those of the calm summer state too.
  EXPECT_DOUBLE_EQ(d.KEllipse, 0.9);
  EXPECT_DOUBLE_EQ(d.WindAngle, 2.5 * kPi);
}

// --- Layers, the displayed field and the percent of the largest flux ------------------------------

TEST(YearRoundLayers, LayersHoldTheirJetCasesAndLayerFourKeepsTheSymmetricSummerCase) {
  Harness h;
  h.run(Town(kEqual, {0, 0, 0, 0, 0, 0, 0, 0, 100}));
  const db::WindRow town = Town();
  const std::pair<FlameShape, const std::array<double, 9>*> cases[4] = {{FlameShape::Pit, &town.speedWinter},
                                                                        {FlameShape::Pit, &town.speedSummer},
                                                                        {FlameShape::Symmetric, &town.speedWinter},
                                                                        {FlameShape::Symmetric, &town.speedSummer}};
  Grid all;
  h.s.dimension(all);
  for (int c = 0; c < 4; ++c) {
    const Grid expected = LargestFlux(h.s, cases[c].first, *cases[c].second);
    ExpectGridNear(h.s.LayerFlux.layer(c + 1), expected, 1e-12, "LayerFlux by case");
    MaxInto(all, expected);
  }
  // The asymmetric case: its flux in layer 5 and its percent in LayerProc 5.
  EXPECT_DOUBLE_EQ(h.s.LayerFlux(5, 0, 0), 5.0);
  EXPECT_DOUBLE_EQ(h.s.LayerProc(5, 4, -4), 40.0);
  MaxInto(all, h.s.LayerFlux.layer(5));

  // Displayed field: the largest flux of the five cases, and the percent of that flux.
  ExpectGridNear(h.s.GridValue, all, 1e-12, "GridValue");
  const Grid pMax = PercentOf(h.s, all, h.tables);
  ExpectGridNear(h.s.GridProc, pMax, 1e-12, "GridProc");

  // Summer is all calm: the symmetric summer layer is the calm flame's percent (weight 1). The closing
  // step once raised this layer to the percent of the largest flux of all five cases, so the sheet of the
  // symmetric summer case showed the worst of every jet instead of its own.
  const Grid calm = PercentOf(h.s, FieldOf(h.s, FlameShape::Symmetric, 0, 9), h.tables);
  ExpectGridNear(h.s.LayerProc.layer(4), calm, 1e-12, "LayerProc 4");
  bool differs = false;
  for (int iy = -5; iy <= 5; ++iy)
    for (int ix = -5; ix <= 5; ++ix) differs |= std::abs(pMax(ix, iy) - calm(ix, iy)) > 1e-6;
  EXPECT_TRUE(differs) << "the test field must tell the two grids apart";

  // The risk grid is that of the year-round combination, not of the displayed percent.
  const auto& p = Inputs(h.s, town).probabilities;
  const result::JetShares sh{p.Pkw, p.Psw, p.Paw, p.Pks, p.Pss, p.Pas};
  const double Aw = 40.0 * 264 / 364, As = 40.0 * 100 / 364;
  const double g = YearRoundPercent(sh, h.s.LayerProc(1, 1, 1), h.s.LayerProc(3, 1, 1), Aw, h.s.LayerProc(2, 1, 1),
                                    h.s.LayerProc(4, 1, 1), As);
  EXPECT_NEAR(h.s.GridRisk(1, 1), 0.5 * 1e-3 * g * 0.01, 1e-18);
}

// The complex assessment tests each scenario's border right after it (the next model overwrites it), as its own
// run does: explosion and cloud by probit alone, fireball by flux and probit; one stand-in's border cell is set.
TEST(ComplexBorder, EachSingleScenarioIsTestedInTheFormOfItsOwnRun) {
  const struct {
    result::Scenario part;
    double value, probit;
    bool reaches;
  } cases[] = {{result::Scenario::Explosion, 50000, 2.67, false}, {result::Scenario::Explosion, 0, 2.68, true},
               {result::Scenario::GasCloud, 50000, 2.67, false},  {result::Scenario::GasCloud, 0, 2.68, true},
               {result::Scenario::FireBall, 4.0, 2.67, false},    {result::Scenario::FireBall, 4.01, 0, true},
               {result::Scenario::FireBall, 0, 2.68, true}};
  for (const auto& c : cases) {
    Harness h;
    h.s.derived.MassFireBall = h.s.derived.MassGPVS = 1;
    const ComplexInputs in{.yearRound = Inputs(h.s, Town()), .DangerClass = 4};
    auto standIn = [&c](result::Scenario part) {
      return [&c, part](CalcState& s, const auto&, const models::ReferenceTables&, models::Progress&) {
        for (Grid* g : {&s.GridValue, &s.GridProbit, &s.GridRisk}) s.dimension(*g);
        s.GridProc.resize(s.nx() + 1, s.ny() + 1);
        if (part == c.part) {
          s.GridValue(-s.nx(), 2) = c.value;
          s.GridProbit(-s.nx(), 2) = c.probit;
        }
      };
    };
    ComplexHooks hooks{h.hooks, standIn(result::Scenario::Explosion), standIn(result::Scenario::GasCloud),
                       standIn(result::Scenario::FireBall)};
    EXPECT_EQ(RunComplexAssessment(h.s, in, h.tables, models::NoProgress(), hooks), c.reaches)
        << result::CodeOf(c.part) << ": " << c.value << ", " << c.probit;
  }
}

// --- Refusals ---------------------------------------------------------------------------------------

TEST(YearRoundRefusals, StrongWindEmptySeasonAndBadWarmDaysAreRefusedBeforeAnythingIsComputed) {
  Harness h;
  db::WindRow storm = Town();
  storm.speedSummer[3] = 9.95;  // above 9.9 m/s in summer from the south-east: the flame section degenerates
  h.s.LayerFlux(2, 0, 0) = 123;
  const auto msg = CheckYearRound(h.s, Inputs(h.s, storm), h.tables);
  ASSERT_TRUE(msg.has_value());
  EXPECT_NE(msg->find("9,95 м/с больше 9,9 м/с"), std::string::npos);
  EXPECT_NE(msg->find("лето, Ю-В"), std::string::npos);
  EXPECT_THROW(h.run(storm), models::ModelInputError);
  EXPECT_TRUE(h.calls.empty());
  EXPECT_EQ(h.s.LayerFlux(2, 0, 0), 123);

  db::WindRow still = Town({0, 0, 0, 0, 0, 0, 0, 0, 0}, kEqual);
  const auto empty = CheckTownWind(still);
  ASSERT_TRUE(empty.has_value());
  EXPECT_NE(empty->message.find("зима"), std::string::npos);

  db::WindRow negative = Town();
  negative.speedWinter[0] = -1;
  EXPECT_TRUE(CheckTownWind(negative).has_value());

  db::WindRow warm = Town();
  warm.Tmedium = 365;  // would make the winter share of the asymmetric jet negative
  EXPECT_TRUE(CheckTownWind(warm).has_value());
  warm.Tmedium = 364;
  EXPECT_FALSE(CheckTownWind(warm).has_value());

  YearRoundInputs noFlow = Inputs(h.s, Town());
  noFlow.W = 0;
  EXPECT_TRUE(CheckYearRound(h.s, noFlow, h.tables).has_value());
  EXPECT_FALSE(CheckYearRound(h.s, Inputs(h.s, Town()), h.tables).has_value());
}

// The step must serve the smallest flame of the year (0.65 of its slant length, whole metres), worked from
// the 50 m flame of the base state (Ri 0.706):
// - outflow 300 m/s: the asymmetric frustum in the calm summer state (tilt 90°, lift-off factor 0.2):
//   LTorchWind = 0.49·50·(1 + 0.00607·(π/2 − 25°)) = 24.669, LiftOff = 24.669·sin 18° = 7.623,
//   RL = √(24.669² − 7.623²) = 23.461, W1 = 1, W2 = 0.2646·24.669 = 6.527: slant √(23.461² + 2.764²) =
//   23.624, step 15;
// - outflow 1 m/s: the frustum grows (LTorchWind 41.88) and the pit flame of the 6 m/s south wind is the
//   smallest, laid flat (tilt 0): radius 0.4·50·0.4 = 8, axis 0.5·50 = 25, slant √689 = 26.249, step 17.
// The width must serve the largest flame, at least 0.4 of its slant: the symmetric flame in the calm
// summer, upright whatever the outflow: radius 0.65·50 = 32.5, axis 0.6·50·2 = 60, slant 68.237, width 28.
TEST(YearRoundRefusals, TheGridMustServeTheSmallestAndTheLargestFlameOfTheYear) {
  for (const auto& [outflow, largest] : {std::pair{300.0, 15}, std::pair{1.0, 17}}) {
    SCOPED_TRACE(outflow);
    Harness h;
    h.s.derived.Ri = 0.706;
    YearRoundInputs in = Inputs(h.s, Town());
    in.W = outflow;
    const auto refusal = [&] { return CheckYearRound(h.s, in, h.tables).value_or(""); };
    // Widths that two steps of either step divide, so that the step that serves is the one named.
    h.s.settings.XLimit = h.s.settings.YLimit = 2 * largest * (largest + 1);
    h.s.settings.CStep = largest;
    EXPECT_EQ(refusal(), "");
    h.s.settings.CStep = largest + 1;
    EXPECT_THAT(refusal(), testing::ContainsRegex("Шаг сетки " + std::to_string(largest + 1) +
                                                  " м слишком велик.*не более " + std::to_string(largest) + " м"));
    EXPECT_THROW(h.run(in), models::ModelInputError);
    EXPECT_TRUE(h.calls.empty());

    h.s.settings.CStep = 1;
    h.s.settings.XLimit = h.s.settings.YLimit = 28;
    EXPECT_EQ(refusal(), "");
    h.s.settings.YLimit = 26;
    EXPECT_THAT(refusal(), testing::ContainsRegex("Ширина зоны расчета 26 м слишком мала.*не менее 28 м"));
  }
}

}  // namespace
}  // namespace velaron::run::yearround
