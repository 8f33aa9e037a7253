// The main window: the start of a run, storing the pipeline data, the result tab.

#include <QChartView>
#include <QRadioButton>
#include <QValueAxis>
#include <cmath>
#include <functional>
#include <QScopeGuard>
#include <QSqlQuery>
#include <QTabBar>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest/QTest>

#include "form_fixture.h"
#include "ui/widgets/save_dialog.h"
#include "output/zip_reader.h"

using namespace velaron;
using velaron::U;
using velaron::test::MainWindowTest;

TEST_F(MainWindowTest, BoxesOutOfTheirRangeNameTheirFieldOnLeavingAndBeforeARun) {
  struct Case {
    const char* name;
    const char* typed;
    const char* field;
  };
  for (const Case& c : {Case{"Text12", "100,5", "инверсионной"}, Case{"Text5", "-300", "Температура газа"},
                        Case{"Text11", "-5", "Длина участка"}, Case{"P_avto", "2", "пересечения"},
                        Case{"alfa_tr", "5", "хотя бы одной аварии"}}) {
    box(c.name)->setText(c.typed);
    EXPECT_FALSE(box(c.name)->runLeaveCheck()) << c.name;
    ASSERT_EQ(messages.requests.size(), 1u) << c.name;
    EXPECT_TRUE(messages.requests[0].text.contains(U(c.field))) << messages.requests[0].text.toStdString();
    messages.requests.clear();
  }
  // An azimuth of a turn and more is taken and stored as typed.
  box("Text25")->setText("400");
  QSqlQuery stored(db::Connection());
  EXPECT_TRUE(box("Text25")->runLeaveCheck() && messages.requests.empty() &&
              stored.exec("SELECT COUNT(*) FROM TPs WHERE Azimut = 400") && stored.next() &&
              stored.value(0).toInt() == 1);
  // Before a run every visible box is checked again: the first out of range stops the start on its tab.
  for (const char* name : {"Text5", "Text25", "Text11", "P_avto", "alfa_tr"}) box(name)->setText("0");
  choose("DataCombo1", 0);
  choose("DataCombo6", 0);
  window->Command1_Click();
  ASSERT_EQ(messages.requests.size(), 1u);
  EXPECT_TRUE(messages.requests[0].text.contains(U("инверсионной")));
  EXPECT_EQ(tabs()->currentIndex(), 2);
  EXPECT_EQ(opened, 0);
}

// A burial depth over 100 m is refused on leaving its box and by "Сохранить данные", and never stored.
TEST_F(MainWindowTest, ADepthBeyond100MetresIsRefusedOnLeavingAndNeverStored) {
  const char* refusal = "Глубина залегания, м: значение 150, а должно быть от 0 до 100. Проверте правильность ввода!";
  ASSERT_DOUBLE_EQ(db::LoadAdjustment().value->Glubina, 1.5);  // the fixture's row
  box("Text10")->setText("150");
  EXPECT_FALSE(box("Text10")->runLeaveCheck());
  expectMessage(refusal);
  window->cmdSave_Click();
  expectMessage(refusal);
  EXPECT_DOUBLE_EQ(db::LoadAdjustment().value->Glubina, 1.5);
  box("Text10")->setText("100");
  EXPECT_TRUE(box("Text10")->runLeaveCheck() && messages.requests.empty());
  window->cmdSave_Click();
  EXPECT_TRUE(messages.requests.empty()) << messages.texts().join("|").toStdString();
  EXPECT_DOUBLE_EQ(db::LoadAdjustment().value->Glubina, 100);
}

TEST_F(MainWindowTest, ARefusedStartKeepsTheRateAndSumsOfTheLastAcceptedOne) {
  choose("DataCombo6", 1);  // Юг: lambda 0,2
  find<QCheckBox>("Check6")->click();
  window->Command1_Click();
  ASSERT_EQ(opened, 1);
  // Way 1 at 1020 mm: 0,2 x 0,7 = 0,14; natural disasters 0,01.
  EXPECT_NEAR(window->lastAccidentRate().AccidentRate, 0.14, 1e-12);
  // The diameter table loses its rows below 1020 mm, so 800 mm has no line to be read on: the start is
  // refused with its message, and nothing of the last accepted start changes (before, the refused
  // calculation replaced the rate with 0).
  test::TempDatabase::exec("DELETE FROM tabKoef_Dy WHERE Dy < 1020");
  box("Text3")->setText("800");
  box("txtStih")->setText("0,5");
  window->Command1_Click();
  EXPECT_EQ(opened, 1);
  ASSERT_EQ(messages.requests.size(), 1u);
  EXPECT_TRUE(messages.requests[0].text.contains("800"));
  EXPECT_EQ(tabs()->currentIndex(), 2);
  EXPECT_NEAR(window->lastAccidentRate().AccidentRate, 0.14, 1e-12);
  EXPECT_NEAR(window->ExtFactors(), 0.01, 1e-12);
}

