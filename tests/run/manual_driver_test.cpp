// The user manual's section on the calculation without windows says what the driver does: its own example
// runs on the shipped database and fits its grid (and a grid of 200 m, as the manual says, reaches the
// edge), its grid names and scenario codes are the driver's, and the wind limit it quotes is the one runs
// refuse beyond, with the refusal's own text.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QRegularExpression>

#include "common/numtext.h"
#include "models/flame_flux.h"
#include "result/run_snapshot.h"
#include "result/scenarios.h"
#include "run/headless.h"
#include "run_fixtures.h"

namespace velaron::run {
namespace {

QString ManualHtml() {
  QFile f(QStringLiteral(VELARON_SOURCE_DIR "/doc/Instrukziy_polzovately.html"));
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << f.fileName().toStdString();
  return QString::fromUtf8(f.readAll());
}

QString Unescaped(QString s) {
  s.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
  s.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
  s.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
  s.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
  return s;
}

// The manual as the reader sees it: tags dropped, blanks and line breaks as single blanks.
QString ManualText() {
  QString s = ManualHtml();
  s.remove(QRegularExpression(QStringLiteral("<style>.*</style>"), QRegularExpression::DotMatchesEverythingOption));
  s.remove(QRegularExpression(QStringLiteral("<[^>]+>")));
  return Unescaped(s).simplified();
}

// The example input of the manual: its preformatted block that is a JSON object.
QJsonObject ManualExample() {
  const QRegularExpression pre(QStringLiteral("<pre>(.*?)</pre>"), QRegularExpression::DotMatchesEverythingOption);
  for (auto it = pre.globalMatch(ManualHtml()); it.hasNext();) {
    const QString block = Unescaped(it.next().captured(1)).trimmed();
    if (!block.startsWith(QLatin1Char('{'))) continue;
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(block.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return doc.object();
  }
  ADD_FAILURE() << "no example input in the manual";
  return {};
}

class ManualDriver : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(db_.ok()); }
  // The driver's output for `input`, or its refusal as {"error": ...}.
  QJsonObject run(const QJsonObject& input) {
    const HeadlessResult r = RunHeadless(db_.path(), QJsonDocument(input).toJson(), 2, {});
    return test::ParseJson(test::DriverOutput(r));
  }
  test::DatabaseCopy db_;
};

// The example runs as it stands; its grid of 1000 m holds every zone, while 200 m, which the manual names
// as too narrow, puts a zone on the edge.
TEST_F(ManualDriver, ExampleRunsAndItsGridHoldsTheZones) {
  QJsonObject example = ManualExample();
  ASSERT_FALSE(example.isEmpty());
  const QJsonObject out = run(example);
  ASSERT_FALSE(out.contains("error")) << out["error"].toString().toStdString();
  EXPECT_EQ(out["ScenarioCode"].toInt(), 5);
  EXPECT_FALSE(out["ZoneAtEdge"].toBool());

  QJsonObject settings = example["settings"].toObject();
  settings["XLimit"] = 200;
  settings["YLimit"] = 200;
  example["settings"] = settings;
  const QJsonObject narrow = run(example);
  ASSERT_FALSE(narrow.contains("error")) << narrow["error"].toString().toStdString();
  EXPECT_TRUE(narrow["ZoneAtEdge"].toBool());
  EXPECT_TRUE(ManualText().contains(QStringLiteral("при сетке 200 × 200 м ZoneAtEdge было бы true")));
}

// Every grid the driver prints is named in the manual (the layers by their first and last names), and the
// layers run to the numbers the manual gives.
TEST(ManualDriverLists, NameEveryGridAndEveryScenarioCode) {
  const QString html = ManualHtml();
  const QStringList grids = result::GridNames();
  const QStringList named = {QStringLiteral("GridValue"),  QStringLiteral("GridImpuls"), QStringLiteral("GridProbit"),
                             QStringLiteral("GridProc"),   QStringLiteral("GridRisk"),   QStringLiteral("LayerFlux1"),
                             QStringLiteral("LayerFlux6"), QStringLiteral("LayerProc1"), QStringLiteral("LayerProc8")};
  for (const QString& name : named) {
    EXPECT_TRUE(grids.contains(name)) << name.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("<code>%1</code>").arg(name))) << name.toStdString();
  }
  EXPECT_EQ(grids.size(), 5 + 6 + 8);
  EXPECT_FALSE(grids.contains(QStringLiteral("LayerFlux7")));
  EXPECT_FALSE(grids.contains(QStringLiteral("LayerProc9")));

  // The table of codes: one row per code 1..8, each with the run dialog's name of that scenario.
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

// The wind limit the manual gives is the one a run refuses beyond, and the refusal it quotes is the run's.
TEST(ManualDriverLists, QuoteTheWindLimitAndItsRefusal) {
  const QString text = ManualText();
  const QString limit = QString::fromStdString(FormatNumber(models::kMaxFlameWind));
  EXPECT_EQ(limit, QStringLiteral("9,9"));
  EXPECT_TRUE(text.contains(QStringLiteral("не более %1 м/с").arg(limit)));
  EXPECT_TRUE(text.contains(QString::fromStdString(models::StrongWindText(9.95))));
  // Nothing in the manual still puts the limit at 10 m/s for a run.
  EXPECT_FALSE(text.contains(QStringLiteral("10 м/с и более")));
  EXPECT_FALSE(text.contains(QStringLiteral("(меньше 10 м/с)")));
}

}  // namespace
}  // namespace velaron::run
