// Route sections: numbering 1..n kept through appends and deletes, each change in one transaction.
#include <QFile>
#include <gtest/gtest.h>
#include <unistd.h>

#include "db_test_util.h"

namespace velaron::db::testing {
namespace {

class Sections : public EmptyDbTest {
 protected:
  // Sections whose lengths tell them apart: section k has Length 100·k.
  void AddSections(int n) {
    for (int k = 1; k <= n; ++k) {
      SectionRow s;
      s.Length = 100.0 * k;
      s.Azimut = k;
      s.Ground = QStringLiteral("1.1.1.%1").arg(k);
      ASSERT_TRUE(AppendSection(s).isEmpty());
      ASSERT_EQ(s.TPID, k);
    }
  }
  static std::vector<std::pair<int, double>> NumbersAndLengths() {
    std::vector<std::pair<int, double>> out;
    for (const SectionRow& s : LoadSections()) out.emplace_back(s.TPID, s.Length);
    return out;
  }
};

TEST_F(Sections, AppendNumbersTheNewSectionNPlusOne) {
  AddSections(3);
  SectionRow s;
  s.TPID = 42;  // whatever the caller had: the new section is the 4th
  s.dpp2 = 1;
  s.p_v = 0.3;
  ASSERT_TRUE(AppendSection(s).isEmpty());
  EXPECT_EQ(s.TPID, 4);
  const auto back = LoadSection(4);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->dpp2, 1);
  EXPECT_DOUBLE_EQ(back->p_v, 0.3);
  EXPECT_FALSE(LoadSection(42).has_value());
}

TEST_F(Sections, DeletingAMiddleSectionRenumbersTheRest) {
  AddSections(4);
  ASSERT_TRUE(DeleteSectionRenumber(2).isEmpty());
  // Former 1, 3, 4 are now 1, 2, 3 in their order.
  EXPECT_EQ(NumbersAndLengths(), (std::vector<std::pair<int, double>>{{1, 100}, {2, 300}, {3, 400}}));
  EXPECT_EQ(LoadSection(2)->Ground, QStringLiteral("1.1.1.3"));
  // The next append continues without a gap.
  SectionRow s;
  ASSERT_TRUE(AppendSection(s).isEmpty());
  EXPECT_EQ(s.TPID, 4);
}

TEST_F(Sections, DeletingTheFirstAndTheLast) {
  AddSections(3);
  ASSERT_TRUE(DeleteSectionRenumber(3).isEmpty());
  ASSERT_TRUE(DeleteSectionRenumber(1).isEmpty());
  EXPECT_EQ(NumbersAndLengths(), (std::vector<std::pair<int, double>>{{1, 200}}));
}

TEST_F(Sections, DeletingAMissingSectionChangesNothing) {
  AddSections(2);
  EXPECT_FALSE(DeleteSectionRenumber(5).isEmpty());
  EXPECT_FALSE(DeleteSectionRenumber(0).isEmpty());
  EXPECT_EQ(NumbersAndLengths(), (std::vector<std::pair<int, double>>{{1, 100}, {2, 200}}));
}

TEST_F(Sections, AFailedRenumberRollsTheDeleteBack) {
  AddSections(3);
  // Make the second step (renumbering) fail after the delete went through.
  Exec("CREATE TRIGGER no_renumber BEFORE UPDATE OF TPID ON TPs BEGIN SELECT RAISE(ABORT, 'renumber refused'); END");
  const QString error = DeleteSectionRenumber(2);
  EXPECT_TRUE(error.contains(QStringLiteral("renumber refused"))) << error.toStdString();
  EXPECT_EQ(NumbersAndLengths(), (std::vector<std::pair<int, double>>{{1, 100}, {2, 200}, {3, 300}}));
}

TEST_F(Sections, UpdateWritesTheRowOfItsNumber) {
  AddSections(3);
  SectionRow s = *LoadSection(2);
  s.Length = 555;
  s.G1 = 4;
  s.G4 = 9;
  s.Ground = QStringLiteral("2.1.1.2");
  s.dpp4 = 1;
  ASSERT_TRUE(UpdateSection(s).isEmpty());
  const auto back = LoadSection(2);
  EXPECT_DOUBLE_EQ(back->Length, 555);
  EXPECT_EQ(back->G1, 4);
  EXPECT_EQ(back->G4, 9);
  EXPECT_EQ(back->dpp4, 1);
  EXPECT_EQ(back->Ground, QStringLiteral("2.1.1.2"));
  EXPECT_DOUBLE_EQ(LoadSection(1)->Length, 100);
  EXPECT_DOUBLE_EQ(LoadSection(3)->Length, 300);

  s.TPID = 9;
  EXPECT_FALSE(UpdateSection(s).isEmpty());
  EXPECT_EQ(LoadSections().size(), 3u);
}

// A write that the file refuses comes back as an error and leaves every row as it was.
TEST_F(Sections, WritesToAReadOnlyConnectionFailAndChangeNothing) {
  AddSections(2);
  ASSERT_TRUE(InsertGas({"Метан", 16, 50000, 21, 0.2, 4}).isEmpty());
  CloseDatabase();
  ASSERT_TRUE(OpenDatabase(path_, /*readOnly=*/true).isEmpty());

  SectionRow s;
  EXPECT_TRUE(AppendSection(s).contains(QStringLiteral("Ошибка записи")));
  EXPECT_EQ(s.TPID, 0);
  EXPECT_FALSE(DeleteSectionRenumber(1).isEmpty());
  SectionRow changed = *LoadSection(1);
  changed.Length = 1;
  EXPECT_FALSE(UpdateSection(changed).isEmpty());
  EXPECT_FALSE(InsertGas({"Этан", 30, 1, 1, 1, 3}).isEmpty());
  EXPECT_FALSE(DeleteGas("Метан").isEmpty());
  WindRow w;
  w.CityName = QStringLiteral("Город");
  EXPECT_FALSE(InsertWind(w).isEmpty());
  EXPECT_EQ(w.idCity, 0);
  EXPECT_FALSE(SaveSettings(AdjustmentRow{}).isEmpty());
  EXPECT_FALSE(WriteStartTime(QDateTime::currentDateTime()).isEmpty());
  EXPECT_FALSE(AppendReportSummary(ReportSummaryRow{}).isEmpty());

  CloseDatabase();
  ASSERT_TRUE(OpenDatabase(path_).isEmpty());
  EXPECT_EQ(NumbersAndLengths(), (std::vector<std::pair<int, double>>{{1, 100}, {2, 200}}));
  EXPECT_EQ(LoadGases().size(), 1u);
  EXPECT_TRUE(LoadWinds().empty());
  EXPECT_FALSE(LoadAdjustment().has_value());
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM tab_time").toInt(), 0);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM tabOtchet").toInt(), 0);
}

