// A grid that cannot see the jet flame is refused before the run, naming what serves: a step above 0.65 of
// the flame's slant length, or a width below 0.4 of it, in whole metres. The slant lengths are worked here
// from the flame's cone as the method lays it out (pit: radius 0.4·L·K, axis 0.5·L·(1 + sin T); symmetric:
// 0.65·L·K and 0.6·L·(1 + sin T); asymmetric: radius (W2 − W1)/2, axis RL), from the derived quantities of
// a run.
#include <gtest/gtest.h>

#include <QJsonObject>
#include <cmath>

#include "run/flame_grid.h"
#include "run/headless.h"
#include "run/prepare.h"
#include "run_fixtures.h"

namespace velaron::run {
namespace {

// The slant length of the flame of scenario `code` from a run's derived quantities.
double Slant(int code, const QJsonObject& d) {
  const double L = d["LTorch"].toDouble(), K = d["KEllipse"].toDouble(), T = d["Tilt"].toDouble();
  switch (code) {
    case 3: return std::hypot(0.4 * L * K, 0.5 * L * (1 + std::sin(T)));
    case 5: return std::hypot(0.65 * L * K, 0.6 * L * (1 + std::sin(T)));
    default: return std::hypot((d["W2"].toDouble() - d["W1"].toDouble()) / 2, d["RL"].toDouble());
  }
}
double Slant(int code, const models::DerivedQuantities& d) {
  return Slant(
      code,
      QJsonObject{
          {"LTorch", d.LTorch}, {"KEllipse", d.KEllipse}, {"Tilt", d.Tilt}, {"W1", d.W1}, {"W2", d.W2}, {"RL", d.RL}});
}

QString StepRefusal(int step, int largest) {
  return QStringLiteral(
             "Шаг сетки %1 м слишком велик для размеров факела: зоны поражения между узлами сетки определяются "
             "неверно. Для этого факела шаг сетки должен быть не более %2 м (Меню: Файл -> Параметры).")
      .arg(step)
      .arg(largest);
}
QString WidthRefusal(int width, int smallest) {
  return QStringLiteral(
             "Ширина зоны расчета %1 м слишком мала для размеров факела: граница сетки не выходит из-под факела, и "
             "зоны поражения не определяются. Для этого факела ширина зоны расчета по X и Y должна быть не менее "
             "%2 м (Меню: Файл -> Параметры).")
      .arg(width)
      .arg(smallest);
}

models::CalcSettings Grid(int width, int step, int height = 0) {
  models::CalcSettings s;
  s.XLimit = width;
  s.YLimit = height ? height : width;
  s.CStep = step;
  return s;
}

TEST(FlameGrid, TheLargestStepAndTheSmallestWidthInWholeMetres) {
  const struct {
    double slant;
    int step, width;
  } cases[] = {
      {100, 65, 40},
      {94, 61, 38},           // 61.1 and 37.6
      {81.7, 53, 33},         // 53.105 and 32.68: the asymmetric flame of a 1420 mm pipe
      {76.9, 49, 31},         // 49.985 stays below 50
      {76.93, 50, 31},        // 50.0045
      {1.54, 1, 1},           // 1.001 and 0.616
      {1.53, 0, 1},           // 0.9945: no whole metre serves
      {0, 0, 0},              // no flame
      {1e300, 32767, 32767},  // a flame longer than any grid
      {NAN, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LargestStepForFlame(c.slant), c.step) << c.slant;
    EXPECT_EQ(SmallestWidthForFlame(c.slant), c.width) << c.slant;
  }
}

TEST(FlameGrid, AGridIsRefusedForItsSmallestOrItsLargestFlame) {
  const struct {
    models::CalcSettings grid;
    double smallest, largest;
    QString refusal;  // empty: the grid serves
  } cases[] = {
      {Grid(200, 65), 100, 100, {}},
      {Grid(40, 1), 100, 100, {}},
      {Grid(200, 66), 100, 100, StepRefusal(66, 65)},
      // Over a year the step is the smallest flame's and the width the largest flame's.
      {Grid(200, 40), 62, 500, {}},
      {Grid(200, 41), 62, 500, StepRefusal(41, 40)},
      {Grid(198, 1), 62, 500, WidthRefusal(198, 200)},
      // The narrower side counts.
      {Grid(400, 10, 38), 100, 100, WidthRefusal(38, 40)},
      {Grid(38, 10, 400), 100, 100, WidthRefusal(38, 40)},
      // A step too coarse is named first.
      {Grid(20, 10), 10, 100, StepRefusal(10, 6)},
  };
  for (const auto& c : cases) {
    const auto refused = CheckGridForFlames(c.grid, c.smallest, c.largest);
    EXPECT_EQ(refused ? QString::fromStdString(*refused) : QString(), c.refusal)
        << c.grid.XLimit << "×" << c.grid.YLimit << " at " << c.grid.CStep;
  }
  const auto tiny = CheckGridForFlames(Grid(2, 1), 1.53, 1.53);
  ASSERT_TRUE(tiny);
  EXPECT_NE(tiny->find("Факел слишком мал"), std::string::npos) << *tiny;
}

// The prepared flame of each jet scenario: its largest step and its smallest width are accepted, one metre
// beyond either is refused with what serves named; the explosion, the fireball and the cloud take any grid
// the settings allow.
TEST(FlameGrid, PreparationRefusesAGridThatCannotSeeItsFlame) {
  for (int code : {3, 4, 5}) {
    result::RunRequest r = test::GoodRequest(code);
    const RunData data = test::GoodData();
    const PrepareResult fine = PrepareRun(r, data, QDateTime::currentDateTime());
    ASSERT_TRUE(fine.ok()) << code << ": " << fine.error.toStdString();
    const double slant = Slant(code, fine.run->state.derived);
    const int largest = static_cast<int>(std::floor(0.65 * slant));
    const int smallest = static_cast<int>(std::ceil(0.4 * slant));
    ASSERT_GT(largest, 10) << code;
    for (int step : {largest, largest + 1}) {
      r.settings.CStep = step;
      r.settings.XLimit = r.settings.YLimit = 2 * step;
      const PrepareResult p = PrepareRun(r, data, QDateTime::currentDateTime());
      if (step == largest) EXPECT_TRUE(p.ok()) << code << ": " << p.error.toStdString();
      else EXPECT_EQ(p.error, StepRefusal(step, largest)) << code;
    }
    // A step of 1 m takes every even width: the width at or just above the smallest runs, 2 m less does not.
    const int even = smallest + smallest % 2;
    for (int width : {even, even - 2}) {
      r.settings.CStep = 1;
      r.settings.XLimit = r.settings.YLimit = width;
      const PrepareResult p = PrepareRun(r, data, QDateTime::currentDateTime());
      if (width == even) EXPECT_TRUE(p.ok()) << code << ": " << p.error.toStdString();
      else EXPECT_EQ(p.error, WidthRefusal(width, smallest)) << code;
    }
  }
  for (int code : {2, 6, 8}) {
    for (const models::CalcSettings& grid : {Grid(2000, 1000), Grid(2, 1)}) {
      result::RunRequest r = test::GoodRequest(code);
      r.settings.XLimit = grid.XLimit;
      r.settings.YLimit = grid.YLimit;
      r.settings.CStep = grid.CStep;
      const PrepareResult p = PrepareRun(r, test::GoodData(), QDateTime::currentDateTime());
      EXPECT_TRUE(p.ok()) << code << ": " << p.error.toStdString();
    }
  }
}

// Through the driver, on the sample pipe (1420 mm, 6.95 MPa): the grids of the fault gave zones of 0 and no
// warning, the coarse one (2000 m at 250 m) and the smallest one (2 m at 1 m); both are refused for every
// jet scenario, the assessments over a year too. The named step runs, and so does the named width, where
// the edge warning now speaks for the zones the grid cannot hold.
TEST(FlameGrid, TheDriverRefusesTheGridsOfTheFaultAndRunsWhatItNames) {
  test::DatabaseCopy db;
  ASSERT_TRUE(db.ok());
  const auto named = [](const QString& error, const QString& before) {
    const qsizetype at = error.indexOf(before);
    return at < 0 ? 0 : error.mid(at + before.size()).section(QLatin1Char(' '), 0, 0).toInt();
  };
  for (int code : {3, 4, 5, 7, 1}) {
    const HeadlessResult coarse = RunHeadless(db.path(), test::SampleRequest(code, 2000, 250), 2, {});
    EXPECT_EQ(coarse.exitCode, 2) << code;
    const QString error = test::ParseJson(test::DriverOutput(coarse))["error"].toString();
    EXPECT_TRUE(error.startsWith(QStringLiteral("Шаг сетки 250 м слишком велик для размеров факела"))) << code;
    const int largest = named(error, QStringLiteral("не более "));
    ASSERT_GT(largest, 0) << code << ": " << error.toStdString();

    const HeadlessResult atLargest = RunHeadless(db.path(), test::SampleRequest(code, 4 * largest, largest), 2, {});
    ASSERT_EQ(atLargest.exitCode, 0) << code << ": " << atLargest.error.toStdString();
    const QJsonObject d = test::ParseJson(test::DriverOutput(atLargest))["derived"].toObject();
    // The single flames name 0.65 of their own slant. Over a year the smallest flame is the asymmetric
    // frustum, which the output keeps: the pit flame in the town's strongest wind (6 m/s) is about 110 m
    // long, the frustum about 90 m.
    EXPECT_EQ(largest, static_cast<int>(std::floor(0.65 * Slant(code == 3 || code == 5 ? code : 4, d)))) << code;
    EXPECT_EQ(RunHeadless(db.path(), test::SampleRequest(code, 4 * (largest + 1), largest + 1), 2, {}).error,
              StepRefusal(largest + 1, largest))
        << code;

    const HeadlessResult small = RunHeadless(db.path(), test::SampleRequest(code, 2, 1), 2, {});
    EXPECT_EQ(small.exitCode, 2) << code;
    const int smallest = named(small.error, QStringLiteral("не менее "));
    EXPECT_EQ(small.error, WidthRefusal(2, smallest)) << code;
    // A single flame names 0.4 of its slant; over a year the largest flame is the symmetric one in calm air.
    if (code != 7 && code != 1) {
      EXPECT_EQ(smallest, static_cast<int>(std::ceil(0.4 * Slant(code, d)))) << code;
    }
    // The smallest width rounded up to whole cells of 5 m on either side.
    const int width = (smallest + 9) / 10 * 10;
    const HeadlessResult atSmallest = RunHeadless(db.path(), test::SampleRequest(code, width, 5), 2, {});
    ASSERT_EQ(atSmallest.exitCode, 0) << code << ": " << atSmallest.error.toStdString();
    EXPECT_TRUE(test::ParseJson(test::DriverOutput(atSmallest))["ZoneAtEdge"].toBool()) << code;
  }
}

}  // namespace
}  // namespace velaron::run
