// The asymmetric jet fire: four jets combined by maximum, the flame-base offsets, the zone tables of its
// row, the risk probability, and the refused frustum.
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

AsimmTorchInputs Inputs() {
  AsimmTorchInputs in;
  in.D = 1.0;  // pit length 35 m in the synthetic table
  in.Prob = 3e-6;
  in.Glubina = 1.2;
  return in;
}

// ---------------------------------------------------------------------------------------------------
// Jet directions, flame base, probability

TEST(AsimmJets, AzimuthZeroPointsTheJetsAtPlusMinusTwentyAndTheirOpposites) {
  const auto dirs = AsimmJetDirections(0);
  EXPECT_NEAR(dirs[0], 20 * kDeg, 1e-15);
  EXPECT_NEAR(dirs[1], -20 * kDeg, 1e-15);
  EXPECT_NEAR(dirs[2], -160 * kDeg, 1e-15);
  EXPECT_NEAR(dirs[3], -200 * kDeg, 1e-15);  // the same line as +160°
  const auto turned = AsimmJetDirections(90);
  EXPECT_NEAR(turned[0], -70 * kDeg, 1e-15);
  EXPECT_NEAR(turned[3], -290 * kDeg, 1e-15);
}

TEST(AsimmJets, HorizontalJetStandsBelowGroundByTheBurialDepth) {
  // JetAngle 0: Z0 = sin 0 × (...) − depth = −depth, X0 = cos 0 × LiftOff = LiftOff.
  const AsimmFlameBase b = AsimmFlameBaseFor(0, 12, 35, 1.2, 10);
  EXPECT_DOUBLE_EQ(b.Z0, -1.2);
  EXPECT_DOUBLE_EQ(b.X0, 12);
  // Half the pit length to whole metres (17.5 → 18, halves to even), down to whole steps: 10 m.
  EXPECT_EQ(b.Shift, 10);
}

TEST(AsimmJets, ElevatedJetRaisesTheBase) {
  // 25°: Z0 = sin 25° × (cos 25° × 40/2 + 10) − 1.5 = 0.42262 × (18.1262 + 10) − 1.5 = 10.3867 m.
  const AsimmFlameBase b = AsimmFlameBaseFor(25 * kDeg, 10, 40, 1.5, 10);
  EXPECT_NEAR(b.Z0, 10.3867, 1e-4);
  EXPECT_NEAR(b.X0, 9.0631, 1e-4);
  EXPECT_EQ(b.Shift, 20);
  EXPECT_EQ(AsimmFlameBaseFor(0, 0, 45, 0, 10).Shift, 20);  // 22.5 → 22 → 20
  EXPECT_EQ(AsimmFlameBaseFor(0, 0, 47, 0, 5).Shift, 20);   // 23.5 → 24 → 20
}

TEST(AsimmJets, RiskProbabilityIsNotMultipliedByIgnitionAgain) {
  // PAsimmTorch = PRupture × PIgnition × share already. The run used to pass PAsimmTorch × PIgnition,
  // 2e-4 × 0.5 = 1e-4 here, counting the ignition twice and halving the risk.
  ScenarioProbabilities p;
  p.PAsimmTorch = 2e-4;
  p.PIgnition = 0.5;
  EXPECT_EQ(AsimmTorchRiskProbability(p), 2e-4);
}

// ---------------------------------------------------------------------------------------------------
// The model

TEST(RaschetAsimmTorch, FieldIsTheLargestOfTheFourJetsNeverTheirSum) {
  CalcState s = testdata::JetState(200, 200, 10);
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
      double m = 0, second = 0;
      for (const Grid& g : jets) {
        if (g(ix, iy) > m) { second = m; m = g(ix, iy); }
        else second = std::max(second, g(ix, iy));
      }
      if (second > 0.1) ++overlap;
      EXPECT_EQ(s.GridValue(ix, iy), m);
      EXPECT_EQ(s.LayerFlux(5, ix, iy), m);
    }
  EXPECT_GT(overlap, 10);  // cells reached by two jets exist, so a sum would have shown
  EXPECT_DOUBLE_EQ(s.derived.Tilt, s.derived.JetAngle);
  EXPECT_DOUBLE_EQ(s.derived.JetDir, (-30 - 200) * kPi / 180);  // the last jet's direction
}

