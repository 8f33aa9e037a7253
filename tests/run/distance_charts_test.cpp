// The points of the two distance charts (`graf1` and `graf2`). The expected points are read in the test
// from the grids along the line each kind of run charts: +x from the rupture point for the explosion, the
// fireball and the cloud (the overpressure in kPa, starting with one point at the 300-kPa radius), the
// direction of the largest zone for the jet fires and the assessments over a year, whose distances are
// labelled in whole metres (halves to the even neighbour).
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "run/headless.h"
#include "run/result_display.h"
#include "run_fixtures.h"

namespace velaron::run {
namespace {

using Points = std::vector<std::pair<double, double>>;

// Compass direction 1..8 as one grid step: north +y, east +x, clockwise.
struct CompassStep {
  int dx, dy;
};
constexpr CompassStep kCompass[9] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}, {1, -1}, {0, -1}, {-1, -1}, {-1, 0}, {-1, 1}};

// A distance as the chart labels it: whole metres, a half going to the even neighbour (the default
// rounding mode of the floating-point unit, independent of the program's own rounding).
double Whole(double m) { return std::nearbyint(m); }

void ExpectPoints(const Points& got, const Points& want, const std::string& what) {
  ASSERT_EQ(got.size(), want.size()) << what;
  for (size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(got[i].first, want[i].first) << what << ", point " << i;
    EXPECT_NEAR(got[i].second, want[i].second, 1e-12 * std::max(1.0, std::abs(want[i].second)))
        << what << ", point " << i << " at " << want[i].first << " m";
  }
}

result::Scenario Code(int code) { return result::ScenarioOf(code).value(); }

// Fields made in the test on a grid of 1000 × 1000 m at 10 m, 51 points from the rupture point to the edge
// along +x; every cell off the charted line holds a value that no expected point has.
models::CalcState Grid1000() {
  models::CalcState s;
  s.settings = {1000, 1000, 10};
  s.dimension(s.GridValue);
  s.dimension(s.GridProc);
  s.GridValue.fill(7777e3);
  s.GridProc.fill(7777);
  return s;
}

TEST(DistanceCharts, AlongXTheOverpressureStartsAtItsThreeHundredKilopascalRadius) {
  const struct Case {
    const char* what;
    int code;
    double radius300;           // RadiusDP(0), m
    std::vector<double> first;  // the field at 0, 10, 20 .. m, kPa (kW/m² for code 6) ...
    double beyond;              // ... then `beyond` + 1000 / k at k × 10 m
    double label300;            // the 300-kPa point's label; NaN: no such point
    int fromStep;               // the first grid point that follows, in steps of 10 m
  } cases[] = {
      // The example worked out for the explosion: the search stops at 20 m, the first point at or below.
      {"code 2, 900/500/250/120 kPa", 2, 25, {900, 500, 250, 120}, 20, 25, 2},
      // Exactly 300 kPa is not above 300: the search stops there and keeps that point.
      {"code 2, 300 kPa at 10 m", 2, 14.5, {900, 300, 250}, 20, 14, 1},
      // A radius of 0 means no 300-kPa radius: every grid point from the rupture point, 900 kPa included.
      {"code 8, no 300-kPa radius", 8, 0, {900, 500, 250, 120}, 20, NAN, 0},
      // Above 300 kPa up to the grid's edge: the search runs past the last point, only the 300 point stays.
      {"code 8, above 300 kPa to the edge", 8, 12.5, {}, 400, 12, 51},
      // The fireball's heat flux is charted as it stands, however large.
      {"code 6, heat flux", 6, 25, {900, 500, 250, 120}, 20, NAN, 0},
  };
  for (const Case& c : cases) {
    auto value = [&](int k) { return k < static_cast<int>(c.first.size()) ? c.first[k] : c.beyond + 1000.0 / k; };
    models::CalcState s = Grid1000();
    s.RadiusDP[0] = c.radius300;
    Points damage, percent;
    if (!std::isnan(c.label300)) damage.emplace_back(c.label300, 300);
    for (int k = 0; k <= 50; ++k) {
      s.GridValue(k, 0) = value(k) * (c.code == 6 ? 1 : 1000);  // the overpressure grid holds pascals
      s.GridProc(k, 0) = k / 2.0;
      if (k >= c.fromStep) damage.emplace_back(10 * k, value(k));
      percent.emplace_back(10 * k, k / 2.0);
    }
    ExpectPoints(BuildDamageChart(s, Code(c.code)).points, damage, std::string(c.what) + ", graf1");
    ExpectPoints(BuildPercentChart(s, Code(c.code)).points, percent, std::string(c.what) + ", graf2");
    if (c.code == 2 && c.radius300 == 25) {  // the example's own figures: 50 rows, then 20 m, 30 m .. 500 m
      const Points p = BuildDamageChart(s, Code(2)).points;
      ASSERT_EQ(p.size(), 50u);
      EXPECT_EQ(Points(p.begin(), p.begin() + 3), (Points{{25, 300}, {20, 250}, {30, 120}}));
      EXPECT_EQ(p.back().first, 500);
    }
  }
}

