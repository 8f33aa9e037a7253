// The main window while another program holds its database (a backup or sync tool, "BEGIN EXCLUSIVE"):
// every read that fails is told with its cause, the lists and boxes keep what they showed, a failed read is
// never a change to store, and no stored row is written over.
#include <QFile>
#include <QScopeGuard>
#include <QApplication>
#include <QTimer>
#include <functional>
#include <optional>

#include "form_fixture.h"
#include "output/busy_waits.h"
#include "output/held_database.h"
#include "ui/refdata/frm_gaz.h"
#include "ui/refdata/frm_wind.h"

using namespace velaron;
using velaron::U;
using velaron::test::MainWindowTest;

namespace {

// The items of the gas, region and town lists, each followed by the one chosen.
QStringList Lists(const ui::Form1& window) {
  QStringList items;
  for (const char* name : {"DataCombo1", "DataCombo6", "cmbCity"}) {
    const auto* c = window.findChild<QComboBox*>(name);
    for (int i = 0; i < c->count(); ++i) items << c->itemText(i);
    items << QStringLiteral("chosen: ") + c->currentText();
  }
  return items;
}

// The stored pipeline data, read with plain SQL.
const QString kStoredPipeline = QStringLiteral(
    "SELECT Gas || ' ' || Glubina || ' ' || Diametr || ' ' || DavlDown || ' ' || DavlUp || ' ' || Temp || ' ' || "
    "Ltrub || ' ' || Tsrab || ' ' || Lkr FROM Adjustment");

std::string BusyRead(const char* table) {
  return "Ошибка чтения базы данных (таблица \"" + std::string(table) +
         "\"): база данных заблокирована другой программой";
}

// Opens the wind editor, which the window steps aside for, and leaves it; `held`, when given, takes the file
// while the editor is open.
void VisitWindEditor(ui::Form1& window, std::optional<test::HeldDatabase>* held = nullptr) {
  window.findChild<QPushButton*>("cmdSpecifyCity")->click();
  ui::frmWind* editor = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* e = qobject_cast<ui::frmWind*>(w); e && e->isVisible()) editor = e;
  ASSERT_TRUE(editor && !window.isVisible());
  if (held) held->emplace(db::Connection().databaseName());
  editor->cmdExit_Click();
  EXPECT_TRUE(window.isVisible());
}

// Runs `act` with its messages shown as real boxes, each answered at once (a dialog it opens is closed at
// once too, so that the test waits for no user): their texts (a dialog's name), each marked when its middle
// did not stand over `window`.
QStringList ShownOver(const QWidget& window, test::MessageCatcher& messages, const std::function<void()>& act) {
  QStringList shown;
  ui::SetMessageSink(nullptr);
  const auto giveBack = qScopeGuard([&] { messages.listen(); });
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* dialog = qobject_cast<QDialog*>(w); dialog && dialog->isVisible()) {
        const auto* box = qobject_cast<QMessageBox*>(dialog);
        shown << (box ? box->text() : dialog->objectName()) +
                     (window.geometry().contains(dialog->geometry().center()) ? "" : " (elsewhere)");
        dialog->reject();
      }
  });
  answer.start(0);
  act();
  return shown;
}

}  // namespace

// Before, leaving the wind editor froze the window for about 30 s and emptied the gas, region and town
// lists without a word; the exit question then said the data had changed, and "Да" stored Gas = -1 over
// the stored gas.
TEST_F(MainWindowTest, ABusyDatabaseEmptiesNoListAndStoresNothing) {
  choose("DataCombo6", 1);
  QStringList lists = {U("Метан"), U("Пропан"), U("chosen: Пропан"),  // Gas = 2 is stored
                       U("Север"), U("Юг"),     U("chosen: Юг"),     U("Амурск"), U("Хабаровск"), U("chosen: Амурск")};
  const QString stored = QStringLiteral("2 1.5 1020.0 7.4 5.4 12.0 120.0 250.0 25.0");  // the test database's
  const int changes = test::TempDatabase::changes();
  std::optional<test::HeldDatabase> held;
  VisitWindEditor(*window, &held);
  // One message, with the cause; the lists as they were.
  expectMessage(BusyRead("abc").c_str(), "Веларон", QMessageBox::Critical);
  EXPECT_EQ(Lists(*window), lists);
  // The town list on its own (as after the wind editor, when the other lists were read) keeps its towns.
  EXPECT_FALSE(window->reloadCityList());
  expectMessage(BusyRead("Wind").c_str());
  EXPECT_EQ(Lists(*window), lists);
  // A run is not started on default settings, and "Сохранить данные" does not store defaults; each waits once.
  std::optional<test::BusyWaits> waits(std::in_place);
  window->Command1_Click();
  EXPECT_EQ(opened, 0);
  expectMessage(BusyRead("Adjustment").c_str());
  EXPECT_EQ(waits->count(), 1);
  window->cmdSave_Click();
  expectMessage(BusyRead("Adjustment").c_str());
  EXPECT_EQ(waits->count(), 2);
  waits.reset();

  // Nothing typed: leaving asks nothing, with the file held or let go, and whatever the answer would be.
  messages.setAnswer(QMessageBox::Yes);
  EXPECT_TRUE(window->close());
  held.reset();
  window->show();
  EXPECT_TRUE(window->close());
  EXPECT_TRUE(messages.requests.empty()) << messages.texts().join("|").toStdString();
  EXPECT_EQ(database.Scalar(kStoredPipeline), stored);
  EXPECT_EQ(test::TempDatabase::changes(), changes);

  // Once the file is let go, the lists read again as they are.
  test::TempDatabase::exec("INSERT INTO abc VALUES ('Бутан', 58.1, 45000, 20, 0.2, 3)");
  window->show();
  VisitWindEditor(*window);
  EXPECT_TRUE(messages.requests.empty()) << messages.texts().join("|").toStdString();
  lists.insert(2, U("Бутан"));
  EXPECT_EQ(Lists(*window), lists);
  // A table that cannot be read on its own: the lists read before it show their rows, it keeps its own.
  test::TempDatabase::exec("INSERT INTO abc VALUES ('Этан', 30.1, 47000, 20, 0.2, 3)");
  test::TempDatabase::exec("ALTER TABLE Statistics RENAME TO Regions");
  VisitWindEditor(*window);
  expectMessage(
      "Ошибка чтения базы данных (таблица \"Statistics\"): "
      "база данных не выполнила запрос (no such table: Statistics)");
  lists.insert(3, U("Этан"));
  EXPECT_EQ(Lists(*window), lists);
  test::TempDatabase::exec("ALTER TABLE Regions RENAME TO Statistics");
}

