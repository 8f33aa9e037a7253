#include "run_fixtures.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>

#include "output/json/run_json.h"

namespace velaron::test {

std::shared_ptr<const models::ReferenceTables> SyntheticTables() {
  auto t = std::make_shared<models::ReferenceTables>();
  for (size_t i = 0; i < t->gas.size(); ++i) {
    t->gas[i].pressureBar = models::kGasTablePressures[i];
    for (double T = 200; T <= 400; T += 50)
      t->gas[i].rows.push_back({T, 2.2, 0.5196 * T / (100 * models::kGasTablePressures[i])});
  }
  t->lp = {{0.1, 10}, {2.0, 60}};
  for (int k = 0; k <= 10; ++k) {
    const double pr = 2.67 + k * (7.33 - 2.67) / 10;
    t->probit.push_back({pr, 1 + k * 9.8});
  }
  return t;
}

result::RunRequest GoodRequest(int code) {
  result::RunRequest r;
  r.settings.XLimit = 200;
  r.settings.YLimit = 200;
  r.settings.CStep = 10;
  r.settings.Skor_chel = 1;
  r.pipeline.Gas = 1;
  r.pipeline.Diametr = 1000;
  r.pipeline.DavlDown = 5;
  r.pipeline.DavlUp = 5;
  r.pipeline.Temp = 10;
  r.pipeline.Ltrub = 100;
  r.pipeline.InversPercent = 20;
  r.rate.way = 3;
  r.rate.alfa_tr = 0.5;
  r.section.TPID = 1;
  r.section.Length = 1000;
  r.section.Ground = "2.1.1.2";
  r.run.scenario = result::ScenarioOf(code).value();
  r.run.WindSpeed = 3;
  return r;
}

run::RunData GoodData() {
  run::RunData d;
  d.gas = db::GasRow{QStringLiteral("Метан"), 16, 50000, 21, 0.2, 4};
  d.section = GoodRequest(5).section;
  // Ground: shares of the pit, symmetric and asymmetric jets in summer and winter, P4 0.25.
  d.ground = db::Ground3Row{d.section->Ground, 0.25, 0.2, 0.35, 0.3, 0.4, 0.5, 0.25};
  d.regions = {{QStringLiteral("Регион"), 0.33, 2}};
  d.koefDy = {{1420, 0.31}, {1220, 0.5}, {1020, 0.7}, {529, 1.43}};
  d.tables = SyntheticTables();
  return d;
}

QJsonObject ParseJson(const QByteArray& out) {
  QJsonParseError e;
  const QJsonDocument d = QJsonDocument::fromJson(out, &e);
  EXPECT_EQ(e.error, QJsonParseError::NoError) << out.left(300).toStdString();
  return d.object();
}

QByteArray DriverOutput(const run::HeadlessResult& r, const QStringList& grids) {
  return r.record ? output::SnapshotJson(*r.record, grids) : output::ErrorJson(r.error);
}

DatabaseCopy::DatabaseCopy() {
  if (!dir_.isValid()) return;
  const QString target = dir_.filePath(QStringLiteral("data.db"));
  if (QFile::copy(QStringLiteral(VELARON_PRISTINE_DB), target)) {
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    path_ = target;
  }
}

}  // namespace velaron::test
