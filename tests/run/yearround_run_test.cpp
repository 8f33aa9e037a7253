// The two assessments over a year (codes 1 and 7) end to end through the headless driver's code path on a
// copy of the shipped database: they finish, print their layered grids and the asymmetric quantities the
// assessment computed, and the complex risk is the sum of its four scenarios' risks.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>

#include "db/database.h"
#include "run/execute.h"
#include "run/headless.h"
#include "run/prepare.h"
#include "run/run_texts.h"
#include "run_fixtures.h"
#include "sample_request.h"

namespace velaron::run {
namespace {

constexpr double kTestPi = 3.14159265358979;

// A small grid keeps the assessments quick: 200 m wide at 20 m, 11 × 11 cells.
QByteArray Input(int code) { return test::SampleRequest(code, 200, 20); }

QJsonObject Parse(const QByteArray& out) {
  QJsonParseError e;
  const QJsonDocument d = QJsonDocument::fromJson(out, &e);
  EXPECT_EQ(e.error, QJsonParseError::NoError) << out.left(300).toStdString();
  return d.object();
}

// The printed grid as rows of values (y from −ny, x from −nx).
std::vector<std::vector<double>> Rows(const QJsonObject& grids, const QString& name) {
  std::vector<std::vector<double>> rows;
  for (const auto& r : grids[name].toObject()["rows"].toArray()) {
    std::vector<double> row;
    for (const auto& v : r.toArray()) row.push_back(v.toDouble());
    rows.push_back(row);
  }
  return rows;
}

QStringList AllLayers() {
  QStringList names;
  for (int k = 1; k <= 6; ++k) names << QStringLiteral("LayerFlux%1").arg(k);
  for (int k = 1; k <= 8; ++k) names << QStringLiteral("LayerProc%1").arg(k);
  return names;
}

class YearRoundRun : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(db_.ok()); }
  HeadlessResult run(int code, const QStringList& grids, int threads = 2) {
    return RunHeadless(db_.path(), Input(code), threads, grids, false);
  }
  // The fixtures' request of `code` on the shipped section 1 and town 1, with the rows the run reads of
  // the database copy.
  std::pair<RunRequest, RunData> shipped(int code) {
    RunRequest request = test::GoodRequest(code);
    request.section = db::SectionRow{};
    request.section.TPID = 1;
    request.run.idCity = 1;
    EXPECT_TRUE(db::OpenDatabase(db_.path(), true).isEmpty());
    RunData data = LoadRunData(request, false);
    db::CloseDatabase();
    return {request, data};
  }
  test::DatabaseCopy db_;
};