// A factor's probability typed with the comma or the point is the number shown; a letter is dropped.
TEST_F(MainWindowTest, AnExternalFactorTakesItsProbabilityWithTheDecimalCommaAsTyped) {
  choose("DataCombo6", 1);
  find<QCheckBox>("Check6")->click();
  for (const auto& [keys, shown, sum] :
       {std::tuple("0,01", "0,01", 0.01), {"0.25", "0,25", 0.25}, {"0,x5", "0,5", 0.5}}) {
    SCOPED_TRACE(keys);
    type("txtStih", keys);
    ASSERT_TRUE(box("txtStih")->runLeaveCheck()) << messages.texts().join('|').toStdString();
    EXPECT_EQ(box("txtStih")->text(), U(shown));
    window->Command1_Click();  // the start of a run takes the boxes into the sum: the natural disasters alone
    EXPECT_TRUE(messages.requests.empty()) << messages.texts().join('|').toStdString();
    EXPECT_NEAR(window->ExtFactors(), sum, 1e-12);
  }
}

TEST_F(MainWindowTest, AStartedRunGetsACompleteRequest) {
  choose("DataCombo6", 0);  // Север: lambda 0,5, Kreg 2
  find<QRadioButton>("Option2")->click();
  EXPECT_FALSE(box("Text8")->isHidden());
  find<QCheckBox>("Check5")->click();
  find<QCheckBox>("Check8")->click();
  box("txtRechper")->setText("0,3");
  box("Text12")->setText("20");
  find<QLineEdit>("Text27")->setText(U("Приморье"));
  find<QComboBox>("cmbCity")->setCurrentIndex(1);
  select(1);
  window->Command1_Click();
  ASSERT_EQ(opened, 1) << messages.texts().join("|").toStdString();
  // Way 2: 0,33 x Kreg 2 x KoefDy(1020) 0,7 = 0,462.
  EXPECT_NEAR(window->lastAccidentRate().AccidentRate, 0.462, 1e-12);
  EXPECT_EQ(std::tuple(request.rate.way, request.rate.RegionPos, request.pipeline.Gas, request.section.TPID,
                       request.run.idCity, request.settings.XLimit),
            std::tuple(2, 1, 2, 2, 2, 1000));
  EXPECT_EQ(std::tuple(request.external.Check5, request.external.Check6, request.external.Check8), std::tuple(1, 0, 1));
  EXPECT_EQ(std::tuple(request.rate.Text8, request.pipeline.Diametr, request.pipeline.Temp,
                       request.pipeline.InversPercent, request.external.Rechper, request.section.Length),
            std::tuple(0.33, 1020.0, 12.0, 20.0, 0.3, 250.5));
  // The boxes reach the sum at the start: erosion 0,2 + river crossings 0,3.
  EXPECT_NEAR(window->ExtFactors(), 0.5, 1e-12);
  EXPECT_EQ(QStringList({request.texts.Mestn, request.texts.gasName, request.texts.regionName, request.texts.cityName}),
            QStringList({U("Приморье"), U("Пропан"), U("Север"), U("Хабаровск")}));
  EXPECT_TRUE(request.options.OptExtraFiles);
}

