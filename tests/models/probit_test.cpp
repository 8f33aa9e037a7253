// Probit and percent fields, the escape-distance search, the risk field and the zone radii.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "models/calc_state.h"
#include "models/literal_probit.h"
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

bool CloseRel(double a, double b, double rel) { return std::fabs(a - b) <= rel * std::max(std::fabs(a), std::fabs(b)); }

// ---------------------------------------------------------------------------------------------------
// Blast branch

TEST(BlastProbit, AtTheReferenceOverpressureAndImpulse) {
  // V = (17500/17500)^8.4 + (290/290)^9.3 = 2.
  EXPECT_NEAR(BlastProbit(17500, 290), 5 - 0.26 * std::log(2.0), 1e-14);
  CalcState s = StateOf(1, 1, 10);
  s.dimension(s.GridImpuls);
  s.GridValue.fill(17500);
  s.GridImpuls.fill(290);
  ProbitGrid(s, ProbitBranch::Blast, SyntheticTables());
  EXPECT_NEAR(s.GridProbit(1, -1), 5 - 0.26 * std::log(2.0), 1e-14);
  // Pr = 4.8198: between the table rows 4.81 and 4.82.
  EXPECT_NEAR(s.GridProc(1, -1), SyntheticPercent(4.8198), 1e-3);
  EXPECT_EQ(s.GridProc(2, 2), 0);  // the margin stays 0
}

TEST(BlastProbit, NoOverpressureOrImpulseIsNoInjury) {
  // 17500/0 would make the logarithm infinite; a cell without a blast gets probit 0 and 0 %.
  EXPECT_EQ(BlastProbit(0, 290), 0);
  EXPECT_EQ(BlastProbit(17500, 0), 0);
  EXPECT_EQ(BlastProbit(-1, 290), 0);
  CalcState s = StateOf(1, 1, 10);
  s.dimension(s.GridImpuls);
  ProbitGrid(s, ProbitBranch::Blast, SyntheticTables());  // all cells 0
  for (double v : s.GridProbit.cells()) ASSERT_EQ(v, 0);
  for (double v : s.GridProc.cells()) ASSERT_EQ(v, 0);
}

// ---------------------------------------------------------------------------------------------------
// Thermal branch

TEST(ThermalProbit, FluxAtMostFourGivesZeroEverywhere) {
  CalcState s = StateOf(10, 10, 10);
  s.GridValue.fill(4.0);
  s.GridValue(0, 0) = 0;
  ProbitGrid(s, ProbitBranch::Thermal, SyntheticTables());
  for (double v : s.GridProbit.cells()) ASSERT_EQ(v, 0);
  for (double v : s.GridProc.cells()) ASSERT_EQ(v, 0);
}

TEST(ThermalProbit, HotCellOnTheAxisEscapesOffTheAxis) {
  CalcState s = StateOf(10, 10, 10, 2.0);
  s.GridValue.fill(10);
  s.GridValue(4, 0) = 1;  // next on the axis: not farther out in y, so no refuge
  s.GridValue(4, 1) = 1;  // one step out in x and in y: 14.14 m
  const EscapeSearch search(s.GridValue, s.settings);
  EXPECT_DOUBLE_EQ(search.distance(3, 0), std::sqrt(200.0));
  ProbitGrid(s, ProbitBranch::Thermal, SyntheticTables());
  // t = 5 + 14.142/2 s; Pr = −14.9 + 2.56·ln(t·10^1.33).
  const double t = 5 + std::sqrt(200.0) / 2;
  EXPECT_NEAR(s.GridProbit(3, 0), -14.9 + 2.56 * std::log(t * std::pow(10.0, 1.33)), 1e-12);
}

