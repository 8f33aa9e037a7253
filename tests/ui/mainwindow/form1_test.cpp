// The main window: its names and captions, the first activation, the number boxes, the start of a run,
// the result display.
#include <QAction>
#include <QChart>
#include <QChartView>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QSqlQuery>
#include <QValueAxis>
#include <QWindow>

#include "form_fixture.h"
#include "mainwindow/input_boxes.h"
#include "mainwindow/main_links.h"

using namespace velaron;
using velaron::test::MainWindowTest;
using velaron::test::U;
using velaron::test::Type;

TEST_F(MainWindowTest, WindowTabsButtonsAndMenusCarryTheirNamesAndCaptions) {
  EXPECT_EQ(window->objectName(), "Form1");
  EXPECT_EQ(window->windowTitle(), U("Программа \"Веларон\""));
  ASSERT_EQ(tabs()->count(), 4);
  EXPECT_EQ(tabs()->tabText(0), U("Данные по газопроводу"));
  EXPECT_EQ(tabs()->tabText(1), U("Данные по участкам"));
  EXPECT_EQ(tabs()->tabText(2), U("Вероятность аварии"));
  EXPECT_EQ(tabs()->tabText(3), U("Диаграммы"));
  EXPECT_EQ(find<QPushButton>("Command1")->text(), U("Расчет"));
  EXPECT_EQ(find<QPushButton>("Command2")->text(), U("Выход"));
  EXPECT_EQ(find<QPushButton>("cmdSave")->text(), U("Сохранить данные"));
  EXPECT_EQ(find<QPushButton>("bAdd")->text(), U("Добавить"));
  EXPECT_EQ(find<QPushButton>("bDelete")->text(), U("Удалить"));
  EXPECT_EQ(find<QPushButton>("cmdSpecifyCity")->text(), U("Уточнить данные"));
  EXPECT_EQ(find<QPushButton>("cmdSaveResult")->text(), U("Сохранить результаты"));
  EXPECT_EQ(find<QPushButton>("Command3")->text(), U("Отрисовка"));
  EXPECT_EQ(find<QGroupBox>("Frame5")->title(), U("Определение интенсивности аварий на 1000 км в год"));
  EXPECT_EQ(find<QGroupBox>("Frame9")->title(), U("Влияние внешних факторов"));
  EXPECT_EQ(find<QGroupBox>("fraZon")->title(), U("Глубина зон поражения:"));
  EXPECT_EQ(find<QRadioButton>("optPor")->text(), U("Значения пораж. фактора"));
  EXPECT_EQ(find<QRadioButton>("optVer")->text(), U("Вероятность поражения"));
  EXPECT_EQ(find<QRadioButton>("optRisk")->text(), U("Риск"));
  EXPECT_TRUE(find<QPushButton>("Command4")->text().startsWith(U("Характеристика грунтов")));
  EXPECT_TRUE(find<QPushButton>("Command4")->text().endsWith("-"));
  EXPECT_TRUE(find<QPushButton>("Command5")->text().startsWith(U("Особые условия залегания")));
  for (const char* name :
       {"Text27", "DataCombo1", "Text3", "Text4", "Text6", "Text5", "Text10", "Text13", "Lkr", "Text14", "Text15",
        "Text16", "Text20", "Text21", "Text2", "Text26", "List1", "Text1", "Text11", "Text9", "Text25", "Picture1",
        "Command6", "Text7", "Frame6", "Frame7", "Frame8", "DataCombo5", "DataCombo2", "DataCombo3", "DataCombo4",
        "Check1", "Check2", "Check3", "Check4", "P_avto", "P_LEP", "P_tr", "P_kab", "cmbCity", "Text12", "DataCombo6",
        "Option1", "Option2", "Option3", "Text8", "alfa_tr", "Combo2", "Check5", "Check6", "Check7", "Check8",
        "txtEroz", "txtStih", "txtZapor", "txtRechper", "graf1", "graf2", "imgDiagr1", "imgDiagr2", "imgRisk",
        "fraDiagr", "fraMessage", "txtRsm", "txtRs", "txtRsr", "txtRsl", "txtRb", "Max_0", "Max_1", "Max_2",
        "Command7", "Label19"})
    EXPECT_NE(window->findChild<QWidget*>(name), nullptr) << name;
  // Menus: the jet-flame item and its separator are hidden; the run item waits for a list choice.
  EXPECT_EQ(find<QAction>("smProcess")->text(), U("Произвести расчет"));
  EXPECT_FALSE(find<QAction>("smProcess")->isEnabled());
  EXPECT_FALSE(find<QAction>("mnuTrub")->isVisible());
  EXPECT_FALSE(find<QAction>("z")->isVisible());
  EXPECT_EQ(find<QAction>("mnuGaz")->text(), U("Добавление\\изменение БД газов"));
  EXPECT_EQ(find<QAction>("mnuStatistika")->text(), U("Статистика аварий для территорий"));
  EXPECT_EQ(find<QAction>("smHelp")->text(), U("Инструкция пользователя"));
  EXPECT_EQ(find<QAction>("smAbout")->text(), U("О программе ..."));
  EXPECT_EQ(find<QAction>("smParam")->text(), U("Параметры"));
  EXPECT_EQ(find<QAction>("smExit")->text(), U("Выход"));
  // The zone boxes' labels.
  QStringList labels;
  for (auto* l : find<QGroupBox>("fraZon")->findChildren<QLabel*>()) labels << l->text();
  EXPECT_TRUE(labels.contains(U("Зона безусловного поражения, м")));
  EXPECT_TRUE(labels.contains(U("Зона безопасноси, м:")));
}

