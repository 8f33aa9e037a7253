// A grid that cannot see the jet flame is refused before the run, naming what serves: a step above 0.65 of
// the flame's slant length, or a width below 0.4 of it, in whole metres. The slant lengths are worked here
// from the flame's cone as the method lays it out (pit: radius 0.4·L·K, axis 0.5·L·(1 + sin T); symmetric:
// 0.65·L·K and 0.6·L·(1 + sin T); asymmetric: radius (W2 − W1)/2, axis RL), from the derived quantities of
// a run. Of the steps and widths that serve, the one named is one the settings take with the rest of the grid
// (two steps divide both widths, at most 1001 × 1001 points). A flame with no zone on the ground runs at any grid.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <cmath>
#include <tuple>

#include "db/database.h"
#include "models/settings_rules.h"
#include "run/execute.h"
#include "run/flame_grid.h"
#include "run/flame_zones.h"
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
QString StepFault(int step) {
  return QStringLiteral(
             "Шаг сетки %1 м слишком велик для размеров факела: зоны поражения между узлами сетки определяются "
             "неверно.")
      .arg(step);
}
QString WidthFault(int width) {
  return QStringLiteral(
             "Ширина зоны расчета %1 м слишком мала для размеров факела: граница сетки не выходит из-под факела, и "
             "зоны поражения не определяются.")
      .arg(width);
}
// The fault, then what serves this flame and where to set it.
QString Advised(const QString& fault, const QString& advice) {
  return fault + " Для этого факела " + advice + " (Меню: Файл -> Параметры).";
}
QString StepRefusal(int step, const QString& widths, int named) {
  return Advised(StepFault(step),
                 QString("при ширине зоны расчета %1 шаг сетки должен быть не более %2 м").arg(widths).arg(named));
}
QString WidthRefusal(int width, int step, int named) {
  return Advised(
      WidthFault(width),
      QString("при шаге сетки %1 м ширина зоны расчета по X и Y должна быть не менее %2 м").arg(step).arg(named));
}
QString PairRefusal(const QString& fault, int step, int width) {
  return Advised(fault, QString("задайте шаг сетки %1 м и ширину зоны расчета по X и Y %2 м").arg(step).arg(width));
}
// Compared as UTF-8, which a failure prints as text.
std::string Refusal(const std::optional<std::string>& r) { return r.value_or(""); }
std::string Text(const QString& s) { return s.toStdString(); }

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

