// The region and gas editors: their list and entry states, the buttons' states, storing by key, refused
// names and numbers, deletion after a question, and the way back to the main window.
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QSpinBox>
#include <QTableWidget>
#include <gtest/gtest.h>

#include "db/database.h"
#include "message_catcher.h"
#include "output/scratch_db.h"
#include "refdata/frm_gaz.h"
#include "refdata/frm_region.h"
#include "refdata_helpers.h"

using namespace velaron;
using namespace velaron::test;
using velaron::ui::frmGaz;
using velaron::ui::frmRegion;

namespace {

QTableWidget* Grid(QWidget* w) { return Find<QTableWidget>(w, "Tabl_Program"); }
QAction* Back(QWidget* w) { return Find<QAction>(w, "mnuReturn"); }
QWidget* ListPart(QWidget* w) { return Find(w, "Frame2"); }
QWidget* EntryPart(QWidget* w) { return Find(w, "Frame1"); }

int Count(ScratchDatabase& data, const char* table) {
  return data.Scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)).toInt();
}

class RegionEditor : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(data.error().isEmpty()) << data.error().toStdString(); }
  void AddRegion(const QString& name, double lambda, double kreg) {
    ASSERT_TRUE(data.Exec("INSERT INTO Statistics (Region, lambda, Kreg) VALUES (?, ?, ?)", {name, lambda, kreg}));
  }
  ScratchDatabase data;
  MainStandIn main;
};

}  // namespace

TEST_F(RegionEditor, AnEmptyTableShowsTheNoteAndOffersOnlyNew) {
  frmRegion editor(&main);
  editor.show();
  EXPECT_EQ(editor.windowTitle(), "Определение территориальных констант");
  EXPECT_FALSE(Grid(&editor)->isVisible());
  EXPECT_TRUE(Find<QLabel>(&editor, "Label6")->isVisible());
  EXPECT_EQ(Find<QLabel>(&editor, "Label6")->text(), "Нет регионов");
  EXPECT_TRUE(Button(&editor, "Command3")->isEnabled());
  EXPECT_FALSE(Button(&editor, "Command4")->isEnabled());
  EXPECT_FALSE(Button(&editor, "Command5")->isEnabled());
  EXPECT_FALSE(EntryPart(&editor)->isVisible());
  EXPECT_TRUE(Back(&editor)->isEnabled());
  EXPECT_EQ(Back(&editor)->text(), "<<Назад");
  // The grid's layout: three columns, the name first.
  EXPECT_EQ(Grid(&editor)->columnCount(), 3);
  EXPECT_EQ(Grid(&editor)->horizontalHeaderItem(1)->text(), "lambda*");
}

TEST_F(RegionEditor, OpeningHidesTheMainWindowAndBackShowsItAgain) {
  AddRegion("Урал", 0.2, 1.5);
  frmRegion editor(&main);
  SignalCount returned(&editor, &frmRegion::returned);
  editor.show();
  EXPECT_FALSE(main.isVisible());
  Back(&editor)->trigger();
  EXPECT_TRUE(main.isVisible());
  EXPECT_FALSE(editor.isVisible());
  EXPECT_EQ(returned.count, 1);

  // Closing by the title bar is the same as "<<Назад".
  editor.show();
  EXPECT_FALSE(main.isVisible());
  editor.close();
  EXPECT_TRUE(main.isVisible());
  EXPECT_EQ(returned.count, 2);
}

