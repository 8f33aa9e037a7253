// Reference rows: read for the windows and for the tables a run looks values up in; written by the
// editors, rows found by key, duplicate names refused, town keys never 0.
#include <QSqlQuery>
#include <QThread>
#include <gtest/gtest.h>

#include <tuple>

#include "db_test_util.h"

namespace velaron::db::testing {
namespace {

using Reference = EmptyDbTest;

TEST_F(Reference, RunTablesComeSortedAscendingWhateverTheStoredOrder) {
  Exec("INSERT INTO \"12b\" (t, cp, v) VALUES (300, 2.3, 0.12), (250, 2.2, 0.10), (275, 2.25, 0.11)");
  Exec("INSERT INTO \"300b\" (t, cp, v) VALUES (260, 3.6, 0.004)");
  Exec("INSERT INTO Lp (D, L) VALUES (1.4, 45), (0.5, 17)");
  Exec("INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.0, 50), (2.67, 1)");
  models::ReferenceTables t;
  ASSERT_TRUE(LoadReferenceTables(t).isEmpty());
  for (std::size_t i = 0; i < t.gas.size(); ++i) EXPECT_EQ(t.gas[i].pressureBar, models::kGasTablePressures[i]);
  ASSERT_EQ(t.gas[1].rows.size(), 3u);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(t.gas[1].rows[k].t, 250 + 25 * k);
  EXPECT_EQ(std::tuple(t.gas[1].rows[1].cp, t.gas[1].rows[1].v), std::tuple(2.25, 0.11));
  EXPECT_EQ(t.gas[9].rows.size(), 1u);
  EXPECT_TRUE(t.gas[0].rows.empty());
  ASSERT_EQ(t.lp.size(), 2u);
  ASSERT_EQ(t.probit.size(), 2u);
  EXPECT_EQ(std::tuple(t.lp[0].D, t.probit[0].Zn_Probit, t.probit[1].Zn_Procent), std::tuple(0.5, 2.67, 50.0));
  EXPECT_EQ(GasTableName(0), QStringLiteral("1b"));
  EXPECT_EQ(GasTableName(9), QStringLiteral("300b"));
  // A missing run table is reported and the output kept as it was.
  Exec("DROP TABLE \"80b\"");
  models::ReferenceTables kept;
  kept.lp.push_back({1, 2});
  const QString error = LoadReferenceTables(kept);
  EXPECT_TRUE(error.contains(QStringLiteral("80b"))) << error.toStdString();
  EXPECT_EQ(kept.lp.size(), 1u);
}

TEST_F(Reference, DiameterCoefficientsDescendAndGroundLevelsFollowTheirParent) {
  Exec("INSERT INTO tabKoef_Dy (Dy, kreg) VALUES (529, 1.43), (1420, 0.31), (1020, 0.6)");
  std::vector<double> dy;
  for (const auto& row : LoadKoefDy()) dy.push_back(row.Dy);
  EXPECT_EQ(dy, (std::vector<double>{1420, 1020, 529}));
  Exec("INSERT INTO GroundType VALUES (5, 0, 'Класс', '1'), (8, 5, 'Группа Б', '2'), (6, 5, 'Группа А', '1'), "
       "(7, 6, 'Тип', '1')");
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
  EXPECT_EQ(std::tuple(g3->WP3_1, g3->SP3_2, g3->P4), std::tuple(0.2, 0.3, 0.25));
  EXPECT_FALSE(LoadGround3("1.1.1").has_value());
}

TEST_F(Reference, ReportSummaryIsAppended) {
  ReportSummaryRow r;
  r.Date = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5));
  r.dlit = 12;
  r.Mestn = QStringLiteral("Участок у реки");
  r.scen = QStringLiteral("Огневой шар");
  r.Dtr = 1420;
  r.Davl_sr = 6.4;
  ASSERT_TRUE(AppendReportSummary(r).isEmpty());
  ASSERT_TRUE(AppendReportSummary(r).isEmpty());
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM tabOtchet").toInt(), 2);
  EXPECT_EQ(Scalar("SELECT scen FROM tabOtchet").toString(), r.scen);
  EXPECT_DOUBLE_EQ(Scalar("SELECT Davl_sr FROM tabOtchet").toDouble(), 6.4);
  EXPECT_EQ(QDateTime::fromString(Scalar("SELECT Date FROM tabOtchet").toString(), Qt::ISODate), r.Date);
}