// Each refusal names a step or a width the settings take; typed in, it clears the refusal.
TEST(FlameGrid, AGridIsRefusedNamingAGridTheSettingsTake) {
  const struct {
    models::CalcSettings grid;  // width along x and y, step
    double smallest, largest;
    QString refusal;             // empty: the grid serves
    models::CalcSettings typed;  // the grid with what the refusal names typed in
  } cases[] = {
      {{200, 200, 65}, 100, 100, {}, {}},
      {{40, 40, 1}, 100, 100, {}, {}},
      // 65 m serves; of the steps up to it, 50 m is the largest whose two steps divide 200 m.
      {{200, 200, 66}, 100, 100, StepRefusal(66, "200 м", 50), {200, 200, 50}},
      // A flame of 177 m: 115 m serves, and 100 m divides 1000 m (105 to 115 m do not).
      {{2000, 2000, 250}, 177, 177, StepRefusal(250, "2000 м", 100), {2000, 2000, 100}},
      // A flame of 9,5 m: 6 m serves, 5 m divides 500 m.
      {{1000, 1000, 10}, 9.5, 9.5, StepRefusal(10, "1000 м", 5), {1000, 1000, 5}},
      // Widths of 1500 and 1000 m: two steps must divide both, so the step divides 250 m.
      {{1500, 1000, 250}, 177, 177, StepRefusal(250, "1500 м по X и 1000 м по Y", 50), {1500, 1000, 50}},
      // Over a year the step is the smallest flame's (40 m; 25 m divides 100 m) and the width the largest's.
      {{200, 200, 41}, 62, 500, StepRefusal(41, "200 м", 25), {200, 200, 25}},
      {{198, 198, 1}, 62, 500, WidthRefusal(198, 1, 200), {200, 200, 1}},
      // 0.4 of 257 m is 102.8 m: 103 m is an odd number of metres, 104 m two steps of 1 m times 52.
      {{100, 100, 1}, 257, 257, WidthRefusal(100, 1, 104), {104, 104, 1}},
      // At a step of 8 m the width is a multiple of 16 m: 48 m.
      {{400, 32, 8}, 100, 100, WidthRefusal(32, 8, 48), {400, 48, 8}},
      {{32, 400, 8}, 100, 100, WidthRefusal(32, 8, 48), {48, 400, 8}},
      // Too coarse and too narrow at once (6 m and 40 m): a step and a width, 48 m being 4 × 12 m.
      {{20, 20, 10}, 10, 100, PairRefusal(StepFault(10), 6, 48), {48, 48, 6}},
      // 5 m divides 10 000 m, but 4001 × 4001 points are too many: at 6 m no more than 6000 m.
      {{20000, 20000, 10}, 9.5, 9.5, PairRefusal(StepFault(10), 6, 6000), {6000, 6000, 6}},
      // 4200 m at 4 m is 1051 × 1051 points: at 65 m the first multiple of 130 m from 4200 m, 4290 m.
      {{4000, 3000, 4}, 100, 10500, PairRefusal(WidthFault(3000), 65, 4290), {4290, 4290, 65}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.grid.XLimit << "×" << c.grid.YLimit << " at " << c.grid.CStep);
    EXPECT_EQ(Refusal(CheckGridForFlames(c.grid, c.smallest, c.largest)), Text(c.refusal));
    if (c.refusal.isEmpty()) continue;
    EXPECT_FALSE(models::CheckGridRule(c.typed).has_value());
    EXPECT_EQ(Refusal(CheckGridForFlames(c.typed, c.smallest, c.largest)), "");
  }
  // A step that misses a zone is passed over for the next one the settings take (the flame of 100 m: 25 m
  // after 50 m; with the pair of 6 m and 48 m, 5 m and 40 m).
  const GridShowsZones not50or6 = [](const models::CalcSettings& g) { return g.CStep != 50 && g.CStep != 6; };
  EXPECT_EQ(Refusal(CheckGridForFlames({200, 200, 66}, 100, 100, not50or6)), Text(StepRefusal(66, "200 м", 25)));
  EXPECT_EQ(Refusal(CheckGridForFlames({20, 20, 10}, 10, 100, not50or6)), Text(PairRefusal(StepFault(10), 5, 40)));
  EXPECT_EQ(Refusal(CheckGridForFlames({2, 2, 1}, 1.53, 1.53)),
            "Факел слишком мал для расчета на сетке: его зоны поражения не видны и при шаге сетки 1 м. Проверте "
            "правильность ввода!");
  // A step of 1 m and a width of 2000 m would be 2001 × 2001 points: no grid serves both flames.
  EXPECT_EQ(Refusal(CheckGridForFlames({100, 100, 2}, 1.54, 5000)),
            Text(StepFault(2) +
                 " Сетки расчета для этого факела нет: шаг сетки должен быть не более 1 м, а ширина зоны расчета не "
                 "менее 2000 м. Проверте правильность ввода!"));
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
    const int fine = code == 1 || code == 7 ? 4 : 1;  // over a year at 4 m, so that the named width runs quickly
    const QString coarse = run(code, 2000, 250).error, narrow = run(code, 2 * fine, fine).error;
    const int largest = named(coarse, QStringLiteral("не более ")),
              smallest = named(narrow, QStringLiteral("не менее "));
    EXPECT_EQ(Text(coarse), Text(StepRefusal(250, "2000 м", largest)));
    EXPECT_EQ(Text(narrow), Text(WidthRefusal(2 * fine, fine, smallest)));
    const HeadlessResult atLargest = run(code, 2000, largest);
    ASSERT_EQ(atLargest.exitCode, 0) << atLargest.error.toStdString();
    const QJsonObject d = test::ParseJson(test::DriverOutput(atLargest))["derived"].toObject();
    // The single flames name 0.65 of their own slant. Over a year the smallest flame is the asymmetric
    // frustum, which the output keeps: the pit flame in the town's strongest wind (6 m/s) is about 110 m
    // long, the frustum about 90 m. Of those steps the largest that divides 1000 m is named.
    int expected = static_cast<int>(std::floor(0.65 * Slant(code == 3 || code == 5 ? code : 4, d)));
    while (1000 % expected != 0) --expected;
    EXPECT_EQ(largest, expected);
    // A single flame names 0.4 of its slant; over a year the largest flame is the symmetric one in calm air.
    if (code != 7 && code != 1) {
      EXPECT_EQ(smallest, (static_cast<int>(std::ceil(0.4 * Slant(code, d))) + 1) / 2 * 2);  // even metres
    }
    const QByteArray atSmallest = test::DriverOutput(run(code, smallest, fine));
    EXPECT_TRUE(test::ParseJson(atSmallest)["ZoneAtEdge"].toBool()) << atSmallest.toStdString();
  }
  // The explosion, the fireball and the cloud take both grids.
  for (int code : {2, 6, 8})
    for (const auto& [width, step] : {std::pair{2000, 250}, std::pair{2, 1}})
      EXPECT_EQ(run(code, width, step).exitCode, 0) << code;
}