TEST_F(MainWindowTest, EveryNumberBoxHasItsKeysLeaveCheckAndStartingText) {
  // The table of the number boxes, copied from the window's description (keys: D decimal, D- signed,
  // I integer, none; leave: P decimal, N integer). A window whose set-up is not pending keeps the
  // designer texts, also those the stored pipeline data would replace.
  ui::AppContext context;
  ui::Form1 designer;
  designer.setAppContext(&context);
  designer.show();
  using K = ui::NumericBox::Keys;
  using L = ui::NumericBox::Leave;
  struct Box {
    const char* name;
    K keys;
    L leave;
    const char* text;
  };
  const Box table[] = {
      {"alfa_tr", K::Decimal, L::Decimal, "1"},      {"Text8", K::Decimal, L::Decimal, "0,33"},
      {"Text12", K::Decimal, L::Decimal, "14,3"},    {"Text3", K::Decimal, L::Decimal, "500"},
      {"Text4", K::Decimal, L::Decimal, "7,5"},      {"Text6", K::Decimal, L::Decimal, "6,9"},
      {"Text5", K::SignedDecimal, L::Decimal, "10"}, {"Text10", K::Decimal, L::Decimal, "1,2"},
      {"Text13", K::Decimal, L::Decimal, "3"},       {"Lkr", K::Decimal, L::Decimal, "1"},
      {"Text14", K::Integer, L::Integer, "300"},     {"Text15", K::Decimal, L::Decimal, "472,45"},
      {"Text16", K::Decimal, L::Decimal, "31"},      {"Text17", K::Decimal, L::Decimal, "34,3"},
      {"Text18", K::Decimal, L::Decimal, "3,3"},     {"Text19", K::Decimal, L::Decimal, "17,2"},
      {"Text20", K::Any, L::Decimal, "41,3"},        {"Text21", K::Decimal, L::Decimal, "436000"},
      {"Text22", K::Decimal, L::Decimal, "20"},      {"Text23", K::Decimal, L::Decimal, "41,3"},
      {"Text24", K::Decimal, L::Decimal, "2100"},    {"Text2", K::Decimal, L::Decimal, "0,817"},
      {"Text26", K::Decimal, L::Decimal, "0,20"},    {"Text11", K::Decimal, L::Decimal, ""},
      {"Text9", K::Decimal, L::Decimal, ""},         {"P_avto", K::Decimal, L::Decimal, "0,1"},
      {"P_LEP", K::Decimal, L::Decimal, "0,05"},     {"P_tr", K::Decimal, L::Decimal, "0,2"},
      {"P_kab", K::Decimal, L::Decimal, "0,08"},
  };
  for (const Box& b : table) {
    auto* w = designer.findChild<ui::NumericBox*>(QString::fromLatin1(b.name));
    ASSERT_NE(w, nullptr) << b.name;
    EXPECT_EQ(w->keys(), b.keys) << b.name;
    EXPECT_EQ(w->leave(), b.leave) << b.name;
    EXPECT_EQ(w->text(), U(b.text)) << b.name;
  }
  // The external-factor boxes start empty until the set-up fills them.
  for (const char* name : {"txtEroz", "txtStih", "txtZapor", "txtRechper"})
    EXPECT_EQ(designer.findChild<QLineEdit*>(name)->text(), "") << name;
}