TEST(DistanceCharts, TheJetFiresFollowTheirProfileWithDistancesInWholeMetres) {
  // A profile 12,5 m a step: 0, 12,5, 25, 37,5, 50, 62,5 m are labelled 0, 12, 25, 38, 50, 62.
  for (int code : {1, 3, 4, 5, 7}) {
    models::CalcState s = Grid1000();
    const int n = 51;
    s.Profile.assign(n + 1, {0, 0, 0, 0});
    Points damage, percent;
    for (int i = 1; i <= n; ++i) {
      s.Profile[static_cast<size_t>(i)] = {0, 100.0 / i, 12.5 * (i - 1), i * 1.5};
      damage.emplace_back(Whole(12.5 * (i - 1)), 100.0 / i);
      percent.emplace_back(Whole(12.5 * (i - 1)), i * 1.5);
    }
    const Points g1 = BuildDamageChart(s, Code(code)).points, g2 = BuildPercentChart(s, Code(code)).points;
    ExpectPoints(g1, damage, "graf1 of code " + std::to_string(code));
    ExpectPoints(g2, percent, "graf2 of code " + std::to_string(code));
    ASSERT_GE(g1.size(), 6u);
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(g1[i].first, (std::array{0, 12, 25, 38, 50, 62}[i])) << code;
  }
}

// ---------------------------------------------------------------------------------------------------
// Whole runs of the sample on 200 × 200 m at 10 m (11 points from the rupture point to the edge): the
// record's chart points against its own grids.

// The points the chart of a finished run should carry, read from the record's grids.
struct Expected {
  Points damage, percent;
};

Expected FromGrids(const result::RunSnapshot& r) {
  const int step = r.request.settings.CStep, n = r.request.settings.XLimit / (2 * step) + 1;
  Expected e;
  switch (r.scenario()) {
    case result::Scenario::Explosion:
    case result::Scenario::GasCloud:
    case result::Scenario::FireBall: {
      const double toKPa = r.scenario() == result::Scenario::FireBall ? 1 : 0.001;
      int k = 0;
      if (r.scenario() != result::Scenario::FireBall && r.RadiusDP[0] != 0) {
        while (k < n && r.GridValue(k, 0) * toKPa > 300) ++k;
        e.damage.emplace_back(Whole(r.RadiusDP[0]), 300);
      }
      for (; k < n; ++k) e.damage.emplace_back(k * step, r.GridValue(k, 0) * toKPa);
      for (k = 0; k < n; ++k) e.percent.emplace_back(k * step, r.GridProc(k, 0));
      break;
    }
    default: {
      const CompassStep d = kCompass[r.WorstDir[0].toInt()];
      const double length = (d.dx != 0 && d.dy != 0 ? std::sqrt(2.0) : 1.0) * step;
      // The complex assessment charts the line of its jet fires over a year: the largest flux of the five
      // jet cases and the percent of that flux. The fireball's flux and percent join the grids it shows
      // only afterwards.
      const bool complex = r.scenario() == result::Scenario::Complex;
      auto flux = [&](int x, int y) {
        if (!complex) return r.GridValue(x, y);
        double top = 0;
        for (int layer = 1; layer <= 5; ++layer) top = std::max(top, r.LayerFlux.layer(layer)(x, y));
        return top;
      };
      const models::Grid& percent = complex ? r.complexGrids.ProcTorch : r.GridProc;
      for (int k = 0; k < n; ++k) {
        e.damage.emplace_back(Whole(k * length), flux(d.dx * k, d.dy * k));
        e.percent.emplace_back(Whole(k * length), percent(d.dx * k, d.dy * k));
      }
    }
  }
  return e;
}

TEST(DistanceCharts, EveryKindOfRunChartsItsGridsAlongItsLine) {
  test::DatabaseCopy db;
  ASSERT_TRUE(db.ok());
  for (int code = 1; code <= 8; ++code) {
    const HeadlessResult h = RunHeadless(db.path(), test::SampleRequest(code, 200, 10), 2, {});
    ASSERT_EQ(h.exitCode, 0) << code << ": " << h.error.toStdString();
    const result::RunSnapshot& r = *h.record;
    const Expected e = FromGrids(r);
    const std::string what = "code " + std::to_string(code) + " (direction " + r.WorstDir[0].toStdString() + ")";
    ExpectPoints(r.graf1.points, e.damage, what + ", graf1");
    ExpectPoints(r.graf2.points, e.percent, what + ", graf2");
    // What the sample exercises: the explosion starts past its 300-kPa radius, the cloud has none, the
    // asymmetric jet and the year-round runs chart a diagonal out to the grid's corner (141 m).
    if (code == 2) {
      EXPECT_NE(r.RadiusDP[0], 0);
      EXPECT_GT(r.GridValue(0, 0), 300e3);
      ASSERT_FALSE(r.graf1.points.empty());
      EXPECT_EQ(r.graf1.points.front().second, 300);
    }
    if (code == 8) {
      EXPECT_EQ(r.RadiusDP[0], 0);
    }
    if (code == 1 || code == 4 || code == 7) {
      const int dir = r.WorstDir[0].toInt();
      EXPECT_TRUE(dir % 2 == 0) << what;
      EXPECT_EQ(r.graf2.points.back().first, 141) << what;
    }
  }
}

}  // namespace
}  // namespace velaron::run
