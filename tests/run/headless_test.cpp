// Whole runs of every single scenario through the headless driver's code path on a copy of the shipped
// database: they finish, their radii are those of their own profiles, the thread count changes nothing,
// refused runs say why, and the database is left as it was.
#include <gtest/gtest.h>

#include <cmath>

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

TEST_F(Headless, AFieldLeftOutIsRefusedNotDefaulted) {
  // Each field below feeds the numbers; left out, the run went on with a built-in value the user never
  // chose (an inline section without "Length" was 0 m long and every risk came out 0).
  const std::pair<const char*, const char*> cut[] = {
      {R"("Length": 5000, )", "Length"},
      {R"("DavlUp": 5.4, )", "DavlUp"},
      {R"("Skor_chel": 1.0, )", "Skor_chel"},
      {R"("WindSpeed": 3, )", "WindSpeed"},
      {R"("RegionPos": 1, )", "RegionPos"},
  };
  for (const auto& [text, field] : cut) {
    QByteArray in = Input(5);
    ASSERT_TRUE(in.contains(text)) << field;
    in.replace(text, "");
    const HeadlessResult r = RunHeadless(db_.path(), in, 2, {}, false);
    EXPECT_EQ(r.exitCode, 2) << field;
    const QString error = Parse(r.output)["error"].toString();
    EXPECT_TRUE(error.startsWith(QString::fromUtf8("Ошибка во входном файле"))) << field;
    EXPECT_TRUE(error.contains(QLatin1String(field))) << error.toStdString();
  }
  // The wind is the jet fires' own input; an explosion runs without it, in the fresh dialog's calm.
  QByteArray blast = Input(2);
  blast.replace(R"("WindSpeed": 3, )", "");
  const HeadlessResult r = RunHeadless(db_.path(), blast, 2, {}, false);
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  EXPECT_EQ(Parse(r.output)["derived"].toObject()["Rw"].toDouble(), 0);
  // A whole group left out is refused as well.
  QByteArray noPipeline = Input(2);
  const int from = noPipeline.indexOf(R"("pipeline")"), to = noPipeline.indexOf(R"("rate")");
  ASSERT_GT(to, from);
  noPipeline.remove(from, to - from);
  const HeadlessResult np = RunHeadless(db_.path(), noPipeline, 2, {}, false);
  EXPECT_EQ(np.exitCode, 2);
  EXPECT_TRUE(Parse(np.output)["error"].toString().contains(QLatin1String("pipeline")));
  // A ticked external factor needs its probability.
  QByteArray ext = Input(2);
  ext.replace(R"("Check5": 0)", R"("Check5": 1)");
  ext.replace(R"("Eroz": 0.2, )", "");
  EXPECT_EQ(RunHeadless(db_.path(), ext, 2, {}, false).exitCode, 2);
}

TEST_F(Headless, DiameterCoefficientOnlyForTheRegionWays) {
  // Way 1 reads the coefficient (0.31 for 1420 mm); a typed-in rate (way 3) computes none, so the
  // output leaves it out instead of printing a 0 that was never calculated.
  HeadlessResult r = RunHeadless(db_.path(), Input(2), 2, {}, false);
  ASSERT_EQ(r.exitCode, 0);
  EXPECT_EQ(Parse(r.output)["derived"].toObject()["KoefDy"].toDouble(), 0.31);
  QByteArray typed = Input(2);
  typed.replace(R"("way": 1)", R"("way": 3)");
  r = RunHeadless(db_.path(), typed, 2, {}, false);
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  const QJsonObject d = Parse(r.output)["derived"].toObject();
  EXPECT_FALSE(d.contains("KoefDy"));
  EXPECT_EQ(d["AccidentRate"].toDouble(), 1);  // the typed value, unchanged
}

