// The grid-edge test: a border cell reaches when its probit is above 2.67 or, for heat-flux fields, its
// flux is above 4 kW/m²; a value exactly at a threshold does not reach, and the overpressure runs (whose
// field holds pascals) count the probit only. The thresholds are typed here from the method's text, not
// taken from the code.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonObject>
#include <tuple>

#include "run/edge_check.h"
#include "run/headless.h"
#include "run_fixtures.h"

namespace velaron::run {
namespace {

// A grid of `xLimit` × `yLimit` m at 10 m (40 × 40: cells −2..2 each way, the border at ±2). One cell
// holds the given flux (or overpressure) and probit, every other cell 0.
models::CalcState OneCell(int ix, int iy, double value, double probit, int xLimit = 40, int yLimit = 40) {
  models::CalcState s;
  s.settings = {xLimit, yLimit, 10};
  s.dimension(s.GridValue);
  s.dimension(s.GridProbit);
  s.GridValue(ix, iy) = value;
  s.GridProbit(ix, iy) = probit;
  return s;
}

TEST(GridEdge, ThresholdsAreStrictAndOverpressureCountsTheProbitOnly) {
  // An overpressure of 50 kPa is 50 000 in the field: far above 4, and no reach in its own form.
  const struct {
    double value, probit;
    bool thermal, overpressure;  // whether the border cell reaches in each form
  } cases[] = {{4.0, 0, false, false},
               {4.000001, 0, true, false},
               {0, 2.67, false, false},
               {0, 2.670001, true, true},
               {50000, 1.5, true, false}};
  for (const auto& c : cases) {
    const models::CalcState s = OneCell(2, 0, c.value, c.probit);
    EXPECT_EQ(ZoneReachesEdge(s, EdgeForm::Thermal), c.thermal) << c.value << " " << c.probit;
    EXPECT_EQ(ZoneReachesEdge(s, EdgeForm::Probit), c.overpressure) << c.value << " " << c.probit;
  }
  for (int code : {2, 8}) EXPECT_EQ(EdgeFormOf(result::ScenarioOf(code).value()), EdgeForm::Probit) << code;
  for (int code : {3, 4, 5, 6}) EXPECT_EQ(EdgeFormOf(result::ScenarioOf(code).value()), EdgeForm::Thermal) << code;
}

TEST(GridEdge, EveryBorderCountsAndTheInsideDoesNot) {
  // On 60 × 20 m the columns at x = ±3 and the rows at y = ±1 are the border, and (2, 0) lies inside.
  const struct {
    int ix, iy;
    bool reaches;
    int xLimit = 40, yLimit = 40;
  } cells[] = {{-2, 0, true},        {2, 1, true},          {0, -2, true},        {-1, 2, true},
               {-2, -2, true},       {2, 2, true},          {1, 1, false},        {-1, 0, false},
               {3, 0, true, 60, 20}, {-2, 1, true, 60, 20}, {2, 0, false, 60, 20}};
  for (const auto& c : cells) {
    SCOPED_TRACE(testing::Message() << c.ix << "," << c.iy << " on " << c.xLimit << " × " << c.yLimit);
    EXPECT_EQ(ZoneReachesEdge(OneCell(c.ix, c.iy, 10, 0, c.xLimit, c.yLimit), EdgeForm::Thermal), c.reaches);
    EXPECT_EQ(ZoneReachesEdge(OneCell(c.ix, c.iy, 0, 5, c.xLimit, c.yLimit), EdgeForm::Probit), c.reaches);
  }
}

// Through the driver: an explosion has tens of pascals at the border of a 600 m grid, far above 4, while
// its probit there stays low; on a 200 m grid the probit at the border is high. Only the latter is marked.
TEST(GridEdge, AnExplosionRunIsMarkedByItsBorderProbitOnly) {
  test::DatabaseCopy db;
  ASSERT_TRUE(db.ok());
  for (const auto& [width, reaches] : {std::pair{600, false}, std::pair{200, true}}) {
    const HeadlessResult r = RunHeadless(db.path(), test::SampleRequest(2, width, 20), 2, {"GridValue"});
    const QJsonObject o = test::ParseJson(test::DriverOutput(r, {"GridValue"}));
    double top = 0;  // the top row's largest value: the thermal form would mark every one of these runs
    for (const auto& v : o["grids"].toObject()["GridValue"].toObject()["rows"].toArray().first().toArray())
      top = std::max(top, v.toDouble());
    EXPECT_GT(top, 4.0) << width;
    EXPECT_EQ(o["ZoneAtEdge"].toBool(), reaches) << width << ": " << r.error.toStdString();
  }
}

// Through the driver: at 29.9 MPa the explosion's weak zone passes 500 m, so a 1000 m grid cuts it; the complex
// assessment running that explosion is marked too, though its jet fires (code 7) stay inside; at 7.4 MPa neither.
TEST(GridEdge, TheComplexAssessmentIsMarkedWhenItsExplosionIsCutAtTheBorder) {
  test::DatabaseCopy db;
  ASSERT_TRUE(db.ok());
  auto run = [&](int code, int width, double pressure) {
    QString request = QString::fromUtf8(test::SampleRequest(code, width, 20));
    request.replace(R"("DavlDown": 7.4, "DavlUp": 5.4)", QString(R"("DavlDown": %1, "DavlUp": %1)").arg(pressure));
    const HeadlessResult r = RunHeadless(db.path(), request.toUtf8(), 0, {});
    EXPECT_EQ(r.exitCode, 0) << r.error.toStdString();
    return test::ParseJson(test::DriverOutput(r));
  };
  auto weakZone = [](const QJsonObject& o) { return o["CurZones"].toArray()[3].toDouble(); };
  EXPECT_GT(weakZone(run(2, 2000, 29.9)), 500.0);
  EXPECT_LT(weakZone(run(2, 2000, 7.4)), 500.0);
  for (const auto& [code, pressure, marked] :
       {std::tuple{2, 29.9, true}, std::tuple{7, 29.9, false}, std::tuple{1, 29.9, true}, std::tuple{2, 7.4, false},
        std::tuple{1, 7.4, false}})
    EXPECT_EQ(run(code, 1000, pressure)["ZoneAtEdge"].toBool(), marked) << "code " << code << " at " << pressure;
}

}  // namespace
}  // namespace velaron::run
