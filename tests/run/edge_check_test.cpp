// The grid-edge test: a border cell reaches when its probit is above 2.67 or, for heat-flux fields, its
// flux is above 4 kW/m²; a value exactly at a threshold does not reach, and the overpressure runs (whose
// field holds pascals) count the probit only. The thresholds are typed here from the method's text, not
// taken from the code.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonObject>

#include "run/edge_check.h"
#include "run/headless.h"
#include "run_fixtures.h"

namespace velaron::run {
namespace {

// A 40 × 40 m grid at 10 m: cells −2..2 each way, the border at ±2. One cell holds the given flux (or
// overpressure) and probit, every other cell 0.
models::CalcState OneCell(int ix, int iy, double value, double probit, int xLimit = 40, int yLimit = 40) {
  models::CalcState s;
  s.settings.XLimit = xLimit;
  s.settings.YLimit = yLimit;
  s.settings.CStep = 10;
  s.dimension(s.GridValue);
  s.dimension(s.GridProbit);
  s.GridValue(ix, iy) = value;
  s.GridProbit(ix, iy) = probit;
  return s;
}

TEST(GridEdge, ThresholdsAreStrictAndOverpressureCountsTheProbitOnly) {
  const struct {
    const char* name;
    double value, probit;
    bool thermal, overpressure;  // whether the border cell reaches in each form
  } cases[] = {
      {"nothing", 0, 0, false, false},
      {"flux exactly 4", 4.0, 0, false, false},
      {"flux just above 4", 4.000001, 0, true, false},
      {"flux 4.05 (a threshold moved to 4.1 misses it)", 4.05, 0, true, false},
      {"flux 3.95 (a threshold moved to 3.9 would take it)", 3.95, 0, false, false},
      {"probit exactly 2.67", 0, 2.67, false, false},
      {"probit just above 2.67", 0, 2.670001, true, true},
      {"probit 2.66 with no flux", 0, 2.66, false, false},
      // An overpressure of 50 kPa is 50 000 in the field: far above 4, and still no reach in its own form.
      {"50 kPa with a low probit", 50000, 1.5, true, false},
      {"50 kPa with probit 2.67", 50000, 2.67, true, false},
      {"50 kPa with probit 3", 50000, 3, true, true},
  };
  for (const auto& c : cases) {
    const models::CalcState s = OneCell(2, 0, c.value, c.probit);
    EXPECT_EQ(ZoneReachesEdge(s, EdgeForm::Thermal), c.thermal) << c.name;
    EXPECT_EQ(ZoneReachesEdge(s, EdgeForm::Probit), c.overpressure) << c.name;
  }
}

TEST(GridEdge, EveryBorderCountsAndTheInsideDoesNot) {
  const struct {
    int ix, iy;
    bool reaches;
  } cells[] = {{-2, 0, true}, {2, 1, true},  {0, -2, true},  {-1, 2, true}, {-2, -2, true},
               {2, 2, true},  {1, 1, false}, {-1, 0, false}, {0, 0, false}, {1, -1, false}};
  for (const auto& c : cells) {
    EXPECT_EQ(ZoneReachesEdge(OneCell(c.ix, c.iy, 10, 0), EdgeForm::Thermal), c.reaches) << c.ix << "," << c.iy;
    EXPECT_EQ(ZoneReachesEdge(OneCell(c.ix, c.iy, 0, 5), EdgeForm::Probit), c.reaches) << c.ix << "," << c.iy;
  }
  // A grid wider than high (60 × 20 m: x −3..3, y −1..1): its left and right columns are at ±3, the top
  // and bottom rows at ±1, and (2, 0) lies inside.
  EXPECT_TRUE(ZoneReachesEdge(OneCell(3, 0, 10, 0, 60, 20), EdgeForm::Thermal));
  EXPECT_TRUE(ZoneReachesEdge(OneCell(-2, 1, 10, 0, 60, 20), EdgeForm::Thermal));
  EXPECT_FALSE(ZoneReachesEdge(OneCell(2, 0, 10, 0, 60, 20), EdgeForm::Thermal));
}

TEST(GridEdge, OverpressureScenariosTakeTheProbitForm) {
  const struct {
    int code;
    EdgeForm form;
  } cases[] = {{2, EdgeForm::Probit},  {8, EdgeForm::Probit},  {3, EdgeForm::Thermal},
               {4, EdgeForm::Thermal}, {5, EdgeForm::Thermal}, {6, EdgeForm::Thermal}};
  for (const auto& c : cases) EXPECT_EQ(EdgeFormOf(result::ScenarioOf(c.code).value()), c.form) << c.code;
}

// Through the driver: an explosion has tens of pascals at the border of a 600 m grid, far above 4, while
// its probit there stays low; on a 200 m grid the probit at the border is high. The mark follows the probit
// of the printed border cells alone.
TEST(GridEdge, AnExplosionRunIsMarkedByItsBorderProbitOnly) {
  test::DatabaseCopy db;
  ASSERT_TRUE(db.ok());
  const QStringList grids = {"GridValue", "GridProbit"};
  for (const auto& [width, reaches] : {std::pair{600, false}, std::pair{200, true}}) {
    const HeadlessResult r = RunHeadless(db.path(), test::SampleRequest(2, width, 20), 2, grids);
    ASSERT_EQ(r.exitCode, 0) << r.error.toStdString();
    const QJsonObject o = test::ParseJson(test::DriverOutput(r, grids));
    const QJsonArray value = o["grids"].toObject()["GridValue"].toObject()["rows"].toArray();
    const QJsonArray probit = o["grids"].toObject()["GridProbit"].toObject()["rows"].toArray();
    const qsizetype n = value.size() - 1;
    bool byProbit = false, byValue = false;
    for (qsizetype i = 0; i <= n; ++i)
      for (auto [x, y] : {std::pair{i, qsizetype{0}}, std::pair{i, n}, std::pair{qsizetype{0}, i}, std::pair{n, i}}) {
        byProbit = byProbit || probit[y].toArray()[x].toDouble() > 2.67;
        byValue = byValue || value[y].toArray()[x].toDouble() > 4.0;
      }
    EXPECT_TRUE(byValue) << width;  // the thermal form would mark every one of these runs
    EXPECT_EQ(byProbit, reaches) << width;
    EXPECT_EQ(o["ZoneAtEdge"].toBool(), byProbit) << width;
  }
}

}  // namespace
}  // namespace velaron::run