TEST(ThermalProbit, NoRefugeFartherOutMeansTheNearestEdge) {
  CalcState s = StateOf(10, 10, 10);
  s.GridValue.fill(10);
  s.GridValue(2, 2) = 1;  // nearer the centre than (5, 5)
  s.GridValue(4, 9) = 1;  // farther in y but not in x
  s.GridValue(9, 5) = 1;  // farther in x but not in y
  const EscapeSearch search(s.GridValue, s.settings);
  EXPECT_DOUBLE_EQ(search.distance(5, 5), 50);   // the edges at x = 100 and y = 100
  EXPECT_DOUBLE_EQ(search.distance(-8, 1), 20);  // the edge at x = −100
  // (1, 1) may run to (2, 2): 14.14 m.
  EXPECT_DOUBLE_EQ(search.distance(1, 1), std::sqrt(200.0));
  // (−1, −1) may run across to (2, 2), 30 m off in x and in y: 42.43 m, nearer than the edges at 90 m.
  EXPECT_DOUBLE_EQ(search.distance(-1, -1), std::sqrt(1800.0));
}

TEST(ThermalProbit, RefugeInTheOppositeQuadrantCounts) {
  CalcState s = StateOf(10, 10, 10);
  s.GridValue.fill(10);
  s.GridValue(-3, -3) = 0;  // |x2| > |x| and |y2| > |y| for the cell (2, 1)
  const EscapeSearch search(s.GridValue, s.settings);
  EXPECT_DOUBLE_EQ(search.distance(2, 1), std::sqrt(50.0 * 50 + 40.0 * 40));
  EXPECT_EQ(search.distance(2, 1), literal::EscapeDist(s.GridValue, s.settings, 20, 10));
}

// The fast search against the full examination of every grid point, on random fields.
TEST(ThermalProbit, FastEscapeSearchEqualsTheFullSearch) {
  std::mt19937 rng(20261206);
  const int steps[] = {1, 5, 7, 10};
  for (int trial = 0; trial < 60; ++trial) {
    const int nx = 1 + static_cast<int>(rng() % 18);
    const int ny = 1 + static_cast<int>(rng() % 18);
    const int step = steps[rng() % 4];
    CalcState s = StateOf(nx, ny, step, 0.5 + (rng() % 50) / 10.0);
    const double pCold = (rng() % 100) / 100.0;
    std::uniform_real_distribution<double> u(0, 1);
    for (int iy = -ny; iy <= ny; ++iy) {
      for (int ix = -nx; ix <= nx; ++ix) {
        double q = u(rng) < pCold ? 4 * u(rng) : 4 + 60 * u(rng) + 1e-9;
        if (u(rng) < 0.05) q = 4.0;  // exactly the safe limit is safe
        s.GridValue(ix, iy) = q;
      }
    }
    const EscapeSearch search(s.GridValue, s.settings);
    for (int iy = -ny; iy <= ny; ++iy) {
      for (int ix = -nx; ix <= nx; ++ix) {
        const double fast = search.distance(ix, iy);
        const double full = literal::EscapeDist(s.GridValue, s.settings, ix * step, iy * step);
        ASSERT_TRUE(CloseRel(fast, full, 1e-12)) << "trial " << trial << " cell " << ix << "," << iy << ": "
                                                  << fast << " vs " << full;
      }
    }
    CalcState lit = s;
    ProbitGrid(s, ProbitBranch::Thermal, SyntheticTables());
    literal::ThermalProbitGrid(lit, SyntheticTables());
    for (int iy = -ny; iy <= ny; ++iy) {
      for (int ix = -nx; ix <= nx; ++ix) {
        ASSERT_TRUE(CloseRel(s.GridProbit(ix, iy), lit.GridProbit(ix, iy), 1e-12)) << trial << " " << ix << "," << iy;
        ASSERT_TRUE(CloseRel(s.GridProc(ix, iy), lit.GridProc(ix, iy), 1e-12)) << trial << " " << ix << "," << iy;
      }
    }
  }
}

