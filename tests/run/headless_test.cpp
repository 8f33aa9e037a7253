// Whole runs through the headless driver's code path on a copy of the shipped database: the thread count
// changes nothing, the outflow and flame of the sample are those worked by hand, the asymmetric risk counts
// the ignition once, and the assessments over a year (codes 1 and 7) print their layers and sum the risks
// of their scenarios. The user manual's example, lists and wind limit are the driver's.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "common/numtext.h"
#include "common/qt_text.h"
#include "models/flame_flux.h"
#include "models/parallel.h"
#include "result/run_snapshot.h"
#include "result/scenarios.h"
#include "run/headless.h"
#include "run_fixtures.h"

namespace velaron::run {
namespace {

using test::ParseJson;
constexpr double kTestPi = 3.14159265358979;
// A printed grid as rows of values (y from −ny, x from −nx).
using Rows = std::vector<std::vector<double>>;
Rows RowsOf(const QJsonObject& o, const QString& name) {
  Rows rows;
  for (const auto& r : o["grids"].toObject()[name].toObject()["rows"].toArray()) {
    rows.emplace_back();
    for (const auto& v : r.toArray()) rows.back().push_back(v.toDouble());
  }
  return rows;
}

QStringList AllLayers() {
  QStringList names;
  for (int k = 1; k <= 6; ++k) names << QStringLiteral("LayerFlux%1").arg(k);
  for (int k = 1; k <= 8; ++k) names << QStringLiteral("LayerProc%1").arg(k);
  return names;
}

class Headless : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(db_.ok()); }
  HeadlessResult run(const QByteArray& in, const QStringList& grids = {}, int threads = 2) {
    return RunHeadless(db_.path(), in, threads, grids);
  }
  // A finished run's output on 200 m at 20 m (11 × 11 cells), which keeps the year-round codes quick.
  QJsonObject done(int code, const QStringList& grids = {}) {
    const HeadlessResult r = run(test::SampleRequest(code, 200, 20), grids);
    EXPECT_EQ(r.exitCode, 0) << code << " " << r.error.toStdString();
    return ParseJson(test::DriverOutput(r, grids));
  }
  test::DatabaseCopy db_;
};

// A call the driver cannot take, and a file that is no JSON, were refused in English only: both are told in
// Russian, a bad call with the way to make it.
TEST_F(Headless, TheDriverRefusesABadCallOrFileInRussian) {
  QTemporaryDir dir;
  const QString input = dir.filePath(QStringLiteral("вход.json"));
  QFile file(input);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("{\"run\": {\"ScenarioCode\": 5,}}") > 0);
  file.close();
  const std::pair<QStringList, const char*> cases[] = {
      {{}, "velaron-calc: нужны --db с файлом базы данных и входной файл"},
      {{input}, "velaron-calc: нужны --db с файлом базы данных и входной файл"},
      {{"--db", db_.path(), input, "--thread", "2"}, "velaron-calc: неизвестный параметр --thread"},
      {{"--db", db_.path(), input, "--threads", "два"},
       "velaron-calc: число потоков после --threads должно быть целым, 0 или больше, а задано \"два\""},
      {{"--db", db_.path(), input}, "Ошибка во входном файле, строка 1, позиция 28: после запятой нет поля объекта"},
  };
  for (const auto& [args, refusal] : cases) {
    QProcess driver;
    driver.start(QStringLiteral(VELARON_BIN_DIR "/velaron-calc"), args);
    ASSERT_TRUE(driver.waitForFinished(60000)) << refusal;
    EXPECT_EQ(driver.exitCode(), 2) << refusal;
    const QJsonObject out = ParseJson(driver.readAllStandardOutput());
    EXPECT_EQ(out["error"].toString().toStdString(), refusal);
    const QString said = QString::fromUtf8(driver.readAllStandardError());
    EXPECT_TRUE(!out["error"].toString().startsWith(U("velaron-calc:")) ||
                said.contains(U("вызов: velaron-calc --db БАЗА_ДАННЫХ ВХОДНОЙ_ФАЙЛ.json")))
        << said.toStdString();
  }
}