// The pipeline data are stored by "Сохранить данные" and shown at the next start. Leaving with data that
// differ from the stored ones asks first (before, they were lost without a word): Отмена keeps the window,
// Нет leaves them unstored, Да stores them as the button does; a box that is not a number or a store the
// database refuses keeps the window open with the message, and what was typed stays for another try.
TEST_F(MainWindowTest, PipelineDataAreStoredByTheButtonOrAtTheQuestionWhenLeaving) {
  EXPECT_TRUE(window->close() && messages.requests.empty());  // nothing changed: no question
  window->show();
  box("Text3")->setText("720");
  box("Text5")->setText("-5,5");
  choose("DataCombo1", 0);
  messages.setAnswer(QMessageBox::Cancel);
  EXPECT_FALSE(window->close());
  expectMessage("Сохранить изменения?", "Веларон", QMessageBox::Question);
  box("Text13")->setText("");
  messages.setAnswer(QMessageBox::Yes);
  EXPECT_FALSE(window->close());
  EXPECT_EQ(messages.texts(), QStringList({U("Сохранить изменения?"), U("Проверте правильность ввода!")}));
  messages.requests.clear();
  box("Text13")->setText("80");
  test::TempDatabase::exec(
      "CREATE TRIGGER refuse BEFORE UPDATE ON Adjustment BEGIN SELECT RAISE(ABORT, 'locked'); END");
  window->cmdSave_Click();
  expectMessage(nullptr, nullptr, QMessageBox::Critical);
  EXPECT_FALSE(window->close());
  EXPECT_EQ(messages.requests.size(), 2u);
  EXPECT_EQ(std::pair(db::LoadAdjustment().value->Diametr, box("Text3")->text()), std::pair(1020.0, QString("720")));
  test::TempDatabase::exec("DROP TRIGGER refuse");
  messages.setAnswer(QMessageBox::No);
  EXPECT_TRUE(window->close());
  EXPECT_DOUBLE_EQ(db::LoadAdjustment().value->Diametr, 1020);
  window->show();
  messages.setAnswer(QMessageBox::Yes);
  EXPECT_TRUE(window->close());
  const auto row = db::LoadAdjustment().value;
  EXPECT_EQ(std::tuple(row->Diametr, row->Temp, row->Ltrub, row->Gas, row->XLimit),
            std::tuple(720.0, -5.5, 80.0, 1, 1000));
  window = std::make_unique<ui::Form1>();
  window->show();
  expectTexts({{"Text3", "720"}, {"Text5", "-5,5"}});
  EXPECT_EQ(find<QComboBox>("DataCombo1")->currentText(), U("Метан"));
}

// P_avto and p_v of section 1, whose road crossing the next tests tick.
static std::pair<std::optional<double>, double> Road() {
  return std::pair(db::LoadSection(1).value->P_avto, db::LoadSection(1).value->p_v);
}

// Closing the window by any way leaves the box being typed in first, as a click on "Выход" always did by taking
// the focus: a crossing probability typed and not yet left is checked and stored, or refused with the window
// kept open and the row as it was; only then comes the question about the pipeline data. Before, the title
// bar's close (QWidget::close, as here) lost a typed 0,6 without a word and the row kept its old value.
TEST_F(MainWindowTest, ClosingLeavesTheBoxBeingTypedInFirst) {
  tabs()->setCurrentIndex(1);
  find<QCheckBox>("Check1")->click();  // section 1's road crossing, at its initial 0,1: stored as the sum 0,1
  ASSERT_EQ(Road(), std::pair(std::optional(0.1), 0.1));
  auto typeInto = [&](const char* name, const char* keys) {
    type(name, keys);
    messages.requests.clear();
  };
  // The sums by hand: only the road is ticked, so p_v is the road's accepted probability.
  const struct {
    bool byButton;  // a mouse click on "Выход", else QWidget::close()
    const char* keys;
    bool closes;
    std::pair<std::optional<double>, double> stored;  // P_avto and p_v of section 1 afterwards
  } cases[] = {
      {false, "1,5", false, {0.1, 0.1}},
      // The mouse's press takes the focus to the button and the box refuses its text there; the click that
      // follows keeps the window without asking a second time.
      {true, "1.5", false, {0.1, 0.1}},
      {false, "0.3", true, {0.3, 0.3}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.keys) + (c.byButton ? " Выход" : " close()"));
    typeInto("P_avto", c.keys);
    if (c.byButton) QTest::mouseClick(find<QPushButton>("Command2"), Qt::LeftButton);
    else EXPECT_EQ(window->close(), c.closes);
    QApplication::processEvents();
    EXPECT_EQ(window->isVisible(), !c.closes);
    EXPECT_EQ(messages.requests.size(), c.closes ? 0u : 1u) << messages.texts().join('|').toStdString();
    EXPECT_TRUE(c.closes || messages.texts().value(0).contains(U("Вероятность влияния пересечения")));
    EXPECT_TRUE(c.closes || window->focusWidget() == box("P_avto"));
    messages.requests.clear();
    EXPECT_EQ(Road(), c.stored);
  }
  // With the diameter changed, the typed 0,6 is stored before the question, and "Отмена" keeps the window;
  // a pipeline box that is not a number is refused before any question.
  window->show();
  box("Text3")->setText("720");
  typeInto("P_avto", "0,6");
  messages.setAnswer(QMessageBox::Cancel);
  EXPECT_FALSE(window->close());
  expectMessage("Сохранить изменения?");
  EXPECT_EQ(Road(), std::pair(std::optional(0.6), 0.6));
  tabs()->setCurrentIndex(0);
  typeInto("Text3", "");
  box("Text3")->clear();
  EXPECT_FALSE(window->close());
  expectMessage("Проверте правильность ввода!");
  EXPECT_TRUE(window->isVisible());
}

