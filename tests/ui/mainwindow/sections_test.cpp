// Route sections of the main window on a temporary database: showing writes nothing, each edit of the
// user writes the shown section's row, adding and deleting keep the numbering, the ground cascade and the
// crossings.
#include <QGroupBox>
#include <QTest>

#include "form_fixture.h"

using namespace velaron;
using velaron::test::MainWindowTest;
using velaron::test::TempDatabase;
using velaron::test::Type;
using velaron::test::U;

namespace {
db::SectionRow Row(int tpid) {
  const auto r = db::LoadSection(tpid);
  EXPECT_TRUE(r.has_value()) << tpid;
  return r.value_or(db::SectionRow{});
}
}  // namespace

TEST_F(MainWindowTest, ShowingAndSwitchingSectionsWritesNothing) {
  const int before = TempDatabase::changes();
  select(1);
  EXPECT_EQ(find<QLineEdit>("Text1")->text(), "2");
  EXPECT_EQ(box("Text11")->text(), "250,5");
  EXPECT_EQ(box("Text9")->text(), "100");
  EXPECT_EQ(box("Text25")->text(), "45");
  EXPECT_TRUE(find<QCheckBox>("Check1")->isChecked());
  EXPECT_EQ(find<QCheckBox>("Check1")->text(), U("пересечение с автодорогами, с вероятностью"));
  EXPECT_FALSE(box("P_avto")->isHidden());
  EXPECT_EQ(find<QComboBox>("DataCombo5")->currentText(), U("Скальные"));
  EXPECT_EQ(find<QComboBox>("DataCombo4")->currentText(), U("Граниты"));
  select(2);
  EXPECT_FALSE(find<QCheckBox>("Check1")->isChecked());
  EXPECT_EQ(find<QCheckBox>("Check1")->text(), U("пересечение с автодорогами"));
  EXPECT_TRUE(find<QCheckBox>("Check2")->isChecked());  // cable line, dpp4
  EXPECT_EQ(find<QComboBox>("DataCombo4")->currentText(), U("Супесь"));
  select(0);
  select(1);
  // Leaving the boxes of a shown section unchanged writes nothing either.
  for (const char* name : {"Text11", "Text9", "Text25"}) EXPECT_TRUE(box(name)->runLeaveCheck());
  EXPECT_EQ(TempDatabase::changes(), before);
  // The stored crossing sum of section 2 stays what it was (0,1), whatever the boxes say.
  EXPECT_DOUBLE_EQ(Row(2).p_v, 0.1);
  EXPECT_TRUE(messages.requests.empty());
  // The counter does see a write: a changed length is one.
  box("Text11")->setText("251");
  box("Text11")->runLeaveCheck();
  EXPECT_EQ(TempDatabase::changes(), before + 1);
}

TEST_F(MainWindowTest, ACtrlClickCannotLeaveTheListWithoutASelectedSection) {
  tabs()->setCurrentIndex(1);
  QApplication::processEvents();
  auto* list = find<QListWidget>("List1");
  const QPoint third = list->visualItemRect(list->item(2)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, third);
  ASSERT_EQ(find<QLineEdit>("Text1")->text(), "3");
  // Ctrl+click on the selected item took the selection away: the boxes then showed section 1 (the rule
  // for no selected item) under a list still marking item 3, and "Удалить" deleted section 1.
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, third);
  QApplication::processEvents();
  ASSERT_EQ(list->selectedItems().size(), 1);
  EXPECT_EQ(list->selectedItems()[0]->text(), U("Участок №3"));
  EXPECT_EQ(window->selectedSection(), 3);
  EXPECT_EQ(find<QLineEdit>("Text1")->text(), "3");
  EXPECT_EQ(box("Text11")->text(), "49,5");
  messages.setAnswer(QMessageBox::Yes);
  window->bDelete_Click();
  const auto rows = db::LoadSections();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_DOUBLE_EQ(rows[0].Length, 100);  // section 1 kept, section 3 deleted
  EXPECT_DOUBLE_EQ(rows[1].Length, 250.5);
}

TEST_F(MainWindowTest, EditsWriteTheShownSectionAtOnce) {
  select(2);
  box("Text11")->setText("1.5");
  EXPECT_TRUE(box("Text11")->runLeaveCheck());
  EXPECT_EQ(box("Text11")->text(), "1,5");
  EXPECT_DOUBLE_EQ(Row(3).Length, 1.5);
  box("Text9")->setText("77,25");
  box("Text9")->runLeaveCheck();
  EXPECT_DOUBLE_EQ(Row(3).Udal, 77.25);
  // The azimuth is written as it is typed.
  box("Text25")->setFocus();
  box("Text25")->selectAll();
  Type(box("Text25"), "135");
  EXPECT_DOUBLE_EQ(Row(3).Azimut, 135);
  // A bad text writes nothing and keeps its message.
  box("Text11")->setText("x");
  EXPECT_FALSE(box("Text11")->runLeaveCheck());
  EXPECT_DOUBLE_EQ(Row(3).Length, 1.5);
  box("Text25")->setText("");
  EXPECT_FALSE(box("Text25")->runLeaveCheck());
  EXPECT_EQ(messages.requests.size(), 2u);
  // Other sections are untouched.
  EXPECT_DOUBLE_EQ(Row(1).Length, 100);
  EXPECT_DOUBLE_EQ(Row(2).Azimut, 45);
}