TEST_F(RegionEditor, NewShowsTheDefaultsAndSavingWaitsForAName) {
  MessageCatcher catcher;
  frmRegion editor(&main);
  SignalCount changed(&editor, &frmRegion::dataChanged);
  editor.show();
  Button(&editor, "Command3")->click();
  EXPECT_TRUE(EntryPart(&editor)->isVisible());
  EXPECT_EQ(static_cast<QGroupBox*>(EntryPart(&editor))->title(), "Территория");
  EXPECT_FALSE(ListPart(&editor)->isEnabled());
  EXPECT_FALSE(Back(&editor)->isEnabled());
  EXPECT_EQ(Edit(&editor, "Name_Reg")->text(), "");
  EXPECT_EQ(Edit(&editor, "K_reg")->text(), "1");
  EXPECT_EQ(Edit(&editor, "Lamb")->text(), "1,33");
  EXPECT_FALSE(Button(&editor, "Command1")->isEnabled());

  // The title bar does not leave a record half typed: the window stays, the main window stays hidden.
  editor.close();
  EXPECT_TRUE(editor.isVisible());
  EXPECT_FALSE(main.isVisible());

  Type(Edit(&editor, "Name_Reg"), "Урал");
  EXPECT_TRUE(Button(&editor, "Command1")->isEnabled());
  Edit(&editor, "Lamb")->clear();
  Type(Edit(&editor, "Lamb"), "2.5");
  Button(&editor, "Command1")->click();
  EXPECT_TRUE(catcher.requests.empty()) << catcher.texts().join("|").toStdString();

  // Stored as typed (the point read as the decimal comma), and the window is back in its list state.
  const auto regions = db::LoadRegions();
  ASSERT_EQ(regions.size(), 1u);
  EXPECT_EQ(regions[0].Region, "Урал");
  EXPECT_DOUBLE_EQ(regions[0].lambda, 2.5);
  EXPECT_DOUBLE_EQ(regions[0].Kreg, 1.0);
  EXPECT_FALSE(EntryPart(&editor)->isVisible());
  EXPECT_TRUE(ListPart(&editor)->isEnabled());
  EXPECT_TRUE(Back(&editor)->isEnabled());
  EXPECT_TRUE(Grid(&editor)->isVisible());
  EXPECT_EQ(Grid(&editor)->item(0, 1)->text(), "2,5");
  EXPECT_EQ(changed.count, 1);
}

TEST_F(RegionEditor, ADuplicateNameOrABadNumberIsRefusedAndNothingIsStored) {
  AddRegion("Урал", 0.2, 1.5);
  MessageCatcher catcher;
  frmRegion editor(&main);
  editor.show();
  Button(&editor, "Command3")->click();
  Type(Edit(&editor, "Name_Reg"), " урал ");  // the same name in other letters and blanks
  Button(&editor, "Command1")->click();
  ASSERT_EQ(catcher.requests.size(), 1u);
  EXPECT_EQ(catcher.requests[0].text, "Регион с таким названием уже есть в базе данных!");
  EXPECT_EQ(catcher.requests[0].title, "Внимание!!!");
  EXPECT_EQ(Count(data, "Statistics"), 1);
  EXPECT_TRUE(EntryPart(&editor)->isVisible());

  Edit(&editor, "Name_Reg")->setText("Сибирь");
  Edit(&editor, "Lamb")->setText("1,2,3");
  Button(&editor, "Command1")->click();
  ASSERT_EQ(catcher.requests.size(), 2u);
  EXPECT_EQ(catcher.requests[1].text, "Проверте правильность ввода!");
  EXPECT_EQ(Count(data, "Statistics"), 1);

  // "Отмена" leaves the table as it was.
  Button(&editor, "Command2")->click();
  EXPECT_FALSE(EntryPart(&editor)->isVisible());
  EXPECT_EQ(Count(data, "Statistics"), 1);
}

