// The pit, symmetric and asymmetric jet fires: walks past the grid's edge, the zone row and the worst
// direction of a stand-alone run, the four asymmetric jets along the route.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "models/flame_flux.h"
#include "models/jet_asymmetric.h"
#include "models/jet_symmetric.h"
#include "literal/literal_flux.h"
#include "models/parallel.h"

namespace velaron::models {
namespace {

constexpr double kDeg = kPi / 180;

AsimmTorchInputs Inputs() { return {.D = 1.0, .Prob = 3e-6, .Glubina = 1.2}; }  // pit length 35 m

// ---------------------------------------------------------------------------------------------------
// Walks along the compass directions, the worst direction, the zone tables

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
    for (int z = 1; z <= 4; ++z) EXPECT_LE(s.zones.ZoneRDir(ScenarioKind::PitWinter, d)(z), 60.0) << d;
  EXPECT_GT(s.zones.ZoneRDir(ScenarioKind::PitWinter, 3)(4), 0.0);
}

TEST(ZoneTables, StandAloneRunStartsItsZoneRRowFromZero) {
  // An earlier run left 999 m in the row; the old model only raised the row, so 999 survived into this
  // run's workbook and report. The row now holds the largest radius of this run's directions.
  CalcState s = testdata::JetState(100, 100, 10);
  const ScenarioKind pit = ScenarioKind::PitWinter;
  s.zones.ZoneR(pit) = {999, 999, 999, 999};
  s.zones.ZoneR(ScenarioKind::FireBall) = {1, 2, 3, 4};
  s.zones.ZoneRDir(pit, 2) = {10, 20, 30, 40};
  s.zones.ZoneRDir(pit, 5) = {15, 5, 35, 1};
  ClearZoneRRow(s, pit);
  RaiseZoneR(s, pit);
  EXPECT_EQ(s.zones.ZoneR(pit), ZoneRow(15, 20, 35, 40));
  EXPECT_EQ(s.zones.ZoneR(ScenarioKind::FireBall)(4), 4);  // other rows untouched
  // Only the jet cases have directions, and levels and directions count from 1.
  EXPECT_THROW(RaiseZoneR(s, ScenarioKind::FireBall), std::out_of_range);
  EXPECT_THROW(s.zones.ZoneRDir(pit, 0), std::out_of_range);
  EXPECT_THROW(s.zones.CurZones()(5), std::out_of_range);
}

// ---------------------------------------------------------------------------------------------------
// Asymmetric jet fire

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
    auto r = [&s](int d) { return s.zones.ZoneRDir(ScenarioKind::Asymmetric, d)(4); };
    for (int north : {1, 5})
      for (int east : {3, 7})
        EXPECT_GT(r(eastWest ? east : north), r(eastWest ? north : east) + 30) << "wind from " << from;
    if (eastWest) continue;
    EXPECT_NEAR(r(1), r(5), 1.0) << "wind from " << from;
    EXPECT_DOUBLE_EQ(s.derived.WindAngle, from * kDeg + kPi / 2);  // the state keeps the wind's angle
    fields.push_back(s.GridValue);
  }
  for (std::size_t k = 1; k < fields.size(); ++k) EXPECT_EQ(fields[k].cells(), fields[0].cells()) << windsFrom[k];
}

}  // namespace
}  // namespace velaron::models