TEST(ThermalProbit, FastEqualsFullOnASmoothHotSpot) {
  // A flux falling with the distance from a point off the centre, as a flame's field does.
  CalcState s = StateOf(40, 30, 10, 5);
  for (int iy = -30; iy <= 30; ++iy)
    for (int ix = -40; ix <= 40; ++ix)
      s.GridValue(ix, iy) = 80 * std::exp(-std::hypot(ix * 10.0 - 60, iy * 10.0 + 20) / 90);
  CalcState lit = s;
  ProbitGrid(s, ProbitBranch::Thermal, SyntheticTables());
  literal::ThermalProbitGrid(lit, SyntheticTables());
  for (std::size_t k = 0; k < s.GridProbit.cells().size(); ++k)
    ASSERT_TRUE(CloseRel(s.GridProbit.cells()[k], lit.GridProbit.cells()[k], 1e-12)) << k;
}

TEST(ThermalProbit, ParallelEqualsSerial) {
  CalcState a = StateOf(60, 45, 10, 3);
  std::mt19937 rng(7);
  for (int iy = -45; iy <= 45; ++iy)
    for (int ix = -60; ix <= 60; ++ix)
      a.GridValue(ix, iy) = 100 * std::exp(-std::hypot(ix, iy) / 20.0) + (rng() % 3);
  CalcState b = a;
  SetThreadCount(1);
  ProbitGrid(a, ProbitBranch::Thermal, SyntheticTables());
  SetThreadCount(4);
  ProbitGrid(b, ProbitBranch::Thermal, SyntheticTables());
  SetThreadCount(0);
  EXPECT_EQ(a.GridProbit.cells(), b.GridProbit.cells());
  EXPECT_EQ(a.GridProc.cells(), b.GridProc.cells());
}

// Counts the steps; says "cancelled" from the start when asked to.
class CountingProgress : public Progress {
 public:
  explicit CountingProgress(bool cancel) : cancel_(cancel) {}
  void step() override { ++steps; }
  bool cancelled() const override { return cancel_; }
  int steps = 0;

 private:
  bool cancel_;
};

TEST(ThermalProbit, ReportsNoStepsButStopsOnCancel) {
  CalcState s = StateOf(5, 5, 10);
  s.GridValue.fill(10);
  CountingProgress quiet(false);
  ProbitGrid(s, ProbitBranch::Thermal, SyntheticTables(), quiet);
  EXPECT_EQ(quiet.steps, 0);  // the field's rows were the caller's steps
  CountingProgress stop(true);
  EXPECT_THROW(ProbitGrid(s, ProbitBranch::Thermal, SyntheticTables(), stop), Cancelled);
  EXPECT_THROW(PercentGrid(s, SyntheticTables(), stop), Cancelled);
}

TEST(ThermalProbit, RefusesAZeroEscapeSpeed) {
  CalcState s = StateOf(2, 2, 10, 0);
  s.GridValue.fill(10);
  EXPECT_THROW(ProbitGrid(s, ProbitBranch::Thermal, SyntheticTables()), ModelInputError);
}

TEST(PercentFromProbit, LimitsAndTable) {
  const ReferenceTables none;
  EXPECT_EQ(PercentFromProbit(none, 7.33), 99.99);  // at 7.33 no table is read
  EXPECT_EQ(PercentFromProbit(none, 2.66), 0);
  EXPECT_THROW(PercentFromProbit(none, 2.67), TableRangeError);  // 2.67 goes to the table
  EXPECT_DOUBLE_EQ(PercentFromProbit(SyntheticTables(), 2.67), SyntheticPercent(2.67));
}

TEST(Risk, ScenarioProbabilityTimesPercent) {
  CalcState s = StateOf(1, 1, 10);
  s.GridProc.resize(2, 2);
  s.GridProc(1, 0) = 50;
  FillRisk(s, 2e-4);
  EXPECT_DOUBLE_EQ(s.GridRisk(1, 0), 1e-4);  // 2e-4 × 0.01 × 50
  EXPECT_EQ(s.GridRisk(0, 0), 0);
  EXPECT_EQ(s.GridRisk.nx(), 1);
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
  for (auto& z : s.CurZones) z = {-7, 777};
  return s;
}

TEST(ZoneRadii, ZeroProfileGivesZeroRadii) {
  CalcState s = ProfileState({});
  ZoneRadii(s);
  for (int z = 1; z <= 4; ++z) {
    EXPECT_EQ(s.CurZones[z][0], 0);
    EXPECT_EQ(s.CurZones[z][1], 777);  // the levels are left as they were
  }
}