TEST_F(MainWindowTest, LabelsReadAsTheWindowShowsThem) {
  QStringList shown;
  for (auto* l : window->findChildren<QLabel*>()) shown << l->text();
  for (auto* b : window->findChildren<QAbstractButton*>()) shown << b->text();
  for (auto* g : window->findChildren<QGroupBox*>()) shown << g->title();
  // Exactly as written, the double blanks, the trailing blank and the misspellings included.
  for (const char* text :
       {"Место расположения газопровода", "Газ", "Диаметр трубы, мм", "Давление, МПа: от", "до",
        "Температура газа, °С", "Глубина залегания, м", "Длина трубопровода между запорной арматурой, км",
        "Время срабатывания запорной арматуры, с", "Стоимость 1 куб.м газа, руб.",
        "Стоимость 1 куб.м лесной подати, руб.:", "ель", "сосна", "осина", "береза", "кедр",
        "Экономическая оценка древесных запасов, руб./га:", "Стоимость засыпки грунта, руб./куб.м:",
        "Стоимость 1 кв.м лесной подстилки, руб.:", "Стоимость трубы, руб./м:", "Приведенная плотность газа, т/куб.м",
        "Приведенная стоимость экол. платежей на 1т сгоревшего газа, руб. ", "Данные для расчета ущерба",
        "Данные по газопроводу", "Общие данные", "Номер участка", "Длина участка, м:",
        "Удаление начала участка от точки начала  газопровода, м", "Азимут трубопровода,°:",
        "Общая протяженность введенных участков, м", "Грунт:", "Группа грунтов:", "Тип грунта:", "Вид грунта:",
        "Среднегодовая относительная повторяемость инверсионной устойчивости атмосферы (классы F и G по "
        "Пасквиллу), %",
        "Регион", "ввод в ручную, вероятности возникновения хотя бы одной аварии на газопроводе (1 км)  в течение года",
        "Зона возможно сильного поражения, м", "Зона возможно среднего поражения, м:",
        "Зона возможно слабого поражения, м:", "Диаграмма", "Command7",
        "Для расчета глубины зон поражения увеличьте Ширину зоны расчета по X и Y в меню ФАЙЛ -> ПАРАМЕТРЫ "
        "РАСЧЕТА -> ШИРИНА ЗОНЫ РАСЧЕТА ПО X и Y",
        "пересечение с автодорогами", "наличие на участке ЛЭП", "пересечение с другим трубопроводом",
        "пересечение с кабельной линией", "наличие речных переходов", "эрозия почвы (для северных районов)",
        "наличие запорных арматур"})
    EXPECT_TRUE(shown.contains(U(text))) << text;
  // The separator between the editors' items carries its Cyrillic name.
  QStringList separators;
  for (auto* a : window->findChildren<QAction*>())
    if (a->isSeparator()) separators << a->objectName();
  EXPECT_TRUE(separators.contains(U("ооо")));
  EXPECT_TRUE(separators.contains("sm1"));
  EXPECT_TRUE(separators.contains("sm2"));
  // The top menus, in their order on the bar.
  const QList<QAction*> bar = window->menuBar()->actions();
  ASSERT_EQ(bar.size(), 4);
  const char* menus[4][2] = {{"mFile", "&Файл"}, {"mProcess", "&Расчет"}, {"mData", "Добавить данные"},
                             {"mHelp", "&Справка"}};
  for (int i = 0; i < 4; ++i) {
    ASSERT_NE(bar[i]->menu(), nullptr);
    EXPECT_EQ(bar[i]->menu()->objectName(), menus[i][0]);
    EXPECT_EQ(bar[i]->menu()->title(), U(menus[i][1]));
  }
}

TEST_F(MainWindowTest, FirstActivationLoadsTheStoredPipelineAndTheFirstSection) {
  EXPECT_FALSE(window->firstActivationPending());
  EXPECT_FALSE(tabs()->isTabEnabled(3));
  EXPECT_EQ(tabs()->currentIndex(), 0);
  // The stored row of the test database: Gas 2, Glubina 1,5, Diametr 1020, 7,4 / 5,4, 12, 120, 250, 25.
  EXPECT_EQ(window->Gas(), 2);
  EXPECT_EQ(find<QComboBox>("DataCombo1")->currentText(), U("Пропан"));
  EXPECT_EQ(box("Text10")->text(), "1,5");
  EXPECT_EQ(box("Text3")->text(), "1020");
  EXPECT_EQ(box("Text4")->text(), "7,4");
  EXPECT_EQ(box("Text6")->text(), "5,4");
  EXPECT_EQ(box("Text5")->text(), "12");
  EXPECT_EQ(box("Text13")->text(), "120");
  EXPECT_EQ(box("Text14")->text(), "250");
  EXPECT_EQ(box("Lkr")->text(), "25");
  // Boxes not stored keep their starting texts.
  EXPECT_EQ(box("Text8")->text(), "0,33");
  EXPECT_EQ(box("alfa_tr")->text(), "1");
  EXPECT_EQ(box("Text12")->text(), "14,3");
  EXPECT_EQ(box("P_kab")->text(), "0,08");
  // External-factor defaults.
  EXPECT_EQ(box("txtEroz")->text(), "0,2");
  EXPECT_EQ(box("txtStih")->text(), "0,01");
  EXPECT_EQ(box("txtZapor")->text(), "0,2");
  EXPECT_EQ(box("txtRechper")->text(), "0,1");
  // No region chosen; accident rate by region.
  EXPECT_EQ(window->RegionPos(), -1);
  EXPECT_TRUE(find<QRadioButton>("Option1")->isChecked());
  EXPECT_TRUE(box("Text8")->isHidden());
  EXPECT_TRUE(box("alfa_tr")->isHidden());
  // Towns in name order with their ids.
  auto* city = find<QComboBox>("cmbCity");
  ASSERT_EQ(city->count(), 2);
  EXPECT_EQ(city->itemText(0), U("Амурск"));
  EXPECT_EQ(city->itemData(1).toInt(), 2);
  // Sections: three items, the first shown.
  auto* list = find<QListWidget>("List1");
  ASSERT_EQ(list->count(), 3);
  EXPECT_EQ(list->item(2)->text(), U("Участок №3"));
  EXPECT_EQ(list->currentRow(), 0);
  EXPECT_EQ(find<QLineEdit>("Text1")->text(), "1");
  EXPECT_EQ(box("Text11")->text(), "100");
  EXPECT_EQ(box("Text25")->text(), "30");
  EXPECT_EQ(find<QComboBox>("DataCombo4")->currentText(), U("Суглинок"));
  // Result views hidden until a run.
  for (const char* name : {"graf1", "imgDiagr1", "imgDiagr2", "imgRisk", "fraDiagr", "fraMessage", "cmdSaveResult",
                           "Max_0", "Command3", "Command7"})
    EXPECT_TRUE(find<QWidget>(name)->isHidden()) << name;
  // The start time was written.
  QSqlQuery q(db::Connection());
  ASSERT_TRUE(q.exec("SELECT Time_nast FROM tab_time") && q.next());
  EXPECT_NE(q.value(0).toString(), "2020-01-01T00:00:00");
  EXPECT_TRUE(messages.requests.empty());
}

