// The region and gas editors: their list and entry states, the buttons' states, storing by key, refused
// names and numbers, deletion after a question, and the way back to the main window.
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>
#include <QTableWidget>

#include "db/database.h"
#include "message_catcher.h"
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
QLabel* Note(QWidget* w) { return Find<QLabel>(w, "Label6"); }
// The entry state: the entry part shown, the list part and the way back closed; the list state is the reverse.
void ExpectEntryState(QWidget* w, bool entry) {
  EXPECT_EQ(EntryPart(w)->isVisible(), entry);
  EXPECT_EQ(ListPart(w)->isEnabled(), !entry);
  EXPECT_EQ(Back(w)->isEnabled(), !entry);
}

// The stored rows as "name number number ..." lines, in table order.
QStringList Regions() {
  QStringList out;
  for (const auto& r : db::LoadRegions()) out << QStringLiteral("%1 %2 %3").arg(r.Region).arg(r.lambda).arg(r.Kreg);
  return out;
}
QStringList Gases() {
  QStringList out;
  for (const auto& g : db::LoadGases())
    out << QStringLiteral("%1 %2 %3 %4 %5 %6").arg(g.VName).arg(g.m).arg(g.qg).arg(g.a).arg(g.b).arg(g.DangerClass);
  return out;
}

class RegionEditor : public EditorTest {
 protected:
  void AddRegion(const QString& name, double lambda, double kreg) {
    ASSERT_TRUE(data.Exec("INSERT INTO Statistics (Region, lambda, Kreg) VALUES (?, ?, ?)", {name, lambda, kreg}));
  }
};

class GasEditor : public EditorTest {
 protected:
  void AddGas(const QString& name, double m, double qg, int cls) {
    ASSERT_TRUE(data.Exec("INSERT INTO abc (VName, m, qg, a, b, DangerClass) VALUES (?, ?, ?, 0.5, 0.7, ?)",
                          {name, m, qg, cls}));
  }
};

}  // namespace

TEST_F(RegionEditor, FromAnEmptyTableToANewRegionCheckedAndStored) {
  MessageCatcher catcher;
  frmRegion editor(&main);
  SignalCount returned(&editor, &frmRegion::returned);
  SignalCount changed(&editor, &frmRegion::dataChanged);
  editor.show();
  EXPECT_EQ(editor.windowTitle(), "Определение территориальных констант");
  EXPECT_FALSE(Grid(&editor)->isVisible());
  EXPECT_TRUE(Note(&editor)->isVisible());
  EXPECT_EQ(Note(&editor)->text(), "Нет регионов");
  ExpectEnabled(&editor, {{"Command3", true}, {"Command4", false}, {"Command5", false}});
  ExpectEntryState(&editor, false);
  EXPECT_EQ(Back(&editor)->text(), "<<Назад");
  EXPECT_EQ(Grid(&editor)->columnCount(), 3);
  EXPECT_EQ(Grid(&editor)->horizontalHeaderItem(1)->text(), "lambda*");

  // Opening hides the main window; "<<Назад" and the title bar's close both bring it back.
  EXPECT_FALSE(main.isVisible());
  Back(&editor)->trigger();
  EXPECT_TRUE(main.isVisible());
  EXPECT_FALSE(editor.isVisible());
  AddRegion("Урал", 0.2, 1.5);  // stored meanwhile: opening again fills the grid afresh
  editor.show();
  EXPECT_FALSE(main.isVisible());
  EXPECT_TRUE(Grid(&editor)->isVisible());
  EXPECT_FALSE(Note(&editor)->isVisible());
  editor.close();
  EXPECT_TRUE(main.isVisible());
  EXPECT_EQ(returned.count, 2);
  editor.show();

  // "Отмена" leaves the table as it was.
  Button(&editor, "Command3")->click();
  Type(Edit(&editor, "Name_Reg"), "Сибирь");
  Button(&editor, "Command2")->click();
  ExpectEntryState(&editor, false);
  EXPECT_EQ(Count("Statistics"), 1);

  Button(&editor, "Command3")->click();
  ExpectEntryState(&editor, true);
  EXPECT_EQ(static_cast<QGroupBox*>(EntryPart(&editor))->title(), "Территория");
  EXPECT_EQ(Edit(&editor, "Name_Reg")->text(), "");
  EXPECT_EQ(Edit(&editor, "K_reg")->text(), "1");
  EXPECT_EQ(Edit(&editor, "Lamb")->text(), "1,33");
  EXPECT_FALSE(Button(&editor, "Command1")->isEnabled());  // saving waits for a name
  // The title bar does not leave a record half typed: the window stays, the main window stays hidden.
  editor.close();
  EXPECT_TRUE(editor.isVisible());
  EXPECT_FALSE(main.isVisible());

  Type(Edit(&editor, "Name_Reg"), " урал ");  // the stored name in other letters and blanks
  EXPECT_TRUE(Button(&editor, "Command1")->isEnabled());
  Button(&editor, "Command1")->click();
  ASSERT_EQ(catcher.requests.size(), 1u);
  EXPECT_EQ(catcher.requests[0].text, "Регион с таким названием уже есть в базе данных!");
  EXPECT_EQ(catcher.requests[0].title, "Внимание!!!");
  EXPECT_TRUE(EntryPart(&editor)->isVisible());
  Edit(&editor, "Name_Reg")->setText("Сибирь");
  Edit(&editor, "Lamb")->setText("1,2,3");
  Button(&editor, "Command1")->click();
  EXPECT_EQ(catcher.texts().value(1), "Проверте правильность ввода!");
  EXPECT_EQ(Count("Statistics"), 1);

  Edit(&editor, "Lamb")->clear();
  Type(Edit(&editor, "Lamb"), "2.5");
  Button(&editor, "Command1")->click();
  EXPECT_EQ(catcher.requests.size(), 2u) << catcher.texts().join("|").toStdString();
  // Stored as typed (the point read as the decimal comma), and the window is back in its list state.
  EXPECT_EQ(Regions(), (QStringList{"Урал 0.2 1.5", "Сибирь 2.5 1"}));
  ExpectEntryState(&editor, false);
  EXPECT_EQ(Grid(&editor)->findItems("2,5", Qt::MatchExactly).size(), 1);
  EXPECT_EQ(changed.count, 1);
}