TEST_F(YearRoundRun, BothCodesFinishWithEveryLayerAndTheAsymmetricQuantities) {
  for (int code : {7, 1}) {
    const HeadlessResult r = run(code, QStringList{"GridValue", "GridProbit", "GridProc"} + AllLayers());
    ASSERT_EQ(r.exitCode, 0) << code << " " << r.output.left(400).toStdString();
    const QJsonObject o = Parse(r.output);
    EXPECT_EQ(o["ScenarioCode"].toInt(), code);
    const QJsonObject grids = o["grids"].toObject();
    for (const QString& name : AllLayers()) {
      ASSERT_TRUE(grids.contains(name)) << code << " " << name.toStdString();
      EXPECT_EQ(grids[name].toObject()["nx"].toInt(), 5);
      EXPECT_EQ(grids[name].toObject()["rows"].toArray().size(), 11);
    }
    // The year-round assessment aims the asymmetric jet at the run's fixed 25°; it leaves the frustum
    // quantities, and the model starts with the tilt equal to the elevation.
    const QJsonObject d = o["derived"].toObject();
    for (const char* k : {"LTorchWind", "KLift", "LiftOff", "RL", "W1", "ConeAngle"})
      EXPECT_TRUE(d.contains(k)) << code << " " << k;
    EXPECT_DOUBLE_EQ(d["JetAngle"].toDouble(), 25 / 180.0 * kTestPi);
    EXPECT_LT(d["ConeAngle"].toDouble(), d["JetAngle"].toDouble());
    // The last wind state walked is the summer calm: its wind angle is 5π/2 as it stands.
    EXPECT_DOUBLE_EQ(d["WindAngle"].toDouble(), 2.5 * kTestPi);

    // Every jet case heats somewhere; the displayed flux is the largest over the five jet cases (and, for
    // the complex assessment, the fireball in layer 6), cell by cell.
    const auto value = Rows(grids, "GridValue");
    const int layers = code == 1 ? 6 : 5;
    std::vector<std::vector<std::vector<double>>> flux;
    for (int k = 1; k <= 6; ++k) flux.push_back(Rows(grids, QStringLiteral("LayerFlux%1").arg(k)));
    for (int k = 0; k < 5; ++k) {
      double peak = 0;
      for (const auto& row : flux[static_cast<size_t>(k)])
        for (double v : row) peak = std::max(peak, v);
      EXPECT_GT(peak, 0) << code << " jet case " << k + 1;
    }
    for (size_t y = 0; y < value.size(); ++y)
      for (size_t x = 0; x < value[y].size(); ++x) {
        double m = 0;
        for (int k = 0; k < layers; ++k) m = std::max(m, flux[static_cast<size_t>(k)][y][x]);
        EXPECT_EQ(value[y][x], m) << code << " cell " << x << "," << y;
      }

    // The edge mark is the thermal test on the printed border cells: flux above 4 or probit above 2.67.
    const auto probit = Rows(grids, "GridProbit");
    bool edge = false;
    const size_t n = value.size() - 1;
    for (size_t i = 0; i <= n; ++i)
      for (auto [x, y] : {std::pair{i, size_t{0}}, std::pair{i, n}, std::pair{size_t{0}, i}, std::pair{n, i}})
        if (value[y][x] > 4.0 || probit[y][x] > 2.67) edge = true;
    EXPECT_EQ(o["ZoneAtEdge"].toBool(), edge) << code;

    // Zone depths: code 7 the largest radius over the five jet cases and eight directions; code 1 the
    // largest over the nine rows of ZoneR; −1 as soon as one of them is −1.
    const QJsonArray cur = o["CurZones"].toArray();
    for (int z = 0; z < 4; ++z) {
      double m = 0;
      bool unknown = false;
      if (code == 7) {
        for (const auto& jetCase : o["ZoneRDir"].toArray())
          for (const auto& dir : jetCase.toArray()) {
            const double v = dir.toArray()[z].toDouble();
            unknown = unknown || v == -1;
            m = std::max(m, v);
          }
      } else {
        for (const auto& row : o["ZoneR"].toArray()) {
          const double v = row.toArray()[z].toDouble();
          unknown = unknown || v == -1;
          m = std::max(m, v);
        }
      }
      EXPECT_EQ(cur[z].toDouble(), unknown ? -1 : m) << code << " zone " << z + 1;
    }
    EXPECT_FALSE(o["WorstDir"].toArray()[0].toString().isEmpty());
  }
}

TEST_F(YearRoundRun, ComplexRiskIsTheSumOfTheFourScenarioRisks) {
  // Each scenario of the complex assessment is run on its own with the same inputs: explosion (2), gas-air
  // cloud (8), fireball (6) and the jet fires over a year (7). The complex risk must be their sum.
  const QStringList grids{"GridRisk"};
  const HeadlessResult all = run(1, grids);
  ASSERT_EQ(all.exitCode, 0) << all.output.left(400).toStdString();
  const auto total = Rows(Parse(all.output)["grids"].toObject(), "GridRisk");
  std::vector<std::vector<std::vector<double>>> parts;
  for (int code : {2, 8, 6, 7}) {
    const HeadlessResult r = run(code, grids);
    ASSERT_EQ(r.exitCode, 0) << code << " " << r.output.left(400).toStdString();
    parts.push_back(Rows(Parse(r.output)["grids"].toObject(), "GridRisk"));
  }
  double peak = 0;
  for (size_t y = 0; y < total.size(); ++y)
    for (size_t x = 0; x < total[y].size(); ++x) {
      const double sum = parts[0][y][x] + parts[1][y][x] + parts[2][y][x] + parts[3][y][x];
      EXPECT_NEAR(total[y][x], sum, 1e-12 * std::max(1.0, std::fabs(sum))) << "cell " << x << "," << y;
      peak = std::max(peak, total[y][x]);
    }
  EXPECT_GT(peak, 0);
}

