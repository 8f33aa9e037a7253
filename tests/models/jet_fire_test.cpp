// The pit, symmetric and asymmetric jet fires, and the direction steps they share: walks along the eight
// compass directions, the worst direction and its profile, the zone tables, the four asymmetric jets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "models/flame_flux.h"
#include "models/jet_asymmetric.h"
#include "models/jet_symmetric.h"
#include "models/literal_flux.h"
#include "models/parallel.h"

namespace velaron::models {
namespace {

constexpr double kPi = 3.14159265358979;
constexpr double kDeg = kPi / 180;

AsimmTorchInputs Inputs() { return {.D = 1.0, .Prob = 3e-6, .Glubina = 1.2}; }  // pit length 35 m

// The run wrote row `kind` of the zone tables from its own directions only (an earlier run's larger radius
// is gone), CurZones holds the same radii, the worst direction attains the largest radius of the most severe
// zone reached, and the profile runs along it; returns the zone-4 radius.
double ExpectZoneRowAndWorstProfile(const CalcState& s, int kind, double prob) {
  double largest[5] = {0, 0, 0, 0, 0};
  for (int d = 1; d <= 8; ++d)
    for (int z = 1; z <= 4; ++z) largest[z] = std::max(largest[z], s.ZoneRDir[kind][d][z]);
  for (int z = 1; z <= 4; ++z) {
    EXPECT_EQ(s.ZoneR[kind][z], largest[z]) << z;
    EXPECT_EQ(s.CurZones[z][0], largest[z]) << z;
  }
  // Zone radii nest: 99.99 % inside 50 % inside 33 % inside 1 %.
  for (int z = 1; z < 4; ++z) EXPECT_LE(s.ZoneR[kind][z], s.ZoneR[kind][z + 1]) << z;
  if (s.WorstDir[1].empty()) {
    ADD_FAILURE() << "no worst direction";
    return 0;
  }
  const int w = std::stoi(s.WorstDir[1]);
  EXPECT_EQ(s.WorstDir[2], kDirectionNames[w]);
  int zone = 1;
  while (zone < 4 && largest[zone] == 0) ++zone;
  EXPECT_EQ(s.ZoneRDir[kind][w][zone], largest[zone]);
  // Profile along it: flux, distance, percent of the cells on that line (n = XLimit/20 + 1 points).
  const CompassStep st = DirectionStep(w);
  EXPECT_EQ(s.Profile.size(), static_cast<std::size_t>(s.settings.XLimit / 20 + 2));
  for (int i = 1; i < static_cast<int>(s.Profile.size()); ++i) {
    const int k = i - 1;
    EXPECT_EQ(s.Profile[i][1], s.GridValue(st.dx * k, st.dy * k));
    EXPECT_EQ(s.Profile[i][3], s.GridProc(st.dx * k, st.dy * k));
    EXPECT_NEAR(s.Profile[i][2], (st.diagonal ? std::sqrt(2.0) : 1.0) * 10 * k, 1e-9);
  }
  // Risk per year = probability × percent / 100.
  for (int iy = -15; iy <= 15; iy += 5)
    for (int ix = -15; ix <= 15; ix += 3) EXPECT_DOUBLE_EQ(s.GridRisk(ix, iy), prob * 0.01 * s.GridProc(ix, iy));
  return largest[4];
}

// ---------------------------------------------------------------------------------------------------
// Walks along the compass directions, the worst direction, the zone tables

TEST(DirectionWalk, EightDirectionsClockwiseFromNorthDiagonalsRootTwoApart) {
  const int expected[9][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}, {1, -1}, {0, -1}, {-1, -1}, {-1, 0}, {-1, 1}};
  for (int d = 1; d <= 8; ++d) {
    EXPECT_EQ(DirectionStep(d).dx, expected[d][0]) << d;
    EXPECT_EQ(DirectionStep(d).dy, expected[d][1]) << d;
    EXPECT_EQ(DirectionStep(d).diagonal, d % 2 == 0) << d;
  }
  EXPECT_EQ(kDirectionNames[3], "Восточному");
  EXPECT_DOUBLE_EQ(DirectionDistance(7, 3, 25), 75.0);
  EXPECT_NEAR(DirectionDistance(2, 3, 10), 42.42640687119285, 1e-12);  // 3·10·√2
}

TEST(DirectionWalk, PointsBeyondTheGridEdgeReadZero) {
  // With YLimit below XLimit the walks, n points long from XLimit, pass the top and the bottom of the
  // grid. They used to read past the array there; they now read 0 (no injury outside the grid).
  Grid g(10, 4);
  g.fill(50);
  EXPECT_EQ(DirectionValue(g, 1, 4), 50.0);
  EXPECT_EQ(DirectionValue(g, 1, 5), 0.0);
  EXPECT_EQ(DirectionValue(g, 4, 7), 0.0);
  EXPECT_EQ(DirectionValue(g, 3, 10), 50.0);  // east stays inside up to x = XLimit/2
  EXPECT_EQ(DirectionValue(g, 6, 4), 50.0);
  // The same through a run: YLimit 100 < XLimit 300, the north and south walks run 15 points, the grid
  // only 5 rows each way: beyond 50 m they read 0.
  CalcState s = testdata::JetState(300, 100, 10);
  RaschetSimmTorch(s, {FlameShape::Symmetric, 1e-4}, testdata::SyntheticTables());
  for (int d : {1, 5})
    for (int z = 1; z <= 4; ++z) EXPECT_LE(s.ZoneRDir[1][d][z], 60.0) << d;
  EXPECT_GT(s.ZoneRDir[1][3][4], 0.0);
}

TEST(DirectionWalk, ProfileOfADirectionTakesPercentAndDistance) {
  CalcState s = testdata::JetState(100, 100, 10);  // n = 6 points
  s.GridProc = Grid(6, 6);  // with its one-cell margin
  for (int k = 0; k <= 5; ++k) s.GridProc(-k, -k) = 90 - 10 * k;
  FillDirectionProfile(s, 6);
  ASSERT_EQ(s.RadProfile.size(), 7u);
  for (int i = 1; i <= 6; ++i) {
    EXPECT_EQ(s.RadProfile[i][1], 90 - 10 * (i - 1));
    EXPECT_NEAR(s.RadProfile[i][2], (i - 1) * 10 * std::sqrt(2.0), 1e-12);
  }
}

TEST(WorstDirection, ZoneOneDecidesAndTiesGoToTheLowestDirection) {
  // Zone 1 is largest to the east, zone 4 to the north: the east wins because zone 1 is looked at last.
  CalcState s = testdata::JetState(100, 100, 10);
  s.GridProc = Grid(6, 6);
  s.ZoneRDir[1][1] = {0, 5, 10, 20, 200};
  s.ZoneRDir[1][3] = {0, 30, 40, 50, 60};
  FindWorstDirection(s, 1);
  FillWorstProfile(s);
  EXPECT_EQ(s.WorstDir[1], "3");
  EXPECT_EQ(s.WorstDir[2], "Восточному");
  EXPECT_EQ(s.CurZones[1][0], 30);
  EXPECT_EQ(s.CurZones[4][0], 200);
  s.ZoneRDir[1][1] = s.ZoneRDir[1][3] = {0, 0, 0, 0, 0};
  s.ZoneRDir[1][7] = s.ZoneRDir[1][4] = {0, 12, 0, 0, 0};
  FindWorstDirection(s, 1);
  EXPECT_EQ(s.WorstDir[1], "4");
}

TEST(ZoneTables, StandAloneRunStartsItsZoneRRowFromZero) {
  // An earlier run left 999 m in the row; the old model only raised the row, so 999 survived into this
  // run's workbook and report. The row now holds the largest radius of this run's directions.
  CalcState s = testdata::JetState(100, 100, 10);
  s.ZoneR[1] = {0, 999, 999, 999, 999};
  s.ZoneR[6] = {0, 1, 2, 3, 4};
  s.ZoneRDir[1][2] = {0, 10, 20, 30, 40};
  s.ZoneRDir[1][5] = {0, 15, 5, 35, 1};
  ClearZoneRRow(s, 1);
  RaiseZoneR(s, 1);
  EXPECT_EQ(s.ZoneR[1], (std::array<double, 5>{0, 15, 20, 35, 40}));
  EXPECT_EQ(s.ZoneR[6][4], 4);  // other rows untouched
}

// ---------------------------------------------------------------------------------------------------
// Pit and symmetric jet fire

TEST(RaschetSimmTorch, UprightFlameHasTheSameRadiiInEveryStraightDirection) {
  CalcState s = testdata::JetState(300, 300, 10);
  s.derived.KEllipse = 1;
  s.derived.Tilt = kPi / 2;
  RaschetSimmTorch(s, {FlameShape::Symmetric, 1e-4}, testdata::SyntheticTables());
  ASSERT_GT(s.ZoneRDir[1][1][4], 0.0);
  for (int d = 3; d <= 8; ++d)
    for (int z = 1; z <= 4; ++z) EXPECT_NEAR(s.ZoneRDir[1][d][z], s.ZoneRDir[1][2 - d % 2][z], 0.05) << d << "," << z;
}

TEST(RaschetSimmTorch, FillsFieldsRadiiRiskAndProfileWithTheFlameLeaningDownwind) {
  // The wind direction is where the wind blows from; the angle of the flame's frame is that direction
  // + 90°. A north wind leans the flame to the south (direction 5), an east wind to the west (7), and the
  // zones of the opposite side are the smaller ones; the two sides across the wind mirror each other.
  struct Case {
    double windFromDeg;
    int downwind, upwind, side1, side2;
    const char* name;
  };
  const Case cases[] = {{0, 5, 1, 3, 7, "Южному"}, {90, 7, 3, 1, 5, "Западному"}, {225, 2, 6, 4, 8, "Северo-Восточному"}};
  for (const Case& c : cases) {
    CalcState s = testdata::JetState(300, 300, 10);
    s.derived.WindAngle = c.windFromDeg * kDeg + kPi / 2;
    s.derived.Tilt = 40 * kDeg;
    CalcState ref = s;  // the field is the symmetric flame's, through the flux routine
    TorchFluxField(ref, FlameShape::Symmetric, {.FlameTilt = ref.derived.Tilt});
    s.derived.JetDir = 1.234;
    s.ZoneRDir[3][2] = {0, 7, 7, 7, 7};  // another case's radii from an earlier run
    s.ZoneR[1] = {0, 500, 500, 500, 500};
    s.WorstDir = {"", "8", "Северо-Западному"};
    RaschetSimmTorch(s, {FlameShape::Symmetric, 2e-5}, testdata::SyntheticTables());
    EXPECT_EQ(s.derived.JetDir, 0.0);
    EXPECT_EQ(s.GridValue.cells(), ref.GridValue.cells());
    EXPECT_EQ(s.ZoneRDir[3][2][1], 0.0);  // every row of ZoneRDir but the first is cleared
    EXPECT_GT(ExpectZoneRowAndWorstProfile(s, 1, 2e-5), 0.0);
    const auto& r = s.ZoneRDir[1];
    EXPECT_GT(r[c.downwind][4], r[c.upwind][4] + 10) << c.windFromDeg;
    EXPECT_NEAR(r[c.side1][4], r[c.side2][4], 0.5) << c.windFromDeg;
    EXPECT_EQ(s.WorstDir[1], std::to_string(c.downwind)) << c.windFromDeg;
    EXPECT_EQ(s.WorstDir[2], c.name);
  }
}

TEST(RaschetSimmTorch, WorstDirectionOfAnEarlierRunDoesNotSurvive) {
  // A flame too small to injure anyone on the grid: no direction has a radius. The old model kept the
  // worst direction of the previous run ("8" here) and drew the profile along it; it now stays empty and
  // the profile runs north.
  CalcState s = testdata::JetState(200, 200, 10);
  s.derived.LTorch = 1;
  s.WorstDir = {"", "8", "Северо-Западному"};
  RaschetSimmTorch(s, {FlameShape::Pit, 0}, testdata::SyntheticTables());
  EXPECT_EQ(s.ZoneR[1][4], 0.0);
  EXPECT_EQ(s.WorstDir[1], "");
  EXPECT_EQ(s.WorstDir[2], "Северному");
  for (int z = 1; z <= 4; ++z) EXPECT_EQ(s.CurZones[z][0], 0.0);
  EXPECT_EQ(s.Profile[3][1], s.GridValue(0, 2));
  EXPECT_EQ(s.Profile[3][2], 20.0);
}

TEST(RaschetSimmTorch, StrongWindIsRefusedAndNothingChanges) {
  CalcState s = testdata::JetState(100, 100, 10);
  s.derived.KEllipse = 0;  // 10 m/s
  s.GridValue.fill(3);
  s.ZoneR[1] = {0, 1, 2, 3, 4};
  s.WorstDir = {"", "2", "Северo-Восточному"};
  EXPECT_THROW(RaschetSimmTorch(s, {}, testdata::SyntheticTables()), ModelInputError);
  EXPECT_EQ(s.GridValue(1, 1), 3.0);
  EXPECT_EQ(s.ZoneR[1][4], 4.0);
  EXPECT_EQ(s.WorstDir[1], "2");
}

// ---------------------------------------------------------------------------------------------------
// Asymmetric jet fire

TEST(AsimmJets, DirectionsFlameBaseAndProbability) {
  // Azimuth 0 points the jets at ±20° and their opposites; −200° is the same line as +160°.
  const auto dirs = AsimmJetDirections(0), turned = AsimmJetDirections(90);
  const double expected[] = {20, -20, -160, -200};
  for (int k = 0; k < 4; ++k) EXPECT_NEAR(dirs[k], expected[k] * kDeg, 1e-15) << k;
  EXPECT_NEAR(turned[0], -70 * kDeg, 1e-15);
  EXPECT_NEAR(turned[3], -290 * kDeg, 1e-15);
  // JetAngle 0: Z0 = sin 0 × (...) − depth = −depth, X0 = cos 0 × LiftOff = LiftOff; half the pit length to
  // whole metres (17.5 → 18, halves to even), down to whole steps: 10 m.
  const AsimmFlameBase flat = AsimmFlameBaseFor(0, 12, 35, 1.2, 10);
  EXPECT_DOUBLE_EQ(flat.Z0, -1.2);
  EXPECT_DOUBLE_EQ(flat.X0, 12);
  EXPECT_EQ(flat.Shift, 10);
  // 25°: Z0 = sin 25° × (cos 25° × 40/2 + 10) − 1.5 = 0.42262 × (18.1262 + 10) − 1.5 = 10.3867 m.
  const AsimmFlameBase raised = AsimmFlameBaseFor(25 * kDeg, 10, 40, 1.5, 10);
  EXPECT_NEAR(raised.Z0, 10.3867, 1e-4);
  EXPECT_NEAR(raised.X0, 9.0631, 1e-4);
  EXPECT_EQ(raised.Shift, 20);
  EXPECT_EQ(AsimmFlameBaseFor(0, 0, 45, 0, 10).Shift, 20);  // 22.5 → 22 → 20
  EXPECT_EQ(AsimmFlameBaseFor(0, 0, 47, 0, 5).Shift, 20);   // 23.5 → 24 → 20
  // PAsimmTorch = PRupture × PIgnition × share already. The run used to pass PAsimmTorch × PIgnition,
  // 2e-4 × 0.5 = 1e-4 here, counting the ignition twice and halving the risk.
  ScenarioProbabilities p;
  p.PAsimmTorch = 2e-4;
  p.PIgnition = 0.5;
  EXPECT_EQ(AsimmTorchRiskProbability(p), 2e-4);
}

TEST(RaschetAsimmTorch, FieldIsTheLargestOfTheFourJetsNeverTheirSum) {
  CalcState s = testdata::JetState(200, 200, 10);
  s.LayerFlux(5, 10, 10) = 1e6;  // a larger flux from before this call: the layers keep a running maximum
  s.LayerProc(5, -10, 10) = 99.99;
  s.LayerFlux(2, 0, 0) = 42;  // another layer
  RaschetAsimmTorch(s, Inputs(), testdata::SyntheticTables());
  // Each jet on its own, through the flux routine with the same base and shift.
  const CalcState start = testdata::JetState(200, 200, 10);
  const AsimmFlameBase b = AsimmFlameBaseFor(start.derived.JetAngle, 12, 35, 1.2, 10);
  std::vector<Grid> jets;
  for (double dir : AsimmJetDirections(30)) {
    CalcState one = start;
    TorchFluxField(one, FlameShape::Asymmetric, AsimmJetArgs(b, start.derived.JetAngle, dir));
    jets.push_back(one.GridValue);
  }
  int overlap = 0;
  for (int iy = -10; iy <= 10; ++iy)
    for (int ix = -10; ix <= 10; ++ix) {
      if (ix == 10 && iy == 10) continue;
      std::vector<double> v;
      for (const Grid& g : jets) v.push_back(g(ix, iy));
      std::sort(v.rbegin(), v.rend());
      if (v[1] > 0.1) ++overlap;
      EXPECT_EQ(s.GridValue(ix, iy), v[0]);
      EXPECT_EQ(s.LayerFlux(5, ix, iy), v[0]);
      EXPECT_GE(s.LayerProc(5, ix, iy), s.GridProc(ix, iy));
    }
  EXPECT_GT(overlap, 10);  // cells reached by two jets exist, so a sum would have shown
  EXPECT_EQ(s.GridValue(10, 10), 1e6);  // the field is the layer
  EXPECT_EQ(s.LayerProc(5, -10, 10), 99.99);
  EXPECT_EQ(s.LayerFlux(2, 0, 0), 42);
  EXPECT_DOUBLE_EQ(s.derived.Tilt, s.derived.JetAngle);
  EXPECT_DOUBLE_EQ(s.derived.JetDir, (-30 - 200) * kPi / 180);  // the last jet's direction
}

TEST(RaschetAsimmTorch, JetsLieAlongTheRouteWhateverTheWindDirection) {
  // A north-south pipe (azimuth 0) blows out to the north and to the south, ±20°. The model used to draw
  // the jets in the frame of the wind's angle, so an east wind turned them east-west: on this grid the
  // zone-4 radius was about 76 m to the north and 129 m to the east instead of about 135 m and 66 m.
  // An east-west pipe (azimuth 90) blows out to the east and to the west.
  const double windsFrom[] = {0, 90, 225, 300, 45};
  std::vector<Grid> fields;
  for (double from : windsFrom) {
    CalcState s = testdata::JetState(300, 300, 10);
    const bool eastWest = from == 45;
    s.derived.Azimut = eastWest ? 90 : 0;
    s.derived.WindAngle = from * kDeg + kPi / 2;
    RaschetAsimmTorch(s, Inputs(), testdata::SyntheticTables());
    const auto& r = s.ZoneRDir[5];
    for (int north : {1, 5})
      for (int east : {3, 7})
        EXPECT_GT(r[eastWest ? east : north][4], r[eastWest ? north : east][4] + 30) << "wind from " << from;
    if (eastWest) continue;
    EXPECT_NEAR(r[1][4], r[5][4], 1.0) << "wind from " << from;
    EXPECT_DOUBLE_EQ(s.derived.WindAngle, from * kDeg + kPi / 2);  // the state keeps the wind's angle
    fields.push_back(s.GridValue);
  }
  for (std::size_t k = 1; k < fields.size(); ++k) EXPECT_EQ(fields[k].cells(), fields[0].cells()) << windsFrom[k];
}

TEST(RaschetAsimmTorch, WritesItsOwnRowOfTheZoneTables) {
  CalcState s = testdata::JetState(300, 300, 10);
  s.ZoneR[5] = {0, 800, 800, 800, 800};  // a larger radius of an earlier run
  s.ZoneR[1] = {0, 1, 2, 3, 4};
  s.ZoneRDir[1][3] = {0, 9, 9, 9, 9};
  RaschetAsimmTorch(s, Inputs(), testdata::SyntheticTables());
  EXPECT_GT(ExpectZoneRowAndWorstProfile(s, 5, 3e-6), 0.0);
  EXPECT_EQ(s.ZoneR[1][4], 4.0);  // other rows as they were
  EXPECT_EQ(s.ZoneRDir[1][3][2], 9.0);
}

TEST(RaschetAsimmTorch, WithoutWorstDirectionKeepsTheProfileAndTheDirectionEightRadii) {
  // The jet-flame window asks for no worst direction: CurZones keeps what the last walk (north-west)
  // left, the profile of an earlier run stays, and the worst direction starts and stays empty. Layers the
  // caller has not made are made.
  CalcState s = testdata::JetState(300, 300, 10);
  s.LayerFlux = LayeredGrid();
  s.LayerProc = LayeredGrid();
  s.Profile.assign(3, {1, 2, 3, 4});
  s.WorstDir = {"", "3", "Восточному"};
  AsimmTorchInputs in = Inputs();
  in.worstDirection = false;
  RaschetAsimmTorch(s, in, testdata::SyntheticTables());
  EXPECT_EQ(s.WorstDir[1], "");
  EXPECT_EQ(s.Profile.size(), 3u);
  for (int z = 1; z <= 4; ++z) EXPECT_EQ(s.CurZones[z][0], s.ZoneRDir[5][8][z]);
  EXPECT_GT(s.ZoneR[5][4], 0.0);
  ASSERT_EQ(s.LayerFlux.count(), 6);
  ASSERT_EQ(s.LayerProc.count(), 8);
  EXPECT_EQ(s.LayerFlux(5, 3, 2), s.GridValue(3, 2));
}

TEST(RaschetAsimmTorch, EmptyFrustumIsRefusedAndNothingChanges) {
  CalcState s = testdata::JetState(100, 100, 10);
  s.derived.W2 = 2 * s.derived.W1;
  s.derived.Tilt = 0.9;
  s.LayerFlux(5, 1, 1) = 5;
  s.ZoneR[5] = {0, 1, 2, 3, 4};
  try {
    RaschetAsimmTorch(s, Inputs(), testdata::SyntheticTables());
    ADD_FAILURE() << "an empty frustum was accepted";
  } catch (const ModelInputError& e) {
    EXPECT_STREQ(e.what(), kEmptyFrustumMessage);
  }
  EXPECT_EQ(s.derived.Tilt, 0.9);
  EXPECT_EQ(s.LayerFlux(5, 1, 1), 5.0);
  EXPECT_EQ(s.ZoneR[5][3], 3.0);
}

// ---------------------------------------------------------------------------------------------------
// Both jet models: progress, cancel, threads

TEST(JetModels, ReportRowsStopWhenCancelledAndAreTheSameWhateverTheThreadCount) {
  testdata::CountingProgress simm, asimm, stop(3);
  CalcState a = testdata::JetState(200, 120, 10);  // 13 rows
  RaschetSimmTorch(a, {}, testdata::SyntheticTables(), simm);
  EXPECT_EQ(simm.planned, 13);
  EXPECT_EQ(simm.done, 13);
  EXPECT_THROW(RaschetSimmTorch(a, {}, testdata::SyntheticTables(), stop), Cancelled);
  EXPECT_LT(stop.done, 13);
  CalcState b = testdata::JetState(100, 80, 10);  // 9 rows for each of the four jets
  RaschetAsimmTorch(b, Inputs(), testdata::SyntheticTables(), asimm);
  EXPECT_EQ(asimm.planned, 36);
  EXPECT_EQ(asimm.done, 36);

  auto run = [](bool asymmetric, int threads) {
    SetThreadCount(threads);
    CalcState s = testdata::JetState(200, 160, 10);
    if (asymmetric) RaschetAsimmTorch(s, Inputs(), testdata::SyntheticTables());
    else RaschetSimmTorch(s, {FlameShape::Pit, 1e-4}, testdata::SyntheticTables());
    return s;
  };
  for (bool asymmetric : {false, true}) {
    const CalcState one = run(asymmetric, 1), four = run(asymmetric, 4);
    EXPECT_EQ(one.GridValue.cells(), four.GridValue.cells()) << asymmetric;
    EXPECT_EQ(one.GridProc.cells(), four.GridProc.cells()) << asymmetric;
    EXPECT_EQ(one.ZoneRDir, four.ZoneRDir) << asymmetric;
    EXPECT_EQ(one.WorstDir, four.WorstDir) << asymmetric;
  }
  SetThreadCount(0);
}

}  // namespace
}  // namespace velaron::models
