// Whole runs of every single scenario through the headless driver's code path on a copy of the shipped
// database: they finish, their radii are those of their own profiles, the thread count changes nothing,
// refused runs say why, and the database is left as it was.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include "common/texts.h"
#include "models/calc_state.h"
#include "run/execute.h"
#include "run/headless.h"
#include "run/prepare.h"
#include "run/run_texts.h"
#include "run_fixtures.h"
#include "sample_request.h"

namespace velaron::run {
namespace {

QByteArray Input(int code) { return test::SampleRequest(code); }

QJsonObject Parse(const QByteArray& out) {
  QJsonParseError e;
  const QJsonDocument d = QJsonDocument::fromJson(out, &e);
  EXPECT_EQ(e.error, QJsonParseError::NoError) << out.left(300).toStdString();
  return d.object();
}

QByteArray Hash(const QString& path) {
  QFile f(path);
  f.open(QIODevice::ReadOnly);
  return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

class Headless : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(db_.ok()); }
  test::DatabaseCopy db_;
};

// The radii ZoneRadii finds on the percent profile along +x of the printed GridProc.
std::array<double, 4> RadiiAlongX(const QJsonObject& grid, int cStep, int xLimit) {
  models::CalcState s;
  s.settings.XLimit = xLimit;
  s.settings.YLimit = xLimit;
  s.settings.CStep = cStep;
  const int nx = grid["nx"].toInt(), ny = grid["ny"].toInt();
  const QJsonArray row = grid["rows"].toArray()[ny].toArray();
  const int n = models::ProfilePoints(s.settings);
  s.RadProfile.assign(static_cast<size_t>(n) + 1, {0, 0, 0});
  for (int i = 1; i <= n; ++i) {
    s.RadProfile[static_cast<size_t>(i)][1] = i - 1 <= nx ? row[nx + i - 1].toDouble() : 0;
    s.RadProfile[static_cast<size_t>(i)][2] = (i - 1) * cStep;
  }
  models::ZoneRadii(s);
  return {s.CurZones[1][0], s.CurZones[2][0], s.CurZones[3][0], s.CurZones[4][0]};
}

TEST_F(Headless, EverySingleScenarioFinishesWithTheRadiiOfItsProfile) {
  for (int code : {2, 3, 4, 5, 6, 8}) {
    const HeadlessResult r = RunHeadless(db_.path(), Input(code), 2, {"GridProc"});
    ASSERT_EQ(r.exitCode, 0) << code << " " << r.output.toStdString();
    const QJsonObject o = Parse(r.output);
    EXPECT_EQ(o["ScenarioCode"].toInt(), code);
    const QJsonArray cur = o["CurZones"].toArray();
    ASSERT_EQ(cur.size(), 4);
    if (code == 2 || code == 6 || code == 8) {
      // The explosion, fireball and cloud: the radii of the percent profile along +x, also in their ZoneR row.
      const auto radii = RadiiAlongX(o["grids"].toObject()["GridProc"].toObject(), 10, 200);
      const int kind = code == 2 ? 7 : code == 6 ? 6 : 8;
      for (int z = 0; z < 4; ++z) {
        EXPECT_EQ(cur[z].toDouble(), radii[static_cast<size_t>(z)]) << code << " zone " << z + 1;
        EXPECT_EQ(o["ZoneR"].toArray()[kind - 1].toArray()[z].toDouble(), radii[static_cast<size_t>(z)]);
      }
    } else {
      // The jet fires: per level the largest radius over the eight directions of their jet case
      // (−1 as soon as one direction is −1).
      const QJsonArray dirs = o["ZoneRDir"].toArray()[code == 4 ? 4 : 0].toArray();
      for (int z = 0; z < 4; ++z) {
        double expected = 0;
        bool unknown = false;
        for (const auto& d : dirs) {
          const double v = d.toArray()[z].toDouble();
          if (v == -1) unknown = true;
          expected = std::max(expected, v);
        }
        EXPECT_EQ(cur[z].toDouble(), unknown ? -1 : expected) << code << " zone " << z + 1;
      }
      EXPECT_FALSE(o["WorstDir"].toArray()[0].toString().isEmpty()) << code;
    }
    const QJsonObject derived = o["derived"].toObject();
    EXPECT_EQ(derived.contains("LTorchWind"), code == 4) << code;
  }
}

TEST_F(Headless, ThreadCountChangesNothing) {
  for (int code : {2, 5, 6}) {
    const QStringList grids{"GridValue", "GridProbit", "GridProc", "GridRisk"};
    const HeadlessResult one = RunHeadless(db_.path(), Input(code), 1, grids, false);
    const HeadlessResult three = RunHeadless(db_.path(), Input(code), 3, grids, false);
    ASSERT_EQ(one.exitCode, 0);
    EXPECT_EQ(one.output, three.output) << code;
  }
}

TEST_F(Headless, AsymmetricRiskCountsIgnitionOnce) {
  // The run used to hand the asymmetric model PAsimmTorch × PIgnition; PAsimmTorch already holds the
  // ignition, so every risk cell came out PIgnition (0.275 here) times too small. Each risk cell must be
  // PAsimmTorch × 0.01 × its percent.
  const HeadlessResult r = RunHeadless(db_.path(), Input(4), 2, {"GridProc", "GridRisk"}, false);
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  const QJsonObject o = Parse(r.output);
  const double p = o["probabilities"].toObject()["PAsimmTorch"].toDouble();
  const QJsonArray proc = o["grids"].toObject()["GridProc"].toObject()["rows"].toArray();
  const QJsonArray risk = o["grids"].toObject()["GridRisk"].toObject()["rows"].toArray();
  int hot = 0;
  for (int y = 0; y < proc.size(); ++y)
    for (int x = 0; x < proc[y].toArray().size(); ++x) {
      const double pc = proc[y].toArray()[x].toDouble();
      if (pc > 0) ++hot;
      EXPECT_DOUBLE_EQ(risk[y].toArray()[x].toDouble(), p * 0.01 * pc);
    }
  EXPECT_GT(hot, 0);
}

TEST_F(Headless, OutputCarriesTheProbabilitiesAndTheGridLayout) {
  const HeadlessResult r = RunHeadless(db_.path(), Input(2), 2, {"GridValue"}, false);
  ASSERT_EQ(r.exitCode, 0);
  const QJsonObject o = Parse(r.output);
  // Way 1, region lambda 0.33, D 1420 mm: KoefDy 0.31, AccidentRate 0.1023; section 5000 m:
  // PRupture = round6(1 − exp(−0.1023·0.005)) = 0.000511; PIgnition = P4·1.1 for the section's ground.
  const QJsonObject d = o["derived"].toObject();
  EXPECT_DOUBLE_EQ(d["AccidentRate"].toDouble(), 0.33 * 0.31);
  EXPECT_DOUBLE_EQ(o["probabilities"].toObject()["PRupture"].toDouble(), 0.000511);
  EXPECT_NEAR(d["Davl"].toDouble(), 6.95, 1e-12);
  EXPECT_EQ(d["TempK"].toDouble(), 283);
  const QJsonObject g = o["grids"].toObject()["GridValue"].toObject();
  EXPECT_EQ(g["nx"].toInt(), 10);
  EXPECT_EQ(g["ny"].toInt(), 10);
  EXPECT_EQ(g["rows"].toArray().size(), 21);
  EXPECT_EQ(g["rows"].toArray()[0].toArray().size(), 21);
  EXPECT_TRUE(o.contains("ZoneAtEdge"));
  EXPECT_EQ(o["ZoneRDir"].toArray().size(), 5);
  EXPECT_EQ(o["ZoneR"].toArray().size(), 9);
  EXPECT_EQ(o["RadiusDP"].toArray().size(), 8);
  // Numbers are written with all their digits: 0.1 prints as 0.10000000000000001.
  EXPECT_TRUE(r.output.contains("\"p_v\": 0.10000000000000001"));
}

TEST_F(Headless, RefusedRunsSayWhyAndExitWithTwo) {
  const QByteArray before = Hash(db_.path());
  QByteArray noGas = Input(5);
  noGas.replace("\"Gas\": 1", "\"Gas\": 0");
  HeadlessResult r = RunHeadless(db_.path(), noGas, 2, {});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(Parse(r.output)["error"].toString(), QString::fromUtf8(velaron::texts::kGasDataMissing));

  r = RunHeadless(db_.path(), Input(9), 2, {});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(Parse(r.output)["error"].toString(), QString::fromUtf8(texts::kBadScenario));

  // The assessments over a year need the town's wind: a town the database does not hold is refused.
  QByteArray noTown = Input(7);
  noTown.replace("\"idCity\": 1", "\"idCity\": 999");
  r = RunHeadless(db_.path(), noTown, 2, {});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(Parse(r.output)["error"].toString(), QString::fromUtf8(texts::kNoTown));

  QByteArray noSection = Input(2);
  noSection.replace(R"("section": {"TPID": 1, "Length": 5000, "Udal": 20000, "Azimut": 30, "p_v": 0.1, "Ground": "2.1.1.2"})",
                    R"("section": {"TPID": 999})");
  r = RunHeadless(db_.path(), noSection, 2, {});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(Parse(r.output)["error"].toString(), QString::fromUtf8(velaron::texts::kWrongSection));

  r = RunHeadless(db_.path(), "{not json", 2, {});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(Parse(r.output)["error"].toString().startsWith(QString::fromUtf8("Ошибка во входном файле")));

  QByteArray strongWind = Input(5);
  strongWind.replace("\"WindSpeed\": 3", "\"WindSpeed\": 10");
  r = RunHeadless(db_.path(), strongWind, 2, {});
  EXPECT_EQ(r.exitCode, 2);

  r = RunHeadless(db_.path(), Input(2), 2, {"NoSuchGrid"});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(Hash(db_.path()), before);  // read-only: nothing written
}

TEST_F(Headless, SectionByNumberReadsTheStoredRow) {
  QByteArray byNumber = Input(2);
  byNumber.replace(R"("section": {"TPID": 1, "Length": 5000, "Udal": 20000, "Azimut": 30, "p_v": 0.1, "Ground": "2.1.1.2"})",
                   R"("section": {"TPID": 1})");
  const HeadlessResult r = RunHeadless(db_.path(), byNumber, 2, {}, false);
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  // The shipped section 1 is 1000 m long from the start of the pipeline: Davl = 7.4 − 2·500/100000.
  EXPECT_NEAR(Parse(r.output)["derived"].toObject()["Davl"].toDouble(), 7.4 - 2.0 * 500 / 100000, 1e-12);
}

TEST_F(Headless, DriverProgramPrintsOnlyJson) {
  QTemporaryDir dir;
  const QString input = dir.filePath("in.json");
  QFile f(input);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(Input(6));
  f.close();
  QProcess p;
  p.start(QStringLiteral(VELARON_BIN_DIR "/velaron-calc"), {"--db", db_.path(), input, "--threads", "2"});
  ASSERT_TRUE(p.waitForFinished(60000));
  EXPECT_EQ(p.exitCode(), 0);
  EXPECT_EQ(Parse(p.readAllStandardOutput())["ScenarioCode"].toInt(), 6);

  QFile g(input);
  ASSERT_TRUE(g.open(QIODevice::WriteOnly));
  QByteArray bad = Input(6);
  bad.replace("\"Gas\": 1", "\"Gas\": 0");
  g.write(bad);
  g.close();
  p.start(QStringLiteral(VELARON_BIN_DIR "/velaron-calc"), {"--db", db_.path(), input});
  ASSERT_TRUE(p.waitForFinished(60000));
  EXPECT_EQ(p.exitCode(), 2);
  EXPECT_EQ(Parse(p.readAllStandardOutput())["error"].toString(), QString::fromUtf8(velaron::texts::kGasDataMissing));
}

// A progress that asks to stop after a few rows.
class StopAfter : public models::Progress {
 public:
  explicit StopAfter(int rows) : rows_(rows) {}
  void step() override { ++done_; }
  bool cancelled() const override { return done_ >= rows_; }

 private:
  int rows_;
  int done_ = 0;
};

TEST(Cancel, ACancelledRunReturnsNothing) {
  const PrepareResult prepared = PrepareRun(test::GoodRequest(5), test::GoodData(), QDateTime::currentDateTime());
  ASSERT_TRUE(prepared.ok());
  // The results shown before the cancelled run are the caller's; the cancelled run hands back none.
  const RunOutcome first = ExecuteRun(*prepared.run, models::NoProgress(), ExecuteOptions{true, false, {}});
  ASSERT_TRUE(first.ok());
  const auto shown = first.snapshot;
  const std::vector<double> before = shown->GridValue.cells();
  StopAfter stop(3);
  const RunOutcome second = ExecuteRun(*prepared.run, stop, ExecuteOptions{true, false, {}});
  EXPECT_TRUE(second.cancelled);
  EXPECT_FALSE(second.ok());
  EXPECT_EQ(shown->GridValue.cells(), before);
}

}  // namespace
}  // namespace velaron::run