TEST_F(Sections, AReadOnlyFileRefusesTheWriteAndKeepsItsRows) {
  if (geteuid() == 0) GTEST_SKIP() << "running as root: file permissions do not bind";
  AddSections(3);
  CloseDatabase();
  ASSERT_TRUE(QFile(path_).setPermissions(QFile::ReadOwner | QFile::ReadGroup));
  ASSERT_TRUE(OpenDatabase(path_).isEmpty());  // opened for writing; the file itself refuses
  EXPECT_FALSE(DeleteSectionRenumber(1).isEmpty());
  SectionRow s;
  EXPECT_FALSE(AppendSection(s).isEmpty());
  EXPECT_EQ(NumbersAndLengths(), (std::vector<std::pair<int, double>>{{1, 100}, {2, 200}, {3, 300}}));
}

TEST(NoConnection, WritesReportItAndReadsComeBackEmpty) {
  CloseDatabase();
  SectionRow s;
  EXPECT_FALSE(AppendSection(s).isEmpty());
  EXPECT_FALSE(InsertGas({"Газ", 1, 1, 1, 1, 1}).isEmpty());
  EXPECT_TRUE(LoadSections().empty());
  EXPECT_FALSE(LoadAdjustment().has_value());
  models::ReferenceTables t;
  EXPECT_FALSE(LoadReferenceTables(t).isEmpty());
}

}  // namespace
}  // namespace velaron::db::testing