TEST_F(Headless, ThreadCountChangesNothing) {
  for (int code : {2, 5, 6, 7, 1}) {
    const QStringList grids = QStringList{"GridValue", "GridProbit", "GridProc", "GridRisk"} +
                              (code == 1 || code == 7 ? AllLayers() : QStringList{});
    const QByteArray in = test::SampleRequest(code, 200, 20);
    const HeadlessResult one = run(in, grids, 1), three = run(in, grids, 3);
    ASSERT_EQ(one.exitCode, 0) << code;
    EXPECT_EQ(test::DriverOutput(one, grids), test::DriverOutput(three, grids)) << code;
  }
  // The checks before the run take the run's threads too: on one thread, the refusal of a step too coarse for
  // the flame, which samples the ground under it, starts none.
  std::atomic<int> started{0};
  models::SetThreadCount(0);
  models::SetThreadStarter([&started](std::function<void()> work) {
    ++started;
    return std::thread(std::move(work));
  });
  const HeadlessResult refused = run(test::SampleRequest(4, 2000, 250), {}, 1);
  models::SetThreadStarter(nullptr);
  EXPECT_TRUE(refused.error.startsWith(U("Шаг сетки 250 м слишком велик"))) << refused.error.toStdString();
  EXPECT_EQ(started, 0);
}

TEST_F(Headless, AsymmetricRiskCountsIgnitionOnce) {
  // The run used to hand the asymmetric model PAsimmTorch × PIgnition; PAsimmTorch already holds the
  // ignition, so every risk cell came out PIgnition (0.275 here) times too small. Each risk cell must be
  // PAsimmTorch × 0.01 × its percent.
  const QJsonObject o = done(4, {"GridProc", "GridRisk"});
  const double p = o["probabilities"].toObject()["PAsimmTorch"].toDouble();
  const Rows proc = RowsOf(o, "GridProc"), risk = RowsOf(o, "GridRisk");
  int hot = 0;
  for (size_t y = 0; y < proc.size(); ++y)
    for (size_t x = 0; x < proc[y].size(); ++x) {
      hot += proc[y][x] > 0;
      EXPECT_DOUBLE_EQ(risk[y][x], p * 0.01 * proc[y][x]);
    }
  EXPECT_GT(hot, 0);
}

TEST_F(Headless, OutflowAndFlameOfTheSampleWorkedFromTheShippedTables) {
  // Worked separately from the shipped rows: section pressure 6.95 MPa = 69.5 bar lies between the
  // 60 and 70 bar tables; at 283 K they hold cp 2.71860392246134 / 2.83252731070052 and
  // v 0.0215012573895304 / 0.0180501421524427. cp linear: 2.8293...; v through p·v:
  // (60·v60 + 0.95·(70·v70 − 60·v60))/69.5 = 0.018199111155482457. k = cp/(cp − 8.314/16.043);
  // w = √(2k·6.95e6·v/(k+1)); v0 (1 bar, 283 K) 1.46364823113648; D = 1.42 m, a = 21, b = 0.2, wind 3.
  const auto near = [](const QJsonObject& d, const char* key, double expected) {
    EXPECT_NEAR(d[key].toDouble(), expected, 1e-12 * std::max(1.0, std::fabs(expected))) << key;
  };
  const QJsonObject d5 = done(5)["derived"].toObject();
  near(d5, "PitLength", 45.2);  // the Lp row of 1.42 m
  near(d5, "AdiabK", 1.2244791214995556);
  near(d5, "SpecVolume", 0.018199111155482457);
  near(d5, "SpeedOut", 373.15908040968844);
  near(d5, "SpecVolume0", 1.46364823113648);
  near(d5, "MassFlow", 403.7605395416211);       // 1.42²·π/4·w/v0
  near(d5, "MassFireBall", 2018.8026977081054);  // 10 s · G · 0.5
  near(d5, "MassGPVS", 2422.563237249726);       // 20 s · G · 0.3
  near(d5, "DEquiv", 9.25686634362834);
  near(d5, "LTorch", 188.13680933400306);
  near(d5, "Ri", 1.7624823316221854);
  near(d5, "Rw", 0.00803946669797322);
  near(d5, "W2", 57.248949848704854);
  near(d5, "KEllipse", 0.7);
  near(d5, "Tilt", 0.9389980577188959);  // first rule: 53.80°
  // Code 4: the frustum at a 25° elevation, the lift-off from the run's own tilt at 25° (85.30°).
  const QJsonObject o4 = done(4);
  const QJsonObject d4 = o4["derived"].toObject();
  near(d4, "LTorchWind", 92.82185462813676);
  near(d4, "KLift", 0.17252221424080677);
  near(d4, "LiftOff", 18.54402829133181);
  near(d4, "RL", 80.6369614793678);
  near(d4, "W1", 1.42);  // DEquiv·√(1.293·v) is the pipe diameter itself
  near(d4, "W2", 28.245156911511163);
  near(d4, "ConeAngle", 0.16482389949044932);
  near(d4, "Tilt", 25 / 180.0 * kTestPi);
  near(d4, "JetDir", -230 / 180.0 * kTestPi);  // the last of the four jets: −30° − 200°
  // result::Probabilities: P4 0.25 of ground 2.1.1.2 with p_v 0.1 gives 0.275; shares a third each in winter.
  const QJsonObject p = o4["probabilities"].toObject();
  near(p, "PIgnition", 0.275);
  near(p, "PAsimmTorch", 0.333333333333333 * 0.000511 * 0.275);
  near(p, "PFireBall", (1 - 0.143) * 0.000511 * 0.275);
  near(p, "PGPVS", 0.000511 * 0.275 * 0.143);
}

