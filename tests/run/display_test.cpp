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

}  // namespace
}  // namespace velaron::run