// A run of the sample on a 100 mm pipe, on `width` m at `step` m, escaping at `escape` m/s; width 0: the
// database's settings (1000 × 1000 m at 10 m, escaping at 5 m/s).
HeadlessResult Small(const test::DatabaseCopy& db, int code, int width, int step = 0, double escape = 1) {
  QString r = QString::fromUtf8(test::SampleRequest(code, width, step));
  r.replace(QStringLiteral(R"("Skor_chel": 1.0)"), QStringLiteral(R"("Skor_chel": %1)").arg(escape));
  if (width == 0) r.remove(QRegularExpression(QStringLiteral(R"("settings": \{[^}]*\},)")));
  r.replace(QStringLiteral(R"("Diametr": 1420)"), QStringLiteral(R"("Diametr": 100)"));
  return RunHeadless(db.path(), r.toUtf8(), 2, {});
}

// A 100 mm pipe escaping at 1 m/s: its asymmetric flame of 9,6 m wants a step of 6 m, two of which do not
// divide 1000 m; 5 m is named and runs (on 200 m, to be quick). Over a year the same frustum is the smallest
// flame, and the pit flame on the ground gives zones at any escape speed, so the database's own is refused.
// Escaping at 5 m/s, the asymmetric flame, standing off the ground, has no zone on any grid and runs at any
// step; at 1 m/s its zone is about 10 m: the step of 10 m is refused and the named one shows the zone.
TEST(FlameGrid, ASmallPipesStepIsOneTheSettingsTakeAndWithoutAZoneAnyStepRuns) {
  test::DatabaseCopy db;
  ASSERT_TRUE(db.ok());
  for (int code : {1, 7, 4}) {
    SCOPED_TRACE(code);
    EXPECT_EQ(Text(Small(db, code, code == 4 ? 1000 : 0, 10).error), Text(StepRefusal(10, "1000 м", 5)));
    EXPECT_FALSE(models::CheckGridRule({1000, 1000, 5}).has_value());
    const HeadlessResult typed = Small(db, code, 200, 5);
    EXPECT_EQ(typed.exitCode, 0) << typed.error.toStdString();
  }
  const auto zones = [&](int width, int step, double escape) {  // of a run that is not refused
    const HeadlessResult r = Small(db, 4, width, step, escape);
    EXPECT_EQ(r.exitCode, 0) << width << " at " << step << ": " << r.error.toStdString();
    const QJsonArray z = test::ParseJson(test::DriverOutput(r))["CurZones"].toArray();
    return std::vector<double>{z[0].toDouble(), z[1].toDouble(), z[2].toDouble(), z[3].toDouble()};
  };
  for (const auto& [width, step] : std::vector<std::pair<int, int>>{{100, 1}, {0, 0}, {1000, 50}, {2000, 250}, {2, 1}})
    EXPECT_EQ(zones(width, step, 5), (std::vector<double>{0, 0, 0, 0})) << width << " at " << step;
  EXPECT_GT(zones(100, 1, 1)[3], 5);
  EXPECT_EQ(Text(Small(db, 4, 200, 10).error), Text(StepRefusal(10, "200 м", 5)));
  EXPECT_GT(zones(200, 5, 1)[3], 5);
}

