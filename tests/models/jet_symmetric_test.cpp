// The pit and symmetric jet fire, and the direction steps both jet models share: walks along the eight
// compass directions, the worst direction and its profile, the zone tables.
#include <gtest/gtest.h>

#include <cmath>

#include "models/flame_flux.h"
#include "models/jet_symmetric.h"
#include "models/literal_flux.h"
#include "models/parallel.h"

namespace velaron::models {
namespace {

constexpr double kPi = 3.14159265358979;

// ---------------------------------------------------------------------------------------------------
// Walks along the compass directions

TEST(DirectionWalk, EightDirectionsClockwiseFromNorth) {
  const int expected[9][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}, {1, -1}, {0, -1}, {-1, -1}, {-1, 0}, {-1, 1}};
  for (int d = 1; d <= 8; ++d) {
    EXPECT_EQ(DirectionStep(d).dx, expected[d][0]) << d;
    EXPECT_EQ(DirectionStep(d).dy, expected[d][1]) << d;
    EXPECT_EQ(DirectionStep(d).diagonal, d % 2 == 0) << d;
  }
  EXPECT_EQ(kDirectionNames[3], "Восточному");
}

TEST(DirectionWalk, DiagonalPointsAreRootTwoStepsApart) {
  EXPECT_DOUBLE_EQ(DirectionDistance(1, 4, 10), 40.0);
  EXPECT_DOUBLE_EQ(DirectionDistance(7, 3, 25), 75.0);
  EXPECT_NEAR(DirectionDistance(2, 3, 10), 42.42640687119285, 1e-12);  // 3·10·√2
  EXPECT_NEAR(DirectionDistance(6, 1, 10), 14.142135623730951, 1e-12);
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

// ---------------------------------------------------------------------------------------------------
// Worst direction and the zone tables

CalcState StateWithDirectionRadii() {
  CalcState s = testdata::JetState(100, 100, 10);
  s.dimension(s.GridValue);
  s.GridProc = Grid(6, 6);
  return s;
}

TEST(WorstDirection, ZoneOneDecidesOverZoneFour) {
  // Zone 1 is largest to the east, zone 4 to the north: the east wins because zone 1 is looked at last.
  CalcState s = StateWithDirectionRadii();
  s.ZoneRDir[1][1] = {0, 5, 10, 20, 200};
  s.ZoneRDir[1][3] = {0, 30, 40, 50, 60};
  FindWorstDirection(s, 1);
  FillWorstProfile(s);
  EXPECT_EQ(s.WorstDir[1], "3");
  EXPECT_EQ(s.WorstDir[2], "Восточному");
  EXPECT_EQ(s.CurZones[1][0], 30);
  EXPECT_EQ(s.CurZones[4][0], 200);
}

TEST(WorstDirection, TiesGoToTheLowestDirection) {
  CalcState s = StateWithDirectionRadii();
  for (int d = 1; d <= 8; ++d) s.ZoneRDir[1][d] = {0, 0, 0, 0, 0};
  s.ZoneRDir[1][7] = {0, 12, 0, 0, 0};
  s.ZoneRDir[1][4] = {0, 12, 0, 0, 0};
  FindWorstDirection(s, 1);
  EXPECT_EQ(s.WorstDir[1], "4");
}

TEST(WorstDirection, NoRadiusLeavesItEmptyAndTheProfileGoesNorth) {
  CalcState s = StateWithDirectionRadii();
  s.GridValue(0, 3) = 2.5;   // a cell on the north line
  s.GridProc(0, 3) = 0.5;
  FindWorstDirection(s, 1);
  FillWorstProfile(s);
  EXPECT_EQ(s.WorstDir[1], "");
  EXPECT_EQ(s.WorstDir[2], "Северному");
  for (int z = 1; z <= 4; ++z) EXPECT_EQ(s.CurZones[z][0], 0.0);
  ASSERT_EQ(s.Profile.size(), 7u);
  EXPECT_EQ(s.Profile[4][1], 2.5);
  EXPECT_EQ(s.Profile[4][2], 30.0);
  EXPECT_EQ(s.Profile[4][3], 0.5);
  EXPECT_EQ(s.Profile[0][1], 0.0);
}

TEST(ZoneTables, StandAloneRunStartsItsZoneRRowFromZero) {
  // An earlier run left 999 m in the row; the old model only raised the row, so 999 survived into this
  // run's workbook and report. The row now holds the largest radius of this run's directions.
  CalcState s = StateWithDirectionRadii();
  s.ZoneR[1] = {0, 999, 999, 999, 999};
  s.ZoneR[6] = {0, 1, 2, 3, 4};
  s.ZoneRDir[1][2] = {0, 10, 20, 30, 40};
  s.ZoneRDir[1][5] = {0, 15, 5, 35, 1};
  ClearZoneRRow(s, 1);
  RaiseZoneR(s, 1);
  EXPECT_EQ(s.ZoneR[1][1], 15);
  EXPECT_EQ(s.ZoneR[1][2], 20);
  EXPECT_EQ(s.ZoneR[1][3], 35);
  EXPECT_EQ(s.ZoneR[1][4], 40);
  EXPECT_EQ(s.ZoneR[6][4], 4);  // other rows untouched
}

// ---------------------------------------------------------------------------------------------------
// The model

CalcState RunSimm(FlameShape shape, int xLimit = 300, int yLimit = 300) {
  CalcState s = testdata::JetState(xLimit, yLimit, 10);
  SimmTorchInputs in;
  in.shape = shape;
  in.Prob = 2e-5;
  RaschetSimmTorch(s, in, testdata::SyntheticTables());
  return s;
}

TEST(RaschetSimmTorch, FillsFieldsRadiiRiskAndProfile) {
  CalcState s = testdata::JetState(300, 300, 10);
  s.derived.JetDir = 1.234;
  s.ZoneRDir[3][2] = {0, 7, 7, 7, 7};  // another case's radii from an earlier run
  s.ZoneR[1] = {0, 500, 500, 500, 500};
  s.WorstDir = {"", "8", "Северо-Западному"};
  SimmTorchInputs in;
  in.shape = FlameShape::Symmetric;
  in.Prob = 2e-5;
  RaschetSimmTorch(s, in, testdata::SyntheticTables());

  EXPECT_EQ(s.derived.JetDir, 0.0);
  // The field is the symmetric flame's, through the flux routine.
  CalcState ref = testdata::JetState(300, 300, 10);
  TorchFluxArgs args;
  args.FlameTilt = ref.derived.Tilt;
  TorchFluxField(ref, FlameShape::Symmetric, args);
  EXPECT_EQ(s.GridValue.cells(), ref.GridValue.cells());

  // Every row of ZoneRDir but the first is cleared; the first holds this run's radii.
  EXPECT_EQ(s.ZoneRDir[3][2][1], 0.0);
  double largest[5] = {0, 0, 0, 0, 0};
  for (int d = 1; d <= 8; ++d)
    for (int z = 1; z <= 4; ++z) largest[z] = std::max(largest[z], s.ZoneRDir[1][d][z]);
  ASSERT_GT(largest[4], 0.0) << "the flame must reach the 1 % level somewhere";
  for (int z = 1; z <= 4; ++z) {
    EXPECT_EQ(s.ZoneR[1][z], largest[z]) << z;  // 500 of the earlier run is gone
    EXPECT_EQ(s.CurZones[z][0], largest[z]) << z;
  }
  // Zone radii nest: 99.99 % inside 50 % inside 33 % inside 1 %.
  EXPECT_LE(s.ZoneR[1][1], s.ZoneR[1][2]);
  EXPECT_LE(s.ZoneR[1][2], s.ZoneR[1][3]);
  EXPECT_LE(s.ZoneR[1][3], s.ZoneR[1][4]);

  // The worst direction is one that attains the largest radius of the most severe zone it reaches.
  ASSERT_FALSE(s.WorstDir[1].empty());
  const int w = std::stoi(s.WorstDir[1]);
  EXPECT_EQ(s.WorstDir[2], kDirectionNames[w]);
  int zone = 1;
  while (zone < 4 && largest[zone] == 0) ++zone;
  EXPECT_EQ(s.ZoneRDir[1][w][zone], largest[zone]);

  // Profile along it: flux, distance, percent of the cells on that line.
  const CompassStep st = DirectionStep(w);
  ASSERT_EQ(s.Profile.size(), 17u);  // n = 300/20 + 1 = 16 points
  for (int i = 1; i <= 16; ++i) {
    const int k = i - 1;
    EXPECT_EQ(s.Profile[i][1], s.GridValue(st.dx * k, st.dy * k));
    EXPECT_EQ(s.Profile[i][3], s.GridProc(st.dx * k, st.dy * k));
    EXPECT_NEAR(s.Profile[i][2], (st.diagonal ? std::sqrt(2.0) : 1.0) * 10 * k, 1e-9);
  }

  // Risk per year = probability × percent / 100.
  for (int iy = -15; iy <= 15; iy += 5)
    for (int ix = -15; ix <= 15; ix += 3)
      EXPECT_DOUBLE_EQ(s.GridRisk(ix, iy), 2e-5 * 0.01 * s.GridProc(ix, iy));
}

TEST(RaschetSimmTorch, PitAndSymmetricDifferOnlyInTheFlame) {
  const CalcState pit = RunSimm(FlameShape::Pit);
  const CalcState sym = RunSimm(FlameShape::Symmetric);
  // The symmetric flame is larger (0.65 against 0.4 of the flame length wide, 0.6 against 0.5 tall).
  EXPECT_GT(sym.GridValue(6, 0), pit.GridValue(6, 0));
  EXPECT_GE(sym.ZoneR[1][4], pit.ZoneR[1][4]);
  // Both write the first row of the zone tables.
  EXPECT_GT(pit.ZoneR[1][4], 0.0);
  EXPECT_EQ(pit.ZoneR[3][4], 0.0);
}

TEST(RaschetSimmTorch, UprightFlameHasTheSameRadiiInEveryStraightDirection) {
  CalcState s = testdata::JetState(300, 300, 10);
  s.derived.KEllipse = 1;
  s.derived.Tilt = kPi / 2;
  SimmTorchInputs in;
  in.shape = FlameShape::Symmetric;
  in.Prob = 1e-4;
  RaschetSimmTorch(s, in, testdata::SyntheticTables());
  ASSERT_GT(s.ZoneRDir[1][1][4], 0.0);
  for (int d : {3, 5, 7})
    for (int z = 1; z <= 4; ++z) EXPECT_NEAR(s.ZoneRDir[1][d][z], s.ZoneRDir[1][1][z], 0.05) << d << "," << z;
  for (int d : {4, 6, 8})
    for (int z = 1; z <= 4; ++z) EXPECT_NEAR(s.ZoneRDir[1][d][z], s.ZoneRDir[1][2][z], 0.05) << d << "," << z;
}

TEST(RaschetSimmTorch, FlameLeansDownwindAndTheWorstDirectionIsNamedByTheCompass) {
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
    s.derived.Tilt = 40 * kPi / 180;
    s.derived.WindAngle = c.windFromDeg * kPi / 180 + kPi / 2;
    SimmTorchInputs in;
    in.shape = FlameShape::Symmetric;
    in.Prob = 1e-4;
    RaschetSimmTorch(s, in, testdata::SyntheticTables());
    const auto& r = s.ZoneRDir[1];
    EXPECT_GT(r[c.downwind][4], r[c.upwind][4] + 10) << c.windFromDeg;
    EXPECT_NEAR(r[c.side1][4], r[c.side2][4], 0.5) << c.windFromDeg;
    EXPECT_EQ(s.WorstDir[1], std::to_string(c.downwind)) << c.windFromDeg;
    EXPECT_EQ(s.WorstDir[2], c.name);
  }
}

TEST(RaschetSimmTorch, NarrowGridReadsZeroPastItsTopAndBottom) {
  // YLimit 100 < XLimit 300: the north and south walks run 15 points, the grid only 5 rows each way.
  const CalcState s = RunSimm(FlameShape::Symmetric, 300, 100);
  for (int d : {1, 5})
    for (int z = 1; z <= 4; ++z) EXPECT_LE(s.ZoneRDir[1][d][z], 60.0) << d;  // beyond 50 m it reads 0
  EXPECT_GT(s.ZoneRDir[1][3][4], 0.0);
}

TEST(RaschetSimmTorch, WorstDirectionOfAnEarlierRunDoesNotSurvive) {
  // A flame too small to injure anyone on the grid: no direction has a radius. The old model kept the
  // worst direction of the previous run ("8" here) and drew the profile along it; it now stays empty and
  // the profile runs north.
  CalcState s = testdata::JetState(200, 200, 10);
  s.derived.LTorch = 1;
  s.WorstDir = {"", "8", "Северо-Западному"};
  SimmTorchInputs in;
  in.shape = FlameShape::Pit;
  RaschetSimmTorch(s, in, testdata::SyntheticTables());
  EXPECT_EQ(s.ZoneR[1][4], 0.0);
  EXPECT_EQ(s.WorstDir[1], "");
  EXPECT_EQ(s.WorstDir[2], "Северному");
  EXPECT_EQ(s.Profile[3][1], s.GridValue(0, 2));
}

TEST(RaschetSimmTorch, StrongWindIsRefusedAndNothingChanges) {
  CalcState s = testdata::JetState(100, 100, 10);
  s.derived.KEllipse = 0;  // 10 m/s
  s.GridValue.fill(3);
  s.ZoneR[1] = {0, 1, 2, 3, 4};
  s.WorstDir = {"", "2", "Северo-Восточному"};
  SimmTorchInputs in;
  EXPECT_THROW(RaschetSimmTorch(s, in, testdata::SyntheticTables()), ModelInputError);
  EXPECT_EQ(s.GridValue(1, 1), 3.0);
  EXPECT_EQ(s.ZoneR[1][4], 4.0);
  EXPECT_EQ(s.WorstDir[1], "2");
}

TEST(RaschetSimmTorch, ReportsOneStepPerRowAndStopsWhenCancelled) {
  CalcState s = testdata::JetState(200, 120, 10);  // 13 rows
  SimmTorchInputs in;
  testdata::CountingProgress count;
  RaschetSimmTorch(s, in, testdata::SyntheticTables(), count);
  EXPECT_EQ(count.planned, 13);
  EXPECT_EQ(count.done, 13);

  CalcState t = testdata::JetState(200, 120, 10);
  testdata::CountingProgress stop(3);
  EXPECT_THROW(RaschetSimmTorch(t, in, testdata::SyntheticTables(), stop), Cancelled);
  EXPECT_LT(stop.done, 13);
}

TEST(RaschetSimmTorch, SameWhateverTheThreadCount) {
  SetThreadCount(1);
  const CalcState one = RunSimm(FlameShape::Pit, 200, 200);
  SetThreadCount(4);
  const CalcState four = RunSimm(FlameShape::Pit, 200, 200);
  SetThreadCount(0);
  EXPECT_EQ(one.GridValue.cells(), four.GridValue.cells());
  EXPECT_EQ(one.GridProc.cells(), four.GridProc.cells());
  EXPECT_EQ(one.ZoneRDir, four.ZoneRDir);
  EXPECT_EQ(one.WorstDir, four.WorstDir);
}

}  // namespace
}  // namespace velaron::models
