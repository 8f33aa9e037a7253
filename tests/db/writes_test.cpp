// Writes: route sections numbered 1..n through appends and deletes, each change in one transaction;
// writes that the database refuses leave every row as it was.
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

}  // namespace
}  // namespace velaron::db::testing
