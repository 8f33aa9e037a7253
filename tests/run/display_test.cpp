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

TEST(Edge, ThresholdValuesThemselvesDoNotReach) {
  models::CalcState s = State(200, 200, 10, 5);
  s.GridValue(10, 3) = 4.0;
  s.GridProbit(-10, -2) = 2.67;
  EXPECT_FALSE(ZoneReachesEdge(s, EdgeForm::Thermal));
  s.GridValue(10, 3) = 4.0000001;
  EXPECT_TRUE(ZoneReachesEdge(s, EdgeForm::Thermal));
  s.GridValue(10, 3) = 0;
  s.GridProbit(-10, -2) = 2.6700001;
  EXPECT_TRUE(ZoneReachesEdge(s, EdgeForm::Thermal));
}

TEST(Edge, InnerCellsDoNotCount) {
  models::CalcState s = State(200, 200, 10, 5);
  s.GridValue(9, 9) = 100;
  s.GridProbit(0, 0) = 9;
  EXPECT_FALSE(ZoneReachesEdge(s, EdgeForm::Thermal));
  s.GridValue(3, 10) = 100;  // top row
  EXPECT_TRUE(ZoneReachesEdge(s, EdgeForm::Thermal));
}

TEST(Edge, OverpressureRunsTestOnlyTheProbit) {
  models::CalcState s = State(200, 200, 10, 2);
  s.GridValue(10, 0) = 500000;  // Pa: far above 4, but only the probit counts
  s.GridProbit(10, 0) = 2.67;
  EXPECT_EQ(EdgeFormOf(2), EdgeForm::Probit);
  EXPECT_EQ(EdgeFormOf(8), EdgeForm::Probit);
  EXPECT_EQ(EdgeFormOf(6), EdgeForm::Thermal);
  EXPECT_FALSE(ZoneReachesEdge(s, EdgeForm::Probit));
  s.GridProbit(10, 0) = 2.68;
  EXPECT_TRUE(ZoneReachesEdge(s, EdgeForm::Probit));
}

TEST(Edge, UnequalWidthsReadOnlyGridCells) {
  // 400 × 200 at 10 m: columns ±20 over y −10..10, rows ±10 over x −20..20.
  models::CalcState s = State(400, 200, 10, 5);
  s.GridValue(20, -10) = 50;
  EXPECT_TRUE(ZoneReachesEdge(s, EdgeForm::Thermal));
  s.GridValue(20, -10) = 0;
  s.GridValue(-15, 10) = 50;
  EXPECT_TRUE(ZoneReachesEdge(s, EdgeForm::Thermal));
  s.GridValue(-15, 10) = 0;
  s.GridValue(10, 5) = 50;  // inside
  EXPECT_FALSE(ZoneReachesEdge(s, EdgeForm::Thermal));
}

TEST(Edge, WalkWhenTheStepDoesNotDivideTheHalfWidth) {
  // YLimit 1000 at CStep 30: positions −500, −470, … 490, k = round(p/30) from −17 to 16; the grid runs
  models::CalcState s = State(1000, 1000, 30, 5);
  ASSERT_EQ(s.ny(), 17);
  // ±17 (16.67 rounds to 17). The corner (17, 17) is on neither walk; (−17, 17) and (17, −17) are.
  s.GridValue(17, 17) = 50;
  EXPECT_FALSE(ZoneReachesEdge(s, EdgeForm::Thermal));
  s.GridValue(-17, 17) = 50;
  EXPECT_TRUE(ZoneReachesEdge(s, EdgeForm::Thermal));
  s.GridValue(-17, 17) = 0;
  s.GridValue(17, -17) = 50;
  EXPECT_TRUE(ZoneReachesEdge(s, EdgeForm::Thermal));
}

TEST(ZoneTexts, RefineStandsForMinusOne) {
  EXPECT_EQ(RadiusText(-1), QString::fromUtf8("уточнить"));
  EXPECT_EQ(RadiusText(82.07), QStringLiteral("82,07"));
  const ZoneTexts t = ZoneDisplayTexts({-1, 82.07, 94.79, 100});
  EXPECT_EQ(t.txtRsm, QString::fromUtf8("уточнить"));
  EXPECT_EQ(t.txtRs, QStringLiteral("82,07"));
  EXPECT_EQ(t.txtRsr, QStringLiteral("94,79"));
  EXPECT_EQ(t.txtRsl, QStringLiteral("100"));
  EXPECT_EQ(t.txtRb, QStringLiteral(">100"));
  EXPECT_FALSE(t.fraMessage);  // R1 .. R3 of −1 do not show the note
}