TEST_F(RegionEditor, ChangeFindsTheRowByItsKeyWhicheverCellIsCurrent) {
  AddRegion("Урал", 0.2, 1.5);
  AddRegion("Сибирь", 0.4, 2);
  MessageCatcher catcher;
  frmRegion editor(&main);
  editor.show();
  QTableWidget* grid = Grid(&editor);
  // The first data row is current after a fill, yet on opening "Изменение" and "Удалить" are off until a
  // cell is picked; a click on that same current cell turns them on.
  EXPECT_EQ(grid->currentRow(), 0);
  EXPECT_FALSE(Button(&editor, "Command4")->isEnabled());
  EXPECT_FALSE(Button(&editor, "Command5")->isEnabled());
  emit grid->cellClicked(0, 0);
  EXPECT_TRUE(Button(&editor, "Command4")->isEnabled());
  EXPECT_TRUE(Button(&editor, "Command5")->isEnabled());
  // No current row: nothing to change or delete.
  grid->setCurrentCell(-1, -1);
  EXPECT_FALSE(Button(&editor, "Command4")->isEnabled());
  EXPECT_FALSE(Button(&editor, "Command5")->isEnabled());

  // The Kreg cell of the second row: its text "2" is no territory name, yet the row is Сибирь.
  grid->setCurrentCell(1, 2);
  EXPECT_TRUE(Button(&editor, "Command4")->isEnabled());
  Button(&editor, "Command4")->click();
  EXPECT_EQ(editor.editKey(), "Сибирь");
  EXPECT_EQ(Edit(&editor, "Name_Reg")->text(), "Сибирь");
  EXPECT_EQ(Edit(&editor, "Lamb")->text(), "0,4");
  EXPECT_EQ(Edit(&editor, "K_reg")->text(), "2");
  EXPECT_TRUE(Button(&editor, "Command1")->isEnabled());

  // Renaming onto the other row's name is refused; its own name is not a duplicate.
  Edit(&editor, "Name_Reg")->setText("Урал");
  Button(&editor, "Command1")->click();
  EXPECT_EQ(catcher.texts(), QStringList{"Регион с таким названием уже есть в базе данных!"});
  Edit(&editor, "Name_Reg")->setText("Западная Сибирь");
  Edit(&editor, "K_reg")->setText("3");
  Button(&editor, "Command1")->click();
  EXPECT_EQ(catcher.requests.size(), 1u);
  const auto regions = db::LoadRegions();
  ASSERT_EQ(regions.size(), 2u);
  EXPECT_EQ(regions[0].Region, "Урал");
  EXPECT_DOUBLE_EQ(regions[0].Kreg, 1.5);
  EXPECT_EQ(regions[1].Region, "Западная Сибирь");
  EXPECT_DOUBLE_EQ(regions[1].Kreg, 3);
  EXPECT_DOUBLE_EQ(regions[1].lambda, 0.4);
  // The changed row is the current one afterwards.
  EXPECT_EQ(grid->item(grid->currentRow(), 0)->text(), "Западная Сибирь");

  // A double click on a data row opens it too.
  emit grid->cellDoubleClicked(0, 1);
  EXPECT_TRUE(EntryPart(&editor)->isVisible());
  EXPECT_EQ(editor.editKey(), "Урал");
}

TEST_F(RegionEditor, DeleteAsksFirstAndRemovesTheRowOfTheKey) {
  AddRegion("Урал", 0.2, 1.5);
  AddRegion("Сибирь", 0.4, 2);
  MessageCatcher catcher(QMessageBox::No);
  frmRegion editor(&main);
  SignalCount changed(&editor, &frmRegion::dataChanged);
  editor.show();
  Grid(&editor)->setCurrentCell(1, 1);
  Button(&editor, "Command5")->click();
  ASSERT_EQ(catcher.requests.size(), 1u);
  EXPECT_EQ(catcher.requests[0].text, "Удаленные данные будут утеряны! Продолжить?");
  EXPECT_EQ(catcher.requests[0].title, "В н и м а н и е ! ! !");
  EXPECT_EQ(catcher.requests[0].buttons, QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(Count(data, "Statistics"), 2);
  EXPECT_EQ(changed.count, 0);

  catcher.setAnswer(QMessageBox::Yes);
  Button(&editor, "Command5")->click();
  auto regions = db::LoadRegions();
  ASSERT_EQ(regions.size(), 1u);
  EXPECT_EQ(regions[0].Region, "Урал");
  EXPECT_EQ(changed.count, 1);

  // The last row: the grid gives way to the note.
  Grid(&editor)->setCurrentCell(0, 2);
  Button(&editor, "Command5")->click();
  EXPECT_EQ(Count(data, "Statistics"), 0);
  EXPECT_FALSE(Grid(&editor)->isVisible());
  EXPECT_TRUE(Find<QLabel>(&editor, "Label6")->isVisible());
  EXPECT_FALSE(Button(&editor, "Command5")->isEnabled());
}

namespace {

class GasEditor : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(data.error().isEmpty()) << data.error().toStdString(); }
  void AddGas(const QString& name, double m, double qg, int cls) {
    ASSERT_TRUE(data.Exec("INSERT INTO abc (VName, m, qg, a, b, DangerClass) VALUES (?, ?, ?, 0.5, 0.7, ?)",
                          {name, m, qg, cls}));
  }
  ScratchDatabase data;
  MainStandIn main;
};

}  // namespace