TEST_F(MainWindowTest, ASecondActivationChangesNothing) {
  box("Text3")->setText("720");
  box("txtEroz")->setText("0,5");
  window->hide();
  window->show();
  window->Form_Activate();
  EXPECT_EQ(box("Text3")->text(), "720");
  EXPECT_EQ(box("txtEroz")->text(), "0,5");
}

TEST_F(MainWindowTest, RunMenuBecomesAvailableOnlyByAListChoice) {
  auto* run = find<QAction>("smProcess");
  EXPECT_FALSE(run->isEnabled());  // the gas restored from the settings row does not count
  choose("DataCombo6", 1);
  EXPECT_TRUE(run->isEnabled());
  EXPECT_EQ(window->RegionPos(), 2);
}

TEST_F(MainWindowTest, KeyFiltersOfTheBoxes) {
  auto typed = [this](const char* name, const QString& keys) {
    box(name)->clear();
    Type(box(name), keys);
    return box(name)->text();
  };
  EXPECT_EQ(typed("Text3", "7a2.0"), "72.0");    // letters refused
  EXPECT_EQ(typed("Text4", "-1,5"), "1,5");      // no minus
  EXPECT_EQ(typed("Text5", "-1,5"), "-1,5");     // minus in the temperature
  EXPECT_EQ(typed("Text14", "30.0,5"), "3005");  // whole seconds
  EXPECT_EQ(typed("Text20", "-x"), "-x");        // every key
  EXPECT_EQ(typed("Text25", "4a5,"), "45");      // digits only
  EXPECT_EQ(typed("txtStih", "0,5.2x"), "05.2"); // the comma is dropped
  box("P_tr")->show();
  EXPECT_EQ(typed("P_tr", "0,b2"), "0,2");
}

TEST_F(MainWindowTest, LeaveChecksConvertPointsAndKeepBadTexts) {
  box("Text4")->setText("1.5");
  EXPECT_TRUE(box("Text4")->runLeaveCheck());
  EXPECT_EQ(box("Text4")->text(), "1,5");
  EXPECT_TRUE(messages.requests.empty());
  box("Text26")->setText("");
  EXPECT_FALSE(box("Text26")->runLeaveCheck());
  ASSERT_EQ(messages.requests.size(), 1u);
  EXPECT_EQ(messages.requests[0].text, U("Проверте правильность ввода!"));
  EXPECT_EQ(messages.requests[0].title, U("Внимание!!!"));
  box("Text10")->setText("1.2.3");
  EXPECT_FALSE(box("Text10")->runLeaveCheck());
  EXPECT_EQ(box("Text10")->text(), "1,2,3");
}

TEST_F(MainWindowTest, ExternalFactorBoxesTakeEmptyAsZeroAndRefuseOutOfRange) {
  auto* eroz = box("txtEroz");
  eroz->setText("");
  EXPECT_TRUE(eroz->runLeaveCheck());
  EXPECT_EQ(eroz->text(), "0");
  eroz->setText("1");
  EXPECT_TRUE(eroz->runLeaveCheck());
  eroz->setText("0.5");
  EXPECT_TRUE(eroz->runLeaveCheck());
  EXPECT_EQ(eroz->text(), "0,5");
  EXPECT_TRUE(messages.requests.empty());
  eroz->setText("1.5");
  EXPECT_FALSE(eroz->runLeaveCheck());
  EXPECT_EQ(eroz->text(), "1,5");
  ASSERT_EQ(messages.requests.size(), 1u);
  EXPECT_EQ(messages.requests[0].text, U("Вероятность меняется от 0 до 1"));
  EXPECT_EQ(messages.requests[0].title, U("Веларон"));
  EXPECT_EQ(messages.requests[0].icon, QMessageBox::Warning);
  eroz->setText("0..5");  // two commas after the conversion: refused, not read
  EXPECT_FALSE(eroz->runLeaveCheck());
  EXPECT_EQ(messages.requests.back().text, U("Проверте правильность ввода!"));
}