// A change of tabs by click, wheel, Ctrl+Tab or Enter leaves the box first: a refused text keeps tab, focus and row.
// So does a click on section 2 in the section list: the list marks section 1 again and its boxes stay (before, the
// list moved on to section 2 after the refusal, and the typed text was gone).
TEST_F(MainWindowTest, ChangingTabsLeavesTheBoxBeingTypedInFirst) {
  tabs()->setCurrentIndex(1);
  find<QCheckBox>("Check1")->click();  // section 1's road crossing, at its initial 0,1: stored as the sum 0,1
  ASSERT_EQ(Road(), std::pair(std::optional(0.1), 0.1));
  QTabBar* bar = tabs()->tabBar();
  auto* list = find<QListWidget>("List1");
  enum How { Click, Wheel, CtrlTab, Enter, List };
  const char* probability = "Вероятность влияния пересечения";
  // The box, its tab, the keys, how the tab is left, the tab on show then, a part of the one message shown (none
  // when null), P_avto and p_v of section 1 then. The 0,35 is taken, and the start refused for want of a region.
  for (const auto& [name, tab, keys, how, shown, message, road] :
       {std::tuple("P_avto", 1, "1,5", Click, 1, probability, 0.1),
        {"P_avto", 1, "1,5", List, 1, probability, 0.1},
        {"P_avto", 1, "1.5", Wheel, 1, probability, 0.1},
        {"P_avto", 1, "2", CtrlTab, 1, probability, 0.1},
        {"P_avto", 1, "3", Enter, 1, probability, 0.1},
        {"P_avto", 1, "0.2", Wheel, 0, nullptr, 0.2},
        {"P_avto", 1, "0,25", CtrlTab, 2, nullptr, 0.25},
        {"P_avto", 1, "0,35", Enter, 2, "Необходимо выбрать регион!", 0.35},
        {"Text11", 1, "1,2,3", List, 1, "Проверте правильность ввода!", 0.35},
        {"Text11", 1, "120", Click, 0, nullptr, 0.35},
        {"Text13", 0, "\b", Click, 0, "Проверте правильность ввода!", 0.35},
        {"Text13", 0, "80", Click, 1, nullptr, 0.35},
        {"P_avto", 1, "0,3", Click, 0, nullptr, 0.3}}) {
    SCOPED_TRACE(std::string(name) + " " + keys + " " + std::to_string(how));
    tabs()->setCurrentIndex(tab);
    type(name, keys);
    if (how == Click) {  // the other one of the first two tabs
      QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1 - tab).center());
    } else if (how == Wheel) {  // a turn away from the user: the tab before
      const QPointF at = bar->tabRect(tab).center();
      QWheelEvent wheel(at, bar->mapToGlobal(at), {}, {0, 120}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
      QApplication::sendEvent(bar, &wheel);
    } else if (how == List) {
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    } else {
      QTest::keyClick(box(name), how == Enter ? Qt::Key_Return : Qt::Key_Tab,
                      how == Enter ? Qt::NoModifier : Qt::ControlModifier);
    }
    QApplication::processEvents();
    EXPECT_EQ(tabs()->currentIndex(), shown);
    EXPECT_EQ(messages.requests.size(), message ? 1u : 0u) << messages.texts().join('|').toStdString();
    EXPECT_TRUE(!message || messages.texts().value(0).contains(U(message))) << message;
    EXPECT_TRUE(shown != tab || (box(name)->isVisible() && window->focusWidget() == box(name)));
    EXPECT_TRUE(how != List || box(name)->text() == U(keys));
    EXPECT_TRUE(window->selectedSection() == 1 && list->currentRow() == 0 && find<QLineEdit>("Text1")->text() == "1");
    messages.requests.clear();
    EXPECT_EQ(Road(), std::pair(std::optional(road), road));
  }
  EXPECT_EQ(opened, 0);
  // The 0,3 was stored on the change of tabs; the length typed on the pipeline tab is asked about at the close.
  messages.setAnswer(QMessageBox::Yes);
  EXPECT_TRUE(window->close());
  expectMessage("Сохранить изменения?");
  EXPECT_EQ(Road(), std::pair(std::optional(0.3), 0.3));
  EXPECT_DOUBLE_EQ(db::LoadAdjustment().value->Ltrub, 80);
}

