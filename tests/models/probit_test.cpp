// Probit and percent fields, the escape-distance search and the zone radii.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "models/calc_state.h"
#include "literal/literal_flux.h"
#include "literal/literal_probit.h"
#include "models/parallel.h"
#include "models/probit.h"
#include "models/synthetic_tables.h"

namespace velaron::models {
namespace {

using testing::SyntheticPercent;
using testing::SyntheticTables;

CalcState StateOf(int nx, int ny, int step, double speed = 1.0) {
  CalcState s;
  s.settings.XLimit = 2 * nx * step;
  s.settings.YLimit = 2 * ny * step;
  s.settings.CStep = step;
  s.settings.Skor_chel = speed;
  s.dimension(s.GridValue);
  return s;
}

TEST(BlastProbit, AtTheReferenceValuesAndWithoutABlast) {
  // V = (17500/17500)^8.4 + (290/290)^9.3 = 2.
  EXPECT_NEAR(BlastProbit(17500, 290), 5 - 0.26 * std::log(2.0), 1e-14);
  // 17500/0 would make the logarithm infinite; a cell without a blast gets probit 0 and 0 %.
  EXPECT_EQ(BlastProbit(0, 290), 0);
  EXPECT_EQ(BlastProbit(17500, 0), 0);
  EXPECT_EQ(BlastProbit(-1, 290), 0);
  CalcState s = StateOf(1, 1, 10);
  s.dimension(s.GridImpuls);
  ProbitGrid(s, ProbitBranch::Blast, SyntheticTables());  // all cells 0
  for (double v : s.GridProc.cells()) ASSERT_EQ(v, 0);
  s.GridValue.fill(17500);
  s.GridImpuls.fill(290);
  ProbitGrid(s, ProbitBranch::Blast, SyntheticTables());
  EXPECT_NEAR(s.GridProbit(1, -1), 5 - 0.26 * std::log(2.0), 1e-14);
  EXPECT_NEAR(s.GridProc(1, -1), SyntheticPercent(4.8198), 1e-3);  // Pr = 4.8198, between rows 4.81 and 4.82
  EXPECT_EQ(s.GridProc(2, 2), 0);                                  // the margin stays 0
}

// Escape distances worked by hand on a 10 m grid of hot cells (flux 10) with a few safe ones (flux ≤ 4):
// a refuge counts only when it is farther out in x and in y, else the nearest edge is the escape.
TEST(ThermalProbit, EscapeDistanceWorkedByHand) {
  CalcState s = StateOf(10, 10, 10, 2.0);
  s.GridValue.fill(10);
  s.GridValue(4, 0) = 1;  // next on the axis: not farther out in y, so no refuge for (3, 0)
  s.GridValue(4, 1) = 1;  // one step out in x and in y from (3, 0): 14.14 m
  EXPECT_DOUBLE_EQ(EscapeSearch(s.GridValue, s.settings).distance(3, 0), std::sqrt(200.0));
  ProbitGrid(s, ProbitBranch::Thermal, SyntheticTables());
  // t = 5 + 14.142/2 s; Pr = −14.9 + 2.56·ln(t·10^1.33).
  const double t = 5 + std::sqrt(200.0) / 2;
  EXPECT_NEAR(s.GridProbit(3, 0), -14.9 + 2.56 * std::log(t * std::pow(10.0, 1.33)), 1e-12);

  CalcState f = StateOf(10, 10, 10);
  f.GridValue.fill(10);
  f.GridValue(2, 2) = 1;    // nearer the centre than (5, 5)
  f.GridValue(4, 9) = 1;    // farther in y but not in x
  f.GridValue(9, 5) = 1;    // farther in x but not in y
  f.GridValue(-3, -3) = 0;  // the opposite quadrant, farther out than (2, 1) in both
  const EscapeSearch search(f.GridValue, f.settings);
  EXPECT_DOUBLE_EQ(search.distance(5, 5), 50);                                // the edges at x = 100 and y = 100
  EXPECT_DOUBLE_EQ(search.distance(-8, 1), 20);                               // the edge at x = −100
  EXPECT_DOUBLE_EQ(search.distance(1, 1), std::sqrt(200.0));                  // to (2, 2)
  EXPECT_DOUBLE_EQ(search.distance(-1, -1), std::sqrt(800.0));                // to (−3, −3), 20 m off in x and in y
  EXPECT_DOUBLE_EQ(search.distance(2, 1), std::sqrt(50.0 * 50 + 40.0 * 40));  // to (−3, −3)
  EXPECT_EQ(search.distance(2, 1), literal::EscapeDist(f.GridValue, f.settings, 20, 10));
}

// The escapes over the middle of a grid that holds every hot cell with a ring of safe cells around it are
// those of the whole grid, whose edges the middle is told.
TEST(ThermalProbit, TheMiddleOfTheGridHoldingTheHeatEscapesAsTheWholeGrid) {
  CalcState s = StateOf(20, 15, 10);
  std::mt19937 random(38);
  Grid middle(9, 9);
  for (int iy = -8; iy <= 8; ++iy)
    for (int ix = -8; ix <= 8; ++ix) s.GridValue(ix, iy) = middle(ix, iy) = random() % 3 ? 10 : 1;
  const EscapeSearch whole(s.GridValue, s.settings), part(middle, 10, 200, 150);
  for (int iy = -8; iy <= 8; ++iy)
    for (int ix = -8; ix <= 8; ++ix) ASSERT_EQ(part.distance(ix, iy), whole.distance(ix, iy)) << ix << ", " << iy;
}

// ---------------------------------------------------------------------------------------------------
// Zone radii

// A profile of percents at 0, step, 2·step, ... (the rest 0), on a grid of XLimit = 2·10·step.
CalcState ProfileState(std::initializer_list<double> percents, int step = 10) {
  CalcState s = StateOf(10, 10, step);
  const int n = ProfilePoints(s.settings);  // 11
  s.RadProfile.assign(n + 1, {0, 0, 0});
  int i = 1;
  for (double p : percents) s.RadProfile[i++][1] = p;
  for (int k = 1; k <= n; ++k) s.RadProfile[k][2] = (k - 1) * step;
  s.zones.CurZones().fill(-7);
  return s;
}

// Profiles at 10 m steps worked by hand. A radius is interpolated in the segment where its search stopped,
// held to that segment and rounded to 2 decimals; a zone not attained gets 0.
TEST(ZoneRadii, WorkedProfiles) {
  struct Case {
    std::initializer_list<double> profile;
    double r[5];  // r[z] of zones 1 (99.99 %), 2 (50 %), 3 (33 %), 4 (1 %)
  };
  const Case cases[] = {
      {{}, {0, 0, 0, 0, 0}},
      // Above 1 % to the last point: D(N) = XLimit/2; the maximum, 30 %, is below 33 %.
      {{30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 2}, {0, 0, 0, 0, 100}},
      // 1 %: 40 + 19/19.5·10 = 49.7436; 33 %: 30 + 7/20·10 = 33.5; 50 %: 20 + 10/20·10 = 25; 99.99 %: 10.
      {{99.99, 99.99, 60, 40, 20, 0.5}, {0, 10, 25, 33.5, 49.74}},
      // The 99.99 % search stops in a segment that starts at 99.5 %: the straight line runs back past the
      // segment's start, to 10 − 0.49/39.5·10 = 9.88 m, which the radii once reported; held to the segment:
      // 10. 50 %: 20 + 10/59.5·10 = 21.68; 33 %: 20 + 27/59.5·10 = 24.54; 1 %: 20 + 59/59.5·10 = 29.92.
      {{99.99, 99.5, 60, 0.5}, {0, 10, 21.68, 24.54, 29.92}},
      // A maximum of 45 %: 1 %: 10 + 29/29.5·10 = 19.83; 33 %: 12/15·10 = 8; the inner zones not attained.
      {{45, 30, 0.5}, {0, 0, 0, 8, 19.83}},
      // 80 % at the centre, a dip to 0.5 % at 10 m, 20 % again at 20 m: 1 %: 20 + 19/19.5·10 = 29.74; the
      // 33 % and 50 % searches stop at the dip and are held to its segment, 10 .. 20 m: 20.
      {{80, 0.5, 20, 0.5}, {0, 0, 20, 20, 29.74}},
      // The maximum away from the centre: the farthest of the equal maxima (30 m); the searches never go
      // inside it. 1 %: 60 + 19/19.2·10 = 69.896; 33 %: 50 + 12/25·10 = 54.8; 50 %: 40 + 20/25·10 = 48.
      {{5, 60, 99.99, 99.99, 70, 45, 20, 0.8}, {0, 30, 48, 54.8, 69.9}},
  };
  int n = 0;
  for (const Case& c : cases) {
    CalcState s = ProfileState(c.profile);
    ZoneRadii(s);
    for (int z = 1; z <= 4; ++z) EXPECT_DOUBLE_EQ(s.zones.CurZones()(z), c.r[z]) << "case " << n << " zone " << z;
    ++n;
  }
}

}  // namespace
}  // namespace velaron::models