// The golden input of scenario `code` on a pipe of `diameter` mm, on `width` m at `step` m.
QByteArray Golden(int code, int diameter, int width, int step) {
  QFile f(QStringLiteral(VELARON_SOURCE_DIR "/tests/golden/code%1.in.json").arg(code));
  EXPECT_TRUE(f.open(QIODevice::ReadOnly));
  QJsonObject in = QJsonDocument::fromJson(f.readAll()).object();
  QJsonObject settings = in["settings"].toObject(), pipeline = in["pipeline"].toObject();
  settings["XLimit"] = settings["YLimit"] = width;
  settings["CStep"] = step;
  pipeline["Diametr"] = diameter;
  in["settings"] = settings;
  in["pipeline"] = pipeline;
  return QJsonDocument(in).toJson();
}

// The golden asymmetric flame (section 1 of the shipped database, wind 2 m/s, escape at 1 m/s) on a pipe of
// `diameter` mm, on `width` m at `step` m.
HeadlessResult GoldenPipe(const test::DatabaseCopy& db, int diameter, int width, int step) {
  return RunHeadless(db.path(), Golden(4, diameter, width, step), 2, {});
}
double Zone(const HeadlessResult& r, int level) {
  return test::ParseJson(test::DriverOutput(r))["CurZones"].toArray()[level - 1].toDouble();
}
QString LostZone(int step, const char* zone, int width, int named) {
  return QString(
             "Шаг сетки %1 м слишком велик для этого факела: его зона поражения %2 лежит между узлами сетки и "
             "выходит равной 0. Для этого факела при ширине зоны расчета %3 м задайте шаг сетки %4 м (Меню: Файл "
             "-> Параметры).")
      .arg(step)
      .arg(QString::fromUtf8(zone))
      .arg(width)
      .arg(named);
}

// That flame of 9,6 m allows steps up to 6 m, but its zone of 1 % (8,62 m on a grid of 1 m, measured with
// the driver before) lies between the points of 3, 4 and 5 m, which showed 0: each is refused naming 2 m,
// which shows it, and so is a step of 10 m on 200 m, where the size of the flame named 5 m. 1 m runs. On a
// 325 mm pipe the zone of 33 % (19,98 m on 1 m) fell between the points of 2, 3, 4, 8 and 10 m, not of 5 m:
// the finer step named is 5 m where it is finer, else 1 m.
TEST(FlameGrid, AStepOnWhichAZoneFallsBetweenThePointsIsRefusedAndOneThatShowsItNamed) {
  test::DatabaseCopy db;
  ASSERT_TRUE(db.ok());
  for (int step : {3, 4, 5})
    EXPECT_EQ(Text(GoldenPipe(db, 100, 240, step).error),
              Text(LostZone(step, "1 % (8,62 м при шаге сетки 1 м)", 240, 2)));
  EXPECT_EQ(Text(GoldenPipe(db, 100, 200, 10).error), Text(StepRefusal(10, "200 м", 2)));
  for (const auto& [width, step] : {std::pair{240, 2}, std::pair{200, 2}, std::pair{60, 1}}) {
    const HeadlessResult r = GoldenPipe(db, 100, width, step);
    ASSERT_EQ(r.exitCode, 0) << width << " at " << step << ": " << r.error.toStdString();
    EXPECT_GT(Zone(r, 4), 8) << width << " at " << step;
  }
  for (const auto& [step, named] : {std::pair{2, 1}, std::pair{4, 1}, std::pair{8, 5}, std::pair{10, 5}})
    EXPECT_EQ(Text(GoldenPipe(db, 325, 240, step).error),
              Text(LostZone(step, "33 % (19,98 м при шаге сетки 1 м)", 240, named)));
  EXPECT_GT(Zone(GoldenPipe(db, 325, 240, 5), 3), 19);
}