TEST_F(Headless, OutflowAndFlameOfTheSampleWorkedFromTheShippedTables) {
  // Worked separately from the shipped rows: section pressure 6.95 MPa = 69.5 bar lies between the
  // 60 and 70 bar tables; at 283 K they hold cp 2.71860392246134 / 2.83252731070052 and
  // v 0.0215012573895304 / 0.0180501421524427. cp linear: 2.8293...; v through p·v:
  // (60·v60 + 0.95·(70·v70 − 60·v60))/69.5 = 0.018199111155482457. k = cp/(cp − 8.314/16.043);
  // w = √(2k·6.95e6·v/(k+1)); v0 (1 bar, 283 K) 1.46364823113648; D = 1.42 m, a = 21, b = 0.2, wind 3.
  const QJsonObject d5 = Parse(RunHeadless(db_.path(), Input(5), 2, {}, false).output)["derived"].toObject();
  const auto near = [](const QJsonObject& d, const char* key, double expected) {
    EXPECT_NEAR(d[key].toDouble(), expected, 1e-12 * std::max(1.0, std::fabs(expected))) << key;
  };
  near(d5, "PitLength", 45.2);  // the Lp row of 1.42 m
  near(d5, "AdiabK", 1.2244791214995556);
  near(d5, "SpecVolume", 0.018199111155482457);
  near(d5, "SpeedOut", 373.15908040968844);
  near(d5, "SpecVolume0", 1.46364823113648);
  near(d5, "MassFlow", 403.7605395416211);        // 1.42²·π/4·w/v0
  near(d5, "MassFireBall", 2018.8026977081054);   // 10 s · G · 0.5
  near(d5, "MassGPVS", 2422.563237249726);        // 20 s · G · 0.3
  near(d5, "DEquiv", 9.25686634362834);
  near(d5, "LTorch", 188.13680933400306);
  near(d5, "Ri", 1.7624823316221854);
  near(d5, "Rw", 0.00803946669797322);
  near(d5, "W2", 57.248949848704854);
  near(d5, "KEllipse", 0.7);
  near(d5, "Tilt", 0.9389980577188959);           // first rule: 53.80°
  // Code 4: the frustum at a 25° elevation, the lift-off from the run's own tilt at 25° (85.30°).
  const QJsonObject d4 = Parse(RunHeadless(db_.path(), Input(4), 2, {}, false).output)["derived"].toObject();
  near(d4, "LTorchWind", 92.82185462813676);
  near(d4, "KLift", 0.17252221424080677);
  near(d4, "LiftOff", 18.54402829133181);
  near(d4, "RL", 80.6369614793678);
  near(d4, "W1", 1.42);  // DEquiv·√(1.293·v) is the pipe diameter itself
  near(d4, "W2", 28.245156911511163);
  near(d4, "ConeAngle", 0.16482389949044932);
  near(d4, "Tilt", 25 / 180.0 * 3.14159265358979);
  near(d4, "JetDir", -230 / 180.0 * 3.14159265358979);  // the last of the four jets: −30° − 200°
  // Probabilities: P4 0.25 of ground 2.1.1.2 with p_v 0.1 gives 0.275; shares a third each in winter.
  const QJsonObject p = Parse(RunHeadless(db_.path(), Input(4), 2, {}, false).output)["probabilities"].toObject();
  near(p, "PIgnition", 0.275);
  near(p, "PAsimmTorch", 0.333333333333333 * 0.000511 * 0.275);
  near(p, "PFireBall", (1 - 0.143) * 0.000511 * 0.275);
  near(p, "PGPVS", 0.000511 * 0.275 * 0.143);
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
  const RunOutcome first = ExecuteRun(*prepared.run, models::NoProgress(), ExecuteOptions{true, false, {}, {}});
  ASSERT_TRUE(first.ok());
  const auto shown = first.snapshot;
  const std::vector<double> before = shown->GridValue.cells();
  StopAfter stop(3);
  const RunOutcome second = ExecuteRun(*prepared.run, stop, ExecuteOptions{true, false, {}, {}});
  EXPECT_TRUE(second.cancelled);
  EXPECT_FALSE(second.ok());
  EXPECT_EQ(shown->GridValue.cells(), before);
}

}  // namespace
}  // namespace velaron::run
