// The settings row: its rules, its first-row reading and its writes.
#include <gtest/gtest.h>

#include "db/settings_rules.h"
#include "db_test_util.h"

namespace velaron::db::testing {
namespace {

AdjustmentRow Valid() {
  AdjustmentRow r;
  r.XLimit = 1000;
  r.YLimit = 600;
  r.CStep = 10;
  return r;
}

TEST(CheckSettings, AcceptsAGridWhoseCellsSitOnGridPoints) {
  EXPECT_TRUE(CheckSettings(Valid()).isEmpty());
  AdjustmentRow r = Valid();
  r.XLimit = r.YLimit = 20;  // the smallest: one step each side of the centre
  EXPECT_TRUE(CheckSettings(r).isEmpty());
  r.Dola = 0;
  r.Dola_obl = 1;
  r.Tfb = r.Tobl = 0;  // fractions at both ends, zero times
  EXPECT_TRUE(CheckSettings(r).isEmpty());
}

TEST(CheckSettings, RefusesEachBrokenRule) {
  auto broken = [](auto change) {
    AdjustmentRow r = Valid();
    change(r);
    return CheckSettings(r);
  };
  EXPECT_TRUE(broken([](AdjustmentRow& r) { r.CStep = 0; }).contains(QStringLiteral("Шаг сетки")));
  EXPECT_TRUE(broken([](AdjustmentRow& r) { r.CStep = -5; }).contains(QStringLiteral("Шаг сетки")));
  // 1000 m at a 30 m step: 1000/60 is not whole, the edge would fall between grid points.
  EXPECT_TRUE(broken([](AdjustmentRow& r) { r.CStep = 30; }).contains(QStringLiteral("кратна")));
  EXPECT_TRUE(broken([](AdjustmentRow& r) { r.XLimit = 10; }).contains(QStringLiteral("Ширина зоны расчета")));
  EXPECT_TRUE(broken([](AdjustmentRow& r) { r.YLimit = 1010; }).contains(QStringLiteral("по Y")));
  EXPECT_TRUE(broken([](AdjustmentRow& r) { r.XLimit = 32780; }).contains(QStringLiteral("32767")));
  EXPECT_TRUE(broken([](AdjustmentRow& r) { r.Skor_chel = 0; }).contains(QStringLiteral("Скорость")));
  EXPECT_TRUE(broken([](AdjustmentRow& r) { r.Skor_chel = std::nan(""); }).contains(QStringLiteral("Скорость")));
  EXPECT_TRUE(broken([](AdjustmentRow& r) { r.Dola = 1.01; }).contains(QStringLiteral("ОШ")));
  EXPECT_TRUE(broken([](AdjustmentRow& r) { r.Dola_obl = -0.1; }).contains(QStringLiteral("ГПВС")));
  EXPECT_TRUE(broken([](AdjustmentRow& r) { r.Tfb = -1; }).contains(QStringLiteral("отрицательным")));
  EXPECT_TRUE(broken([](AdjustmentRow& r) { r.Tobl = -1; }).contains(QStringLiteral("облака")));
}

TEST(CheckSettings, GridOfAboutAMillionPoints) {
  AdjustmentRow r = Valid();
  // 10000 m at 10 m: 1001 x 1001 points, the largest accepted.
  r.XLimit = r.YLimit = 10000;
  EXPECT_TRUE(CheckSettings(r).isEmpty());
  // 10020 m: 1003 x 1001 points, more than 1001² -> refused.
  r.XLimit = 10020;
  EXPECT_TRUE(CheckSettings(r).contains(QStringLiteral("Слишком большая сетка")));
  // 32000 x 32000 m at 1 m would be about 10⁹ points.
  r.XLimit = r.YLimit = 32000;
  r.CStep = 1;
  EXPECT_FALSE(CheckSettings(r).isEmpty());
}

using SettingsRow = EmptyDbTest;

TEST_F(SettingsRow, OnlyTheFirstRowIsReadAndWritten) {
  Exec("INSERT INTO Adjustment (XLimit, YLimit, CStep, Tfb, Dola, Tobl, Dola_obl, Skor_chel, Gas, Glubina, Diametr, "
       "DavlDown, DavlUp, Temp, Ltrub, Tsrab, Lkr) VALUES (400, 200, 5, 1, 0.1, 2, 0.2, 3, 1, 0.8, 530, 2, 1, 5, 10, 60, 7)");
  Exec("INSERT INTO Adjustment (XLimit, YLimit, CStep, Skor_chel, Gas) VALUES (9000, 9000, 50, 9, 2)");
  auto row = LoadAdjustment();
  ASSERT_TRUE(row.has_value());
  EXPECT_EQ(row->XLimit, 400);
  EXPECT_EQ(row->CStep, 5);
  EXPECT_EQ(row->Gas, 1);
  EXPECT_DOUBLE_EQ(row->Diametr, 530);

  AdjustmentRow settings = *row;
  settings.XLimit = 800;
  settings.Skor_chel = 4;
  settings.Diametr = 1220;  // not a setting: SaveSettings must not store it
  ASSERT_TRUE(SaveSettings(settings).isEmpty());
  row = LoadAdjustment();
  EXPECT_EQ(row->XLimit, 800);
  EXPECT_DOUBLE_EQ(row->Skor_chel, 4);
  EXPECT_DOUBLE_EQ(row->Diametr, 530);
  // The second row is untouched.
  EXPECT_EQ(Scalar("SELECT XLimit FROM Adjustment ORDER BY rowid LIMIT 1 OFFSET 1").toInt(), 9000);

  AdjustmentRow pipe = *row;
  pipe.Diametr = 1020;
  pipe.Gas = 3;
  pipe.XLimit = 100;  // a setting: SavePipelineInputs must not store it
  ASSERT_TRUE(SavePipelineInputs(pipe).isEmpty());
  row = LoadAdjustment();
  EXPECT_DOUBLE_EQ(row->Diametr, 1020);
  EXPECT_EQ(row->Gas, 3);
  EXPECT_EQ(row->XLimit, 800);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM Adjustment").toInt(), 2);
}

TEST_F(SettingsRow, WholeNumbersAreRoundedHalfToEven) {
  // A stored 150.6 reads as 151 and 10.5 as 10 (half to even), 11.5 as 12.
  Exec("INSERT INTO Adjustment (XLimit, YLimit, CStep, Gas) VALUES (150.6, 11.5, 10.5, 1)");
  const auto row = LoadAdjustment();
  ASSERT_TRUE(row.has_value());
  EXPECT_EQ(row->XLimit, 151);
  EXPECT_EQ(row->YLimit, 12);
  EXPECT_EQ(row->CStep, 10);
}

TEST_F(SettingsRow, BrokenSettingsAreRefusedAndNothingChanges) {
  ASSERT_TRUE(SaveSettings(Valid()).isEmpty());
  AdjustmentRow bad = Valid();
  bad.CStep = 0;
  bad.Tfb = 99;
  const QString error = SaveSettings(bad);
  EXPECT_FALSE(error.isEmpty());
  const auto row = LoadAdjustment();
  EXPECT_EQ(row->CStep, 10);
  EXPECT_DOUBLE_EQ(row->Tfb, Valid().Tfb);
}

TEST_F(SettingsRow, AnEmptyTableGetsItsRow) {
  EXPECT_FALSE(LoadAdjustment().has_value());
  AdjustmentRow r = Valid();
  r.Tobl = 33;
  ASSERT_TRUE(SaveSettings(r).isEmpty());
  const auto row = LoadAdjustment();
  ASSERT_TRUE(row.has_value());
  EXPECT_DOUBLE_EQ(row->Tobl, 33);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM Adjustment").toInt(), 1);
}

TEST_F(SettingsRow, StartTimeKeepsOneRow) {
  Exec("INSERT INTO tab_time (Time_nast) VALUES (NULL)");
  const QDateTime when(QDate(2026, 3, 14), QTime(9, 26, 53));
  ASSERT_TRUE(WriteStartTime(when).isEmpty());
  ASSERT_TRUE(WriteStartTime(when.addSecs(60)).isEmpty());
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM tab_time").toInt(), 1);
  EXPECT_EQ(QDateTime::fromString(Scalar("SELECT Time_nast FROM tab_time").toString(), Qt::ISODate), when.addSecs(60));
}

}  // namespace
}  // namespace velaron::db::testing
