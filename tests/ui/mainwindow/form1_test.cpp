// The main window: its names and captions, the first activation, the number boxes, the start of a run,
// the result display.
#include <QAction>
#include <QChart>
#include <QChartView>
#include <QGroupBox>
#include <QLabel>
#include <QMap>
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

TEST_F(MainWindowTest, NamesCaptionsLabelsAndMenus) {
  EXPECT_EQ(window->objectName(), "Form1");
  EXPECT_EQ(window->windowTitle(), U("Программа \"Веларон\""));
  const char* tabTexts[] = {"Данные по газопроводу", "Данные по участкам", "Вероятность аварии", "Диаграммы"};
  ASSERT_EQ(tabs()->count(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(tabs()->tabText(i), U(tabTexts[i]));
  // Buttons, frames and menu items by name, with their captions.
  const std::pair<const char*, const char*> captions[] = {
      {"Command1", "Расчет"}, {"Command2", "Выход"}, {"cmdSave", "Сохранить данные"}, {"bAdd", "Добавить"},
      {"bDelete", "Удалить"}, {"cmdSpecifyCity", "Уточнить данные"}, {"cmdSaveResult", "Сохранить результаты"},
      {"Command3", "Отрисовка"}, {"Frame5", "Определение интенсивности аварий на 1000 км в год"},
      {"Frame9", "Влияние внешних факторов"}, {"fraZon", "Глубина зон поражения:"},
      {"optPor", "Значения пораж. фактора"}, {"optVer", "Вероятность поражения"}, {"optRisk", "Риск"},
      {"smProcess", "Произвести расчет"}, {"mnuGaz", "Добавление\\изменение БД газов"},
      {"mnuStatistika", "Статистика аварий для территорий"}, {"smHelp", "Инструкция пользователя"},
      {"smAbout", "О программе ..."}, {"smParam", "Параметры"}, {"smExit", "Выход"}};
  for (const auto& [name, caption] : captions) {
    QString shown;
    if (auto* b = window->findChild<QAbstractButton*>(name)) shown = b->text();
    else if (auto* g = window->findChild<QGroupBox*>(name)) shown = g->title();
    else if (auto* a = window->findChild<QAction*>(name)) shown = a->text();
    EXPECT_EQ(shown, U(caption)) << name;
  }
  EXPECT_TRUE(find<QPushButton>("Command4")->text().startsWith(U("Характеристика грунтов")));
  EXPECT_TRUE(find<QPushButton>("Command4")->text().endsWith("-"));
  EXPECT_TRUE(find<QPushButton>("Command5")->text().startsWith(U("Особые условия залегания")));
  // Named controls beside the number boxes of the table below.
  for (const char* name :
       {"Text27", "DataCombo1", "List1", "Text1", "Text25", "Picture1", "Command6", "Text7", "Frame6", "Frame7",
        "Frame8", "DataCombo5", "DataCombo2", "DataCombo3", "DataCombo4", "Check1", "Check2", "Check3", "Check4",
        "cmbCity", "DataCombo6", "Option1", "Option2", "Option3", "Combo2", "Check5", "Check6", "Check7", "Check8",
        "txtEroz", "txtStih", "txtZapor", "txtRechper", "graf1", "graf2", "imgDiagr1", "imgDiagr2", "imgRisk",
        "fraDiagr", "fraMessage", "txtRsm", "txtRs", "txtRsr", "txtRsl", "txtRb", "Max_0", "Max_1", "Max_2",
        "Command7", "Label19"})
    EXPECT_NE(window->findChild<QWidget*>(name), nullptr) << name;
  // The jet-flame item and its separator are hidden; the run item waits for a list choice.
  EXPECT_FALSE(find<QAction>("smProcess")->isEnabled());
  EXPECT_FALSE(find<QAction>("mnuTrub")->isVisible());
  EXPECT_FALSE(find<QAction>("z")->isVisible());

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
        "наличие запорных арматур", "Зона безусловного поражения, м", "Зона безопасноси, м:"})
    EXPECT_TRUE(shown.contains(U(text))) << text;
  // The separators between the editors' items, one with its Cyrillic name.
  QStringList separators;
  for (auto* a : window->findChildren<QAction*>())
    if (a->isSeparator()) separators << a->objectName();
  for (const QString& s : {U("ооо"), U("sm1"), U("sm2")}) EXPECT_TRUE(separators.contains(s)) << s.toStdString();
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

TEST_F(MainWindowTest, EveryNumberBoxHasItsKeysLeaveCheckAndDesignerTextUntilTheSetUpRuns) {
  // The table of the number boxes, copied from the window's description (keys: D decimal, D- signed,
  // I integer, none; leave: P decimal, N integer). A window whose set-up is not pending (as the start-up
  // marks it) keeps the designer texts, also those the stored pipeline data would replace, and no sections.
  ui::AppContext context;
  context.FirstActivate = false;
  ui::Form1 designer;
  designer.setAppContext(&context);
  designer.show();
  using K = ui::NumericBox::Keys;
  using L = ui::NumericBox::Leave;
  // Decimal keys and a decimal leave check, except for these.
  const QMap<QString, std::pair<K, L>> special = {
      {"Text5", {K::SignedDecimal, L::Decimal}}, {"Text14", {K::Integer, L::Integer}}, {"Text20", {K::Any, L::Decimal}}};
  const std::pair<const char*, const char*> table[] = {
      {"alfa_tr", "1"},    {"Text8", "0,33"},   {"Text12", "14,3"},  {"Text3", "500"},       {"Text4", "7,5"},
      {"Text6", "6,9"},    {"Text5", "10"},     {"Text10", "1,2"},   {"Text13", "3"},        {"Lkr", "1"},
      {"Text14", "300"},   {"Text15", "472,45"}, {"Text16", "31"},   {"Text17", "34,3"},     {"Text18", "3,3"},
      {"Text19", "17,2"},  {"Text20", "41,3"},  {"Text21", "436000"}, {"Text22", "20"},      {"Text23", "41,3"},
      {"Text24", "2100"},  {"Text2", "0,817"},  {"Text26", "0,20"},  {"Text11", ""},         {"Text9", ""},
      {"P_avto", "0,1"},   {"P_LEP", "0,05"},   {"P_tr", "0,2"},     {"P_kab", "0,08"}};
  for (const auto& [name, text] : table) {
    auto* w = designer.findChild<ui::NumericBox*>(QString::fromLatin1(name));
    ASSERT_NE(w, nullptr) << name;
    const auto [keys, leave] = special.value(name, {K::Decimal, L::Decimal});
    EXPECT_EQ(w->keys(), keys) << name;
    EXPECT_EQ(w->leave(), leave) << name;
    EXPECT_EQ(w->text(), U(text)) << name;
  }
  // The external-factor boxes start empty until the set-up fills them.
  for (const char* name : {"txtEroz", "txtStih", "txtZapor", "txtRechper"})
    EXPECT_EQ(designer.findChild<QLineEdit*>(name)->text(), "") << name;
  EXPECT_EQ(designer.findChild<QListWidget*>("List1")->count(), 0);
  // Marked pending, the set-up runs once and clears the mark.
  context.FirstActivate = true;
  ui::Form1 first;
  first.setAppContext(&context);
  first.show();
  EXPECT_EQ(first.findChild<QLineEdit*>("Text3")->text(), "1020");
  EXPECT_FALSE(context.FirstActivate);
  EXPECT_TRUE(context.options.OptExtraFiles);
  EXPECT_TRUE(context.options.Opt3D);
}

TEST_F(MainWindowTest, FirstActivationLoadsTheStoredPipelineAndTheFirstSection) {
  EXPECT_FALSE(window->firstActivationPending());
  EXPECT_FALSE(tabs()->isTabEnabled(3));
  EXPECT_EQ(tabs()->currentIndex(), 0);
  EXPECT_EQ(window->Gas(), 2);
  EXPECT_EQ(find<QComboBox>("DataCombo1")->currentText(), U("Пропан"));
  // The stored row of the test database (Glubina 1,5, Diametr 1020, 7,4 / 5,4, 12, 120, 250, 25); boxes not
  // stored keep their starting texts; the external factors get their defaults; section 1 is shown.
  expectTexts({{"Text10", "1,5"},  {"Text3", "1020"},    {"Text4", "7,4"},    {"Text6", "5,4"},   {"Text5", "12"},
               {"Text13", "120"},  {"Text14", "250"},     {"Lkr", "25"},       {"Text8", "0,33"},  {"alfa_tr", "1"},
               {"Text12", "14,3"}, {"P_kab", "0,08"},     {"txtEroz", "0,2"},  {"txtStih", "0,01"}, {"txtZapor", "0,2"},
               {"txtRechper", "0,1"}, {"Text1", "1"},     {"Text11", "100"},   {"Text25", "30"}});
  // No region chosen; accident rate by region.
  EXPECT_EQ(window->RegionPos(), -1);
  EXPECT_TRUE(find<QRadioButton>("Option1")->isChecked());
  expectHidden({"Text8", "alfa_tr"});
  // Towns in name order with their ids.
  auto* city = find<QComboBox>("cmbCity");
  ASSERT_EQ(city->count(), 2);
  EXPECT_EQ(city->itemText(0), U("Амурск"));
  EXPECT_EQ(city->itemData(1).toInt(), 2);
  auto* list = find<QListWidget>("List1");
  ASSERT_EQ(list->count(), 3);
  EXPECT_EQ(list->item(2)->text(), U("Участок №3"));
  EXPECT_EQ(list->currentRow(), 0);
  EXPECT_EQ(find<QComboBox>("DataCombo4")->currentText(), U("Суглинок"));
  // Result views hidden until a run.
  expectHidden({"graf1", "imgDiagr1", "imgDiagr2", "imgRisk", "fraDiagr", "fraMessage", "cmdSaveResult", "Max_0",
                "Command3", "Command7"});
  // The start time was written.
  QSqlQuery q(db::Connection());
  ASSERT_TRUE(q.exec("SELECT Time_nast FROM tab_time") && q.next());
  EXPECT_NE(q.value(0).toString(), "2020-01-01T00:00:00");
  EXPECT_TRUE(messages.requests.empty());
  // A second activation changes nothing.
  box("Text3")->setText("720");
  box("txtEroz")->setText("0,5");
  window->hide();
  window->show();
  window->Form_Activate();
  expectTexts({{"Text3", "720"}, {"txtEroz", "0,5"}});
}

TEST_F(MainWindowTest, KeyFiltersOfTheBoxesOutsideTheTable) {
  auto typed = [this](const char* name, const QString& keys) {
    box(name)->clear();
    Type(box(name), keys);
    return box(name)->text();
  };
  EXPECT_EQ(typed("Text25", "4a5,"), "45");       // digits only
  EXPECT_EQ(typed("txtStih", "0,5.2x"), "05.2");  // the comma is dropped
}

TEST_F(MainWindowTest, ExternalFactorBoxesTakeEmptyAsZeroAndRefuseOutOfRange) {
  auto* eroz = box("txtEroz");
  for (const auto& [typed, kept] : {std::pair{"", "0"}, {"1", "1"}, {"0.5", "0,5"}}) {
    eroz->setText(typed);
    EXPECT_TRUE(eroz->runLeaveCheck()) << typed;
    EXPECT_EQ(eroz->text(), kept);
  }
  EXPECT_TRUE(messages.requests.empty());
  eroz->setText("1.5");
  EXPECT_FALSE(eroz->runLeaveCheck());
  EXPECT_EQ(eroz->text(), "1,5");
  expectMessage("Вероятность меняется от 0 до 1", "Веларон", QMessageBox::Warning);
  eroz->setText("0..5");  // two commas after the conversion: refused, not read
  EXPECT_FALSE(eroz->runLeaveCheck());
  expectMessage("Проверте правильность ввода!");
}

TEST_F(MainWindowTest, DiameterIsClampedToItsRangeWithItsMessages) {
  auto* d = box("Text3");
  const char* tooSmall = "Значение диаметра трубопровода должно быть >= 100 мм!";
  const char* tooLarge = "Значение трубопровода должно должно быть <= 1500 мм!";
  struct Case { const char* typed; const char* kept; const char* message; };
  for (const Case& c : {Case{"99,9", "100", tooSmall}, Case{"1500.5", "1500", tooLarge}, Case{"100", "100", nullptr},
                        Case{"1500", "1500", nullptr}}) {
    d->setText(c.typed);
    EXPECT_EQ(d->runLeaveCheck(), c.message == nullptr) << c.typed;
    EXPECT_EQ(d->text(), c.kept);
    if (c.message) expectMessage(c.message, "Внимание!!!", QMessageBox::NoIcon);
  }
  EXPECT_TRUE(messages.requests.empty());
}

TEST_F(MainWindowTest, RunStartWithoutAGasOrARegionOrWithABadBoxAsksOnTheirTab) {
  // The run item waits for a list choice: the gas restored from the settings row does not count.
  EXPECT_FALSE(find<QAction>("smProcess")->isEnabled());
  find<QComboBox>("DataCombo1")->setCurrentIndex(-1);
  tabs()->setCurrentIndex(2);
  window->Command1_Click();
  expectMessage("Выберите вид газа!", "Веларон", QMessageBox::Critical);
  EXPECT_EQ(tabs()->currentIndex(), 0);
  EXPECT_TRUE(find<QWidget>("DataCombo1")->hasFocus());
  // With a gas, by region without a region; the menu runs the same start.
  choose("DataCombo1", 0);
  for (auto start : {&ui::Form1::Command1_Click, &ui::Form1::smProcess_Click}) {
    tabs()->setCurrentIndex(0);
    (window.get()->*start)();
    expectMessage("Необходимо выбрать регион!");
    EXPECT_EQ(tabs()->currentIndex(), 2);
    EXPECT_TRUE(find<QWidget>("DataCombo6")->hasFocus());
  }
  // A bad box on another tab stops the start there.
  choose("DataCombo6", 1);
  EXPECT_TRUE(find<QAction>("smProcess")->isEnabled());
  EXPECT_EQ(window->RegionPos(), 2);
  box("Text6")->setText("abc");
  window->Command1_Click();
  expectMessage("Проверте правильность ввода!");
  EXPECT_EQ(tabs()->currentIndex(), 0);
  EXPECT_TRUE(box("Text6")->hasFocus());
  EXPECT_EQ(opened, 0);
}

TEST_F(MainWindowTest, TypedWayWithAnEmptyBoxAsksForTheProbability) {
  find<QRadioButton>("Option3")->click();
  EXPECT_FALSE(find<QComboBox>("DataCombo6")->isEnabled());
  EXPECT_FALSE(box("alfa_tr")->isHidden());
  box("alfa_tr")->clear();
  tabs()->setCurrentIndex(0);
  window->Command1_Click();
  expectMessage("Необходимо ввести вероятность возникновения хотя бы одной аварии на газопроводе (1 км)  в течение года!");
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
  EXPECT_EQ(QStringList({request.texts.Mestn, request.texts.gasName, request.texts.regionName, request.texts.cityName,
                         request.texts.groundNames[3]}),
            QStringList({U("Приморье"), U("Пропан"), U("Север"), U("Хабаровск"), U("Граниты")}));
  EXPECT_TRUE(request.options.OptExtraFiles);
}

TEST_F(MainWindowTest, ExternalFactorCheckBoxesChangeCaptionsAndTheSum) {
  auto* stih = find<QCheckBox>("Check6");
  const QString plain = U("стихийные бедствия (бури, разрушительные землетрясения)");
  EXPECT_EQ(stih->text(), plain);
  stih->click();
  EXPECT_EQ(stih->text(), U("стихийные бедствия, с вероятностью"));
  EXPECT_FALSE(box("txtStih")->isHidden());
  EXPECT_DOUBLE_EQ(window->ExtFactors(), 0.01);
  // An edited box enters the sum only at the next start of a run.
  box("txtEroz")->setText("0,7");
  find<QCheckBox>("Check5")->click();
  EXPECT_NEAR(window->ExtFactors(), 0.21, 1e-12);
  stih->click();
  EXPECT_EQ(stih->text(), plain);
  EXPECT_TRUE(box("txtStih")->isHidden());
  EXPECT_NEAR(window->ExtFactors(), 0.2, 1e-12);
}

TEST_F(MainWindowTest, SavedPipelineDataShowAtTheNextStartAndARefusedStoreChangesNothing) {
  box("Text3")->setText("720");
  box("Text5")->setText("-5,5");
  choose("DataCombo1", 0);
  // A store the database refuses is shown, and what was typed stays for another try.
  test::TempDatabase::exec("CREATE TRIGGER refuse BEFORE UPDATE ON Adjustment BEGIN SELECT RAISE(ABORT, 'locked'); END");
  window->cmdSave_Click();
  expectMessage(nullptr, nullptr, QMessageBox::Critical);
  EXPECT_DOUBLE_EQ(db::LoadAdjustment()->Diametr, 1020);
  EXPECT_EQ(box("Text3")->text(), "720");
  test::TempDatabase::exec("DROP TRIGGER refuse");
  window->cmdSave_Click();
  EXPECT_TRUE(messages.requests.empty());
  auto row = db::LoadAdjustment();
  ASSERT_TRUE(row);
  EXPECT_EQ(std::tuple(row->Diametr, row->Temp, row->Gas, row->XLimit), std::tuple(720.0, -5.5, 1, 1000));
  window = std::make_unique<ui::Form1>();
  window->show();
  expectTexts({{"Text3", "720"}, {"Text5", "-5,5"}});
  EXPECT_EQ(find<QComboBox>("DataCombo1")->currentText(), U("Метан"));
  // A box that is not a number stores nothing.
  box("Text13")->setText("");
  window->cmdSave_Click();
  EXPECT_EQ(messages.requests.size(), 1u);
  EXPECT_DOUBLE_EQ(db::LoadAdjustment()->Ltrub, 120);
}

namespace {
std::shared_ptr<result::RunSnapshot> Snapshot(int code, std::array<double, 4> zones) {
  auto s = std::make_shared<result::RunSnapshot>();
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

TEST_F(MainWindowTest, NothingCanBeEditedDuringARunAndAFinishedRunShowsItsZonesChartsAndTheResultTab) {
  window->setRunning(true);
  EXPECT_EQ(find<QPushButton>("Command1")->text(), U("Идет расчет"));
  EXPECT_FALSE(find<QPushButton>("Command1")->isEnabled());
  EXPECT_FALSE(tabs()->isEnabled());
  EXPECT_FALSE(window->menuBar()->isEnabled());
  window->Command1_Click();
  EXPECT_EQ(opened, 0);
  window->onRunFinished(Snapshot(2, {10, 20.5, 30, 40}));
  EXPECT_TRUE(tabs()->isTabEnabled(3));
  EXPECT_EQ(tabs()->currentIndex(), 3);
  expectTexts({{"txtRsm", "10"}, {"txtRs", "20,5"}, {"txtRsl", "40"}, {"txtRb", ">40"}});
  expectHidden({"fraMessage"});
  expectHidden({"graf1", "graf2", "imgDiagr1", "fraDiagr", "cmdSaveResult"}, false);
  EXPECT_FALSE(find<QLabel>("imgDiagr1")->pixmap().isNull());
  EXPECT_TRUE(find<QPushButton>("Command1")->isEnabled());
  EXPECT_EQ(find<QPushButton>("Command1")->text(), U("Расчет"));
  EXPECT_TRUE(tabs()->isEnabled());
  EXPECT_TRUE(window->menuBar()->isEnabled());
  auto* chart = find<QChartView>("graf1")->chart();
  ASSERT_EQ(chart->series().size(), 1);
  EXPECT_EQ(chart->axes(Qt::Vertical).first()->titleText(), U("Избыточное давление, кПа"));
  // The outermost zone not found: "уточнить" and the note.
  window->onRunFinished(Snapshot(5, {-1, 5, 6, -1}));
  expectTexts({{"txtRsm", "уточнить"}, {"txtRb", "уточнить"}});
  expectHidden({"fraMessage"}, false);
  chart = find<QChartView>("graf1")->chart();
  EXPECT_EQ(chart->axes(Qt::Vertical).first()->titleText(), U("Плотность тепл. потока, кВт/кв.м"));
}

TEST_F(MainWindowTest, ResultOptionsSwitchTheViews) {
  auto expectShown = [this](std::initializer_list<const char*> shown, std::initializer_list<const char*> hidden) {
    expectHidden(shown, false);
    expectHidden(hidden);
  };
  window->onRunFinished(Snapshot(7, {1, 2, 3, 4}));
  find<QWidget>("fraZon")->hide();
  find<QRadioButton>("optPor")->click();
  // The year-round runs have no graf1 view; the zone frame is left as it was.
  expectShown({"imgDiagr1"}, {"graf1", "fraZon"});
  find<QRadioButton>("optVer")->click();
  expectShown({"graf2", "imgDiagr2"}, {"imgDiagr1"});
  find<QRadioButton>("optRisk")->click();
  expectShown({"imgRisk"}, {"graf2", "imgDiagr2"});
  window->onRunFinished(Snapshot(2, {1, 2, 3, 4}));
  find<QRadioButton>("optPor")->click();
  expectShown({"graf1", "fraZon"}, {"imgRisk"});
}

TEST_F(MainWindowTest, SaveResultsCallsTheWriterOfTheLastRunsCode) {
  std::vector<int> written;
  for (int code = 1; code <= 8; ++code)
    window->setReportWriter(code, [&written, code](QWidget*, const result::RunSnapshot& s) {
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
  expectTexts({{"Max_0", "42"}, {"Max_1", "2"}, {"Max_2", "-3"}});
  find<QLineEdit>("Max_1")->setText("20");
  find<QLineEdit>("Max_2")->setText("-30");
  window->Command7_Click();
  EXPECT_EQ(find<QLineEdit>("Max_0")->text(), "42");  // a node
  find<QLineEdit>("Max_1")->setText("-100");
  window->Command7_Click();
  expectMessage("Точка выходит за границы расчета");
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

TEST_F(MainWindowTest, TheWindowKeepsItsSizeAndThePressureBoxesTheirRoom) {
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