// A refusal's message box takes the window's activation, and without a window manager nothing gives it back: the next
// click moved the focus without leaving the box, so a length typed after a refusal was lost as the list showed section
// 2, and "Выход" closed without storing it. Whatever left the box and was refused (a click in the section list or on
// another tab, an editor from the menu, a frame's fold, "Выход" from the menu, Enter for a run), the box takes the
// activation back with the focus, and the length typed next is stored by the click on section 2. Before, only the
// click in the list did.
TEST_F(MainWindowTest, ABoxThatRefusedItsTextTakesTheActivationBack) {
  tabs()->setCurrentIndex(1);
  const auto giveBack = qScopeGuard([&] { messages.listen(); });
  ui::SetMessageSink([&](const ui::MessageRequest& r) {
    messages.requests.push_back(r);
    QWidget box;  // a window that takes the activation while shown and does not give it back
    box.show();
    box.activateWindow();
    QApplication::processEvents();
    return QMessageBox::Ok;
  });
  auto* list = find<QListWidget>("List1");
  QTabBar* bar = tabs()->tabBar();
  const auto click = [&](int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    QApplication::processEvents();
  };
  const std::pair<const char*, std::function<void()>> leaves[] = {
      {"list", [&] { click(1); }},
      {"tab", [&] { QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center()); }},
      {"editor", [&] { find<QAction>("mnuGaz")->trigger(); }},
      {"fold", [&] { find<QPushButton>("Command5")->click(); }},
      {"exit", [&] { find<QAction>("smExit")->trigger(); }},
      {"run", [&] { QTest::keyClick(box("Text11"), Qt::Key_Return); }}};
  int length = 1100;
  for (const auto& [way, leave] : leaves) {
    SCOPED_TRACE(way);
    QApplication::setActiveWindow(window.get());  // each way on its own, should the one before have failed
    type("Text11", "1,2,3");
    leave();
    QApplication::processEvents();
    expectMessage("Проверте правильность ввода!");
    EXPECT_TRUE(window->isVisible() && tabs()->currentIndex() == 1 && find<QWidget>("Frame7")->isVisible());
    EXPECT_TRUE(window->isActiveWindow() && QApplication::activeWindow() == window.get());
    EXPECT_EQ(QApplication::focusWidget(), box("Text11"));
    // The user's keys go on into the box, and the click on section 2 leaves it.
    QTest::keyClick(box("Text11"), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box("Text11"), QString::number(length));
    click(1);
    EXPECT_TRUE(messages.requests.empty()) << messages.texts().join('|').toStdString();
    EXPECT_DOUBLE_EQ(db::LoadSection(1).value->Length, length);
    expectTexts({{"Text1", "2"}});
    click(0);
    EXPECT_EQ(box("Text11")->text().toStdString(), std::to_string(length));
    length += 100;
  }
  // A start refused after the box was left (here for want of a region) puts the focus where the message points, with
  // the activation.
  type("Text11", "1700");
  QTest::keyClick(box("Text11"), Qt::Key_Return);
  QApplication::processEvents();
  expectMessage("Необходимо выбрать регион!");
  EXPECT_TRUE(window->isActiveWindow() && QApplication::focusWidget() == find<QWidget>("DataCombo6"));
  EXPECT_DOUBLE_EQ(db::LoadSection(1).value->Length, 1700);
}

// The window steps aside for an editor (from the menu or the town button) or the jet-flame window only once the
// box being typed in is left, as a close leaves it: a refused text keeps the window with the box and its focus,
// and nothing opens; an accepted one is stored before the window hides. Before, the window hid with the text
// neither checked nor stored (the row kept 0,1 while the box showed 0,35), and a close later asked nothing.
TEST_F(MainWindowTest, SteppingAsideForAnotherWindowLeavesTheBoxBeingTypedInFirst) {
  tabs()->setCurrentIndex(1);
  find<QCheckBox>("Check1")->click();  // section 1's road crossing, at its initial 0,1
  auto other = [&] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible() && w != window.get()) return w;
    return static_cast<QWidget*>(nullptr);
  };
  // How the window is left, the box typed in and its tab, the text the box refuses and the one it takes; the
  // road's probability then (the inversion box stores nothing).
  for (const auto& [way, name, tab, refused, taken, road] : {std::tuple("mnuGaz", "P_avto", 1, "1,5", "0,35", 0.35),
                                                             {"mnuStatistika", "P_avto", 1, "1,5", "0,45", 0.45},
                                                             {"mnuTrub", "P_avto", 1, "1,5", "0,55", 0.55},
                                                             {"cmdSpecifyCity", "Text12", 2, "100,5", "20", 0.55}}) {
    SCOPED_TRACE(way);
    tabs()->setCurrentIndex(tab);
    auto leave = [&, way = way] {
      if (auto* button = window->findChild<QPushButton*>(way)) button->click();
      else find<QAction>(way)->trigger();
      QApplication::processEvents();
    };
    type(name, refused);
    leave();
    EXPECT_EQ(messages.requests.size(), 1u) << messages.texts().join('|').toStdString();
    EXPECT_TRUE(window->isVisible() && !other() && window->focusWidget() == box(name));
    messages.requests.clear();
    type(name, taken);
    leave();
    EXPECT_TRUE(messages.requests.empty()) << messages.texts().join('|').toStdString();
    EXPECT_EQ(Road(), std::pair(std::optional(road), road));
    ASSERT_TRUE(!window->isVisible() && other());
    // A late activation of the hidden window (the menu's closing gives it back) moved the focus on to the next control.
    QApplication::setActiveWindow(window.get());
    other()->close();
    QApplication::processEvents();
    ASSERT_TRUE(window->isVisible() && !other());
    QApplication::setActiveWindow(window.get());
    EXPECT_EQ(QApplication::focusWidget(), box(name));
  }
}