TEST(RaschetAsimmTorch, JetsLieAlongTheRouteWhateverTheWindDirection) {
  // A north-south pipe (azimuth 0) blows out to the north and to the south, ±20°. The model used to draw
  // the jets in the frame of the wind's angle, so an east wind turned them east-west: on this grid the
  // zone-4 radius was about 76 m to the north and 129 m to the east instead of about 135 m and 66 m.
  const double windsFrom[] = {0, 90, 225, 300};
  std::vector<Grid> fields;
  for (double from : windsFrom) {
    CalcState s = testdata::JetState(300, 300, 10);
    s.derived.Azimut = 0;
    s.derived.WindAngle = from * kDeg + kPi / 2;
    RaschetAsimmTorch(s, Inputs(), testdata::SyntheticTables());
    const auto& r = s.ZoneRDir[5];
    for (int along : {1, 5})
      for (int across : {3, 7}) EXPECT_GT(r[along][4], r[across][4] + 30) << "wind from " << from;
    EXPECT_NEAR(r[1][4], r[5][4], 1.0) << "wind from " << from;
    EXPECT_DOUBLE_EQ(s.derived.WindAngle, from * kDeg + kPi / 2);  // the state keeps the wind's angle
    fields.push_back(s.GridValue);
  }
  for (std::size_t k = 1; k < fields.size(); ++k) EXPECT_EQ(fields[k].cells(), fields[0].cells()) << windsFrom[k];

  // An east-west pipe (azimuth 90) blows out to the east and to the west.
  CalcState ew = testdata::JetState(300, 300, 10);
  ew.derived.Azimut = 90;
  ew.derived.WindAngle = 45 * kDeg + kPi / 2;
  RaschetAsimmTorch(ew, Inputs(), testdata::SyntheticTables());
  for (int along : {3, 7})
    for (int across : {1, 5}) EXPECT_GT(ew.ZoneRDir[5][along][4], ew.ZoneRDir[5][across][4] + 30);
}

TEST(RaschetAsimmTorch, LayersKeepARunningMaximum) {
  CalcState s = testdata::JetState(200, 200, 10);
  s.LayerFlux(5, 10, 10) = 1e6;  // a larger flux from before this call
  s.LayerProc(5, -10, 10) = 99.99;
  s.LayerFlux(2, 0, 0) = 42;  // another layer
  RaschetAsimmTorch(s, Inputs(), testdata::SyntheticTables());
  EXPECT_EQ(s.LayerFlux(5, 10, 10), 1e6);
  EXPECT_EQ(s.GridValue(10, 10), 1e6);  // the field is the layer
  EXPECT_EQ(s.LayerProc(5, -10, 10), 99.99);
  EXPECT_EQ(s.LayerFlux(2, 0, 0), 42);
  for (int ix = -10; ix <= 10; ++ix) EXPECT_GE(s.LayerProc(5, ix, 3), s.GridProc(ix, 3));
}