// Small pit and asymmetric flames escaping fast in a wind along a diagonal have a narrow zone close to the
// flame; a step was told it lay out of reach from an estimate of the flux between its points, and printed it
// as 0 (the pit flame of a 114 mm pipe at 5 m: 99,99 % 16,97 m on 1 m). A run at each step shows every zone
// the grid of 1 m shows, or is refused naming a step that does.
TEST(FlameGrid, AZoneTheGridOf1mShowsIsNeverPrintedAs0) {
  test::DatabaseCopy db;
  ASSERT_TRUE(db.ok());
  const struct {
    int code, diameter, step;
    double escape;
    int windSpeed, windDir, season;
  } cases[] = {{3, 114, 5, 10, 5, 225, 0}, {3, 133, 5, 8, 5, 135, 0}, {3, 127, 7, 6, 5, 315, 1},
               {3, 114, 7, 8, 5, 45, 0},   {5, 127, 9, 6, 5, 315, 0}, {5, 108, 9, 10, 5, 225, 1},
               {4, 100, 6, 1, 5, 225, 1},  {4, 127, 10, 2, 7, 45, 0}};
  const auto run = [&](const auto& c, int step) {
    const int width = (120 + 2 * c.step - 1) / (2 * c.step) * (2 * c.step);
    const QString in = QStringLiteral(
        R"({"settings":{"XLimit":%1,"YLimit":%1,"CStep":%2,"Skor_chel":%3,"Tfb":10,"Dola":0.5,"Tobl":20,"Dola_obl":0.3},
 "pipeline":{"Gas":1,"Diametr":%4,"DavlDown":5.4,"DavlUp":3.9,"Temp":8,"Glubina":1.0,"Ltrub":100,"Lkr":30,"Tsrab":300,"InversPercent":14.3},
 "rate":{"way":3,"alfa_tr":0.15},
 "external":{"Check5":1,"Check6":0,"Check7":1,"Check8":0,"Eroz":0.2,"Stih":0.01,"Zapor":0.2,"Rechper":0.1},
 "section":{"TPID":12,"Length":4500,"Udal":30400,"Azimut":140,"p_v":0.2,"Ground":"2.1.1.1"},
 "run":{"ScenarioCode":%5,"season":%6,"WindSpeed":%7,"WindDir":%8}})");
    const auto n = [](double v) { return QString::number(v); };
    return RunHeadless(
        db.path(),
        in.arg(n(width), n(step), n(c.escape), n(c.diameter), n(c.code), n(c.season), n(c.windSpeed), n(c.windDir))
            .toUtf8(),
        2, {});
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "code " << c.code << ", " << c.diameter << " mm at " << c.step << " m");
    const HeadlessResult fine = run(c, 1);
    ASSERT_EQ(fine.exitCode, 0) << fine.error.toStdString();
    ASSERT_GT(Zone(fine, 4), 0);
    HeadlessResult r = run(c, c.step);
    // A step refused for the flame's size or for a lost zone; the one named runs, or is refused in turn.
    for (int refusals = 0; r.exitCode != 0; ++refusals) {
      const QRegularExpressionMatch named =
          QRegularExpression(QStringLiteral("(?:не более|задайте шаг сетки) (\\d+) м")).match(r.error);
      ASSERT_TRUE(named.hasMatch() && refusals < 2) << r.error.toStdString();
      r = run(c, named.captured(1).toInt());
    }
    for (int z = 1; z <= 4; ++z) EXPECT_TRUE(Zone(r, z) > 0 || Zone(fine, z) == 0) << z << ": " << Zone(fine, z);
  }
}

