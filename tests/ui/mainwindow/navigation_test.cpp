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

TEST_F(MainWindowTest, ListsReloadedAfterAnEditorKeepTheChoicesByName) {
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
  EXPECT_EQ(messages.texts().value(0), U("Необходимо выбрать регион!"));
}

TEST_F(MainWindowTest, AChosenGasDeletedInTheEditorIsNoLongerChosen) {
  TempDatabase::exec(U("INSERT INTO abc VALUES ('Бутан', 58.12, 45700, 20, 0.2, 3)"));
  window->reloadReferenceLists();
  choose("DataCombo1", 1);  // Пропан, position 2
  ASSERT_EQ(window->Gas(), 2);
  // The editor deletes Пропан: Бутан moves up to position 2. Before, the window kept position 2 with an
  // empty gas list, and "Сохранить данные" stored Бутан, a gas the user never chose.
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
  second.setRunDialogOpener([this](ui::Form1&, const run::RunRequest&) { ++opened; });
  second.show();
  EXPECT_EQ(second.Gas(), -1);
  EXPECT_EQ(second.findChild<QComboBox*>("DataCombo1")->currentText(), "");
  second.Command1_Click();
  EXPECT_EQ(messages.texts().value(0), U("Выберите вид газа!"));
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

TEST_F(MainWindowTest, SetUpRunsOnlyWhileTheStartUpMarksItPending) {
  ui::AppContext context;
  context.FirstActivate = false;
  ui::Form1 skipped;
  skipped.setAppContext(&context);
  skipped.show();
  EXPECT_EQ(skipped.findChild<QLineEdit*>("Text3")->text(), "500");  // the designer text stays
  EXPECT_EQ(skipped.findChild<QListWidget*>("List1")->count(), 0);
  context.FirstActivate = true;
  ui::Form1 first;
  first.setAppContext(&context);
  first.show();
  EXPECT_EQ(first.findChild<QLineEdit*>("Text3")->text(), "1020");
  EXPECT_FALSE(context.FirstActivate);
  EXPECT_TRUE(context.options.OptExtraFiles);
  EXPECT_TRUE(context.options.Opt3D);
}

namespace {
// A key pressed with the focus in `w`, as from the keyboard: the window's shortcuts are tried first, and
// keys the control leaves unused travel up to the window.
void Press(QWidget* w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(w, key, mods); }
}  // namespace

TEST_F(MainWindowTest, EnterAndEscapePressTheRunButton) {
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
}

TEST_F(MainWindowTest, EscapeClosingADropDownListStartsNothing) {
  choose("DataCombo6", 0);
  // The user opens the gas list and closes it with Escape, or picks an item with Enter: before, the
  // window's Escape and Enter shortcuts went off as well and started a run.
  auto* gas = find<QComboBox>("DataCombo1");
  gas->showPopup();
  QApplication::processEvents();
  QWidget* popup = QApplication::activePopupWidget();
  ASSERT_NE(popup, nullptr);
  QWidget* target = popup->focusWidget() ? popup->focusWidget() : popup;
  Press(target, Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);  // the list closed
  gas->showPopup();
  QApplication::processEvents();
  popup = QApplication::activePopupWidget();
  ASSERT_NE(popup, nullptr);
  target = popup->focusWidget() ? popup->focusWidget() : popup;
  Press(target, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(opened, 0);
}

TEST_F(MainWindowTest, EnterOnAFocusedButtonPressesThatButton) {
  choose("DataCombo6", 0);
  tabs()->setCurrentIndex(1);
  QApplication::processEvents();
  // "Общая протяженность введенных участков, м" with the focus: Enter sums the sections into Text7, as a
  // press of it does, and starts no run.
  auto* total = find<QPushButton>("Command6");
  total->setFocus();
  QApplication::processEvents();
  ASSERT_EQ(QApplication::focusWidget(), total);
  find<QLineEdit>("Text7")->clear();
  Press(total, Qt::Key_Return);
  EXPECT_FALSE(find<QLineEdit>("Text7")->text().isEmpty());
  EXPECT_EQ(opened, 0);
  // Escape stays the window's cancel key, whatever has the focus.
  Press(total, Qt::Key_Escape);
  EXPECT_EQ(opened, 1);
}
