// Reference rows read for the windows and the tables a run looks values up in.
#include <QThread>
#include <gtest/gtest.h>

#include "db_test_util.h"

namespace velaron::db::testing {
namespace {

using Reference = EmptyDbTest;

TEST_F(Reference, RunTablesComeSortedAscendingWhateverTheStoredOrder) {
  Exec("INSERT INTO \"12b\" (t, cp, v) VALUES (300, 2.3, 0.12)");
  Exec("INSERT INTO \"12b\" (t, cp, v) VALUES (250, 2.2, 0.10)");
  Exec("INSERT INTO \"12b\" (t, cp, v) VALUES (275, 2.25, 0.11)");
  Exec("INSERT INTO \"300b\" (t, cp, v) VALUES (260, 3.6, 0.004)");
  Exec("INSERT INTO Lp (D, L) VALUES (1.4, 45)");
  Exec("INSERT INTO Lp (D, L) VALUES (0.5, 17)");
  Exec("INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.0, 50)");
  Exec("INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (2.67, 1)");
  models::ReferenceTables t;
  ASSERT_TRUE(LoadReferenceTables(t).isEmpty());
  for (std::size_t i = 0; i < t.gas.size(); ++i) EXPECT_EQ(t.gas[i].pressureBar, models::kGasTablePressures[i]);
  ASSERT_EQ(t.gas[1].rows.size(), 3u);
  EXPECT_EQ(t.gas[1].rows[0].t, 250);
  EXPECT_EQ(t.gas[1].rows[1].t, 275);
  EXPECT_EQ(t.gas[1].rows[2].t, 300);
  EXPECT_DOUBLE_EQ(t.gas[1].rows[1].cp, 2.25);
  EXPECT_DOUBLE_EQ(t.gas[1].rows[1].v, 0.11);
  ASSERT_EQ(t.gas[9].rows.size(), 1u);
  EXPECT_TRUE(t.gas[0].rows.empty());
  ASSERT_EQ(t.lp.size(), 2u);
  EXPECT_EQ(t.lp[0].D, 0.5);
  ASSERT_EQ(t.probit.size(), 2u);
  EXPECT_EQ(t.probit[0].Zn_Probit, 2.67);
  EXPECT_EQ(t.probit[1].Zn_Procent, 50);
  EXPECT_EQ(GasTableName(0), QStringLiteral("1b"));
  EXPECT_EQ(GasTableName(9), QStringLiteral("300b"));
}

TEST_F(Reference, AMissingRunTableIsReportedAndTheOutputKept) {
  Exec("DROP TABLE \"80b\"");
  models::ReferenceTables t;
  t.lp.push_back({1, 2});
  const QString error = LoadReferenceTables(t);
  EXPECT_TRUE(error.contains(QStringLiteral("80b"))) << error.toStdString();
  EXPECT_EQ(t.lp.size(), 1u);
}

TEST_F(Reference, DiameterCoefficientsDescendAndGroundLevelsFollowTheirParent) {
  Exec("INSERT INTO tabKoef_Dy (Dy, kreg) VALUES (529, 1.43)");
  Exec("INSERT INTO tabKoef_Dy (Dy, kreg) VALUES (1420, 0.31)");
  Exec("INSERT INTO tabKoef_Dy (Dy, kreg) VALUES (1020, 0.6)");
  const auto k = LoadKoefDy();
  ASSERT_EQ(k.size(), 3u);
  EXPECT_EQ(k[0].Dy, 1420);
  EXPECT_EQ(k[1].Dy, 1020);
  EXPECT_EQ(k[2].Dy, 529);

  Exec("INSERT INTO GroundType VALUES (5, 0, 'Класс', '1')");
  Exec("INSERT INTO GroundType VALUES (8, 5, 'Группа Б', '2')");
  Exec("INSERT INTO GroundType VALUES (6, 5, 'Группа А', '1')");
  Exec("INSERT INTO GroundType VALUES (7, 6, 'Тип', '1')");
  const auto children = LoadGroundChildren(5);
  ASSERT_EQ(children.size(), 2u);
  EXPECT_EQ(children[0].GID, 8);  // stored order
  EXPECT_EQ(children[1].Ground, QStringLiteral("Группа А"));
  EXPECT_TRUE(LoadGroundChildren(7).empty());
  EXPECT_EQ(LoadGroundType(7)->grParent, 6);
  EXPECT_FALSE(LoadGroundType(99).has_value());
  EXPECT_EQ(LoadGroundTypes().size(), 4u);

  Exec("INSERT INTO Ground3 VALUES ('1.1.1.1', 0.5, 0.2, 0.3, 0.4, 0.2, 0.4, 0.25)");
  const auto g3 = LoadGround3("1.1.1.1");
  ASSERT_TRUE(g3.has_value());
  EXPECT_DOUBLE_EQ(g3->WP3_1, 0.2);
  EXPECT_DOUBLE_EQ(g3->SP3_2, 0.3);
  EXPECT_DOUBLE_EQ(g3->P4, 0.25);
  EXPECT_FALSE(LoadGround3("1.1.1").has_value());
}

TEST_F(Reference, ReportSummaryIsAppended) {
  ReportSummaryRow r;
  r.Date = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5));
  r.dlit = 12;
  r.Mestn = QStringLiteral("Участок у реки");
  r.scen = QStringLiteral("Огневой шар");
  r.Vid_grunt = QStringLiteral("Суглинок");
  r.Dtr = 1420;
  r.Davl_sr = 6.4;
  r.City = QStringLiteral("Хабаровск");
  ASSERT_TRUE(AppendReportSummary(r).isEmpty());
  ASSERT_TRUE(AppendReportSummary(r).isEmpty());
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM tabOtchet").toInt(), 2);
  EXPECT_EQ(Scalar("SELECT scen FROM tabOtchet").toString(), r.scen);
  EXPECT_DOUBLE_EQ(Scalar("SELECT Davl_sr FROM tabOtchet").toDouble(), 6.4);
  EXPECT_EQ(QDateTime::fromString(Scalar("SELECT Date FROM tabOtchet").toString(), Qt::ISODate), r.Date);
}

