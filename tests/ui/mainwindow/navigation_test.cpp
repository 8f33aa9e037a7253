// The main window's lists after the reference editors, and the way to the editors and back.
#include <QAction>
#include <QMetaObject>
#include <QComboBox>
#include <QKeyEvent>
#include <QTest>

#include "form_fixture.h"

using namespace velaron;
using velaron::test::MainWindowTest;
using velaron::test::TempDatabase;
using velaron::test::U;

TEST_F(MainWindowTest, ListsReloadedAfterAnEditorKeepTheChoicesByNameAndDropDeletedOnes) {
  TempDatabase::exec(U("INSERT INTO abc VALUES ('Бутан', 58.12, 45700, 20, 0.2, 3)"));
  window->reloadReferenceLists();
  choose("DataCombo1", 1);  // Пропан, position 2
  choose("DataCombo6", 1);  // Юг, position 2
  // An editor removed the first row of both tables: the same names now stand first.
  TempDatabase::exec(U("DELETE FROM abc WHERE VName = 'Метан'"));
  TempDatabase::exec(U("DELETE FROM Statistics WHERE Region = 'Север'"));
  window->reloadReferenceLists();
  EXPECT_EQ(find<QComboBox>("DataCombo1")->currentText(), U("Пропан"));
  EXPECT_EQ(window->Gas(), 1);
  EXPECT_EQ(find<QComboBox>("DataCombo6")->currentText(), U("Юг"));
  EXPECT_EQ(window->RegionPos(), 1);
  // A chosen region that was deleted is no longer chosen: the run asks for a region again.
  TempDatabase::exec(U("DELETE FROM Statistics WHERE Region = 'Юг'"));
  window->reloadReferenceLists();
  EXPECT_EQ(window->RegionPos(), -1);
  window->Command1_Click();
  expectMessage("Необходимо выбрать регион!");
  // The editor deletes Пропан: Бутан moves up to its position 1. Before, the window kept the position with
  // an empty gas list, and "Сохранить данные" stored Бутан, a gas the user never chose.
  TempDatabase::exec(U("DELETE FROM abc WHERE VName = 'Пропан'"));
  window->reloadReferenceLists();
  EXPECT_EQ(find<QComboBox>("DataCombo1")->currentText(), "");
  EXPECT_EQ(window->Gas(), -1);
  window->cmdSave_Click();
  EXPECT_EQ(db::LoadAdjustment()->Gas, -1);
}

TEST_F(MainWindowTest, StoredGasOutsideTheTableLeavesTheGasListEmpty) {
  TempDatabase::exec("UPDATE Adjustment SET Gas = -1");
  ui::Form1 second;
  second.setRunDialogOpener([this](ui::Form1&, const result::RunRequest&) { ++opened; });
  second.show();
  EXPECT_EQ(second.Gas(), -1);
  EXPECT_EQ(second.findChild<QComboBox*>("DataCombo1")->currentText(), "");
  second.Command1_Click();
  expectMessage("Выберите вид газа!");
  EXPECT_EQ(opened, 0);
}

TEST_F(MainWindowTest, GasEditorHidesTheWindowAndItsReturnShowsItAgain) {
  QAction* gas = find<QAction>("mnuGaz");
  if (!gas->isEnabled()) GTEST_SKIP() << "the reference editors are not built";
  gas->trigger();
  EXPECT_FALSE(window->isVisible());
  QWidget* editor = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == "frmGaz" && w->isVisible()) editor = w;
  ASSERT_NE(editor, nullptr);
  ASSERT_TRUE(QMetaObject::invokeMethod(editor, "mnuReturn_Click"));
  EXPECT_TRUE(window->isVisible());
  // Back from the editor the first activation is not repeated.
  EXPECT_EQ(find<QListWidget>("List1")->count(), 3);
}

namespace {
// A key pressed with the focus in `w`, as from the keyboard: the window's shortcuts are tried first, and
// keys the control leaves unused travel up to the window.
void Press(QWidget* w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(w, key, mods); }
}  // namespace

TEST_F(MainWindowTest, EnterAndEscapePressTheRunButtonUnlessAListOrAButtonTakesThem) {
  choose("DataCombo6", 0);
  QWidget* boxWithFocus = box("Text3");
  Press(boxWithFocus, Qt::Key_Return);
  Press(boxWithFocus, Qt::Key_Enter, Qt::KeypadModifier);
  Press(boxWithFocus, Qt::Key_Escape);
  EXPECT_EQ(opened, 3);
  // Other keys and combinations are left alone.
  Press(boxWithFocus, Qt::Key_Return, Qt::ControlModifier);
  Press(boxWithFocus, Qt::Key_F5);
  EXPECT_EQ(opened, 3);
  // Not while a run is under way.
  window->setRunning(true);
  Press(boxWithFocus, Qt::Key_Return);
  Press(boxWithFocus, Qt::Key_Escape);
  EXPECT_EQ(opened, 3);
  window->setRunning(false);
  // The user opens the gas list and closes it with Escape, or picks an item with Enter: before, the
  // window's Escape and Enter shortcuts went off as well and started a run.
  auto* gas = find<QComboBox>("DataCombo1");
  for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
    gas->showPopup();
    QApplication::processEvents();
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    Press(popup->focusWidget() ? popup->focusWidget() : popup, key);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);  // the list closed
  }
  EXPECT_EQ(opened, 3);
  // "Общая протяженность введенных участков, м" with the focus: Enter sums the sections into Text7, as a
  // press of it does, and starts no run; Escape stays the window's cancel key, whatever has the focus.
  tabs()->setCurrentIndex(1);
  QApplication::processEvents();
  auto* total = find<QPushButton>("Command6");
  total->setFocus();
  QApplication::processEvents();
  ASSERT_EQ(QApplication::focusWidget(), total);
  find<QLineEdit>("Text7")->clear();
  Press(total, Qt::Key_Return);
  EXPECT_FALSE(find<QLineEdit>("Text7")->text().isEmpty());
  EXPECT_EQ(opened, 3);
  Press(total, Qt::Key_Escape);
  EXPECT_EQ(opened, 4);
}
