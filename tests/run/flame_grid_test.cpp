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

TEST(FlameGrid, TheLargestStepAndTheSmallestWidthInWholeMetres) {
  const struct {
    double slant;
    int step, width;
  } cases[] = {
      {100, 65, 40},  {81.7, 53, 33},  // 53.105 and 32.68: the asymmetric flame of a 1420 mm pipe
      {76.9, 49, 31},                  // 49.985 stays below 50
      {1.54, 1, 1},   {1.53, 0, 1},    // 1.001 serves a step of 1 m, 0.9945 none
      {0, 0, 0},      {NAN, 0, 0},    {1e300, 32767, 32767},  // no flame; one longer than any grid
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LargestStepForFlame(c.slant), c.step) << c.slant;
    EXPECT_EQ(SmallestWidthForFlame(c.slant), c.width) << c.slant;
  }
}

TEST(FlameGrid, AGridIsRefusedForItsSmallestOrItsLargestFlame) {
  const struct {
    models::CalcSettings grid;  // width along x and y, step
    double smallest, largest;
    QString refusal;  // empty: the grid serves
  } cases[] = {{{200, 200, 65}, 100, 100, {}},
               {{40, 40, 1}, 100, 100, {}},
               {{200, 200, 66}, 100, 100, StepRefusal(66, 65)},
               // Over a year the step is the smallest flame's and the width the largest flame's.
               {{200, 200, 41}, 62, 500, StepRefusal(41, 40)},
               {{198, 198, 1}, 62, 500, WidthRefusal(198, 200)},
               // The narrower side counts, and a step too coarse is named first.
               {{400, 38, 10}, 100, 100, WidthRefusal(38, 40)},
               {{38, 400, 10}, 100, 100, WidthRefusal(38, 40)},
               {{20, 20, 10}, 10, 100, StepRefusal(10, 6)}};
  for (const auto& c : cases) {
    const auto refused = CheckGridForFlames(c.grid, c.smallest, c.largest);
    EXPECT_EQ(refused ? QString::fromStdString(*refused) : QString(), c.refusal)
        << c.grid.XLimit << "×" << c.grid.YLimit << " at " << c.grid.CStep;
  }
  EXPECT_EQ(CheckGridForFlames({2, 2, 1}, 1.53, 1.53).value_or(""),
            "Факел слишком мал для расчета на сетке: его зоны поражения не видны и при шаге сетки 1 м. Проверте "
            "правильность ввода!");
}

// Through the driver, on the sample pipe (1420 mm, 6.95 MPa): the grids of the fault gave zones of 0 and no
// warning, the coarse one (2000 m at 250 m) and the smallest one (2 m at 1 m); both are refused for every
// jet scenario, the assessments over a year too. The named step runs, and so does the named width, where
// the edge warning now speaks for the zones the grid cannot hold. The other scenarios take any grid.
TEST(FlameGrid, TheDriverRefusesTheGridsOfTheFaultAndRunsWhatItNames) {
  test::DatabaseCopy db;
  ASSERT_TRUE(db.ok());
  const auto run = [&](int code, int width, int step) {
    return RunHeadless(db.path(), test::SampleRequest(code, width, step), 2, {});
  };
  const auto named = [](const QString& error, const QString& before) {  // the number after `before`
    return error.mid(error.indexOf(before) + before.size()).section(QLatin1Char(' '), 0, 0).toInt();
  };
  for (int code : {3, 4, 5, 7, 1}) {
    SCOPED_TRACE(code);
    const QString coarse = run(code, 2000, 250).error, narrow = run(code, 2, 1).error;
    const int largest = named(coarse, QStringLiteral("не более ")),
              smallest = named(narrow, QStringLiteral("не менее "));
    EXPECT_EQ(coarse, StepRefusal(250, largest));
    EXPECT_EQ(narrow, WidthRefusal(2, smallest));
    const HeadlessResult atLargest = run(code, 4 * largest, largest);
    ASSERT_EQ(atLargest.exitCode, 0) << atLargest.error.toStdString();
    const QJsonObject d = test::ParseJson(test::DriverOutput(atLargest))["derived"].toObject();
    // The single flames name 0.65 of their own slant. Over a year the smallest flame is the asymmetric
    // frustum, which the output keeps: the pit flame in the town's strongest wind (6 m/s) is about 110 m
    // long, the frustum about 90 m.
    EXPECT_EQ(largest, static_cast<int>(std::floor(0.65 * Slant(code == 3 || code == 5 ? code : 4, d))));
    // A single flame names 0.4 of its slant; over a year the largest flame is the symmetric one in calm air.
    if (code != 7 && code != 1) {
      EXPECT_EQ(smallest, static_cast<int>(std::ceil(0.4 * Slant(code, d))));
    }
    // The smallest width, rounded up to whole cells of 5 m on either side, runs and warns of the edge.
    const QByteArray atSmallest = test::DriverOutput(run(code, (smallest + 9) / 10 * 10, 5));
    EXPECT_TRUE(test::ParseJson(atSmallest)["ZoneAtEdge"].toBool()) << atSmallest.toStdString();
  }
  // The explosion, the fireball and the cloud take both grids.
  for (int code : {2, 6, 8})
    for (const auto& [width, step] : {std::pair{2000, 250}, std::pair{2, 1}})
      EXPECT_EQ(run(code, width, step).exitCode, 0) << code;
}

}  // namespace
}  // namespace velaron::run