TEST_F(YearRoundRun, ComplexSnapshotKeepsTheEightScenarioGridsAndSumsTheRisks) {
  // The workbook of the complex assessment takes each scenario's risk and percent grids from the
  // snapshot; the summed risk is FireBall + Explosion + GPVS + Torch in every cell.
  auto [request, data] = shipped(1);
  request.settings.XLimit = request.settings.YLimit = 200;
  request.settings.CStep = 20;
  request.settings.Tfb = 10;  // a fireball and a cloud of some mass
  request.settings.Dola = 0.5;
  request.settings.Tobl = 20;
  request.settings.Dola_obl = 0.3;
  PrepareResult prepared = PrepareRun(request, data, QDateTime::currentDateTime());
  ASSERT_TRUE(prepared.ok()) << prepared.error.toStdString();
  EXPECT_TRUE(CheckBeforeRun(*prepared.run).isEmpty());
  ExecuteOptions options;
  options.pictures = false;
  const RunOutcome out = ExecuteRun(std::move(*prepared.run), models::NoProgress(), options);
  ASSERT_TRUE(out.ok()) << out.error.toStdString();
  const RunSnapshot& s = *out.snapshot;
  EXPECT_EQ(s.ScenarioCode, 1);
  const QStringList names{"RiskExplosion", "ProcExplosion", "RiskFireBall", "ProcFireBall",
                          "RiskTorch",     "ProcTorch",     "RiskGPVS",     "ProcGPVS"};
  ASSERT_EQ(s.extraGrids.size(), 8u);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(s.extraGrids[static_cast<size_t>(i)].first, names[i]);
  auto grid = [&](const char* name) -> const models::Grid& {
    for (const auto& [n, g] : s.extraGrids)
      if (n == QLatin1String(name)) return g;
    ADD_FAILURE() << name;
    return s.GridRisk;
  };
  const int n = s.GridRisk.nx();
  for (int y = -n; y <= n; ++y)
    for (int x = -n; x <= n; ++x)
      EXPECT_EQ(s.GridRisk(x, y),
                grid("RiskFireBall")(x, y) + grid("RiskExplosion")(x, y) + grid("RiskGPVS")(x, y) + grid("RiskTorch")(x, y));
  // The headless driver writes no wind rose, so none is reported missing either.
  EXPECT_TRUE(s.windRoseFile.isEmpty());
  EXPECT_FALSE(s.windRoseFailed);
}

TEST_F(YearRoundRun, WindRoseIsWrittenIntoTheGivenFolderOrReportedAsFailed) {
  const auto [request, data] = shipped(7);
  ExecuteOptions options;
  options.pictures = false;

  QTemporaryDir folder;
  options.windRoseFolder = folder.path();
  PrepareResult prepared = PrepareRun(request, data, QDateTime::currentDateTime());
  ASSERT_TRUE(prepared.ok()) << prepared.error.toStdString();
  RunOutcome out = ExecuteRun(std::move(*prepared.run), models::NoProgress(), options);
  ASSERT_TRUE(out.ok()) << out.error.toStdString();
  EXPECT_FALSE(out.snapshot->windRoseFailed);
  EXPECT_TRUE(QFile::exists(out.snapshot->windRoseFile)) << out.snapshot->windRoseFile.toStdString();

  // A folder that does not exist: the run still completes, but it names no rose file, so no report can
  // show the rose of an earlier town.
  options.windRoseFolder = folder.filePath(QStringLiteral("нет такой папки"));
  prepared = PrepareRun(request, data, QDateTime::currentDateTime());
  ASSERT_TRUE(prepared.ok());
  out = ExecuteRun(std::move(*prepared.run), models::NoProgress(), options);
  ASSERT_TRUE(out.ok()) << out.error.toStdString();
  EXPECT_TRUE(out.snapshot->windRoseFailed);
  EXPECT_TRUE(out.snapshot->windRoseFile.isEmpty());
}