// The check of a run's zones against the fine grid costs little beside the run: the small flames of the
// assessments over a year (a 100 mm pipe on 300 m at 6 m), whose asymmetric flame shows no zone, are
// accepted with no more flux computed by the check than a tenth of what the run computes (its grid's points
// times each jet case's flames). Before, the check computed that flame's fine field, as much as its run.
TEST(FlameGrid, TheCheckOfASmallFlamesZonesCostsATenthOfItsRun) {
  test::DatabaseCopy db;
  ASSERT_TRUE(db.ok());
  for (int code : {1, 7}) {
    SCOPED_TRACE(code);
    QString error;
    auto parsed = ParseHeadlessRequest(Golden(code, 100, 300, 6), error);
    ASSERT_TRUE(parsed) << error.toStdString();
    ASSERT_EQ(db::OpenDatabase(db.path(), true), QString());
    const RunData data = LoadRunData(parsed->request, parsed->sectionInline);
    db::CloseDatabase();
    PrepareResult prepared = PrepareRun(parsed->request, data, QDateTime::currentDateTime());
    ASSERT_TRUE(prepared.ok()) << prepared.error.toStdString();
    const models::CalcSettings& g = parsed->request.settings;
    double run = 0;
    for (const JetCase& c : JetCasesOf(*prepared.run))
      run += (g.XLimit / g.CStep + 1.0) * (g.YLimit / g.CStep + 1.0) * static_cast<double>(c.field.size());
    const long long before = CheckEvaluations();
    const RunOutcome outcome = ExecuteRun(*prepared.run, models::NoProgress());
    ASSERT_TRUE(outcome.ok()) << outcome.error.toStdString();
    EXPECT_LE(static_cast<double>(CheckEvaluations() - before), run / 10) << run;
  }
}

// The zones read off the middle of a grid that holds every hot point are those of the whole grid: the
// runs of the pit, the symmetric and the asymmetric flame of a 1000 mm pipe on 800 m at 20 m, and of a
// 150 mm pipe on 300 m at 3 m.
TEST(FlameGrid, TheMiddleOfTheGridThatHoldsTheHeatGivesTheZonesOfTheWholeGrid) {
  for (int code : {3, 5, 4})
    for (const auto& [diameter, width, step] : {std::tuple{1000, 800, 20}, std::tuple{150, 300, 3}}) {
      SCOPED_TRACE(testing::Message() << code << ", " << diameter << " mm at " << step);
      result::RunRequest request = test::GoodRequest(code);
      request.pipeline.Diametr = diameter;
      request.settings.XLimit = request.settings.YLimit = width;
      request.settings.CStep = step;
      PrepareResult prepared = PrepareRun(request, test::GoodData(), QDateTime::currentDateTime());
      ASSERT_TRUE(prepared.ok()) << prepared.error.toStdString();
      const std::vector<JetCase> cases = JetCasesOf(*prepared.run);
      ASSERT_EQ(cases.size(), 1u);
      const RunOutcome outcome = ExecuteRun(*prepared.run, models::NoProgress());
      ASSERT_TRUE(outcome.ok()) << outcome.error.toStdString();
      FieldZones zones(cases[0].field, *prepared.run->tables, models::NoProgress());
      const FieldZones::OnGrid middle = zones.onGrid(request.settings);
      EXPECT_LT(middle.flux.nx(), width / 2 / step);
      EXPECT_EQ(middle.zones, outcome.snapshot->zones.ZoneR(cases[0].kind));
      EXPECT_GT(middle.zones(4), 0);
    }
}

}  // namespace
}  // namespace velaron::run
