// The points of the distance charts (`graf1`, `graf2`), read in the test from the grids along the charted line:
// +x for the explosion, fireball and cloud (kPa, after one point at the 300-kPa radius), the largest zone's
// direction for the jets and the year-round runs, labelled in whole metres (halves to the even neighbour).
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
constexpr int kCompass[9][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}, {1, -1}, {0, -1}, {-1, -1}, {-1, 0}, {-1, 1}};
// Whole metres, a half to the even neighbour (the floating-point unit's default, not the program's rounding).
double Whole(double m) { return std::nearbyint(m); }

void ExpectPoints(const Points& got, const Points& want, const std::string& what) {
  ASSERT_EQ(got.size(), want.size()) << what;
  for (size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(got[i].first, want[i].first) << what << ", point " << i;
    EXPECT_NEAR(got[i].second, want[i].second, 1e-12 * std::max(1.0, std::abs(want[i].second))) << what << " " << i;
  }
}
// Both charts built from `s` against the points expected; returns `graf1`.
Points ExpectCharts(const models::CalcState& s, int code, const Points& damage, const Points& percent,
                    const std::string& what) {
  const Points g1 = BuildDamageChart(s, result::ScenarioOf(code).value()).points;
  ExpectPoints(g1, damage, what + ", graf1");
  ExpectPoints(BuildPercentChart(s, result::ScenarioOf(code).value()).points, percent, what + ", graf2");
  return g1;
}

// 1000 × 1000 m at 10 m (51 points along +x); cells off the charted line hold values no point expects.
models::CalcState Grid1000() {
  models::CalcState s;
  s.settings = {1000, 1000, 10};
  for (models::Grid* g : {&s.GridValue, &s.GridProc}) s.dimension(*g);
  s.GridValue.fill(7777e3);
  s.GridProc.fill(7777);
  return s;
}

TEST(DistanceCharts, AlongXTheOverpressureStartsAtItsThreeHundredKilopascalRadius) {
  // The field at 0, 10, 20 .. m is `first` (kPa; kW/m² for code 6), then `beyond` + 1000 / k at k × 10 m;
  // RadiusDP(0) is `radius300`, labelled `label300` (NaN: no such point), then the points from `fromStep`.
  const struct Case {
    const char* what;
    int code, fromStep;
    double radius300, label300, beyond;
    std::vector<double> first;
  } cases[] = {
      {"the worked example: the search stops at 20 m, the first at or below", 2, 2, 25, 25, 20, {900, 500, 250, 120}},
      {"exactly 300 kPa is not above 300: the search keeps that point", 2, 1, 14.5, 14, 20, {900, 300, 250}},
      // 300 kPa two thirds of the way from 500 kPa at 10 m to 200 kPa at 20 m: 16,67 m rounds up to 17.
      {"a fraction above one half rounds up", 2, 2, 16.67, 17, 20, {900, 500, 200, 120}},
      {"no 300-kPa radius: every point, 900 kPa included", 8, 0, 0, NAN, 20, {900, 500, 250, 120}},
      {"above 300 kPa to the edge: only the 300 point stays", 8, 51, 12.5, 12, 400, {}},
      {"the fireball's heat flux is charted as it stands", 6, 0, 25, NAN, 20, {900, 500, 250, 120}},
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
    const Points g1 = ExpectCharts(s, c.code, damage, percent, c.what);
    // The example's own figures: 50 points, then 20 m, 30 m .. 500 m.
    EXPECT_TRUE(c.code != 2 || c.radius300 != 25 ||
                (g1.size() == 50 && Points(g1.begin(), g1.begin() + 3) == Points{{25, 300}, {20, 250}, {30, 120}} &&
                 g1.back().first == 500));
  }
}