// A wheel turn over the tab bar leaves the box only where the bar really changes the tab: a whole notch away from
// the user shows the tab before, towards the user the tab after (the results tab is closed before a run); a part of
// a notch (a touchpad's small turns) or a turn past either end checks nothing. Before, every turn checked the box, so
// each small turn showed the refusal again for a tab that never changed.
TEST_F(MainWindowTest, AWheelTurnLeavesTheBoxOnlyWhereTheTabChanges) {
  tabs()->setCurrentIndex(1);
  find<QCheckBox>("Check1")->click();
  QTabBar* bar = tabs()->tabBar();
  auto turn = [&](int delta) {
    const QPointF at = bar->tabRect(0).center();
    QWheelEvent wheel(at, bar->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(bar, &wheel);
    QApplication::processEvents();
  };
  // A box of each tab open before a run, with a text it refuses and one it takes.
  const std::tuple<const char*, const char*, const char*> boxes[3] = {
      {"Text13", "\b", "80"}, {"P_avto", "1,5", "0,2"}, {"Text12", "100,5", "20"}};
  for (int tab = 0; tab < 3; ++tab) {
    for (const int notch : {120, -120}) {  // away from the user, towards
      const int next = notch > 0 ? tab - 1 : tab + 1;
      const bool changes = next >= 0 && next < 3;
      SCOPED_TRACE(std::to_string(tab) + (notch > 0 ? " away" : " towards"));
      const auto& [name, refused, taken] = boxes[tab];
      tabs()->setCurrentIndex(tab);
      type(name, refused);
      for (int part = 1; part <= 3; ++part) {
        turn(notch / 3);
        EXPECT_EQ(messages.requests.size(), part == 3 && changes ? 1u : 0u) << messages.texts().join('|').toStdString();
        EXPECT_TRUE(tabs()->currentIndex() == tab && window->focusWidget() == box(name)) << part;
      }
      messages.requests.clear();
      type(name, taken);
      turn(notch);
      EXPECT_EQ(tabs()->currentIndex(), changes ? next : tab);
      EXPECT_TRUE(messages.requests.empty()) << messages.texts().join('|').toStdString();
    }
  }
}

// Folding the crossings' frame leaves the box first: a refused text keeps the frame open, the box focused.
TEST_F(MainWindowTest, FoldingAFrameLeavesTheBoxBeingTypedInFirst) {
  tabs()->setCurrentIndex(1);
  find<QCheckBox>("Check1")->click();
  auto* fold = find<QPushButton>("Command5");
  auto* frame = find<QWidget>("Frame7");
  for (const auto& [keys, byMouse, folds, road] : {std::tuple("1,5", true, false, 0.1),
                                                   {"2", false, false, 0.1},
                                                   {"0,3", true, true, 0.3},
                                                   {"0.4", false, true, 0.4}}) {
    SCOPED_TRACE(std::string(keys) + (byMouse ? " mouse" : " click()"));
    type("P_avto", keys);
    if (byMouse) QTest::mouseClick(fold, Qt::LeftButton);
    else fold->click();
    QApplication::processEvents();
    EXPECT_EQ(std::pair(frame->isHidden(), fold->text().endsWith('+')), std::pair(folds, folds));
    EXPECT_EQ(messages.requests.size(), folds ? 0u : 1u) << messages.texts().join('|').toStdString();
    EXPECT_TRUE(folds || (box("P_avto")->isVisible() && window->focusWidget() == box("P_avto")));
    messages.requests.clear();
    EXPECT_EQ(Road(), std::pair(std::optional(road), road));
    if (folds) fold->click();  // open again
    ASSERT_FALSE(frame->isHidden());
  }
}

namespace {
std::shared_ptr<result::RunSnapshot> Snapshot(int code) {
  auto s = std::make_shared<result::RunSnapshot>();
  s->request.run.scenario = result::ScenarioOf(code).value();
  s->zones.CurZones() = {1, 2, 3, 4};
  s->request.settings.XLimit = 200;
  s->request.settings.YLimit = 200;
  s->request.settings.CStep = 10;
  s->GridValue.resize(10, 10);
  s->graf1.points = {{0, 10}, {10, 5}};
  s->graf2.points = {{0, 99}, {10, 50}};
  return s;
}

// Rows of the reports' summary table.
int SummaryRows() {
  QSqlQuery q(db::Connection());
  return q.exec("SELECT COUNT(*) FROM tabOtchet") && q.next() ? q.value(0).toInt() : -1;
}
}  // namespace

TEST_F(MainWindowTest, SaveResultsWritesTheReportOfASingleScenarioAndItsSummaryRow) {
  QTemporaryDir dir;
  QString answer;
  ui::SetSaveFileSink([&answer](const ui::SaveFileRequest&) { return answer; });
  int expectedRows = SummaryRows();
  const std::map<int, const char*> names = {{2, "Физический взрыв"},    {3, "Котлованный факел"},
                                            {4, "Ассиметричный факел"}, {5, "Симметричный факел"},
                                            {6, "Огневой шар"},         {8, "Горение ГПВС"}};
  for (int code : {2, 3, 4, 5, 6, 8}) {
    SCOPED_TRACE(code);
    window->onRunFinished(Snapshot(code));
    answer = dir.filePath(QStringLiteral("отчет%1").arg(code));
    window->cmdSaveResult_Click();
    EXPECT_TRUE(messages.requests.empty()) << messages.texts().join("|").toStdString();
    const QStringList lines = test::DocxLines(answer + ".docx");
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines[0], U("Аварийный сценарий \"%1\" при гильотинном разрушении газопровода").arg(U(names.at(code))));
    EXPECT_EQ(SummaryRows(), ++expectedRows);
  }
  // Cancelled: the row stays, and no message (cancelling is the user's choice, not a failure; before, it
  // was told as "Ошибка в процессе сохранения файла").
  answer.clear();
  window->cmdSaveResult_Click();
  EXPECT_EQ(SummaryRows(), ++expectedRows);
  EXPECT_TRUE(messages.requests.empty()) << messages.texts().join("|").toStdString();
  ui::SetSaveFileSink(nullptr);
}

