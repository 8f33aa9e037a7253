// The grid-edge test, the zone-depth texts and the points of the distance charts.
#include <gtest/gtest.h>

#include "run/edge_check.h"
#include "run/result_display.h"
#include "run/run_texts.h"

namespace velaron::run {
namespace {

models::CalcState State(int x, int y, int step, int code) {
  models::CalcState s;
  s.settings.XLimit = x;
  s.settings.YLimit = y;
  s.settings.CStep = step;
  s.ScenarioCode = code;
  s.dimension(s.GridValue);
  s.dimension(s.GridProbit);
  return s;
}

TEST(Edge, OnlyBorderCellsAboveTheirThresholdReach) {
  // One cell set on an empty grid per case.
  const struct {
    int xLimit, yLimit, step;
    EdgeForm form;
    bool probit;  // the cell is set in GridProbit, else in GridValue
    int ix, iy;
    double value;
    bool reaches;
    const char* why;
  } cases[] = {
      {200, 200, 10, EdgeForm::Thermal, false, 10, 3, 4.0, false, "a flux of 4 itself does not reach"},
      {200, 200, 10, EdgeForm::Thermal, false, 10, 3, 4.0000001, true, "just above 4"},
      {200, 200, 10, EdgeForm::Thermal, true, -10, -2, 2.67, false, "a probit of 2.67 itself does not reach"},
      {200, 200, 10, EdgeForm::Thermal, true, -10, -2, 2.6700001, true, "just above 2.67"},
      {200, 200, 10, EdgeForm::Thermal, false, 9, 9, 100, false, "inner cell"},
      {200, 200, 10, EdgeForm::Thermal, true, 0, 0, 9, false, "inner cell"},
      {200, 200, 10, EdgeForm::Thermal, false, 3, 10, 100, true, "top row"},
      // Overpressure runs test only the probit: 500 kPa is far above 4 but does not count.
      {200, 200, 10, EdgeForm::Probit, false, 10, 0, 500000, false, "overpressure in Pa"},
      {200, 200, 10, EdgeForm::Probit, true, 10, 0, 2.67, false, "probit of 2.67"},
      {200, 200, 10, EdgeForm::Probit, true, 10, 0, 2.68, true, "probit above 2.67"},
      // 400 × 200 at 10 m: columns ±20 over y −10..10, rows ±10 over x −20..20.
      {400, 200, 10, EdgeForm::Thermal, false, 20, -10, 50, true, "corner of a wide grid"},
      {400, 200, 10, EdgeForm::Thermal, false, -15, 10, 50, true, "top row of a wide grid"},
      {400, 200, 10, EdgeForm::Thermal, false, 10, 5, 50, false, "inside a wide grid"},
      // 1000 at 30 m: positions −500, −470, … 490, k = round(p/30) from −17 to 16 while the grid runs ±17
      // (16.67 rounds to 17). The corner (17, 17) is on neither walk; (−17, 17) and (17, −17) are.
      {1000, 1000, 30, EdgeForm::Thermal, false, 17, 17, 50, false, "corner off both walks"},
      {1000, 1000, 30, EdgeForm::Thermal, false, -17, 17, 50, true, "top-left corner"},
      {1000, 1000, 30, EdgeForm::Thermal, false, 17, -17, 50, true, "bottom-right corner"},
  };
  for (const auto& c : cases) {
    models::CalcState s = State(c.xLimit, c.yLimit, c.step, 5);
    ASSERT_EQ(s.ny(), c.yLimit == 1000 ? 17 : c.yLimit / 20);
    (c.probit ? s.GridProbit : s.GridValue)(c.ix, c.iy) = c.value;
    EXPECT_EQ(ZoneReachesEdge(s, c.form), c.reaches) << c.why;
  }
  EXPECT_EQ(EdgeFormOf(2), EdgeForm::Probit);
  EXPECT_EQ(EdgeFormOf(8), EdgeForm::Probit);
  EXPECT_EQ(EdgeFormOf(6), EdgeForm::Thermal);
}

TEST(ZoneTexts, RefineStandsForMinusOneAndOnlyAWeakZoneNotFoundShowsTheNote) {
  const QString refine = QString::fromUtf8("уточнить");
  EXPECT_EQ(RadiusText(-1), refine);
  EXPECT_EQ(RadiusText(82.07), QStringLiteral("82,07"));
  const struct {
    std::array<double, 4> radii;
    std::array<QString, 5> texts;  // txtRsm, txtRs, txtRsr, txtRsl, txtRb
    bool note;
  } cases[] = {
      // R1 .. R3 of −1 do not show the note.
      {{-1, 82.07, 94.79, 100}, {refine, "82,07", "94,79", "100", ">100"}, false},
      {{10, 20, 30, -1}, {"10", "20", "30", refine, refine}, true},
      {{0, 0, 0, 0}, {"0", "0", "0", "0", ">0"}, false},  // a flat profile
  };
  for (const auto& c : cases) {
    const ZoneTexts t = ZoneDisplayTexts(c.radii);
    EXPECT_EQ((std::array<QString, 5>{t.txtRsm, t.txtRs, t.txtRsr, t.txtRsl, t.txtRb}), c.texts) << c.radii[3];
    EXPECT_EQ(t.fraMessage, c.note) << c.radii[3];
  }
}

TEST(Charts, OverpressureStartsAtThe300KilopascalRadiusWhenThereIsOne) {
  // XLimit 1000 at 10 m: N = 51 points. 900, 500, 250, 120 kPa at 0, 10, 20, 30 m and RadiusDP(0) = 25:
  // s stops at 3, so 51 − 3 + 2 = 50 points: (25, 300), then the grid from 20 m to 500 m.
  models::CalcState s = State(1000, 1000, 10, 2);
  for (int i = 0; i < 4; ++i) s.GridValue(i, 0) = std::array{900000, 500000, 250000, 120000}[i];
  s.RadiusDP[0] = 25;
  const result::DistanceSeries g = BuildDamageChart(s);
  ASSERT_EQ(g.points.size(), 50u);
  EXPECT_EQ(g.points[0], std::make_pair(25.0, 300.0));
  EXPECT_EQ(g.points[1], std::make_pair(20.0, 250.0));
  EXPECT_EQ(g.points[2], std::make_pair(30.0, 120.0));
  EXPECT_EQ(g.points.back().first, 500.0);
  EXPECT_EQ(g.yTitle, QString::fromUtf8("Избыточное давление, кПа"));
  EXPECT_EQ(g.xTitle, QString::fromUtf8("Расстояние от газопровода, м"));
  // A cloud without a 300 kPa radius: all 51 grid points from 0 m.
  s.ScenarioCode = 8;
  s.RadiusDP[0] = 0;
  const result::DistanceSeries cloud = BuildDamageChart(s);
  ASSERT_EQ(cloud.points.size(), 51u);
  EXPECT_EQ(cloud.points[0], std::make_pair(0.0, 900.0));
  EXPECT_EQ(cloud.points[50].first, 500.0);
}

}  // namespace
}  // namespace velaron::run
