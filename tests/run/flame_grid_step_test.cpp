// A grid step too coarse for the jet flame is refused before the run, naming the largest step that serves
// the flame: 0.65 of the flame's slant length, in whole metres. The slant lengths are worked here from the
// flame's cone as the method lays it out (pit: radius 0.4·L·K, axis 0.5·L·(1 + sin T); symmetric: 0.65·L·K
// and 0.6·L·(1 + sin T); asymmetric: radius (W2 − W1)/2, axis RL), from the derived quantities of a run.
#include <gtest/gtest.h>

#include <QJsonObject>
#include <cmath>

#include "run/flame_grid_step.h"
#include "run/headless.h"
#include "run/prepare.h"
#include "run_fixtures.h"

namespace velaron::run {
namespace {

// The slant length of the flame of scenario `code` from a run's derived quantities, as the method gives the
// cone.
double Slant(int code, double LTorch, double K, double tilt, double W1 = 0, double W2 = 0, double RL = 0) {
  switch (code) {
    case 3: return std::hypot(0.4 * LTorch * K, 0.5 * LTorch * (1 + std::sin(tilt)));
    case 5: return std::hypot(0.65 * LTorch * K, 0.6 * LTorch * (1 + std::sin(tilt)));
    default: return std::hypot((W2 - W1) / 2, RL);
  }
}

QString StepRefusal(int step, int largest) {
  return QStringLiteral(
             "Шаг сетки %1 м слишком велик для размеров факела: зоны поражения между узлами сетки определяются "
             "неверно. Для этого факела шаг сетки должен быть не более %2 м (Меню: Файл->Параметры).")
      .arg(step)
      .arg(largest);
}

TEST(FlameGridStep, TheLargestStepIs065OfTheSlantInWholeMetres) {
  const struct {
    double slant;
    int largest;
  } cases[] = {
      {100, 65},   {94, 61},        // 61.1
      {81.7, 53},                   // 53.105: the asymmetric flame of a 1420 mm pipe
      {76.9, 49},                   // 49.985 stays below 50
      {76.93, 50},                  // 50.0045
      {1.54, 1},   {1.53, 0},       // 1.001 and 0.9945: no whole metre serves the second
      {0, 0},      {1e300, 32767},  // no flame; a flame longer than any grid
      {NAN, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(LargestStepForFlame(c.slant), c.largest) << c.slant;

  EXPECT_FALSE(CheckStepForFlame(65, 100));
  EXPECT_FALSE(CheckStepForFlame(1, 100));
  const auto refused = CheckStepForFlame(66, 100);
  ASSERT_TRUE(refused);
  EXPECT_EQ(QString::fromStdString(*refused), StepRefusal(66, 65));
  const auto tiny = CheckStepForFlame(1, 1.53);
  ASSERT_TRUE(tiny);
  EXPECT_NE(tiny->find("Факел слишком мал"), std::string::npos) << *tiny;
}

// The prepared flame of each jet scenario: its largest step is accepted, one metre more is refused with
// the largest named; the explosion, the fireball and the cloud take any step the settings allow.
TEST(FlameGridStep, PreparationRefusesAStepTooCoarseForItsFlame) {
  for (int code : {3, 4, 5}) {
    result::RunRequest r = test::GoodRequest(code);
    const RunData data = test::GoodData();
    const PrepareResult fine = PrepareRun(r, data, QDateTime::currentDateTime());
    ASSERT_TRUE(fine.ok()) << code << ": " << fine.error.toStdString();
    const models::DerivedQuantities& d = fine.run->state.derived;
    const int largest =
        static_cast<int>(std::floor(0.65 * Slant(code, d.LTorch, d.KEllipse, d.Tilt, d.W1, d.W2, d.RL)));
    ASSERT_GT(largest, 10) << code;
    for (int step : {largest, largest + 1}) {
      r.settings.CStep = step;
      r.settings.XLimit = r.settings.YLimit = 2 * step;
      const PrepareResult p = PrepareRun(r, data, QDateTime::currentDateTime());
      if (step == largest) EXPECT_TRUE(p.ok()) << code << ": " << p.error.toStdString();
      else EXPECT_EQ(p.error, StepRefusal(step, largest)) << code;
    }
  }
  for (int code : {2, 6, 8}) {
    result::RunRequest r = test::GoodRequest(code);
    r.settings.CStep = 1000;
    r.settings.XLimit = r.settings.YLimit = 2000;
    const PrepareResult p = PrepareRun(r, test::GoodData(), QDateTime::currentDateTime());
    EXPECT_TRUE(p.ok()) << code << ": " << p.error.toStdString();
  }
}

// Through the driver, on the sample pipe (1420 mm, 6.95 MPa): the coarse grid of the fault (2000 m at
// 250 m), which gave zones of 0 and no warning, is refused for every jet scenario, the assessments over a
// year too, and the named largest step runs.
TEST(FlameGridStep, TheDriverRefusesACoarseGridAndRunsTheNamedStep) {
  test::DatabaseCopy db;
  ASSERT_TRUE(db.ok());
  for (int code : {3, 4, 5, 7, 1}) {
    const HeadlessResult coarse = RunHeadless(db.path(), test::SampleRequest(code, 2000, 250), 2, {});
    EXPECT_EQ(coarse.exitCode, 2) << code;
    const QString error = test::ParseJson(test::DriverOutput(coarse))["error"].toString();
    EXPECT_TRUE(error.startsWith(QStringLiteral("Шаг сетки 250 м слишком велик для размеров факела"))) << code;
    const qsizetype at = error.indexOf(QStringLiteral("не более "));
    ASSERT_GE(at, 0) << code << ": " << error.toStdString();
    const int largest = error.mid(at + 9).section(QLatin1Char(' '), 0, 0).toInt();
    ASSERT_GT(largest, 0) << code;

    const HeadlessResult at_largest = RunHeadless(db.path(), test::SampleRequest(code, 4 * largest, largest), 2, {});
    ASSERT_EQ(at_largest.exitCode, 0) << code << ": " << at_largest.error.toStdString();
    const QJsonObject d = test::ParseJson(test::DriverOutput(at_largest))["derived"].toObject();
    // The single flames name 0.65 of their own slant. Over a year the smallest flame is the asymmetric
    // frustum, which the output keeps: the pit flame in the town's strongest wind (6 m/s) is about 110 m
    // long, the frustum about 80 m.
    double slant = 0;
    if (code == 3 || code == 5)
      slant = Slant(code, d["LTorch"].toDouble(), d["KEllipse"].toDouble(), d["Tilt"].toDouble());
    else slant = Slant(4, 0, 0, 0, d["W1"].toDouble(), d["W2"].toDouble(), d["RL"].toDouble());
    EXPECT_EQ(largest, static_cast<int>(std::floor(0.65 * slant))) << code;

    const HeadlessResult above =
        RunHeadless(db.path(), test::SampleRequest(code, 4 * (largest + 1), largest + 1), 2, {});
    EXPECT_EQ(above.error, StepRefusal(largest + 1, largest)) << code;
  }
}

}  // namespace
}  // namespace velaron::run