namespace {
int MediaCount(const std::map<std::string, std::string>& parts) {
  int n = 0;
  for (const auto& [name, data] : parts) n += name.starts_with("word/media/");
  return n;
}
}  // namespace

TEST_F(MainWindowTest, SaveResultsWritesTheYearRoundReportsAndRewritesTheRunsRose) {
  QTemporaryDir dir;
  QString answer;
  ui::SetSaveFileSink([&answer](const ui::SaveFileRequest&) { return answer; });
  int expectedRows = SummaryRows();
  // The run's town: a row the table no longer holds (deleted after the run) is still the report's.
  db::WindRow town;
  town.idCity = 987654;
  town.CityName = U("Городок");
  town.winter = {10, 20, 10, 10, 10, 10, 10, 10, 10};
  town.summer = {5, 5, 5, 5, 30, 5, 5, 5, 35};
  town.Tmedium = 200;
  const QString rose = dir.filePath(U("РозаВетров.xlsx"));
  window->setWindRoseFolder(dir.path());  // the runs write their rose here: the report rewrites it here
  for (int code : {7, 1}) {
    SCOPED_TRACE(code);
    auto s = Snapshot(code);
    s->town = town;
    window->onRunFinished(s);
    QFile::remove(rose);
    answer = dir.filePath(QStringLiteral("год%1").arg(code));
    window->cmdSaveResult_Click();
    EXPECT_TRUE(messages.requests.empty()) << messages.texts().join("|").toStdString();
    // The run's pictures (the one grid it has and the two distance charts) and the town's rose; the
    // workbook rewritten beside the run's.
    const auto parts = test::ReadZip(answer + ".docx");
    EXPECT_EQ(parts.count("word/document.xml"), 1u);
    EXPECT_EQ(MediaCount(parts), 4);
    EXPECT_TRUE(QFile::exists(rose));
    EXPECT_EQ(SummaryRows(), ++expectedRows);
  }
  // A rose that cannot be rewritten: the program's message with the file and why, and the report is still
  // written and saved.
  auto s = Snapshot(7);
  s->town = town;
  window->setWindRoseFolder(dir.filePath(U("нет такой папки")));
  window->onRunFinished(s);
  answer = dir.filePath(U("без розы.docx"));
  window->cmdSaveResult_Click();
  const QString missing = dir.filePath(U("нет такой папки/РозаВетров.xlsx"));
  expectMessage((U("Ошибка в процессе записи файла!\n") + missing + U(": нет такой папки")).toUtf8().constData(),
                "Веларон", QMessageBox::Critical);
  const auto parts = test::ReadZip(answer);
  EXPECT_EQ(parts.count("word/document.xml"), 1u);
  EXPECT_EQ(MediaCount(parts), 3);  // the rose's caption alone
  EXPECT_EQ(SummaryRows(), ++expectedRows);
  ui::SetSaveFileSink(nullptr);
}