// A change typed while the file is held is asked about on leaving; "Да" cannot store it and says why, and
// the window stays with what was typed until the file is let go.
TEST_F(MainWindowTest, AChangeTypedWhileTheDatabaseIsBusyIsKeptUntilItCanBeStored) {
  std::optional<test::HeldDatabase> held(std::in_place, database.path());
  box("Text3")->setText("720");
  messages.setAnswer(QMessageBox::Yes);
  EXPECT_FALSE(window->close());
  EXPECT_EQ(messages.texts(), QStringList({U("Сохранить изменения?"), U(BusyRead("Adjustment").c_str())}));
  messages.requests.clear();
  held.reset();
  EXPECT_TRUE(window->close());
  expectMessage("Сохранить изменения?");
  EXPECT_EQ(database.Scalar(kStoredPipeline), QStringLiteral("2 1.5 720.0 7.4 5.4 12.0 120.0 250.0 25.0"));
}

// Leaving the gas editor with the file held is told once, by the main window's lists, not again by the editor.
TEST_F(MainWindowTest, LeavingTheGasEditorWithTheDatabaseHeldSaysSoOnce) {
  window->findChild<QAction*>("mnuGaz")->trigger();
  ui::frmGaz* editor = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* e = qobject_cast<ui::frmGaz*>(w); e && e->isVisible()) editor = e;
  ASSERT_TRUE(editor && !window->isVisible());
  QApplication::setActiveWindow(editor);
  // As a message box: takes the activation while shown, gives it back once answered; a message meanwhile is noted.
  QStringList shown;
  bool answering = false;
  // The sink below answers from this test's own variables: the fixture takes the messages back at its end.
  const auto giveBack = qScopeGuard([&] { messages.listen(); });
  ui::SetMessageSink([&](const ui::MessageRequest& r) {
    shown << r.text;
    if (!std::exchange(answering, true)) {
      QWidget* had = QApplication::activeWindow();
      QApplication::setActiveWindow(nullptr);
      if (had && had->isVisible()) QApplication::setActiveWindow(had);
      answering = false;
    }
    return QMessageBox::Ok;
  });
  test::HeldDatabase held(database.path());
  editor->mnuReturn_Click();
  EXPECT_EQ(shown, QStringList(U(BusyRead("abc").c_str()))) << shown.join("|").toStdString();
  EXPECT_TRUE(window->isVisible() && !editor->isVisible());
}