TEST_F(Headless, YearRoundCodesHeatInEveryJetCaseAndMarkTheEdge) {
  for (int code : {7, 1}) {
    const QJsonObject o = done(code, QStringList{"GridValue", "GridProbit", "GridProc"} + AllLayers());
    // Every jet case heats somewhere (how the cases make the displayed flux and the zone depths is checked
    // on the states themselves); the edge mark is the thermal test on the printed border cells: flux above
    // 4 or probit above 2.67.
    const Rows value = RowsOf(o, "GridValue"), probit = RowsOf(o, "GridProbit");
    for (int k = 1; k <= 5; ++k) {
      double peak = 0;
      for (const auto& row : RowsOf(o, QStringLiteral("LayerFlux%1").arg(k)))
        peak = std::max(peak, *std::max_element(row.begin(), row.end()));
      EXPECT_GT(peak, 0) << code << " jet case " << k;
    }
    bool edge = false;
    const size_t n = value.size() - 1;
    for (size_t i = 0; i <= n; ++i)
      for (auto [x, y] : {std::pair{i, size_t{0}}, std::pair{i, n}, std::pair{size_t{0}, i}, std::pair{n, i}})
        edge = edge || value[y][x] > 4.0 || probit[y][x] > 2.67;
    EXPECT_EQ(o["ZoneAtEdge"].toBool(), edge) << code;
  }
}

TEST_F(Headless, ComplexRiskIsTheSumOfTheFourScenarioRisks) {
  // Each scenario of the complex assessment is run on its own with the same inputs: explosion (2), gas-air
  // cloud (8), fireball (6) and the jet fires over a year (7). The complex risk must be their sum.
  const Rows total = RowsOf(done(1, {"GridRisk"}), "GridRisk");
  std::vector<Rows> parts;
  for (int code : {2, 8, 6, 7}) parts.push_back(RowsOf(done(code, {"GridRisk"}), "GridRisk"));
  double peak = 0;
  for (size_t y = 0; y < total.size(); ++y)
    for (size_t x = 0; x < total[y].size(); ++x) {
      double sum = 0;
      for (const Rows& part : parts) sum += part.at(y).at(x);
      EXPECT_NEAR(total[y][x], sum, 1e-12 * std::max(1.0, std::fabs(sum))) << "cell " << x << "," << y;
      peak = std::max(peak, total[y][x]);
    }
  EXPECT_GT(peak, 0);
}

// The user manual's section on the calculation without windows says what the driver does.
QString ManualHtml() {
  QFile f(QStringLiteral(VELARON_SOURCE_DIR "/doc/Instrukziy_polzovately.html"));
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << f.fileName().toStdString();
  return QString::fromUtf8(f.readAll());
}
QString Unescaped(QString s) {
  for (const auto& [entity, c] : {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}})
    s.replace(QLatin1String(entity), QLatin1String(c));
  return s;
}
// The manual as the reader sees it: tags dropped, blanks and line breaks as single blanks.
QString ManualText() {
  QString s = ManualHtml();
  s.remove(QRegularExpression(QStringLiteral("<style>.*</style>"), QRegularExpression::DotMatchesEverythingOption));
  s.remove(QRegularExpression(QStringLiteral("<[^>]+>")));
  return Unescaped(s).simplified();
}