TEST_F(MainWindowTest, DiameterIsClampedToItsRangeWithItsMessages) {
  auto* d = box("Text3");
  d->setText("99,9");
  EXPECT_FALSE(d->runLeaveCheck());
  EXPECT_EQ(d->text(), "100");
  ASSERT_EQ(messages.requests.size(), 1u);
  EXPECT_EQ(messages.requests[0].text, U("Значение диаметра трубопровода должно быть >= 100 мм!"));
  EXPECT_EQ(messages.requests[0].title, U("Внимание!!!"));
  EXPECT_EQ(messages.requests[0].icon, QMessageBox::NoIcon);
  d->setText("1500.5");
  EXPECT_FALSE(d->runLeaveCheck());
  EXPECT_EQ(d->text(), "1500");
  EXPECT_EQ(messages.requests.back().text, U("Значение трубопровода должно должно быть <= 1500 мм!"));
  messages.requests.clear();
  d->setText("100");
  EXPECT_TRUE(d->runLeaveCheck());
  d->setText("1500");
  EXPECT_TRUE(d->runLeaveCheck());
  EXPECT_TRUE(messages.requests.empty());
}

TEST_F(MainWindowTest, RunStartWithoutAGasAsksForItOnTheFirstTab) {
  find<QComboBox>("DataCombo1")->setCurrentIndex(-1);
  tabs()->setCurrentIndex(2);
  window->Command1_Click();
  ASSERT_EQ(messages.requests.size(), 1u);
  EXPECT_EQ(messages.requests[0].text, U("Выберите вид газа!"));
  EXPECT_EQ(messages.requests[0].title, U("Веларон"));
  EXPECT_EQ(messages.requests[0].icon, QMessageBox::Critical);
  EXPECT_EQ(tabs()->currentIndex(), 0);
  EXPECT_TRUE(find<QWidget>("DataCombo1")->hasFocus());
  EXPECT_EQ(opened, 0);
}

TEST_F(MainWindowTest, RunStartByRegionWithoutARegionAsksForIt) {
  window->Command1_Click();
  ASSERT_EQ(messages.requests.size(), 1u);
  EXPECT_EQ(messages.requests[0].text, U("Необходимо выбрать регион!"));
  EXPECT_EQ(tabs()->currentIndex(), 2);
  EXPECT_TRUE(find<QWidget>("DataCombo6")->hasFocus());
  EXPECT_EQ(opened, 0);
  // The menu runs the same start.
  choose("DataCombo1", 0);
  window->smProcess_Click();
  EXPECT_EQ(messages.requests.size(), 2u);
  EXPECT_EQ(opened, 0);
}