// A value typed on the sections tab that the held file does not take is not shown as stored: its box shows the
// stored one again and keeps the focus, and whatever left it (Tab, another tab, the section list, an editor from the
// menu) stops there with the write's one message, the file as it was. Before, the box kept 1500 over the stored
// length and the focus moved on, and the editor's read added a message of its own.
TEST_F(MainWindowTest, AValueTheHeldDatabaseDidNotTakeShowsTheStoredOneAgain) {
  tabs()->setCurrentIndex(1);
  find<QCheckBox>("Check1")->click();  // the road crossing, stored at its initial 0,1
  auto* list = find<QListWidget>("List1");
  const auto bytes = [&] {
    QFile f(database.path());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  };
  const QByteArray file = bytes();
  std::optional<test::HeldDatabase> held(std::in_place, database.path());
  const std::function<void()> leaves[] = {
      [&] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); },
      [&] { QTest::mouseClick(tabs()->tabBar(), Qt::LeftButton, {}, tabs()->tabBar()->tabRect(0).center()); },
      [&] { QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center()); },
      [&] { find<QAction>("mnuGaz")->trigger(); }};
  for (const auto& [name, typed, stored] : {std::tuple("Text11", "1500", "100"), {"P_avto", "0,8", "0,1"}}) {
    for (const auto& leave : leaves) {
      type(name, typed);
      leave();
      QApplication::processEvents();
      expectMessage("Ошибка записи в базу данных: база данных заблокирована другой программой");
      expectTexts({{name, stored}, {"Text1", "1"}});
      EXPECT_TRUE(tabs()->currentIndex() == 1 && list->currentRow() == 0 && window->isVisible());
      EXPECT_EQ(window->focusWidget(), box(name));
    }
  }
  held.reset();
  EXPECT_EQ(bytes(), file);
}

// "Файл -> Параметры" and the editors with the file held: the message alone, over the main window, which
// stays, and one wait for the file each; no window of defaults or empty editor. Before, the settings message
// stood at the screen's top-left corner, and the editors opened empty in place of the main window.
TEST_F(MainWindowTest, AWindowWhoseDataCannotBeReadDoesNotOpen) {
  test::HeldDatabase held(database.path());
  test::BusyWaits waits;
  window->move(400, 300);  // away from the screen's corner
  const QStringList shown = ShownOver(*window, messages, [&] {
    for (const char* item : {"smParam", "mnuGaz", "mnuStatistika"}) window->findChild<QAction*>(item)->trigger();
    find<QPushButton>("cmdSpecifyCity")->click();
  });
  QStringList read;
  for (const char* table : {"Adjustment", "abc", "Statistics", "Wind"}) read << QString::fromStdString(BusyRead(table));
  EXPECT_EQ(shown.join("|").toStdString(), read.join("|").toStdString());
  EXPECT_EQ(waits.count(), 4);
  for (QWidget* w : QApplication::topLevelWidgets())
    EXPECT_EQ(w->isVisible(), w == window.get()) << w->objectName().toStdString();
}

// The first start with the file held: the first read says so, and no read after it waits or says it again.
// Nothing made up is shown as stored: the stored pipeline data and the gas list stay empty and unavailable, and so
// does the sections tab. A save, a run and a tab shown read again and, while they cannot, say so once each; once the
// file is let go, a save and the window shown again after an editor show what is stored, and nothing is written.
// Before, the boxes showed their initial texts (diameter 500) and "Сохранить данные" stored them over the stored row
// without a word.
TEST(FirstStart, ADatabaseHeldByAnotherProgramIsToldOnceAndReadAgainWhenTheEngineerActs) {
  test::TempDatabase database;
  test::MessageCatcher messages;
  const int changes = test::TempDatabase::changes();
  std::optional<test::HeldDatabase> held(std::in_place, database.path());
  std::optional<test::BusyWaits> waits(std::in_place);
  {
    ui::Form1 window;
    window.show();
    EXPECT_EQ(waits->count(), 1);
    EXPECT_EQ(messages.texts(), QStringList(U(BusyRead("Adjustment").c_str())));
    for (const char* list : {"DataCombo1", "DataCombo6", "cmbCity"})
      EXPECT_EQ(window.findChild<QComboBox*>(list)->count(), 0) << list;
    auto* tabs = window.findChild<QTabWidget*>("SSTab1");
    auto* diameter = window.findChild<QLineEdit*>("Text3");
    EXPECT_TRUE(diameter->text().isEmpty() && !diameter->isEnabled());
    EXPECT_FALSE(window.findChild<QComboBox*>("DataCombo1")->isEnabled() || tabs->widget(1)->isEnabled());
    const std::function<void()> acts[] = {[&] { window.cmdSave_Click(); }, [&] { window.Command1_Click(); },
                                          [&] { tabs->setCurrentIndex(1); }};
    for (const auto& act : acts) {
      messages.requests.clear();
      const int before = waits->count();
      act();
      EXPECT_EQ(waits->count(), before + 1);
      EXPECT_EQ(messages.texts(), QStringList(U(BusyRead("Adjustment").c_str())));
    }
    messages.requests.clear();
    waits.reset();
    held.reset();
    window.cmdSave_Click();
    EXPECT_EQ(diameter->text() + ' ' + window.findChild<QComboBox*>("DataCombo1")->currentText(), U("1020 Пропан"));
    VisitWindEditor(window);  // the window shown again reads the other tabs
    EXPECT_TRUE(tabs->widget(1)->isEnabled() && window.findChild<QListWidget*>("List1")->count() == 3);
    EXPECT_EQ(window.findChild<QComboBox*>("DataCombo6")->count(), 2);
    EXPECT_TRUE(window.close());
    EXPECT_TRUE(messages.requests.empty()) << messages.texts().join("|").toStdString();
  }
  EXPECT_EQ(test::TempDatabase::changes(), changes);
}