TEST_F(YearRoundRun, ThreadCountChangesNothing) {
  const QStringList grids = QStringList{"GridValue", "GridProc", "GridRisk"} + AllLayers();
  for (int code : {7, 1}) {
    const HeadlessResult one = run(code, grids, 1);
    const HeadlessResult three = run(code, grids, 3);
    ASSERT_EQ(one.exitCode, 0);
    EXPECT_EQ(one.output, three.output) << code;
  }
}

TEST_F(YearRoundRun, DriverProgramPrintsTheLayersOfCodeSeven) {
  QTemporaryDir dir;
  const QString input = dir.filePath("in.json");
  QFile f(input);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(Input(7));
  f.close();
  QProcess p;
  p.start(QStringLiteral(VELARON_BIN_DIR "/velaron-calc"),
          {"--db", db_.path(), input, "--grids", "LayerFlux1,LayerFlux5,LayerProc1,LayerProc8"});
  ASSERT_TRUE(p.waitForFinished(60000));
  EXPECT_EQ(p.exitCode(), 0);
  const QJsonObject o = Parse(p.readAllStandardOutput());
  EXPECT_EQ(o["ScenarioCode"].toInt(), 7);
  EXPECT_EQ(o["grids"].toObject().keys(), (QStringList{"LayerFlux1", "LayerFlux5", "LayerProc1", "LayerProc8"}));
  EXPECT_TRUE(o["derived"].toObject().contains("LTorchWind"));
}

TEST_F(YearRoundRun, TownWithoutWindIsRefusedBeforeAnythingIsComputed) {
  // A town row whose seasons have no repetitions: the assessment cannot weigh its wind states.
  const auto [request, data] = shipped(7);
  ASSERT_TRUE(data.town.has_value());
  // The preparation refuses it already, with the message of the wind check.
  RunData calm = data;
  for (auto& r : calm.town->winter) r = 0;
  const PrepareResult refused = PrepareRun(request, calm, QDateTime::currentDateTime());
  EXPECT_FALSE(refused.ok());
  EXPECT_TRUE(refused.error.contains(QString::fromUtf8("должна быть больше 0"))) << refused.error.toStdString();

  // A prepared run checked again before the worker starts: the same refusal, and the run itself refuses
  // with that message too, computing nothing.
  PrepareResult prepared = PrepareRun(request, data, QDateTime::currentDateTime());
  ASSERT_TRUE(prepared.ok()) << prepared.error.toStdString();
  PreparedRun noWind = *prepared.run;
  for (auto& r : noWind.town->winter) r = 0;
  const QString message = CheckBeforeRun(noWind);
  EXPECT_EQ(message, refused.error);
  const RunOutcome out = ExecuteRun(noWind, models::NoProgress(), ExecuteOptions{});
  EXPECT_FALSE(out.ok());
  EXPECT_EQ(out.error, message);
  PreparedRun noTown = *prepared.run;
  noTown.town.reset();
  EXPECT_EQ(CheckBeforeRun(noTown), QString::fromUtf8(texts::kNoTown));
  // The single scenarios have nothing to check here: their checks are the preparation's.
  prepared.run->state.ScenarioCode = 5;
  EXPECT_TRUE(CheckBeforeRun(*prepared.run).isEmpty());
}

}  // namespace
}  // namespace velaron::run