TEST_F(GasEditor, NewShowsZerosAndClassOneAndTheClassIsSetOnlyByItsSpinControl) {
  frmGaz editor(&main);
  editor.show();
  EXPECT_EQ(editor.windowTitle(), "Характеристики газов из базы данных (БД)");
  EXPECT_FALSE(Grid(&editor)->isVisible());  // an empty table: no grid and nothing in its place
  EXPECT_EQ(editor.findChild<QLabel*>("Label6"), nullptr);
  EXPECT_EQ(Grid(&editor)->columnCount(), 6);
  Button(&editor, "Command3")->click();
  EXPECT_EQ(static_cast<QGroupBox*>(EntryPart(&editor))->title(), "Ввод параметров газа");
  for (const char* box : {"Text1", "Text3", "Text_a", "Text_b"}) EXPECT_EQ(Edit(&editor, box)->text(), "0") << box;
  EXPECT_EQ(Edit(&editor, "Text2")->text(), "1");
  EXPECT_FALSE(Edit(&editor, "Text2")->isEnabled());
  auto* spin = Find<QSpinBox>(&editor, "UpDown1");
  EXPECT_EQ(spin->minimum(), 1);
  EXPECT_EQ(spin->maximum(), 4);
  spin->stepUp();
  spin->stepUp();
  EXPECT_EQ(Edit(&editor, "Text2")->text(), "3");
  spin->stepUp();
  spin->stepUp();
  EXPECT_EQ(Edit(&editor, "Text2")->text(), "4");  // never above 4
}

TEST_F(GasEditor, AMolarMassOfZeroIsRefusedAndAGoodGasIsStored) {
  MessageCatcher catcher;
  frmGaz editor(&main);
  SignalCount changed(&editor, &frmGaz::dataChanged);
  editor.show();
  Button(&editor, "Command3")->click();
  Type(Edit(&editor, "Name_Reg"), "Этан");
  Button(&editor, "Command1")->click();  // m is still "0"
  ASSERT_EQ(catcher.requests.size(), 1u);
  EXPECT_EQ(catcher.requests[0].text, "Молярная масса должна быть больше нуля!");
  EXPECT_EQ(catcher.requests[0].icon, QMessageBox::Warning);
  EXPECT_EQ(Count(data, "abc"), 0);
  EXPECT_TRUE(EntryPart(&editor)->isVisible());

  Edit(&editor, "Text1")->setText("30,07");
  Edit(&editor, "Text3")->setText("47484");
  Edit(&editor, "Text_a")->setText("0,5");
  Edit(&editor, "Text_b")->setText("0,6");
  Find<QSpinBox>(&editor, "UpDown1")->setValue(4);
  Button(&editor, "Command1")->click();
  EXPECT_EQ(catcher.requests.size(), 1u);
  const auto gases = db::LoadGases();
  ASSERT_EQ(gases.size(), 1u);
  EXPECT_EQ(gases[0].VName, "Этан");
  EXPECT_DOUBLE_EQ(gases[0].m, 30.07);
  EXPECT_DOUBLE_EQ(gases[0].qg, 47484);
  EXPECT_DOUBLE_EQ(gases[0].a, 0.5);
  EXPECT_DOUBLE_EQ(gases[0].b, 0.6);
  EXPECT_EQ(gases[0].DangerClass, 4);
  EXPECT_EQ(changed.count, 1);
  EXPECT_FALSE(EntryPart(&editor)->isVisible());
}