TEST_F(MainWindowTest, TypedWayWithAnEmptyBoxAsksForTheProbability) {
  find<QRadioButton>("Option3")->click();
  EXPECT_FALSE(find<QComboBox>("DataCombo6")->isEnabled());
  EXPECT_FALSE(box("alfa_tr")->isHidden());
  box("alfa_tr")->clear();
  tabs()->setCurrentIndex(0);
  window->Command1_Click();
  ASSERT_EQ(messages.requests.size(), 1u);
  EXPECT_EQ(messages.requests[0].text,
            U("Необходимо ввести вероятность возникновения хотя бы одной аварии на газопроводе (1 км)  в течение года!"));
  EXPECT_EQ(tabs()->currentIndex(), 2);
  EXPECT_TRUE(box("alfa_tr")->hasFocus());
  EXPECT_EQ(opened, 0);
  // Typed in, the run starts with it unchanged and no region.
  box("alfa_tr")->setText("0,002");
  window->Command1_Click();
  ASSERT_EQ(opened, 1);
  EXPECT_EQ(request.rate.way, 3);
  EXPECT_DOUBLE_EQ(request.rate.alfa_tr, 0.002);
  EXPECT_DOUBLE_EQ(window->lastAccidentRate().AccidentRate, 0.002);
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

TEST_F(MainWindowTest, ABadBoxOnAnotherTabStopsTheStartThere) {
  choose("DataCombo6", 0);
  box("Text6")->setText("abc");
  tabs()->setCurrentIndex(2);
  window->Command1_Click();
  EXPECT_EQ(opened, 0);
  ASSERT_FALSE(messages.requests.empty());
  EXPECT_EQ(messages.requests.back().text, U("Проверте правильность ввода!"));
  EXPECT_EQ(tabs()->currentIndex(), 0);
  EXPECT_TRUE(box("Text6")->hasFocus());
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
  EXPECT_EQ(request.rate.way, 2);
  EXPECT_EQ(request.rate.RegionPos, 1);
  EXPECT_DOUBLE_EQ(request.rate.Text8, 0.33);
  EXPECT_EQ(request.pipeline.Gas, 2);
  EXPECT_DOUBLE_EQ(request.pipeline.Diametr, 1020);
  EXPECT_DOUBLE_EQ(request.pipeline.Temp, 12);
  EXPECT_DOUBLE_EQ(request.pipeline.InversPercent, 20);
  EXPECT_EQ(request.external.Check5, 1);
  EXPECT_EQ(request.external.Check8, 1);
  EXPECT_EQ(request.external.Check6, 0);
  EXPECT_DOUBLE_EQ(request.external.Rechper, 0.3);
  // The boxes reach the sum at the start: erosion 0,2 + river crossings 0,3.
  EXPECT_NEAR(window->ExtFactors(), 0.5, 1e-12);
  EXPECT_EQ(request.section.TPID, 2);
  EXPECT_DOUBLE_EQ(request.section.Length, 250.5);
  EXPECT_EQ(request.run.idCity, 2);
  EXPECT_EQ(request.settings.XLimit, 1000);
  EXPECT_EQ(request.texts.Mestn, U("Приморье"));
  EXPECT_EQ(request.texts.gasName, U("Пропан"));
  EXPECT_EQ(request.texts.regionName, U("Север"));
  EXPECT_EQ(request.texts.cityName, U("Хабаровск"));
  EXPECT_EQ(request.texts.groundNames[3], U("Граниты"));
  EXPECT_TRUE(request.options.OptExtraFiles);
}

TEST_F(MainWindowTest, ExternalFactorCheckBoxesChangeCaptionsAndTheSum) {
  auto* stih = find<QCheckBox>("Check6");
  EXPECT_EQ(stih->text(), U("стихийные бедствия (бури, разрушительные землетрясения)"));
  stih->click();
  EXPECT_EQ(stih->text(), U("стихийные бедствия, с вероятностью"));
  EXPECT_FALSE(box("txtStih")->isHidden());
  EXPECT_DOUBLE_EQ(window->ExtFactors(), 0.01);
  // An edited box enters the sum only at the next start of a run.
  box("txtEroz")->setText("0,7");
  find<QCheckBox>("Check5")->click();
  EXPECT_NEAR(window->ExtFactors(), 0.21, 1e-12);
  stih->click();
  EXPECT_EQ(stih->text(), U("стихийные бедствия (бури, разрушительные землетрясения)"));
  EXPECT_TRUE(box("txtStih")->isHidden());
  EXPECT_NEAR(window->ExtFactors(), 0.2, 1e-12);
}

TEST_F(MainWindowTest, SavedPipelineDataShowAtTheNextStart) {
  box("Text3")->setText("720");
  box("Text5")->setText("-5,5");
  choose("DataCombo1", 0);
  window->cmdSave_Click();
  EXPECT_TRUE(messages.requests.empty());
  auto row = db::LoadAdjustment();
  ASSERT_TRUE(row);
  EXPECT_DOUBLE_EQ(row->Diametr, 720);
  EXPECT_DOUBLE_EQ(row->Temp, -5.5);
  EXPECT_EQ(row->Gas, 1);
  EXPECT_EQ(row->XLimit, 1000);  // the settings stay
  ui::Form1 next;
  next.show();
  EXPECT_EQ(next.findChild<QLineEdit*>("Text3")->text(), "720");
  EXPECT_EQ(next.findChild<QLineEdit*>("Text5")->text(), "-5,5");
  EXPECT_EQ(next.findChild<QComboBox*>("DataCombo1")->currentText(), U("Метан"));
  // A box that is not a number stores nothing.
  box("Text13")->setText("");
  window->cmdSave_Click();
  EXPECT_EQ(messages.requests.size(), 1u);
  EXPECT_DOUBLE_EQ(db::LoadAdjustment()->Ltrub, 120);
}

TEST_F(MainWindowTest, AStoreTheDatabaseRefusesIsShownAndChangesNothing) {
  test::TempDatabase::exec("CREATE TRIGGER refuse BEFORE UPDATE ON Adjustment BEGIN SELECT RAISE(ABORT, 'locked'); END");
  box("Text3")->setText("720");
  window->cmdSave_Click();
  ASSERT_EQ(messages.requests.size(), 1u);
  EXPECT_EQ(messages.requests[0].icon, QMessageBox::Critical);
  EXPECT_DOUBLE_EQ(db::LoadAdjustment()->Diametr, 1020);
  EXPECT_EQ(box("Text3")->text(), "720");  // what was typed stays for another try
}

TEST_F(MainWindowTest, NothingCanBeEditedDuringARun) {
  window->setRunning(true);
  EXPECT_EQ(find<QPushButton>("Command1")->text(), U("Идет расчет"));
  EXPECT_FALSE(find<QPushButton>("Command1")->isEnabled());
  EXPECT_FALSE(tabs()->isEnabled());
  EXPECT_FALSE(window->menuBar()->isEnabled());
  window->Command1_Click();
  EXPECT_EQ(opened, 0);
  window->setRunning(false);
  EXPECT_EQ(find<QPushButton>("Command1")->text(), U("Расчет"));
  EXPECT_TRUE(tabs()->isEnabled());
}

namespace {
std::shared_ptr<run::RunSnapshot> Snapshot(int code, std::array<double, 4> zones) {
  auto s = std::make_shared<run::RunSnapshot>();
  s->ScenarioCode = code;
  s->CurZones = zones;
  s->request.settings.XLimit = 200;
  s->request.settings.YLimit = 200;
  s->request.settings.CStep = 10;
  s->GridValue.resize(10, 10);
  s->GridValue(2, -3) = 42;
  s->graf1.points = {{0, 10}, {10, 5}};
  s->graf2.points = {{0, 99}, {10, 50}};
  s->imgDiagr1 = QImage(20, 10, QImage::Format_RGB32);
  return s;
}
}  // namespace

TEST_F(MainWindowTest, AFinishedRunShowsItsZonesChartsAndTheResultTab) {
  window->setRunning(true);
  window->onRunFinished(Snapshot(2, {10, 20.5, 30, 40}));
  EXPECT_TRUE(tabs()->isTabEnabled(3));
  EXPECT_EQ(tabs()->currentIndex(), 3);
  EXPECT_EQ(find<QLineEdit>("txtRsm")->text(), "10");
  EXPECT_EQ(find<QLineEdit>("txtRs")->text(), "20,5");
  EXPECT_EQ(find<QLineEdit>("txtRsl")->text(), "40");
  EXPECT_EQ(find<QLineEdit>("txtRb")->text(), ">40");
  EXPECT_TRUE(find<QWidget>("fraMessage")->isHidden());
  for (const char* name : {"graf1", "graf2", "imgDiagr1", "fraDiagr", "cmdSaveResult"})
    EXPECT_FALSE(find<QWidget>(name)->isHidden()) << name;
  EXPECT_FALSE(find<QLabel>("imgDiagr1")->pixmap().isNull());
  EXPECT_TRUE(find<QPushButton>("Command1")->isEnabled());
  EXPECT_EQ(find<QPushButton>("Command1")->text(), U("Расчет"));
  auto* chart = find<QChartView>("graf1")->chart();
  ASSERT_EQ(chart->series().size(), 1);
  EXPECT_EQ(chart->axes(Qt::Vertical).first()->titleText(), U("Избыточное давление, кПа"));
  // The outermost zone not found: "уточнить" and the note.
  window->onRunFinished(Snapshot(5, {-1, 5, 6, -1}));
  EXPECT_EQ(find<QLineEdit>("txtRsm")->text(), U("уточнить"));
  EXPECT_EQ(find<QLineEdit>("txtRb")->text(), U("уточнить"));
  EXPECT_FALSE(find<QWidget>("fraMessage")->isHidden());
  chart = find<QChartView>("graf1")->chart();
  EXPECT_EQ(chart->axes(Qt::Vertical).first()->titleText(), U("Плотность тепл. потока, кВт/кв.м"));
}

TEST_F(MainWindowTest, ResultOptionsSwitchTheViews) {
  window->onRunFinished(Snapshot(7, {1, 2, 3, 4}));
  find<QWidget>("fraZon")->hide();
  find<QRadioButton>("optPor")->click();
  EXPECT_TRUE(find<QWidget>("graf1")->isHidden());  // the year-round runs have no graf1 view
  EXPECT_TRUE(find<QWidget>("fraZon")->isHidden());  // left as it was
  EXPECT_FALSE(find<QWidget>("imgDiagr1")->isHidden());
  find<QRadioButton>("optVer")->click();
  EXPECT_FALSE(find<QWidget>("graf2")->isHidden());
  EXPECT_FALSE(find<QWidget>("imgDiagr2")->isHidden());
  EXPECT_TRUE(find<QWidget>("imgDiagr1")->isHidden());
  find<QRadioButton>("optRisk")->click();
  EXPECT_FALSE(find<QWidget>("imgRisk")->isHidden());
  EXPECT_TRUE(find<QWidget>("graf2")->isHidden());
  EXPECT_TRUE(find<QWidget>("imgDiagr2")->isHidden());
  window->onRunFinished(Snapshot(2, {1, 2, 3, 4}));
  find<QRadioButton>("optPor")->click();
  EXPECT_FALSE(find<QWidget>("graf1")->isHidden());
  EXPECT_FALSE(find<QWidget>("fraZon")->isHidden());
  EXPECT_TRUE(find<QWidget>("imgRisk")->isHidden());
}

TEST_F(MainWindowTest, SaveResultsCallsTheWriterOfTheLastRunsCode) {
  std::vector<int> written;
  for (int code = 1; code <= 8; ++code)
    window->setReportWriter(code, [&written, code](QWidget*, const run::RunSnapshot& s) {
      EXPECT_EQ(s.ScenarioCode, code);
      written.push_back(code);
    });
  window->cmdSaveResult_Click();  // no run yet: nothing
  EXPECT_TRUE(written.empty());
  window->onRunFinished(Snapshot(6, {1, 2, 3, 4}));
  window->cmdSaveResult_Click();
  window->cmdSaveResult_Click();
  window->onRunFinished(Snapshot(1, {1, 2, 3, 4}));
  window->cmdSaveResult_Click();
  EXPECT_EQ(written, (std::vector<int>{6, 6, 1}));
}

TEST_F(MainWindowTest, GridToolsReadTheLastRunsGrid) {
  window->onRunFinished(Snapshot(2, {1, 2, 3, 4}));
  window->Command3_Click();
  EXPECT_EQ(find<QLineEdit>("Max_0")->text(), "42");
  EXPECT_EQ(find<QLineEdit>("Max_1")->text(), "2");
  EXPECT_EQ(find<QLineEdit>("Max_2")->text(), "-3");
  find<QLineEdit>("Max_1")->setText("20");
  find<QLineEdit>("Max_2")->setText("-30");
  window->Command7_Click();
  EXPECT_EQ(find<QLineEdit>("Max_0")->text(), "42");  // a node
  find<QLineEdit>("Max_1")->setText("-100");
  window->Command7_Click();
  ASSERT_FALSE(messages.requests.empty());
  EXPECT_EQ(messages.requests.back().text, U("Точка выходит за границы расчета"));
}

TEST_F(MainWindowTest, TheDistanceChartsShowTheirLongTitlesWholeAndCommaNumbers) {
  // A chart view of the smallest size the results tab gives its charts, with the longest y title.
  QChartView view;
  view.resize(find<QChartView>("graf1")->minimumSize());
  ui::SetDistanceChart(&view, {{0, 1}, {100, 16.4}}, U("Расстояние от газопровода, м"),
                       U("Плотность тепл. потока, кВт/кв.м"));
  view.show();
  QApplication::processEvents();
  QChart* chart = view.chart();
  auto* yAxis = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).first());
  ASSERT_NE(yAxis, nullptr);
  // The vertical title runs along the plot's height and is cut short ("Плотность тепл. поток...") when it
  // is longer: with the default bold title font, wide margins and a 240 px view the plot was 30 to 50 px
  // shorter than the title.
  const int titleLength = QFontMetrics(yAxis->titleFont()).horizontalAdvance(yAxis->titleText());
  EXPECT_LE(titleLength, chart->plotArea().height()) << yAxis->titleText().toStdString();
  // Tick labels with the decimal comma, like the zone boxes beside them: 5.5 reads "5,5".
  EXPECT_TRUE(chart->localizeNumbers());
  EXPECT_EQ(chart->locale().toString(5.5, 'f', 1), U("5,5"));
}

