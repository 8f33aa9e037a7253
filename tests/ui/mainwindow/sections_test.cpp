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
// The ground levels of a stored section and its code.
std::tuple<int, int, int, int, QString> GroundOf(int tpid) {
  const auto r = Row(tpid);
  return {r.G1, r.G2, r.G3, r.G4, QString(r.Ground)};
}
}  // namespace

TEST_F(MainWindowTest, ShowingAndSwitchingSectionsWritesNothing) {
  const int before = TempDatabase::changes();
  select(1);
  expectTexts({{"Text1", "2"}, {"Text11", "250,5"}, {"Text9", "100"}, {"Text25", "45"}});
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
  expectTexts({{"Text1", "3"}, {"Text11", "49,5"}});
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
  // Section 1 has no crossings. result::Probabilities 0,5, 0,5, 0,2, 0,08 all ticked: the row gets the flags and 1.
  box("P_avto")->setText("0,5");
  box("P_LEP")->setText("0,5");
  for (const char* check : {"Check1", "Check2", "Check3", "Check4"}) find<QCheckBox>(check)->click();
  auto crossings = [](int tpid) {
    const auto r = Row(tpid);
    return std::tuple(r.dpp1, r.dpp2, r.dpp3, r.dpp4);
  };
  EXPECT_EQ(crossings(1), std::tuple(1, 1, 1, 1));
  EXPECT_DOUBLE_EQ(Row(1).p_v, 1);
  find<QCheckBox>("Check1")->click();  // 0,5 + 0,2 + 0,08
  EXPECT_EQ(crossings(1), std::tuple(0, 1, 1, 1));
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
  EXPECT_EQ(crossings(3), std::tuple(0, 0, 0, 1));
}

TEST_F(MainWindowTest, AddingContinuesTheRouteAndSectionTwelveIsNotSectionTwo) {
  window->bAdd_Click();
  auto* list = find<QListWidget>("List1");
  ASSERT_EQ(list->count(), 4);
  EXPECT_EQ(list->item(3)->text(), U("Участок №4"));
  EXPECT_EQ(list->currentRow(), 3);
  // Section 3 starts at 350,5 and is 49,5 long at 90°, with a cable line: the new one starts at 400, takes
  // the length, azimuth and ground, and no crossing.
  const auto row = Row(4);
  EXPECT_DOUBLE_EQ(row.Udal, 400);
  EXPECT_DOUBLE_EQ(row.Length, 49.5);
  EXPECT_DOUBLE_EQ(row.Azimut, 90);
  EXPECT_EQ(row.dpp4, 0);
  EXPECT_DOUBLE_EQ(row.p_v, 0);
  EXPECT_EQ(row.Ground, "2.1.1.1");
  expectTexts({{"Text1", "4"}, {"Text9", "400"}});
  window->Command6_Click();
  EXPECT_EQ(find<QLineEdit>("Text7")->text(), "449,5");  // 100 + 250,5 + 49,5 + 49,5
  // Up to section 12: an edit of it goes to row 12, not row 2.
  for (int i = 0; i < 8; ++i) window->bAdd_Click();
  ASSERT_EQ(list->count(), 12);
  select(11);
  EXPECT_EQ(window->selectedSection(), 12);
  find<QCheckBox>("Check1")->click();
  EXPECT_EQ(Row(12).dpp1, 1);
  EXPECT_EQ(Row(2).dpp1, 1);  // as stored
  EXPECT_EQ(Row(2).dpp4, 0);
}

TEST_F(MainWindowTest, DeletingRenumbersRowsAndItemsAndShowsTheNextSection) {
  select(1);
  messages.setAnswer(QMessageBox::No);
  window->bDelete_Click();
  expectMessage("Удалить данные об участке?", nullptr, QMessageBox::Warning);
  EXPECT_EQ(db::LoadSections().size(), 3u);
  messages.setAnswer(QMessageBox::Yes);
  window->bDelete_Click();
  const auto rows = db::LoadSections();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(std::tuple(rows[0].TPID, rows[0].Length, rows[1].TPID, rows[1].Length),
            std::tuple(1, 100.0, 2, 49.5));  // the former section 3 is now 2
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
  expectMessage("Нельзя удалить информацию о последнем участке!", nullptr, QMessageBox::Information);
  EXPECT_EQ(db::LoadSections().size(), 1u);
}

TEST_F(MainWindowTest, FoldingButtonsHideTheirFramesAndFlipTheSign) {
  window->Command4_Click();
  expectHidden({"Frame8"});
  EXPECT_TRUE(find<QPushButton>("Command4")->text().endsWith("+"));
  window->Command4_Click();
  expectHidden({"Frame8"}, false);
  EXPECT_TRUE(find<QPushButton>("Command4")->text().endsWith("-"));
  window->Command5_Click();
  expectHidden({"Frame7"});
  EXPECT_TRUE(find<QPushButton>("Command5")->text().endsWith("+"));
}

TEST_F(MainWindowTest, GroundChoiceCascadesToTheFirstChildren) {
  // Section 1 is 2.1.1.2 (Дисперсные / Связные / Минеральные / Суглинок); the ids come from the test tree.
  ASSERT_EQ(find<QComboBox>("DataCombo4")->count(), 2);  // Супесь, Суглинок
  choose("DataCombo4", 0);  // level 4 changes only the last part
  EXPECT_EQ(GroundOf(1), std::tuple(2, 4, 7, 11, QString("2.1.1.1")));
  choose("DataCombo5", 0);  // "Скальные" and its first children
  EXPECT_EQ(GroundOf(1), std::tuple(1, 3, 6, 10, QString("1.1.1.1")));
  EXPECT_EQ(find<QComboBox>("DataCombo4")->currentText(), U("Граниты"));
  choose("DataCombo5", 1);  // back to "Дисперсные", then level 2 "Несвязные"
  EXPECT_EQ(Row(1).Ground, "2.1.1.1");
  choose("DataCombo2", 1);
  EXPECT_EQ(GroundOf(1), std::tuple(2, 5, 8, 13, QString("2.2.1.1")));
  EXPECT_EQ(GroundOf(3), std::tuple(2, 4, 7, 11, QString("2.1.1.1")));  // other sections untouched
  // An entry without children clears the levels below: no complete path, the run refuses this section.
  choose("DataCombo5", 2);
  EXPECT_EQ(GroundOf(1), std::tuple(9, 0, 0, 0, QString("")));
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
