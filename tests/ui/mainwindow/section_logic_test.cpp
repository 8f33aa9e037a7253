// Rules of the main window that need no widget. Expected values are worked by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "mainwindow/section_logic.h"

using namespace velaron;
using namespace velaron::ui;

TEST(SectionItems, NumberIsEverythingAfterTheSign) {
  EXPECT_EQ(SectionItemText(12), QString::fromUtf8("Участок №12"));
  EXPECT_EQ(SectionNumberFromItem(QString::fromUtf8("Участок №12")), 12);  // not 2
  EXPECT_EQ(SectionNumberFromItem(QString::fromUtf8("Участок №5")), 5);
  EXPECT_EQ(SectionNumberFromItem(QString::fromUtf8("Участок №120")), 120);
  EXPECT_EQ(SectionNumberFromItem(QString()), 1);  // no item selected
}

TEST(Compass, CentreAndRadiusRoundHalvesToEven) {
  // 301 x 291: 150,5 -> 150, 145,5 -> 146, R = min(100,33; 97) -> 97.
  const auto g = Compass(301, 291, 0);
  EXPECT_EQ(g.cx, 150);
  EXPECT_EQ(g.cy, 146);
  EXPECT_EQ(g.R, 97);
}

TEST(Compass, FirstHalfPointsAlongTheAzimuthClockwiseFromNorth) {
  const auto up = Compass(120, 120, 0);  // centre 60,60, R 40
  EXPECT_NEAR(up.x1, 60, 1e-9);
  EXPECT_NEAR(up.y1, 20, 1e-9);  // straight up (y grows downwards)
  EXPECT_NEAR(up.x2, 60, 1e-9);
  EXPECT_NEAR(up.y2, 100, 1e-9);
  const auto right = Compass(120, 120, 90);
  EXPECT_NEAR(right.x1, 100, 1e-9);
  EXPECT_NEAR(right.y1, 60, 1e-9);
  const auto down = Compass(120, 120, 180);
  EXPECT_NEAR(down.x1, 60, 1e-9);
  EXPECT_NEAR(down.y1, 100, 1e-9);
  // 450 degrees is drawn as 90.
  const auto turn = Compass(120, 120, 450);
  EXPECT_NEAR(turn.x1, 100, 1e-9);
  EXPECT_NEAR(turn.y1, 60, 1e-9);
}

TEST(Ground, CodeJoinsFourLevelsAndIsEmptyWhileOneIsMissing) {
  EXPECT_EQ(ComposeGroundCode({"2", "1", "1", "2"}), "2.1.1.2");
  EXPECT_EQ(ComposeGroundCode({"10", "2", "3", "11"}), "10.2.3.11");
  EXPECT_EQ(ComposeGroundCode({"3", "", "", ""}), "");
  EXPECT_EQ(ComposeGroundCode({"2", "1", "1", ""}), "");
}

TEST(NewSection, ContinuesTheRouteWithoutCrossings) {
  db::SectionRow last;
  last.TPID = 3;
  last.Length = 49.5;
  last.Udal = 350.5;
  last.Azimut = 90;
  last.dpp1 = 1;
  last.p_v = 0.1;
  last.G1 = 2, last.G2 = 4, last.G3 = 7, last.G4 = 11;
  last.Ground = "2.1.1.1";
  const auto row = SectionAfter(last);
  EXPECT_EQ(row.TPID, 4);
  EXPECT_DOUBLE_EQ(row.Udal, 400);  // 350,5 + 49,5
  EXPECT_DOUBLE_EQ(row.Length, 49.5);
  EXPECT_DOUBLE_EQ(row.Azimut, 90);
  EXPECT_EQ(row.dpp1, 0);
  EXPECT_DOUBLE_EQ(row.p_v, 0);
  EXPECT_EQ(row.G4, 11);
  EXPECT_EQ(row.Ground, "2.1.1.1");
}