TEST_F(MainWindowTest, TheWindowKeepsTheSizeTheUserGaveItWhenShownAgain) {
  // The user drags the window larger (through the window system, not through the program).
  QApplication::processEvents();
  const QSize given = window->size() + QSize(131, 97);
  window->windowHandle()->resize(given);
  QApplication::processEvents();
  ASSERT_EQ(window->size(), given);
  // Opening an editor hides the main window, leaving it shows it again: before, it came back at its size
  // hint, smaller than the size the user had given it.
  window->hide();
  window->show();
  QApplication::processEvents();
  EXPECT_EQ(window->size(), given);
}

TEST_F(MainWindowTest, ThePressureBoxesKeepRoomForANumber) {
  // The two pressure boxes share one row; a narrow window squeezed them to a line edit's own minimum
  // (about 28 px), less than "7,45". The smallest width a layout may give a box is the larger of its
  // minimum width and its minimum size hint.
  for (const char* name : {"Text4", "Text6"}) {
    const QFontMetrics fm(box(name)->font());
    const int floor = std::max(box(name)->minimumWidth(), box(name)->minimumSizeHint().width());
    EXPECT_GE(floor, fm.horizontalAdvance(U("7,45")) + 12) << name;
  }
}

TEST(PictureLabel, APictureIsShownWholeInTheRoomItIsGiven) {
  ui::PictureLabel label;
  label.resize(360, 240);
  label.show();
  // A result picture is 560 × 440; before, it was shown at 407 × 320 in a cell some 280 px tall and lost
  // its title and its top and bottom labels. In 360 × 240 it is scaled by 240 / 440: 305 × 240.
  label.setPicture(QImage(560, 440, QImage::Format_RGB32));
  EXPECT_EQ(label.pixmap().size(), QSize(305, 240));
  // Given more room the picture grows back, never beyond its own size.
  label.resize(1000, 1000);
  EXPECT_EQ(label.pixmap().size(), QSize(560, 440));
  // The picture does not ask the layout for its own size.
  label.setMinimumSize(360, 240);
  EXPECT_EQ(label.sizeHint(), QSize(360, 240));
}
