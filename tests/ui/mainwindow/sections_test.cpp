// Route sections of the main window on a temporary database: showing a section writes nothing, a write
// the database refuses is shown and leaves the row as it was.

#include "form_fixture.h"

using namespace velaron;
using velaron::U;
using velaron::test::MainWindowTest;
using velaron::test::TempDatabase;

namespace {
db::SectionRow Row(int tpid) {
  const auto r = db::LoadSection(tpid).value;
  EXPECT_TRUE(r.has_value()) << tpid;
  return r.value_or(db::SectionRow{});
}
}  // namespace

TEST_F(MainWindowTest, ShowingAndSwitchingSectionsWritesNothing) {
  const int before = TempDatabase::changes();
  select(1);
  expectTexts({{"Text1", "2"}, {"Text11", "250,5"}, {"Text9", "100"}, {"Text25", "45"}});
  EXPECT_TRUE(find<QCheckBox>("Check1")->isChecked());
  EXPECT_FALSE(box("P_avto")->isHidden());
  EXPECT_EQ(find<QComboBox>("DataCombo5")->currentText(), U("Скальные"));
  EXPECT_EQ(find<QComboBox>("DataCombo4")->currentText(), U("Граниты"));
  select(2);
  EXPECT_FALSE(find<QCheckBox>("Check1")->isChecked());
  EXPECT_TRUE(find<QCheckBox>("Check2")->isChecked());  // cable line, dpp4
  EXPECT_EQ(find<QComboBox>("DataCombo4")->currentText(), U("Супесь"));
  select(0);
  select(1);
  // Leaving the boxes of a shown section unchanged writes nothing either.
  for (const char* name : {"Text11", "Text9", "Text25"}) EXPECT_TRUE(box(name)->runLeaveCheck());
  EXPECT_EQ(TempDatabase::changes(), before);
  EXPECT_TRUE(messages.requests.empty());
  // The counter does see a write: a changed length is one.
  box("Text11")->setText("251");
  box("Text11")->runLeaveCheck();
  EXPECT_EQ(TempDatabase::changes(), before + 1);
}

TEST_F(MainWindowTest, AFailedWriteIsShownAndLeavesTheRowAsItWas) {
  TempDatabase::exec("CREATE TRIGGER refuse BEFORE UPDATE ON TPs BEGIN SELECT RAISE(ABORT, 'locked'); END");
  box("Text11")->setText("999");
  box("Text11")->runLeaveCheck();
  ASSERT_EQ(messages.requests.size(), 1u);
  EXPECT_EQ(messages.requests[0].icon, QMessageBox::Critical);
  EXPECT_DOUBLE_EQ(Row(1).Length, 100);
  expectTexts({{"Text11", "100"}});  // the window shows what is stored
  find<QCheckBox>("Check1")->click();
  EXPECT_EQ(messages.requests.size(), 2u);
  EXPECT_EQ(Row(1).dpp1, 0);
  EXPECT_FALSE(find<QCheckBox>("Check1")->isChecked());  // the window shows what is stored
  choose("DataCombo5", 0);
  EXPECT_EQ(messages.requests.size(), 3u);
  EXPECT_EQ(Row(1).G1, 2);
  EXPECT_EQ(find<QComboBox>("DataCombo5")->currentText(), U("Дисперсные"));
  EXPECT_EQ(find<QComboBox>("DataCombo4")->currentText(), U("Суглинок"));
  // Once the database takes writes again, the same edit is stored (the window did not think it stored).
  TempDatabase::exec("DROP TRIGGER refuse");
  box("Text11")->setText("999");
  box("Text11")->runLeaveCheck();
  EXPECT_DOUBLE_EQ(Row(1).Length, 999);
}