TEST(ZoneRadii, AboveOnePercentToTheLastPointGivesTheHalfWidth) {
  CalcState s = ProfileState({30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 2});
  ZoneRadii(s);
  EXPECT_EQ(s.CurZones[4][0], 100);  // D(N) = XLimit/2
  EXPECT_EQ(s.CurZones[4][1], 1);
  // Zone 3 (33 %) is not attained: the maximum, 30 %, is below it.
  EXPECT_EQ(s.CurZones[3][0], 0);
}

TEST(ZoneRadii, FallingProfileEachRadiusInItsOwnSegment) {
  CalcState s = ProfileState({99.99, 99.99, 60, 40, 20, 0.5});
  ZoneRadii(s);
  // 1 %: between 20 % at 40 m and 0.5 % at 50 m: 40 + 19/19.5·10 = 49.7436 → 49.74.
  EXPECT_DOUBLE_EQ(s.CurZones[4][0], 49.74);
  // 33 %: between 40 % at 30 m and 20 % at 40 m: 30 + 7/20·10 = 33.5.
  EXPECT_DOUBLE_EQ(s.CurZones[3][0], 33.5);
  // 50 %: between 60 % at 20 m and 40 % at 30 m: 25.
  EXPECT_DOUBLE_EQ(s.CurZones[2][0], 25);
  // 99.99 %: between 99.99 % at 10 m and 60 % at 20 m: 10.
  EXPECT_DOUBLE_EQ(s.CurZones[1][0], 10);
  EXPECT_EQ(s.CurZones[1][1], 99.99);
  EXPECT_EQ(s.CurZones[2][1], 50);
  EXPECT_EQ(s.CurZones[3][1], 33);
}

// A zone-1 radius is interpolated for the level 99.99 in a segment that starts at 99.5 %: the straight line
// runs back past the segment's start, to 10 − 0.49/39.5·10 = 9.88 m, which the radii once reported. The
// radius is now held to the segment in which the search stopped, 10 m.
TEST(ZoneRadii, RadiusHeldToTheSegmentOfItsSearch) {
  CalcState s = ProfileState({99.99, 99.5, 60, 0.5});
  ZoneRadii(s);
  EXPECT_DOUBLE_EQ(s.CurZones[1][0], 10);
}

TEST(ZoneRadii, MaximumOf45PercentGivesOnlyTheOuterZones) {
  CalcState s = ProfileState({45, 30, 0.5});
  ZoneRadii(s);
  EXPECT_DOUBLE_EQ(s.CurZones[4][0], 19.83);  // 10 + 29/29.5·10 = 19.8305
  EXPECT_DOUBLE_EQ(s.CurZones[3][0], 8);      // 12/15·10
  EXPECT_EQ(s.CurZones[2][0], 0);
  EXPECT_EQ(s.CurZones[1][0], 0);
  EXPECT_EQ(s.CurZones[2][1], 777);
  EXPECT_EQ(s.CurZones[1][1], 777);
}

TEST(ZoneRadii, ADipBeyondTheMaximumKeepsEveryRadiusInsideTheGrid) {
  // 80 % at the centre, a dip to 0.5 % at 10 m, 20 % again at 20 m.
  CalcState s = ProfileState({80, 0.5, 20, 0.5});
  ZoneRadii(s);
  EXPECT_DOUBLE_EQ(s.CurZones[4][0], 29.74);  // 20 + 19/19.5·10
  // The 33 % and 50 % searches stop at the dip; their radii stay in the dip's segment, 10 .. 20 m.
  EXPECT_GE(s.CurZones[3][0], 10);
  EXPECT_LE(s.CurZones[3][0], 20);
  EXPECT_GE(s.CurZones[2][0], 10);
  EXPECT_LE(s.CurZones[2][0], 20);
  EXPECT_EQ(s.CurZones[1][0], 0);
}