// The distance axis of both charts ends at their last point (it ran on to 800 m for 707), ticked round from 0.
TEST_F(MainWindowTest, TheDistanceChartsEndAtTheirLastPoint) {
  const double corner = 500 * std::sqrt(2.0);
  // The scenario's code, the last distance of each chart, the axis's end.
  for (const auto& [code, graf1End, graf2End, end] :
       {std::tuple(4, corner, corner, corner), {2, 500., 500., 500.}, {2, 240., 500., 500.}, {5, 141., 141., 141.}}) {
    auto s = Snapshot(code);
    s->graf1.points = {{0, 10}, {graf1End / 2, 99.99}, {graf1End, 5}};
    s->graf2.points = {{0, 99.99}, {graf2End / 2, 99.99}, {graf2End, 0}};
    window->onRunFinished(s);
    QApplication::processEvents();
    for (const char* name : {"graf1", "graf2"}) {
      SCOPED_TRACE(std::string(name) + " of code " + std::to_string(code) + " to " + std::to_string(end));
      const QList<QAbstractAxis*> axes = find<QChartView>(name)->chart()->axes(Qt::Horizontal);
      ASSERT_EQ(axes.size(), 1);
      const auto* x = qobject_cast<const QValueAxis*>(axes.first());
      ASSERT_NE(x, nullptr);
      EXPECT_EQ(x->min(), 0);
      EXPECT_NEAR(x->max(), end, 1e-9);
      const double step = x->tickInterval();
      EXPECT_EQ(x->tickAnchor(), 0);
      EXPECT_LE(2 * step, end);
      const double mantissa = step / std::pow(10.0, std::floor(std::log10(step)));
      EXPECT_TRUE(mantissa == 1 || mantissa == 2 || mantissa == 5) << step;
    }
  }
}

TEST_F(MainWindowTest, EveryViewOfEveryScenarioKeepsOneLayout) {
  window->resize(1366, 768);
  // Where the shown ones of the named widgets stand in the window (empty when none is shown).
  auto shown = [&](std::initializer_list<const char*> names) {
    QRect r;
    for (const char* name : names)
      if (auto* w = find<QWidget>(name); w->isVisible()) r |= QRect(w->mapTo(window.get(), QPoint(0, 0)), w->size());
    return r;
  };
  std::vector<QRect> first;
  // The explosion, then the assessments over a year, whose damaging-factor view shows no distance chart: its
  // place stays empty, as in the risk view (before, the picture spread over both cells with larger lettering).
  for (int code : {2, 7, 1}) {
    const bool yearRound = code != 2;
    window->onRunFinished(Snapshot(code));
    QApplication::processEvents();
    // The tab opens on the view of the chosen option (here the damaging factor), the same its click shows.
    EXPECT_TRUE(find<QWidget>("graf1")->isVisible() != yearRound && !find<QWidget>("graf2")->isVisible()) << code;
    for (const char* option : {"optVer", "optRisk", "optPor", "optRisk", "optVer", "optPor"}) {
      SCOPED_TRACE(std::string(option) + " " + std::to_string(code));
      // The zone frame, hidden here by hand, is left as it was by the year's damaging-factor view only.
      find<QWidget>("fraZon")->hide();
      find<QRadioButton>(option)->click();
      const bool noChart = std::string(option) == "optRisk" || (std::string(option) == "optPor" && yearRound);
      EXPECT_EQ(find<QWidget>("fraZon")->isVisible(), std::string(option) == "optPor" && !yearRound);
      find<QWidget>("fraZon")->show();
      QApplication::processEvents();
      std::vector<QRect> now = {shown({"imgDiagr1", "imgDiagr2", "imgRisk"}), shown({"graf1", "graf2"}),
                                shown({"optPor", "optVer", "optRisk", "txtRsm", "cmdSaveResult"})};
      EXPECT_EQ(now[1].isNull(), noChart);
      if (first.empty()) first = now;
      if (noChart) now[1] = first[1];
      EXPECT_EQ(now, first);
    }
  }
}

TEST_F(MainWindowTest, TheWindowFitsA1280By720Screen) {
  // Every tab laid out at its smallest, with room left for the title bar and a panel.
  const QSize least = window->minimumSizeHint();
  EXPECT_LE(least.width(), 1280);
  EXPECT_LE(least.height(), 720 - 70);
}