TEST_F(RegionEditor, ChangeAndDeleteFindTheRowByItsKeyWhicheverCellIsCurrent) {
  AddRegion("Урал", 0.2, 1.5);
  AddRegion("Сибирь", 0.4, 2);
  MessageCatcher catcher;
  frmRegion editor(&main);
  SignalCount changed(&editor, &frmRegion::dataChanged);
  editor.show();
  QTableWidget* grid = Grid(&editor);
  // The first data row is current after a fill, yet on opening "Изменение" and "Удалить" are off until a
  // cell is picked; a click on that same current cell turns them on; no current row turns them off.
  EXPECT_EQ(grid->currentRow(), 0);
  ExpectEnabled(&editor, {{"Command4", false}, {"Command5", false}});
  emit grid->cellClicked(0, 0);
  ExpectEnabled(&editor, {{"Command4", true}, {"Command5", true}});
  grid->setCurrentCell(-1, -1);
  ExpectEnabled(&editor, {{"Command4", false}, {"Command5", false}});

  // The Kreg cell of the second row: its text "2" is no territory name, yet the row is Сибирь.
  grid->setCurrentCell(1, 2);
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
  EXPECT_EQ(Regions(), (QStringList{"Урал 0.2 1.5", "Западная Сибирь 0.4 3"}));
  EXPECT_EQ(grid->item(grid->currentRow(), 0)->text(), "Западная Сибирь");  // the changed row is current
  // A double click on a data row opens it too.
  emit grid->cellDoubleClicked(0, 1);
  EXPECT_TRUE(EntryPart(&editor)->isVisible());
  EXPECT_EQ(editor.editKey(), "Урал");
  Button(&editor, "Command2")->click();

  // Delete asks first; "No" keeps the row.
  catcher.setAnswer(QMessageBox::No);
  grid->setCurrentCell(1, 1);
  Button(&editor, "Command5")->click();
  ASSERT_EQ(catcher.requests.size(), 2u);
  EXPECT_EQ(catcher.requests[1].text, "Удаленные данные будут утеряны! Продолжить?");
  EXPECT_EQ(catcher.requests[1].title, "В н и м а н и е ! ! !");
  EXPECT_EQ(catcher.requests[1].buttons, QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(Count("Statistics"), 2);
  EXPECT_EQ(changed.count, 1);
  catcher.setAnswer(QMessageBox::Yes);
  Button(&editor, "Command5")->click();
  EXPECT_EQ(Regions(), QStringList{"Урал 0.2 1.5"});
  EXPECT_EQ(changed.count, 2);
  // The last row: the grid gives way to the note.
  grid->setCurrentCell(0, 2);
  Button(&editor, "Command5")->click();
  EXPECT_EQ(Count("Statistics"), 0);
  EXPECT_FALSE(grid->isVisible());
  EXPECT_TRUE(Note(&editor)->isVisible());
  EXPECT_FALSE(Button(&editor, "Command5")->isEnabled());
}

TEST_F(GasEditor, NewShowsZerosAndClassOneThenAZeroMolarMassIsRefusedAndAGoodGasIsStored) {
  MessageCatcher catcher;
  frmGaz editor(&main);
  SignalCount changed(&editor, &frmGaz::dataChanged);
  editor.show();
  EXPECT_EQ(editor.windowTitle(), "Характеристики газов из базы данных (БД)");
  EXPECT_FALSE(Grid(&editor)->isVisible());  // an empty table: no grid and nothing in its place
  EXPECT_EQ(editor.findChild<QLabel*>("Label6"), nullptr);
  EXPECT_EQ(Grid(&editor)->columnCount(), 6);
  Button(&editor, "Command3")->click();
  EXPECT_EQ(static_cast<QGroupBox*>(EntryPart(&editor))->title(), "Ввод параметров газа");
  for (const char* box : {"Text1", "Text3", "Text_a", "Text_b"}) EXPECT_EQ(Edit(&editor, box)->text(), "0") << box;
  // The class is set only by its spin control, from 1 to 4.
  EXPECT_EQ(Edit(&editor, "Text2")->text(), "1");
  EXPECT_FALSE(Edit(&editor, "Text2")->isEnabled());
  auto* spin = Find<QSpinBox>(&editor, "UpDown1");
  for (int i = 0; i < 4; ++i) spin->stepUp();
  EXPECT_EQ(Edit(&editor, "Text2")->text(), "4");  // four steps up from 1 stop at 4
  spin->setValue(0);
  EXPECT_EQ(Edit(&editor, "Text2")->text(), "1");  // and nothing goes below 1

  Type(Edit(&editor, "Name_Reg"), "Этан");
  Button(&editor, "Command1")->click();  // m is still "0"
  ASSERT_EQ(catcher.requests.size(), 1u);
  EXPECT_EQ(catcher.requests[0].text, "Молярная масса должна быть больше нуля!");
  EXPECT_EQ(catcher.requests[0].icon, QMessageBox::Warning);
  EXPECT_EQ(Count("abc"), 0);
  ExpectEntryState(&editor, true);

  Edit(&editor, "Text1")->setText("30,07");
  Edit(&editor, "Text3")->setText("47484");
  Edit(&editor, "Text_a")->setText("0,5");
  Edit(&editor, "Text_b")->setText("0,6");
  spin->setValue(3);
  Button(&editor, "Command1")->click();
  EXPECT_EQ(catcher.requests.size(), 1u);
  EXPECT_EQ(Gases(), QStringList{"Этан 30.07 47484 0.5 0.6 3"});
  EXPECT_EQ(changed.count, 1);
  ExpectEntryState(&editor, false);
}

TEST_F(GasEditor, ChangeAndDeleteActOnTheRowOfTheKeyAndWaitForASelectionAfterAFill) {
  AddGas("Метан", 16.04, 50000, 4);
  AddGas("Пропан", 44.1, 46000, 3);
  // Classes 5 and 6 have flame speeds in the gas-cloud model, though the spin control stops at 4.
  AddGas("Аммиак", 17.03, 18600, 6);
  MessageCatcher catcher(QMessageBox::Yes);
  frmGaz editor(&main);
  editor.show();
  // After a fill no row is current, so there is nothing to change or delete yet.
  EXPECT_LT(Grid(&editor)->currentRow(), 0);
  ExpectEnabled(&editor, {{"Command4", false}, {"Command5", false}});

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
  // A stored class beyond the spin range is kept when other fields change.
  Grid(&editor)->setCurrentCell(2, 0);
  Button(&editor, "Command4")->click();
  EXPECT_EQ(Edit(&editor, "Text2")->text(), "6");
  Edit(&editor, "Text3")->setText("18610");
  Button(&editor, "Command1")->click();
  EXPECT_EQ(catcher.requests.size(), 1u);
  EXPECT_EQ(Gases(), (QStringList{"Метан 16.04 50000 0.5 0.7 4", "Пропан 44.09 46000 0.5 0.7 3",
                                  "Аммиак 17.03 18610 0.5 0.7 6"}));

  // Delete by the heat cell of the first row.
  Grid(&editor)->setCurrentCell(0, 2);
  Button(&editor, "Command5")->click();
  EXPECT_EQ(Count("abc"), 2);
  EXPECT_FALSE(Gases().join(' ').contains("Метан"));
  ExpectEnabled(&editor, {{"Command4", false}, {"Command5", false}});

  // A refill (as on coming back to the window) shows rows stored elsewhere and clears the selection.
  AddGas("Бутан", 58.12, 45700, 4);
  Grid(&editor)->setCurrentCell(0, 0);
  editor.LoadGazGrid();
  EXPECT_EQ(Grid(&editor)->rowCount(), 3);
  EXPECT_FALSE(Button(&editor, "Command4")->isEnabled());
}