// The example input, the manual's one preformatted block that is a JSON object, runs and its grid of 1000 m
// holds every zone, while 200 m, which the manual names as too narrow, puts a zone on the edge.
TEST_F(Headless, TheManualsExampleRunsAndItsGridHoldsTheZones) {
  const QRegularExpression pre(QStringLiteral(R"(<pre>\s*(\{.*?)</pre>)"),
                               QRegularExpression::DotMatchesEverythingOption);
  const auto m = pre.match(ManualHtml());
  ASSERT_TRUE(m.hasMatch()) << "no example input in the manual";
  QJsonParseError error;
  QJsonObject example = QJsonDocument::fromJson(Unescaped(m.captured(1)).toUtf8(), &error).object();
  ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
  EXPECT_TRUE(ManualText().contains(QStringLiteral("при сетке 200 × 200 м ZoneAtEdge было бы true")));
  for (const int width : {0, 200}) {  // 0: the example's own grid
    QJsonObject settings = example["settings"].toObject();
    if (width) settings["XLimit"] = settings["YLimit"] = width;
    example["settings"] = settings;
    const QJsonObject out = ParseJson(test::DriverOutput(run(QJsonDocument(example).toJson())));
    ASSERT_FALSE(out.contains("error")) << width << ": " << out["error"].toString().toStdString();
    EXPECT_EQ(out["ScenarioCode"].toInt(), 5);
    EXPECT_EQ(out["ZoneAtEdge"].toBool(), width == 200) << width;
  }
  // The manual's refusal with the value the driver adds to it is the driver's.
  QJsonObject pipeline = example["pipeline"].toObject();
  pipeline["DavlDown"] = 1e20;
  example["pipeline"] = pipeline;
  const QString refusal = ParseJson(test::DriverOutput(run(QJsonDocument(example).toJson())))["error"].toString();
  EXPECT_TRUE(ManualText().contains(QStringLiteral("\"%1\"").arg(refusal))) << refusal.toStdString();
}

// The wind limit the manual gives is the one a run refuses beyond, the refusal it quotes the run's, and
// nothing still puts the limit at 10 m/s. Every grid the driver prints is named in it (the layers by their
// first and last names), the layers run to the numbers it gives, and its table of codes names each scenario
// as the run dialog does.
TEST(ManualDriver, QuotesTheWindLimitAndNamesEveryGridAndScenarioCode) {
  const QString text = ManualText();
  const QString limit = QString::fromStdString(FormatNumber(models::kMaxFlameWind));
  EXPECT_EQ(limit, QStringLiteral("9,9"));
  EXPECT_TRUE(text.contains(QStringLiteral("не более %1 м/с").arg(limit)));
  EXPECT_TRUE(text.contains(QString::fromStdString(models::StrongWindText(9.95))));
  EXPECT_FALSE(text.contains(QStringLiteral("10 м/с и более")) || text.contains(QStringLiteral("(меньше 10 м/с)")));
  const QString html = ManualHtml();
  const QStringList grids = result::GridNames();
  for (const char* name : {"GridValue", "GridImpuls", "GridProbit", "GridProc", "GridRisk", "LayerFlux1", "LayerFlux6",
                           "LayerProc1", "LayerProc8"}) {
    EXPECT_TRUE(grids.contains(QLatin1String(name))) << name;
    EXPECT_TRUE(html.contains(QStringLiteral("<code>%1</code>").arg(QLatin1String(name)))) << name;
  }
  EXPECT_EQ(grids.size(), 5 + 6 + 8);
  EXPECT_FALSE(grids.contains(QStringLiteral("LayerFlux7")) || grids.contains(QStringLiteral("LayerProc9")));

  const QRegularExpression row(QStringLiteral("<tr><td>(\\d+)</td><td>([^<]+)</td></tr>"));
  QMap<int, QString> table;
  for (auto it = row.globalMatch(html); it.hasNext();) {
    const auto m = it.next();
    table.insert(m.captured(1).toInt(), m.captured(2));
  }
  ASSERT_EQ(table.size(), static_cast<int>(result::kScenarios.size()));
  for (int code = 1; code <= table.size(); ++code) {
    const auto scenario = result::ScenarioOf(code);
    ASSERT_TRUE(scenario) << code;
    EXPECT_EQ(table.value(code).toStdString(), result::FactsOf(*scenario).dialogName) << code;
  }
}

}  // namespace
}  // namespace velaron::run