TEST_F(MainWindowTest, CrossingsStoreTheirFlagsAndTheCappedSum) {
  // Section 1 has no crossings. Ticking the cable line (0,08), then the power line (0,05).
  find<QCheckBox>("Check2")->click();
  EXPECT_EQ(Row(1).dpp4, 1);
  EXPECT_DOUBLE_EQ(Row(1).p_v, 0.08);
  find<QCheckBox>("Check4")->click();
  EXPECT_EQ(Row(1).dpp2, 1);
  EXPECT_NEAR(Row(1).p_v, 0.13, 1e-12);
  // Probabilities 0,5, 0,5, 0,2, 0,08 all ticked: the row gets 1.
  box("P_avto")->setText("0,5");
  box("P_LEP")->setText("0,5");
  find<QCheckBox>("Check1")->click();
  find<QCheckBox>("Check3")->click();
  EXPECT_DOUBLE_EQ(Row(1).p_v, 1);
  find<QCheckBox>("Check1")->click();  // 0,5 + 0,2 + 0,08
  EXPECT_EQ(Row(1).dpp1, 0);
  EXPECT_NEAR(Row(1).p_v, 0.78, 1e-12);
  // Typing in a probability box stores the new sum: the road's "0,1" becoming "0,3" counts once ticked.
  find<QCheckBox>("Check3")->click();
  find<QCheckBox>("Check4")->click();
  find<QCheckBox>("Check1")->click();  // road 0,5 + cable 0,08
  box("P_avto")->setText("0,1");
  box("P_avto")->setFocus();
  box("P_avto")->end(false);
  box("P_avto")->backspace();
  Type(box("P_avto"), "3");
  EXPECT_EQ(box("P_avto")->text(), "0,3");
  EXPECT_NEAR(Row(1).p_v, 0.38, 1e-12);
  // Other sections keep theirs.
  EXPECT_DOUBLE_EQ(Row(2).p_v, 0.1);
  EXPECT_EQ(Row(3).dpp1, 0);
}

TEST_F(MainWindowTest, SectionTwelveIsNotSectionTwo) {
  for (int i = 0; i < 9; ++i) window->bAdd_Click();
  ASSERT_EQ(find<QListWidget>("List1")->count(), 12);
  select(11);
  EXPECT_EQ(window->selectedSection(), 12);
  find<QCheckBox>("Check1")->click();
  EXPECT_EQ(Row(12).dpp1, 1);
  EXPECT_EQ(Row(2).dpp1, 1);  // as stored
  EXPECT_EQ(Row(2).dpp4, 0);
}

TEST_F(MainWindowTest, AddingAppendsTheNextNumberAndShowsIt) {
  window->bAdd_Click();
  auto* list = find<QListWidget>("List1");
  ASSERT_EQ(list->count(), 4);
  EXPECT_EQ(list->item(3)->text(), U("Участок №4"));
  EXPECT_EQ(list->currentRow(), 3);
  const auto row = Row(4);
  EXPECT_DOUBLE_EQ(row.Udal, 400);  // section 3 starts at 350,5 and is 49,5 long
  EXPECT_EQ(row.Ground, "2.1.1.1");
  EXPECT_EQ(find<QLineEdit>("Text1")->text(), "4");
  EXPECT_EQ(box("Text9")->text(), "400");
}

TEST_F(MainWindowTest, DeletingRenumbersRowsAndItemsAndShowsTheNextSection) {
  select(1);
  messages.setAnswer(QMessageBox::No);
  window->bDelete_Click();
  ASSERT_EQ(messages.requests.size(), 1u);
  EXPECT_EQ(messages.requests[0].text, U("Удалить данные об участке?"));
  EXPECT_EQ(messages.requests[0].icon, QMessageBox::Warning);
  EXPECT_EQ(db::LoadSections().size(), 3u);
  messages.setAnswer(QMessageBox::Yes);
  window->bDelete_Click();
  const auto rows = db::LoadSections();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].TPID, 1);
  EXPECT_DOUBLE_EQ(rows[0].Length, 100);
  EXPECT_EQ(rows[1].TPID, 2);
  EXPECT_DOUBLE_EQ(rows[1].Length, 49.5);  // the former section 3
  auto* list = find<QListWidget>("List1");
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->item(1)->text(), U("Участок №2"));
  EXPECT_EQ(list->currentRow(), 1);
  EXPECT_EQ(box("Text11")->text(), "49,5");
  // Deleting the last section renumbers nothing; the new last one is shown.
  window->bDelete_Click();
  ASSERT_EQ(db::LoadSections().size(), 1u);
  EXPECT_EQ(find<QLineEdit>("Text1")->text(), "1");
  // The only section cannot be deleted.
  messages.requests.clear();
  window->bDelete_Click();
  ASSERT_EQ(messages.requests.size(), 1u);
  EXPECT_EQ(messages.requests[0].text, U("Нельзя удалить информацию о последнем участке!"));
  EXPECT_EQ(messages.requests[0].icon, QMessageBox::Information);
  EXPECT_EQ(db::LoadSections().size(), 1u);
}