namespace {
// A 1000 m x 1000 m grid at 10 m: cells -50..50.
models::Grid Field(double (*f)(int, int)) {
  models::Grid g(50, 50);
  for (int y = -50; y <= 50; ++y)
    for (int x = -50; x <= 50; ++x) g(x, y) = f(x, y);
  return g;
}
}  // namespace

TEST(GridTools, MaximumIsFoundInIndexUnitsAndTiesKeepTheCorner) {
  auto flat = Field([](int, int) { return 7.0; });
  auto m = GridMaximum(flat, 1000, 1000, 10);
  ASSERT_TRUE(m);
  EXPECT_DOUBLE_EQ(m->value, 7);
  EXPECT_DOUBLE_EQ(m->x, -50);  // -XLimit/2/CStep
  EXPECT_DOUBLE_EQ(m->y, -50);
  auto peak = Field([](int x, int y) { return (x == 3 && y == -4) ? 9.0 : 1.0; });
  m = GridMaximum(peak, 1000, 1000, 10);
  EXPECT_DOUBLE_EQ(m->value, 9);
  EXPECT_DOUBLE_EQ(m->x, 3);
  EXPECT_DOUBLE_EQ(m->y, -4);
  // Two equal peaks: the lower y wins, then the lower x.
  auto two = Field([](int x, int y) { return ((x == 5 && y == 2) || (x == -5 && y == 2) || (x == 0 && y == 8)) ? 4.0 : 0.0; });
  m = GridMaximum(two, 1000, 1000, 10);
  EXPECT_DOUBLE_EQ(m->x, -5);
  EXPECT_DOUBLE_EQ(m->y, 2);
}

TEST(GridTools, ValueAtAPointWeighsTheCellCornersByInverseDistance) {
  // f = x index + 100 * y index.
  auto g = Field([](int x, int y) { return x + 100.0 * y; });
  // Outside or on the border: refused.
  EXPECT_FALSE(GridValueAt(g, 1000, 1000, 10, -500, 0));
  EXPECT_FALSE(GridValueAt(g, 1000, 1000, 10, 0, 500));
  // (5, 5): the cell 0..10 in both directions, four equal distances: the mean of 0, 1, 100, 101 = 50,5.
  EXPECT_NEAR(*GridValueAt(g, 1000, 1000, 10, 5, 5), 50.5, 1e-12);
  // (10, 10) is a node: f(1, 1) = 101.
  EXPECT_DOUBLE_EQ(*GridValueAt(g, 1000, 1000, 10, 10, 10), 101);
  // (10, 5): on a vertical line, weighed over the cell on its lower side (x 0..10). Distances: to (0,0) and
  // (0,10) sqrt(125), to (10,0) and (10,10) 5. Weights: w = (1/d)/sum(1/d); f: 0, 1, 100, 101.
  const double a = 1 / std::sqrt(125.0), b = 1 / 5.0, s = 2 * a + 2 * b;
  EXPECT_NEAR(*GridValueAt(g, 1000, 1000, 10, 10, 5), (a * 0 + b * 1 + a * 100 + b * 101) / s, 1e-9);
}

TEST(Reports, ProcedureByScenarioCode) {
  EXPECT_EQ(ReportProcedureName(1), "ReportComplex");
  EXPECT_EQ(ReportProcedureName(2), "ReportExplosion");
  EXPECT_EQ(ReportProcedureName(3), "ReportKotlTorch");
  EXPECT_EQ(ReportProcedureName(4), "ReportAsimmTorch");
  EXPECT_EQ(ReportProcedureName(5), "ReportSimmTorch");
  EXPECT_EQ(ReportProcedureName(6), "ReportFireBall");
  EXPECT_EQ(ReportProcedureName(7), "ReportComplexTorch");
  EXPECT_EQ(ReportProcedureName(8), "ReportGPVS");
  EXPECT_EQ(ReportProcedureName(0), "");
  EXPECT_EQ(ReportProcedureName(9), "");
}