// The zone search against its step-by-step transcription, on profiles whose maximum lies anywhere, that
// fall through the levels or dip and rise again, and that touch the levels 1, 33, 50, 99 and 99.99 exactly.
TEST(ZoneRadii, EqualsTheStepByStepSearch) {
  std::mt19937 rng(6122026);
  std::uniform_real_distribution<double> u(0, 1);
  const double levels[] = {0, 0.5, 1, 20, 33, 40, 50, 70, 99, 99.5, 99.99};
  for (int trial = 0; trial < 4000; ++trial) {
    const int half = 1 + static_cast<int>(rng() % 15);
    const int step = 1 + static_cast<int>(rng() % 12);
    CalcState s = StateOf(half, half, step);
    const int n = ProfilePoints(s.settings);
    s.RadProfile.assign(n + 1, {0, 0, 0});
    const int kind = static_cast<int>(rng() % 3);
    const int peak = 1 + static_cast<int>(rng() % n);
    const double top = u(rng) < 0.5 ? 99.99 : 100 * u(rng);
    double prev = 0;
    for (int i = 1; i <= n; ++i) {
      double p;
      if (kind == 0) {  // rising to a peak, then falling
        p = i <= peak ? top * i / peak : prev * std::exp(-3 * u(rng));
      } else if (kind == 1) {  // any values
        p = 100 * u(rng);
      } else {  // the levels themselves
        p = levels[rng() % 11];
      }
      s.RadProfile[i][1] = prev = std::min(p, 99.99);
      s.RadProfile[i][2] = (i - 1) * step;
    }
    CalcState lit = s;
    for (int z = 0; z <= 4; ++z) s.CurZones[z] = lit.CurZones[z] = {-7, 777};
    ZoneRadii(s);
    literal::ZoneRadii(lit);
    for (int z = 1; z <= 4; ++z) {
      ASSERT_EQ(s.CurZones[z][0], lit.CurZones[z][0]) << "trial " << trial << " zone " << z;
      ASSERT_EQ(s.CurZones[z][1], lit.CurZones[z][1]) << "trial " << trial << " zone " << z;
    }
  }
}

// A jet-like profile whose maximum lies out from the centre: the searches never go inside the maximum.
// Worked by hand, step 10: 5, 60, 99.99, 99.99, 70, 45, 20, 0.8, then 0.
TEST(ZoneRadii, MaximumAwayFromTheCentre) {
  CalcState s = ProfileState({5, 60, 99.99, 99.99, 70, 45, 20, 0.8});
  ZoneRadii(s);
  // The farthest of the equal maxima is the 4th point (30 m).
  // 1 %: between 20 % at 60 m and 0.8 % at 70 m: 60 + 19/19.2·10 = 69.896 → 69.9.
  EXPECT_DOUBLE_EQ(s.CurZones[4][0], 69.9);
  // 33 %: between 45 % at 50 m and 20 % at 60 m: 50 + 12/25·10 = 54.8.
  EXPECT_DOUBLE_EQ(s.CurZones[3][0], 54.8);
  // 50 %: between 70 % at 40 m and 45 % at 50 m: 40 + 20/25·10 = 48.
  EXPECT_DOUBLE_EQ(s.CurZones[2][0], 48);
  // 99.99 %: between 99.99 % at 30 m and 70 % at 40 m: 30.
  EXPECT_DOUBLE_EQ(s.CurZones[1][0], 30);
}

TEST(ZoneRadii, ProfileAlongXFromThePercentGrid) {
  CalcState s = StateOf(10, 10, 10);
  s.GridProc.resize(11, 11);
  for (int i = 0; i <= 10; ++i) s.GridProc(i, 0) = 100 - 10 * i;
  s.GridProc(3, 1) = 1000;  // off the axis: not read
  FillRadProfile(s);
  ASSERT_EQ(s.RadProfile.size(), 12u);
  EXPECT_EQ(s.RadProfile[1][1], 100);
  EXPECT_EQ(s.RadProfile[4][1], 70);
  EXPECT_EQ(s.RadProfile[11][2], 100);
}

}  // namespace
}  // namespace velaron::models