// A profile of 12,5 m a step: 0, 12,5, 25, 37,5, 50, 62,5 m are labelled 0, 12, 25, 38, 50, 62.
TEST(DistanceCharts, TheJetFiresFollowTheirProfileWithDistancesInWholeMetres) {
  for (int code : {1, 3, 4, 5, 7}) {
    models::CalcState s = Grid1000();
    s.Profile.assign(52, {0, 0, 0, 0});
    Points damage, percent;
    for (int i = 1; i <= 51; ++i) {
      s.Profile[static_cast<size_t>(i)] = {0, 100.0 / i, 12.5 * (i - 1), i * 1.5};
      damage.emplace_back(Whole(12.5 * (i - 1)), 100.0 / i);
      percent.emplace_back(Whole(12.5 * (i - 1)), i * 1.5);
    }
    const Points g1 = ExpectCharts(s, code, damage, percent, "code " + std::to_string(code));
    for (size_t i = 0; i < std::min<size_t>(6, g1.size()); ++i)
      EXPECT_EQ(g1[i].first, (std::array{0, 12, 25, 38, 50, 62}[i])) << code;
  }
}

// The points a finished run's charts should carry, read from its own grids: damage, then percent. The
// complex assessment charts its jet fires over a year: the largest flux of the five jet layers and the percent
// of that flux (the fireball joins the grids it shows only afterwards).
std::pair<Points, Points> FromGrids(const result::RunSnapshot& r) {
  const int step = r.request.settings.CStep, n = r.request.settings.XLimit / (2 * step) + 1;
  const result::Scenario sc = r.scenario();
  const bool ball = sc == result::Scenario::FireBall, complex = sc == result::Scenario::Complex,
             alongX = ball || sc == result::Scenario::Explosion || sc == result::Scenario::GasCloud;
  const double toKPa = alongX && !ball ? 0.001 : 1;
  const auto [dx, dy] = kCompass[alongX ? 3 : r.WorstDir[0].toInt()];  // 3: east, +x
  const double length = (dx != 0 && dy != 0 ? std::sqrt(2.0) : 1.0) * step;
  const models::Grid& proc = complex ? r.complexGrids.ProcTorch : r.GridProc;
  Points damage, percent;
  int from = 0;  // the overpressure starts with its 300-kPa point, then the first grid point at or below
  if (alongX && !ball && r.RadiusDP[0] != 0) {
    while (from < n && r.GridValue(from, 0) * toKPa > 300) ++from;
    damage.emplace_back(Whole(r.RadiusDP[0]), 300);
  }
  for (int k = 0; k < n; ++k) {
    double flux = complex ? 0 : r.GridValue(dx * k, dy * k) * toKPa;
    for (int layer = 1; complex && layer <= 5; ++layer) flux = std::max(flux, r.LayerFlux.layer(layer)(dx * k, dy * k));
    if (k >= from) damage.emplace_back(Whole(k * length), flux);
    percent.emplace_back(Whole(k * length), proc(dx * k, dy * k));
  }
  return {damage, percent};
}

// Every kind of run of the sample, on 200 × 200 m at 10 m (11 points out to the edge).
TEST(DistanceCharts, EveryKindOfRunChartsItsGridsAlongItsLine) {
  test::DatabaseCopy db;
  ASSERT_TRUE(db.ok());
  for (int code = 1; code <= 8; ++code) {
    const HeadlessResult h = RunHeadless(db.path(), test::SampleRequest(code, 200, 10), 2, {});
    ASSERT_EQ(h.exitCode, 0) << code << ": " << h.error.toStdString();
    const result::RunSnapshot& r = *h.record;
    const auto [damage, percent] = FromGrids(r);
    const std::string what = "code " + std::to_string(code) + " (direction " + r.WorstDir[0].toStdString() + ")";
    ExpectPoints(r.graf1.points, damage, what + ", graf1");
    ExpectPoints(r.graf2.points, percent, what + ", graf2");
    // What the sample exercises: the explosion starts past its 300-kPa radius, the cloud has none, the
    // asymmetric jet and the year-round runs chart a diagonal out to the grid's corner (141 m).
    EXPECT_TRUE(code != 2 || (r.RadiusDP[0] != 0 && r.GridValue(0, 0) > 300e3 && !r.graf1.points.empty() &&
                              r.graf1.points.front().second == 300));
    EXPECT_TRUE(code != 8 || r.RadiusDP[0] == 0) << what;
    if (code == 1 || code == 4 || code == 7) {
      EXPECT_EQ(r.WorstDir[0].toInt() % 2, 0) << what;
      EXPECT_EQ(r.graf2.points.back().first, 141) << what;
    }
  }
}

}  // namespace
}  // namespace velaron::run
