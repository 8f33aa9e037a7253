// The main window while another program holds its database (a backup or sync tool, "BEGIN EXCLUSIVE"):
// every read that fails is told with its cause, the lists and boxes keep what they showed, a failed read is
// never a change to store, and no stored row is written over.
#include <QApplication>
#include <QSqlQuery>

#include "form_fixture.h"
#include "output/held_database.h"
#include "ui/refdata/frm_wind.h"

using namespace velaron;
using velaron::U;
using velaron::test::MainWindowTest;

namespace {

// The items of a list, and the one chosen.
QStringList Items(const QComboBox* c) {
  QStringList items;
  for (int i = 0; i < c->count(); ++i) items << c->itemText(i);
  return items << QStringLiteral("chosen: ") + c->currentText();
}

// The stored pipeline data, read with plain SQL.
std::string StoredPipeline() {
  QSqlQuery q(db::Connection());
  if (!q.exec("SELECT Gas || ' ' || Glubina || ' ' || Diametr || ' ' || DavlDown || ' ' || DavlUp || ' ' || Temp || "
              "' ' || Ltrub || ' ' || Tsrab || ' ' || Lkr FROM Adjustment") ||
      !q.next())
    return "unread";
  return q.value(0).toString().toStdString();
}

ui::frmWind* OpenWindEditor(ui::Form1& window) {
  window.findChild<QPushButton*>("cmdSpecifyCity")->click();
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* editor = qobject_cast<ui::frmWind*>(w); editor && editor->isVisible()) return editor;
  return nullptr;
}

}  // namespace

// Before, leaving the wind editor froze the window for about 30 s and emptied the gas, region and town
// lists without a word; the exit question then said the data had changed, and "Да" stored Gas = -1 over
// the stored gas.
TEST_F(MainWindowTest, ABusyDatabaseEmptiesNoListAndStoresNothing) {
  choose("DataCombo6", 1);
  const QStringList gases = {U("Метан"), U("Пропан"), U("chosen: Пропан")};  // Gas = 2 is stored
  const QStringList regions = {U("Север"), U("Юг"), U("chosen: Юг")};
  const QStringList towns = {U("Амурск"), U("Хабаровск"), U("chosen: Амурск")};
  ASSERT_EQ(Items(find<QComboBox>("DataCombo1")), gases);
  ASSERT_EQ(Items(find<QComboBox>("DataCombo6")), regions);
  ASSERT_EQ(Items(find<QComboBox>("cmbCity")), towns);
  // The row as the test database stores it.
  const std::string stored = "2 1.5 1020.0 7.4 5.4 12.0 120.0 250.0 25.0";
  ASSERT_EQ(StoredPipeline(), stored);
  const int changes = test::TempDatabase::changes();

  ui::frmWind* editor = OpenWindEditor(*window);
  ASSERT_NE(editor, nullptr);
  ASSERT_FALSE(window->isVisible());
  auto held = std::make_unique<test::HeldDatabase>(database.path());
  editor->cmdExit_Click();
  ASSERT_TRUE(window->isVisible());
  // One message, with the cause; the lists as they were.
  expectMessage("Ошибка чтения базы данных (таблица \"abc\"): база данных заблокирована другой программой", "Веларон",
                QMessageBox::Critical);
  EXPECT_EQ(Items(find<QComboBox>("DataCombo1")), gases);
  EXPECT_EQ(Items(find<QComboBox>("DataCombo6")), regions);
  EXPECT_EQ(Items(find<QComboBox>("cmbCity")), towns);
  // The town list on its own (as after the wind editor, when the other lists were read) keeps its towns.
  EXPECT_FALSE(window->reloadCityList());
  expectMessage("Ошибка чтения базы данных (таблица \"Wind\"): база данных заблокирована другой программой");
  EXPECT_EQ(Items(find<QComboBox>("cmbCity")), towns);

  // A run is not started on default settings, and "Сохранить данные" does not store defaults.
  window->Command1_Click();
  EXPECT_EQ(opened, 0);
  expectMessage("Ошибка чтения базы данных (таблица \"Adjustment\"): база данных заблокирована другой программой");
  window->cmdSave_Click();
  expectMessage("Ошибка чтения базы данных (таблица \"Adjustment\"): база данных заблокирована другой программой");

  // Nothing typed: leaving asks nothing, with the file held or let go, and whatever the answer would be.
  messages.setAnswer(QMessageBox::Yes);
  EXPECT_TRUE(window->close());
  held.reset();
  window->show();
  EXPECT_TRUE(window->close());
  EXPECT_TRUE(messages.requests.empty()) << messages.texts().join("|").toStdString();
  EXPECT_EQ(StoredPipeline(), stored);
  EXPECT_EQ(test::TempDatabase::changes(), changes);

  // Once the file is let go, the lists read again as they are.
  test::TempDatabase::exec(QStringLiteral("INSERT INTO abc VALUES ('Бутан', 58.1, 45000, 20, 0.2, 3)"));
  window->show();
  editor = OpenWindEditor(*window);
  ASSERT_NE(editor, nullptr);
  editor->cmdExit_Click();
  EXPECT_TRUE(messages.requests.empty()) << messages.texts().join("|").toStdString();
  EXPECT_EQ(Items(find<QComboBox>("DataCombo1")), (QStringList{U("Метан"), U("Пропан"), U("Бутан"), gases[2]}));

  // A table that cannot be read on its own: the lists read before it show their rows, it keeps its own.
  test::TempDatabase::exec(QStringLiteral("INSERT INTO abc VALUES ('Этан', 30.1, 47000, 20, 0.2, 3)"));
  test::TempDatabase::exec(QStringLiteral("ALTER TABLE Statistics RENAME TO Regions"));
  editor = OpenWindEditor(*window);
  ASSERT_NE(editor, nullptr);
  editor->cmdExit_Click();
  expectMessage(
      "Ошибка чтения базы данных (таблица \"Statistics\"): база данных не выполнила запрос (no such table: "
      "Statistics)");
  EXPECT_EQ(find<QComboBox>("DataCombo1")->count(), 4);
  EXPECT_EQ(Items(find<QComboBox>("DataCombo6")), regions);
  test::TempDatabase::exec(QStringLiteral("ALTER TABLE Regions RENAME TO Statistics"));
}

// A change typed while the file is held is asked about on leaving; "Да" cannot store it and says why, and
// the window stays with what was typed until the file is let go.
TEST_F(MainWindowTest, AChangeTypedWhileTheDatabaseIsBusyIsKeptUntilItCanBeStored) {
  auto held = std::make_unique<test::HeldDatabase>(database.path());
  box("Text3")->setText("720");
  messages.setAnswer(QMessageBox::Yes);
  EXPECT_FALSE(window->close());
  EXPECT_EQ(messages.texts(),
            QStringList({U("Сохранить изменения?"),
                         U("Ошибка чтения базы данных (таблица \"Adjustment\"): база данных заблокирована другой "
                           "программой")}));
  messages.requests.clear();
  held.reset();
  EXPECT_TRUE(window->close());
  expectMessage("Сохранить изменения?");
  EXPECT_EQ(StoredPipeline(), "2 1.5 720.0 7.4 5.4 12.0 120.0 250.0 25.0");
}