TEST_F(Reference, AWorkerThreadReadsThroughItsOwnConnection) {
  ASSERT_TRUE(InsertGas({"Метан", 16, 50000, 21, 0.2, 4}).isEmpty());
  std::vector<GasRow> seen;
  QString connectionName;
  QThread* worker = QThread::create([&] {
    seen = LoadGases();
    connectionName = Connection().connectionName();
  });
  worker->start();
  worker->wait();
  delete worker;
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].VName, QStringLiteral("Метан"));
  EXPECT_NE(connectionName, Connection().connectionName());
}

TEST_F(Reference, WorkersFollowTheDatabaseWhenItIsOpenedAgain) {
  ASSERT_TRUE(InsertGas({"Метан", 16, 50000, 21, 0.2, 4}).isEmpty());
  QTemporaryDir other;
  const QString otherPath = other.filePath(QStringLiteral("data.db"));
  MakeEmptyDatabase(otherPath);
  // One long-lived worker reads before and after the program re-opens another file, and many short
  // workers (whose thread ids the system reuses) each read the rows.
  QThread worker;
  worker.start();
  QObject context;
  context.moveToThread(&worker);
  auto readOn = [&context] {
    std::size_t n = 999;
    QMetaObject::invokeMethod(&context, [&n] { n = LoadGases().size(); }, Qt::BlockingQueuedConnection);
    return n;
  };
  EXPECT_EQ(readOn(), 1u);
  ASSERT_TRUE(OpenDatabase(otherPath).isEmpty());
  EXPECT_EQ(readOn(), 0u);
  for (int i = 0; i < 20; ++i) {
    std::size_t n = 999;
    QThread* t = QThread::create([&n] { n = LoadGases().size(); });
    t->start();
    t->wait();
    delete t;
    EXPECT_EQ(n, 0u) << i;
  }
  worker.quit();
  worker.wait();
}

}  // namespace
}  // namespace velaron::db::testing