TEST_F(MainWindowTest, TotalLengthOfAllSections) {
  window->Command6_Click();
  EXPECT_EQ(find<QLineEdit>("Text7")->text(), "400");  // 100 + 250,5 + 49,5
}

TEST_F(MainWindowTest, FoldingButtonsHideTheirFramesAndFlipTheSign) {
  auto* ground = find<QPushButton>("Command4");
  window->Command4_Click();
  EXPECT_TRUE(find<QGroupBox>("Frame8")->isHidden());
  EXPECT_TRUE(ground->text().endsWith("+"));
  window->Command4_Click();
  EXPECT_FALSE(find<QGroupBox>("Frame8")->isHidden());
  EXPECT_TRUE(ground->text().endsWith("-"));
  window->Command5_Click();
  EXPECT_TRUE(find<QGroupBox>("Frame7")->isHidden());
  EXPECT_TRUE(find<QPushButton>("Command5")->text().endsWith("+"));
}

TEST_F(MainWindowTest, GroundChoiceCascadesToTheFirstChildren) {
  // Section 1 is 2.1.1.2 (Дисперсные / Связные / Минеральные / Суглинок). Level 1 "Скальные":
  choose("DataCombo5", 0);
  auto row = Row(1);
  EXPECT_EQ(row.G1, 1);
  EXPECT_EQ(row.G2, 3);
  EXPECT_EQ(row.G3, 6);
  EXPECT_EQ(row.G4, 10);
  EXPECT_EQ(row.Ground, "1.1.1.1");
  EXPECT_EQ(find<QComboBox>("DataCombo4")->currentText(), U("Граниты"));
  // Back to "Дисперсные", then level 2 "Несвязные": 2.2.1.1.
  choose("DataCombo5", 1);
  EXPECT_EQ(Row(1).Ground, "2.1.1.1");
  choose("DataCombo2", 1);
  row = Row(1);
  EXPECT_EQ(row.G2, 5);
  EXPECT_EQ(row.G3, 8);
  EXPECT_EQ(row.G4, 13);
  EXPECT_EQ(row.Ground, "2.2.1.1");
  // Other sections untouched.
  EXPECT_EQ(Row(3).Ground, "2.1.1.1");
  EXPECT_EQ(Row(3).G2, 4);
}

TEST_F(MainWindowTest, LevelFourChangesOnlyTheLastPart) {
  ASSERT_EQ(find<QComboBox>("DataCombo4")->count(), 2);  // Супесь, Суглинок
  choose("DataCombo4", 0);
  const auto row = Row(1);
  EXPECT_EQ(row.G1, 2);
  EXPECT_EQ(row.G3, 7);
  EXPECT_EQ(row.G4, 11);
  EXPECT_EQ(row.Ground, "2.1.1.1");
}

TEST_F(MainWindowTest, AnEntryWithoutChildrenClearsTheLevelsBelow) {
  choose("DataCombo5", 2);  // "Пустой": no children
  const auto row = Row(1);
  EXPECT_EQ(row.G1, 9);
  EXPECT_EQ(row.G2, 0);
  EXPECT_EQ(row.G3, 0);
  EXPECT_EQ(row.G4, 0);
  EXPECT_EQ(row.Ground, "");  // no complete path: the run refuses this section
  EXPECT_EQ(find<QComboBox>("DataCombo2")->count(), 0);
  EXPECT_EQ(find<QComboBox>("DataCombo4")->count(), 0);
}

TEST_F(MainWindowTest, AFailedWriteIsShownAndLeavesTheRowAsItWas) {
  TempDatabase::exec("CREATE TRIGGER refuse BEFORE UPDATE ON TPs BEGIN SELECT RAISE(ABORT, 'locked'); END");
  box("Text11")->setText("999");
  box("Text11")->runLeaveCheck();
  ASSERT_EQ(messages.requests.size(), 1u);
  EXPECT_EQ(messages.requests[0].icon, QMessageBox::Critical);
  EXPECT_DOUBLE_EQ(Row(1).Length, 100);
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
  box("Text11")->runLeaveCheck();
  EXPECT_DOUBLE_EQ(Row(1).Length, 999);
}