// Worker threads read through connections of their own, and follow the program when it opens another
// file: one long-lived worker reads before and after, and many short workers (whose thread ids the system
// reuses) each read the rows of the file open now.
TEST_F(Reference, WorkersReadThroughTheirOwnConnectionsAndFollowTheOpenFile) {
  ASSERT_TRUE(InsertGas({"Метан", 16, 50000, 21, 0.2, 4}).isEmpty());
  QThread worker;
  worker.start();
  QObject context;
  context.moveToThread(&worker);
  auto readOn = [&context] {
    std::pair<std::size_t, QString> seen{999, {}};
    QMetaObject::invokeMethod(
        &context, [&seen] { seen = {LoadGases().size(), Connection().connectionName()}; },
        Qt::BlockingQueuedConnection);
    return seen;
  };
  const auto before = readOn();
  EXPECT_EQ(before.first, 1u);
  EXPECT_NE(before.second, Connection().connectionName());
  QTemporaryDir other;
  MakeEmptyDatabase(other.filePath(QStringLiteral("data.db")));
  ASSERT_TRUE(OpenDatabase(other.filePath(QStringLiteral("data.db"))).isEmpty());
  EXPECT_EQ(readOn().first, 0u);
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

// ---------------------------------------------------------------------------------------------------
// The editors

using Editors = EmptyDbTest;

QStringList GasNames() {
  QStringList names;
  for (const GasRow& g : LoadGases()) names << g.VName;
  return names;
}

TEST_F(Editors, GasesAreFoundByNameAndDuplicatesRefused) {
  ASSERT_TRUE(InsertGas({"Газ А", 16, 50000, 21, 0.2, 4}).isEmpty());
  ASSERT_TRUE(InsertGas({"Газ Б", 30, 47000, 20, 0.2, 3}).isEmpty());
  EXPECT_FALSE(InsertGas({"Газ А", 99, 1, 1, 1, 1}).isEmpty());
  EXPECT_FALSE(InsertGas({" Газ А ", 99, 1, 1, 1, 1}).isEmpty());  // blanks around do not make it new
  EXPECT_FALSE(InsertGas({"   ", 99, 1, 1, 1, 1}).isEmpty());
  EXPECT_FALSE(UpdateGas("Газ Б", {"Газ А", 1, 1, 1, 1, 1}).isEmpty());  // renaming Б to А is refused
  EXPECT_FALSE(UpdateGas("Нет такого", {"Газ Г", 1, 1, 1, 1, 1}).isEmpty());
  EXPECT_FALSE(DeleteGas("Нет такого").isEmpty());
  EXPECT_EQ(GasNames(), (QStringList{"Газ А", "Газ Б"}));
  EXPECT_DOUBLE_EQ(LoadGases()[0].m, 16);
  // Editing a gas under its own name works, and so does a rename to a free name; order is kept.
  ASSERT_TRUE(UpdateGas("Газ А", {"Газ А", 17, 50000, 21, 0.2, 5}).isEmpty());
  ASSERT_TRUE(UpdateGas("Газ Б", {"Газ В", 31, 47000, 20, 0.2, 3}).isEmpty());
  EXPECT_EQ(GasNames(), (QStringList{"Газ А", "Газ В"}));
  EXPECT_DOUBLE_EQ(LoadGases()[0].m, 17);
  EXPECT_EQ(LoadGases()[0].DangerClass, 5);
  // Names travel as bound values: a quote is an ordinary character.
  const QString odd = QStringLiteral("Газ 'особый'; DROP TABLE abc; --");
  ASSERT_TRUE(InsertGas({odd, 20, 1, 1, 1, 4}).isEmpty());
  EXPECT_EQ(LoadGasAt(3)->VName, odd);
  // Positions follow the stored order: after a delete position 2 is the third gas added, as the stored
  // Gas value is a position.
  ASSERT_TRUE(DeleteGas("Газ А").isEmpty());
  EXPECT_EQ(GasNames(), (QStringList{"Газ В", odd}));
  EXPECT_EQ(LoadGasAt(2)->VName, odd);
  for (int at : {3, 0, -1}) EXPECT_FALSE(LoadGasAt(at).has_value()) << at;
}

TEST_F(Editors, RegionsFollowTheSameRules) {
  ASSERT_TRUE(InsertRegion({"Север", 0.2, 1.1}).isEmpty());
  ASSERT_TRUE(InsertRegion({"Юг", 0.4, 0.9}).isEmpty());
  EXPECT_FALSE(InsertRegion({"Юг", 1, 1}).isEmpty());
  EXPECT_FALSE(UpdateRegion("Север", {"Юг", 1, 1}).isEmpty());
  ASSERT_TRUE(UpdateRegion("Север", {"Север", 0.25, 1.2}).isEmpty());
  const std::vector<RegionRow> rows = LoadRegions();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(std::tuple(rows[0].lambda, rows[1].lambda), std::tuple(0.25, 0.4));
  EXPECT_DOUBLE_EQ(LoadRegionAt(1)->Kreg, 1.2);
  ASSERT_TRUE(DeleteRegion("Юг").isEmpty());
  EXPECT_EQ(LoadRegions().size(), 1u);
  EXPECT_FALSE(LoadRegionAt(2).has_value());
}

WindRow Town(const QString& name, double base) {
  WindRow w;
  w.CityName = name, w.Tmedium = 200;
  for (int i = 0; i < 9; ++i)
    w.winter[i] = base + i, w.summer[i] = base + 10 + i, w.speedWinter[i] = 0.1 * i, w.speedSummer[i] = 0.2 * i;
  return w;
}

TEST_F(Editors, ANewTownGetsAFreshNonZeroKeyAndItsValuesLandInTheirColumns) {
  WindRow a = Town("Аргун", 1);
  ASSERT_TRUE(InsertWind(a).isEmpty());
  EXPECT_EQ(a.idCity, 1);  // empty table: the first key is 1, never 0
  QSqlQuery q(Connection());
  ASSERT_TRUE(q.exec("SELECT * FROM Wind") && q.next());
  // Column order: idCity, CityName, N1..ST1 (2-10), N2..ST2 (11-19), V11..V19, V21..V29, Tmedium.
  for (auto [column, value] : {std::pair{0, 1.0}, {2, 1.0}, {10, 9.0}, {11, 11.0}, {20, 0.0}, {28, 0.8}, {37, 1.6},
                               {38, 200.0}})
    EXPECT_DOUBLE_EQ(q.value(column).toDouble(), value) << column;
  EXPECT_EQ(q.value(1).toString(), QStringLiteral("Аргун"));
  const auto back = LoadWind(a.idCity);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(std::tie(back->winter, back->summer, back->speedWinter, back->speedSummer),
            std::tie(a.winter, a.summer, a.speedWinter, a.speedSummer));
  // A town keyed 7 by hand and a legacy row keyed 0: the next key is above every key.
  Exec("INSERT INTO Wind (idCity, CityName) VALUES (7, 'Борзя')");
  Exec("INSERT INTO Wind (idCity, CityName) VALUES (0, 'Старый')");
  WindRow c = Town("Чита", 2);
  ASSERT_TRUE(InsertWind(c).isEmpty());
  EXPECT_EQ(c.idCity, 8);
  WindRow dup = Town("Чита", 3);
  dup.idCity = -5;
  EXPECT_FALSE(InsertWind(dup).isEmpty());
  EXPECT_EQ(dup.idCity, -5);  // a refused town gets no key
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM Wind").toInt(), 4);
}

TEST_F(Editors, TownsAreEditedAndDeletedByKeyAndListedInTheAlphabet) {
  WindRow a = Town("Якутск", 1), b = Town("Анадырь", 2);
  ASSERT_TRUE(InsertWind(a).isEmpty());
  ASSERT_TRUE(InsertWind(b).isEmpty());
  WindRow renamed = a;
  renamed.CityName = QStringLiteral("Анадырь");
  EXPECT_FALSE(UpdateWind(renamed).isEmpty());
  a.Tmedium = 150;
  ASSERT_TRUE(UpdateWind(a).isEmpty());
  EXPECT_DOUBLE_EQ(LoadWind(a.idCity)->Tmedium, 150);
  EXPECT_DOUBLE_EQ(LoadWind(b.idCity)->Tmedium, 200);
  WindRow ghost = Town("Нигде", 1);
  ghost.idCity = 99;
  EXPECT_FALSE(UpdateWind(ghost).isEmpty());
  EXPECT_FALSE(DeleteWind(99).isEmpty());
  // Listed in the Russian alphabet whatever the letter case. Byte order would list "Ёлкино" first (Ё is
  // U+0401, before А) and "азов" last (lower case after every capital).
  for (const char* name : {"Ёлкино", "Белгород", "азов", "Елец", "Абакан"}) {
    WindRow town = Town(QString::fromUtf8(name), 1);
    ASSERT_TRUE(InsertWind(town).isEmpty()) << name;
  }
  QStringList names;
  for (const WindRow& town : LoadWinds()) names << town.CityName;
  EXPECT_EQ(names, (QStringList{"Абакан", "азов", "Анадырь", "Белгород", "Елец", "Ёлкино", "Якутск"}));
  ASSERT_TRUE(DeleteWind(a.idCity).isEmpty());
  EXPECT_FALSE(LoadWind(a.idCity).has_value());
  EXPECT_TRUE(LoadWind(b.idCity).has_value());
}

}  // namespace
}  // namespace velaron::db::testing
