// The user manual's section on the calculation without windows says what the driver does: its example runs
// and fits its grid, its grid names and scenario codes are the driver's, its wind limit and refusal the runs'.
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
TEST(ManualDriver, ExampleRunsAndItsGridHoldsTheZones) {
  test::DatabaseCopy db;
  ASSERT_TRUE(db.ok());
  const auto run = [&](const QJsonObject& input) {  // the output, or the refusal as {"error": ...}
    return test::ParseJson(test::DriverOutput(RunHeadless(db.path(), QJsonDocument(input).toJson(), 2, {})));
  };
  const auto m =
      QRegularExpression(QStringLiteral(R"(<pre>\s*(\{.*?)</pre>)"), QRegularExpression::DotMatchesEverythingOption)
          .match(ManualHtml());
  ASSERT_TRUE(m.hasMatch()) << "no example input in the manual";
  QJsonParseError error;
  QJsonObject example = QJsonDocument::fromJson(Unescaped(m.captured(1)).toUtf8(), &error).object();
  ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
  const QJsonObject out = run(example);
  ASSERT_FALSE(out.contains("error")) << out["error"].toString().toStdString();
  EXPECT_EQ(out["ScenarioCode"].toInt(), 5);
  EXPECT_FALSE(out["ZoneAtEdge"].toBool());

  QJsonObject settings = example["settings"].toObject();
  settings["XLimit"] = settings["YLimit"] = 200;
  example["settings"] = settings;
  const QJsonObject narrow = run(example);
  ASSERT_FALSE(narrow.contains("error")) << narrow["error"].toString().toStdString();
  EXPECT_TRUE(narrow["ZoneAtEdge"].toBool());
  EXPECT_TRUE(ManualText().contains(QStringLiteral("при сетке 200 × 200 м ZoneAtEdge было бы true")));
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
