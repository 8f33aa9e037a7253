// Writes: route sections numbered 1..n through appends and deletes, each change in one transaction;
// the reference editors' rows found by their key; writes that the database refuses leave every row as it
// was.
#include <gtest/gtest.h>

#include <tuple>

#include "db/layout.h"
#include "db_test_util.h"

namespace velaron::db::testing {
namespace {

using Lengths = std::vector<std::pair<int, double>>;

class Sections : public EmptyDbTest {
 protected:
  // Sections whose lengths tell them apart: section k has Length 100·k.
  void AddSections(int n) {
    for (int k = 1; k <= n; ++k) {
      SectionRow s;
      s.Length = 100.0 * k;
      s.Ground = QStringLiteral("1.1.1.%1").arg(k);
      ASSERT_TRUE(AppendSection(s).isEmpty());
      ASSERT_EQ(s.TPID, k);
    }
  }
  static Lengths NumbersAndLengths() {
    Lengths out;
    for (const SectionRow& s : LoadSections().value) out.emplace_back(s.TPID, s.Length);
    return out;
  }
};

TEST_F(Sections, AppendAndDeleteKeepTheNumbersOneToN) {
  AddSections(5);
  SectionRow s;
  s.TPID = 42;  // whatever the caller had: the new section is the 6th
  s.dpp2 = 1, s.p_v = 0.3;
  ASSERT_TRUE(AppendSection(s).isEmpty());
  EXPECT_EQ(s.TPID, 6);
  EXPECT_EQ(LoadSection(6).value->dpp2, 1);
  EXPECT_DOUBLE_EQ(LoadSection(6).value->p_v, 0.3);
  EXPECT_FALSE(LoadSection(42).value.has_value());
  // Deleting a middle, the last and the first section renumbers the rest in their order.
  for (int k : {2, 5, 1}) ASSERT_TRUE(DeleteSectionRenumber(k).isEmpty()) << k;
  EXPECT_EQ(NumbersAndLengths(), (Lengths{{1, 300}, {2, 400}, {3, 500}}));
  EXPECT_EQ(LoadSection(1).value->Ground, QStringLiteral("1.1.1.3"));
  // Missing numbers change nothing; the next append continues without a gap.
  EXPECT_FALSE(DeleteSectionRenumber(5).isEmpty());
  EXPECT_FALSE(DeleteSectionRenumber(0).isEmpty());
  SectionRow next;
  ASSERT_TRUE(AppendSection(next).isEmpty());
  EXPECT_EQ(next.TPID, 4);
}

// A database of the layout before the crossing probabilities were kept: opened read-only (the driver) it
// reads them as nothing; the upgrade adds the columns once. (The window's start on such a database, its rows
// and the probabilities written and read back are tested with the main window.)
TEST_F(Sections, AnOlderLayoutReadsNoCrossingProbabilitiesAndIsUpgradedOnce) {
  AddSections(2);
  for (const char* c : {"P_avto", "P_LEP", "P_tr", "P_kab"})
    Exec(QStringLiteral("ALTER TABLE TPs DROP COLUMN %1").arg(c));
  CloseDatabase();
  ASSERT_TRUE(OpenDatabase(path_, /*readOnly=*/true).isEmpty());
  ASSERT_EQ(LoadSections().value.size(), 2u);
  EXPECT_FALSE(LoadSection(2).value->P_LEP.has_value());
  CloseDatabase();
  for (int upgrade = 0; upgrade < 2; ++upgrade) ASSERT_TRUE(AddMissingColumns(path_).isEmpty()) << upgrade;
  ASSERT_TRUE(OpenDatabase(path_).isEmpty());
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM pragma_table_info('TPs')").toInt(), 18);
}

TEST_F(Sections, AFailedRenumberRollsTheDeleteBack) {
  AddSections(3);
  // Make the second step (renumbering) fail after the delete went through.
  Exec("CREATE TRIGGER no_renumber BEFORE UPDATE OF TPID ON TPs BEGIN SELECT RAISE(ABORT, 'renumber refused'); END");
  const QString error = DeleteSectionRenumber(2);
  EXPECT_TRUE(error.contains(QStringLiteral("renumber refused"))) << error.toStdString();
  EXPECT_EQ(NumbersAndLengths(), (Lengths{{1, 100}, {2, 200}, {3, 300}}));
}

// ---------------------------------------------------------------------------------------------------
// The settings row

using SettingsRow = EmptyDbTest;

TEST_F(SettingsRow, AnEmptyTableGetsItsRowAndBrokenSettingsChangeNothing) {
  EXPECT_FALSE(LoadAdjustment().value.has_value());
  AdjustmentRow r;  // the defaults are a valid grid at a 10 m step
  r.Tobl = 33;
  ASSERT_TRUE(SaveSettings(r).isEmpty());
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM Adjustment").toInt(), 1);
  AdjustmentRow bad = r;
  bad.CStep = 0;
  bad.Tobl = 99;
  EXPECT_FALSE(SaveSettings(bad).isEmpty());
  const auto row = LoadAdjustment().value;
  ASSERT_TRUE(row.has_value());
  EXPECT_EQ(row->CStep, 10);
  EXPECT_DOUBLE_EQ(row->Tobl, 33);
}

// ---------------------------------------------------------------------------------------------------
// The reference editors: gases, regions and towns, added, changed and deleted by their key

using ReferenceRows = EmptyDbTest;

// The write went through, and `table` then holds `rows` (each row's `columns` joined by blanks, rows by
// "|", in stored order, read with plain SQL).
void ExpectRows(const WriteError& error, const char* table, const char* columns, const char* rows) {
  EXPECT_EQ(error, QString());
  const QString sql = QStringLiteral("SELECT group_concat(r, '|') FROM (SELECT %1 AS r FROM %2 ORDER BY rowid)");
  EXPECT_EQ(Scalar(sql.arg(columns, table)).toString(), QString::fromUtf8(rows)) << table;
}

// Each table starts with the rows A, B and C; D is added, B changed to B2 (its other columns too) and then
// deleted by its key, after a delete of a key no row has, which is refused. Every other row stays as it
// was: a change or delete of the first row, of every row, or of every row but the key's, shows in the text.
TEST_F(ReferenceRows, AreAddedChangedAndDeletedByTheirKeyAlone) {
  const char* gas = "VName || ' ' || m || ' ' || qg || ' ' || a || ' ' || b || ' ' || DangerClass";
  Exec("INSERT INTO abc VALUES ('A', 1, 10, 1, 0.1, 1), ('B', 2, 20, 2, 0.2, 2), ('C', 3, 30, 3, 0.3, 3)");
  ExpectRows(InsertGas({"D", 4, 40, 4, 0.4, 4}), "abc", gas,
             "A 1.0 10.0 1.0 0.1 1|B 2.0 20.0 2.0 0.2 2|C 3.0 30.0 3.0 0.3 3|D 4.0 40.0 4.0 0.4 4");
  ExpectRows(UpdateGas("B", {"B2", 5, 50, 5, 0.5, 1}), "abc", gas,
             "A 1.0 10.0 1.0 0.1 1|B2 5.0 50.0 5.0 0.5 1|C 3.0 30.0 3.0 0.3 3|D 4.0 40.0 4.0 0.4 4");
  EXPECT_FALSE(DeleteGas("B").isEmpty());
  ExpectRows(DeleteGas("B2"), "abc", gas, "A 1.0 10.0 1.0 0.1 1|C 3.0 30.0 3.0 0.3 3|D 4.0 40.0 4.0 0.4 4");

  const char* region = "Region || ' ' || lambda || ' ' || Kreg";
  Exec("INSERT INTO Statistics VALUES ('A', 0.1, 1), ('B', 0.2, 2), ('C', 0.3, 3)");
  ExpectRows(InsertRegion({"D", 0.4, 4}), "Statistics", region, "A 0.1 1.0|B 0.2 2.0|C 0.3 3.0|D 0.4 4.0");
  ExpectRows(UpdateRegion("B", {"B2", 0.5, 5}), "Statistics", region, "A 0.1 1.0|B2 0.5 5.0|C 0.3 3.0|D 0.4 4.0");
  EXPECT_FALSE(DeleteRegion("B").isEmpty());
  ExpectRows(DeleteRegion("B2"), "Statistics", region, "A 0.1 1.0|C 0.3 3.0|D 0.4 4.0");

  // Towns by idCity: a new town takes the next key after the largest (7, after 5, 3 and 6).
  const char* town = "idCity || ' ' || CityName || ' ' || N1 || ' ' || Tmedium";
  Exec(
      "INSERT INTO Wind (idCity, CityName, N1, Tmedium) "
      "VALUES (5, 'A', 10, 100), (3, 'B', 20, 200), (6, 'C', 30, 300)");
  WindRow w;
  w.CityName = QStringLiteral("D"), w.winter[0] = 40, w.Tmedium = 40;
  ExpectRows(InsertWind(w), "Wind", town, "5 A 10.0 100.0|3 B 20.0 200.0|6 C 30.0 300.0|7 D 40.0 40.0");
  w.idCity = 3, w.CityName = QStringLiteral("B2"), w.winter[0] = 50, w.Tmedium = 50;
  ExpectRows(UpdateWind(w), "Wind", town, "5 A 10.0 100.0|3 B2 50.0 50.0|6 C 30.0 300.0|7 D 40.0 40.0");
  EXPECT_FALSE(DeleteWind(4).isEmpty());
  ExpectRows(DeleteWind(3), "Wind", town, "5 A 10.0 100.0|6 C 30.0 300.0|7 D 40.0 40.0");
}

// Every write on a connection that may only read is refused with its cause, changes nothing and leaves no
// transaction open behind it.
TEST_F(ReferenceRows, EveryWriteOnAReadOnlyConnectionFailsCleanly) {
  for (const char* row :
       {"INSERT INTO Adjustment (XLimit, YLimit, CStep, Tfb, Dola, Tobl, Dola_obl, Skor_chel, Gas) "
        "VALUES (200, 200, 10, 10, 0.5, 20, 0.3, 1, 1)",
        "INSERT INTO tab_time VALUES ('2020-01-01T00:00:00')", "INSERT INTO abc VALUES ('A', 1, 10, 1, 0.1, 1)",
        "INSERT INTO Statistics VALUES ('A', 0.1, 1)",
        "INSERT INTO Wind (idCity, CityName, N1, Tmedium) VALUES (1, 'A', 10, 100)",
        "INSERT INTO TPs (TPID, Length) VALUES (1, 100), (2, 100)"})
    Exec(row);
  const QByteArray before = ReadFile(path_);
  CloseDatabase();
  ASSERT_EQ(OpenDatabase(path_, /*readOnly=*/true), QString());
  // Refused with its cause, and no transaction left open: it would refuse the next one.
  const auto refused = [](const WriteError& error, const char* write) {
    EXPECT_EQ(error, QStringLiteral("Ошибка записи в базу данных: база данных открыта только для чтения")) << write;
    QSqlQuery q(Connection());
    EXPECT_TRUE(q.exec("BEGIN") && q.exec("ROLLBACK")) << write << ": " << q.lastError().text().toStdString();
  };
  WindRow town;
  town.CityName = QStringLiteral("B"), town.idCity = 1;
  SectionRow section;
  section.TPID = 1, section.Length = 100;
  const GasRow gas{"B", 2, 20, 2, 0.2, 2};
  const RegionRow region{"B", 0.2, 2};
  refused(SaveSettings(AdjustmentRow{}), "SaveSettings");
  refused(SavePipelineInputs(AdjustmentRow{}), "SavePipelineInputs");
  refused(WriteStartTime(QDateTime::currentDateTime()), "WriteStartTime");
  refused(InsertGas(gas), "InsertGas");
  refused(UpdateGas("A", gas), "UpdateGas");
  refused(DeleteGas("A"), "DeleteGas");
  refused(InsertRegion(region), "InsertRegion");
  refused(UpdateRegion("A", region), "UpdateRegion");
  refused(DeleteRegion("A"), "DeleteRegion");
  refused(InsertWind(town), "InsertWind");
  refused(UpdateWind(town), "UpdateWind");
  refused(DeleteWind(1), "DeleteWind");
  refused(AppendSection(section), "AppendSection");
  refused(UpdateSection(section), "UpdateSection");
  refused(DeleteSectionRenumber(1), "DeleteSectionRenumber");
  refused(AppendReportSummary(ReportSummaryRow{}), "AppendReportSummary");
  EXPECT_EQ(town.idCity, 1);
  EXPECT_EQ(section.TPID, 1);
  CloseDatabase();
  EXPECT_EQ(ReadFile(path_), before);
}

}  // namespace
}  // namespace velaron::db::testing