TEST(RaschetAsimmTorch, WritesItsOwnRowOfTheZoneTables) {
  CalcState s = testdata::JetState(300, 300, 10);
  s.ZoneR[5] = {0, 800, 800, 800, 800};  // a larger radius of an earlier run
  s.ZoneR[1] = {0, 1, 2, 3, 4};
  s.ZoneRDir[1][3] = {0, 9, 9, 9, 9};
  RaschetAsimmTorch(s, Inputs(), testdata::SyntheticTables());
  double largest[5] = {0, 0, 0, 0, 0};
  for (int d = 1; d <= 8; ++d)
    for (int z = 1; z <= 4; ++z) largest[z] = std::max(largest[z], s.ZoneRDir[5][d][z]);
  ASSERT_GT(largest[4], 0.0);
  for (int z = 1; z <= 4; ++z) {
    EXPECT_EQ(s.ZoneR[5][z], largest[z]);  // 800 of the earlier run is gone
    EXPECT_EQ(s.CurZones[z][0], largest[z]);
  }
  // Other rows as they were.
  EXPECT_EQ(s.ZoneR[1][4], 4.0);
  EXPECT_EQ(s.ZoneRDir[1][3][2], 9.0);
  // Worst direction and profile along it.
  ASSERT_FALSE(s.WorstDir[1].empty());
  const int w = std::stoi(s.WorstDir[1]);
  EXPECT_EQ(s.WorstDir[2], kDirectionNames[w]);
  ASSERT_EQ(s.Profile.size(), 17u);
  const CompassStep st = DirectionStep(w);
  EXPECT_EQ(s.Profile[5][1], s.GridValue(4 * st.dx, 4 * st.dy));
  // Risk from the probability passed, per cell.
  for (int ix = -15; ix <= 15; ix += 2) EXPECT_DOUBLE_EQ(s.GridRisk(ix, 1), 3e-6 * 0.01 * s.GridProc(ix, 1));
}

TEST(RaschetAsimmTorch, WithoutWorstDirectionKeepsTheProfileAndTheDirectionEightRadii) {
  // The jet-flame window asks for no worst direction: CurZones keeps what the last walk (north-west)
  // left, the profile of an earlier run stays, and the worst direction starts and stays empty.
  CalcState s = testdata::JetState(300, 300, 10);
  s.Profile.assign(3, {1, 2, 3, 4});
  s.WorstDir = {"", "3", "Восточному"};
  AsimmTorchInputs in = Inputs();
  in.worstDirection = false;
  RaschetAsimmTorch(s, in, testdata::SyntheticTables());
  EXPECT_EQ(s.WorstDir[1], "");
  EXPECT_EQ(s.Profile.size(), 3u);
  for (int z = 1; z <= 4; ++z) EXPECT_EQ(s.CurZones[z][0], s.ZoneRDir[5][8][z]);
  EXPECT_GT(s.ZoneR[5][4], 0.0);
}

TEST(RaschetAsimmTorch, MakesItsLayersWhenTheCallerHasNot) {
  CalcState s = testdata::JetState(200, 100, 10);
  s.LayerFlux = LayeredGrid();
  s.LayerProc = LayeredGrid();
  RaschetAsimmTorch(s, Inputs(), testdata::SyntheticTables());
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

TEST(RaschetAsimmTorch, StrongWindIsRefused) {
  CalcState s = testdata::JetState(100, 100, 10);
  s.derived.KEllipse = -0.2;  // 12 m/s
  EXPECT_THROW(RaschetAsimmTorch(s, Inputs(), testdata::SyntheticTables()), ModelInputError);
}

TEST(RaschetAsimmTorch, ReportsTheRowsOfAllFourJets) {
  testdata::CountingProgress count;
  CalcState s = testdata::JetState(100, 80, 10);  // 9 rows
  RaschetAsimmTorch(s, Inputs(), testdata::SyntheticTables(), count);
  EXPECT_EQ(count.planned, 36);
  EXPECT_EQ(count.done, 36);
}

TEST(RaschetAsimmTorch, SameWhateverTheThreadCount) {
  CalcState one = testdata::JetState(200, 160, 10), four = one;
  SetThreadCount(1);
  RaschetAsimmTorch(one, Inputs(), testdata::SyntheticTables());
  SetThreadCount(4);
  RaschetAsimmTorch(four, Inputs(), testdata::SyntheticTables());
  SetThreadCount(0);
  EXPECT_EQ(one.GridValue.cells(), four.GridValue.cells());
  EXPECT_EQ(one.GridProc.cells(), four.GridProc.cells());
  EXPECT_EQ(one.ZoneRDir, four.ZoneRDir);
  EXPECT_EQ(one.WorstDir, four.WorstDir);
}

}  // namespace
}  // namespace velaron::models