TEST_F(GasEditor, ChangeAndDeleteActOnTheRowOfTheKeyAndWaitForASelectionAfterAFill) {
  AddGas("Метан", 16.04, 50000, 4);
  AddGas("Пропан", 44.1, 46000, 3);
  MessageCatcher catcher(QMessageBox::Yes);
  frmGaz editor(&main);
  editor.show();
  // After a fill no row is current, so there is nothing to change or delete yet.
  EXPECT_LT(Grid(&editor)->currentRow(), 0);
  EXPECT_FALSE(Button(&editor, "Command4")->isEnabled());
  EXPECT_FALSE(Button(&editor, "Command5")->isEnabled());

  // The molar-mass cell of the second row opens Пропан.
  Grid(&editor)->setCurrentCell(1, 1);
  Button(&editor, "Command4")->click();
  EXPECT_EQ(editor.editKey(), "Пропан");
  EXPECT_EQ(Edit(&editor, "Text1")->text(), "44,1");
  EXPECT_EQ(Edit(&editor, "Text2")->text(), "3");
  EXPECT_EQ(Find<QSpinBox>(&editor, "UpDown1")->value(), 3);
  Edit(&editor, "Text1")->setText("-1");
  Button(&editor, "Command1")->click();  // a negative molar mass is refused as well
  EXPECT_EQ(catcher.texts(), QStringList{"Молярная масса должна быть больше нуля!"});
  Edit(&editor, "Text1")->setText("44,09");
  Button(&editor, "Command1")->click();
  auto gases = db::LoadGases();
  ASSERT_EQ(gases.size(), 2u);
  EXPECT_DOUBLE_EQ(gases[0].m, 16.04);
  EXPECT_DOUBLE_EQ(gases[1].m, 44.09);

  // Delete by the heat cell of the first row.
  Grid(&editor)->setCurrentCell(0, 2);
  Button(&editor, "Command5")->click();
  gases = db::LoadGases();
  ASSERT_EQ(gases.size(), 1u);
  EXPECT_EQ(gases[0].VName, "Пропан");
  EXPECT_FALSE(Button(&editor, "Command4")->isEnabled());
  EXPECT_FALSE(Button(&editor, "Command5")->isEnabled());

  // A refill (as on coming back to the window) shows rows stored elsewhere and clears the selection.
  AddGas("Бутан", 58.12, 45700, 4);
  Grid(&editor)->setCurrentCell(0, 0);
  editor.LoadGazGrid();
  EXPECT_EQ(Grid(&editor)->rowCount(), 2);
  EXPECT_FALSE(Button(&editor, "Command4")->isEnabled());
}

TEST_F(GasEditor, AStoredClassBeyondTheSpinRangeIsKeptWhenOtherFieldsChange) {
  // Classes 5 and 6 have flame speeds in the gas-cloud model, though the spin control stops at 4.
  AddGas("Аммиак", 17.03, 18600, 6);
  MessageCatcher catcher;
  frmGaz editor(&main);
  editor.show();
  Grid(&editor)->setCurrentCell(0, 0);
  Button(&editor, "Command4")->click();
  EXPECT_EQ(Edit(&editor, "Text2")->text(), "6");
  Edit(&editor, "Text3")->setText("18610");
  Button(&editor, "Command1")->click();
  EXPECT_TRUE(catcher.requests.empty());
  const auto gases = db::LoadGases();
  ASSERT_EQ(gases.size(), 1u);
  EXPECT_EQ(gases[0].DangerClass, 6);
  EXPECT_DOUBLE_EQ(gases[0].qg, 18610);
}