TEST(ZoneTexts, WeakZoneNotFoundShowsTheNote) {
  const ZoneTexts t = ZoneDisplayTexts({10, 20, 30, -1});
  EXPECT_EQ(t.txtRsl, QString::fromUtf8("уточнить"));
  EXPECT_EQ(t.txtRb, QString::fromUtf8("уточнить"));
  EXPECT_TRUE(t.fraMessage);
}

TEST(ZoneTexts, FlatProfile) {
  const ZoneTexts t = ZoneDisplayTexts({0, 0, 0, 0});
  EXPECT_EQ(t.txtRsm, QStringLiteral("0"));
  EXPECT_EQ(t.txtRsl, QStringLiteral("0"));
  EXPECT_EQ(t.txtRb, QStringLiteral(">0"));
  EXPECT_FALSE(t.fraMessage);
}

TEST(Charts, OverpressureStartsAtThe300KilopascalRadius) {
  // XLimit 1000 at 10 m: N = 51 points. 900, 500, 250, 120 kPa at 0, 10, 20, 30 m and RadiusDP(0) = 25:
  // s stops at 3, so 51 − 3 + 2 = 50 points: (25, 300), then the grid from 20 m to 500 m.
  models::CalcState s = State(1000, 1000, 10, 2);
  s.GridValue(0, 0) = 900000;
  s.GridValue(1, 0) = 500000;
  s.GridValue(2, 0) = 250000;
  s.GridValue(3, 0) = 120000;
  s.RadiusDP[0] = 25;
  const DistanceSeries g = BuildDamageChart(s);
  ASSERT_EQ(g.points.size(), 50u);
  EXPECT_EQ(g.points[0], std::make_pair(25.0, 300.0));
  EXPECT_EQ(g.points[1], std::make_pair(20.0, 250.0));
  EXPECT_EQ(g.points[2], std::make_pair(30.0, 120.0));
  EXPECT_EQ(g.points.back().first, 500.0);
  EXPECT_EQ(g.yTitle, QString::fromUtf8("Избыточное давление, кПа"));
  EXPECT_EQ(g.xTitle, QString::fromUtf8("Расстояние от газопровода, м"));
}

TEST(Charts, CloudWithoutA300KilopascalRadius) {
  models::CalcState s = State(1000, 1000, 10, 8);
  s.GridValue(0, 0) = 900000;
  const DistanceSeries g = BuildDamageChart(s);
  ASSERT_EQ(g.points.size(), 51u);
  EXPECT_EQ(g.points[0], std::make_pair(0.0, 900.0));
  EXPECT_EQ(g.points[50].first, 500.0);
}

TEST(Charts, FireballFluxAlongX) {
  models::CalcState s = State(200, 200, 10, 6);
  s.GridValue(2, 0) = 7.5;
  s.dimension(s.GridProc);
  s.GridProc(2, 0) = 40;
  const DistanceSeries g1 = BuildDamageChart(s);
  const DistanceSeries g2 = BuildPercentChart(s);
  ASSERT_EQ(g1.points.size(), 11u);
  EXPECT_EQ(g1.points[2], std::make_pair(20.0, 7.5));
  EXPECT_EQ(g1.yTitle, QString::fromUtf8("Плотность тепл. потока, кВт/кв.м"));
  EXPECT_EQ(g2.points[2], std::make_pair(20.0, 40.0));
}

TEST(Charts, JetFiresFollowTheProfileWithWholeMetreLabels) {
  models::CalcState s = State(200, 200, 10, 4);
  s.Profile.assign(12, {0, 0, 0, 0});
  s.Profile[2] = {0, 9.5, 12.5, 60};  // 12.5 m is labelled 12 (halves to even)
  s.Profile[3] = {0, 3.0, 13.5, 20};  // 13.5 m is labelled 14
  const DistanceSeries g1 = BuildDamageChart(s);
  const DistanceSeries g2 = BuildPercentChart(s);
  EXPECT_EQ(g1.points[1], std::make_pair(12.0, 9.5));
  EXPECT_EQ(g1.points[2], std::make_pair(14.0, 3.0));
  EXPECT_EQ(g2.points[1], std::make_pair(12.0, 60.0));
}

}  // namespace
}  // namespace velaron::run
