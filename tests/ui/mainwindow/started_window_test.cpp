// The main window started as the program starts it, on a copy of the shipped database in the layout of an
// earlier version (without the crossing probabilities), and the runs of its run dialog.
#include <QScopeGuard>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include "app/startup.h"
#include "db/layout.h"
#include "form_fixture.h"
#include "output/busy_waits.h"
#include "output/held_database.h"
#include "ui/mainwindow/main_links.h"
#include "output/zip_reader.h"
#include "result/crossings.h"
#include "ui/run/form6.h"
#include "ui/run/frm_str_fakel.h"
#include "run/run_texts.h"
#include "models/calc_state.h"
#include "common/numtext.h"
#include "ui/widgets/save_dialog.h"
#include "wait_until.h"

using namespace velaron;
using velaron::U;

namespace {

using velaron::test::WaitUntil;

// The scratch database of the base fixture stays unused: the window opens the copy of the shipped one.
class StartedWindow : public test::MainWindowTest {
 protected:
  void SetUp() override {
    const QString file = folder.filePath("data.db");
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELARON_BIN_DIR "/data.pristine.db"), file));
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    ASSERT_TRUE(db::OpenDatabase(file).isEmpty());
    QStringList sql;
    for (const char* column : {"P_avto", "P_LEP", "P_tr", "P_kab"})
      sql << QStringLiteral("ALTER TABLE TPs DROP COLUMN ") + column;
    // Section 1 (clay) with a power line whose probability that layout did not keep; section 2 on granite.
    sql << "UPDATE TPs SET dpp2 = 1, p_v = 0.7 WHERE TPID = 1"
        << "UPDATE Adjustment SET XLimit = 200, YLimit = 200"
        << "INSERT INTO TPs (TPID, Length, Udal, Azimut, dpp1, dpp2, dpp3, dpp4, p_v, G1, G2, G3, G4, Ground) "
           "VALUES (2, 500, 1000, 90, 0, 0, 0, 0, 0, 1, 2, 3, 4, '1.1.1.1')";
    for (const QString& statement : sql)
      EXPECT_TRUE(QSqlQuery(db::Connection()).exec(statement)) << statement.toStdString();
    db::CloseDatabase();
    Start();
  }
  void TearDown() override {
    window.reset();
    db::CloseDatabase();
  }
  // The first gas and the first region, as the user picks them.
  void ChooseGasAndRegion() {
    choose("DataCombo1", 0);
    choose("DataCombo6", 0);
  }
  // "Расчет", then the dialog's press for list line `scenario` and `section` (shares: "No"); null: no dialog shown.
  ui::Form6* PressRun(int scenario, const char* section) {
    window->Command1_Click();
    auto* dialog = window->findChild<ui::Form6*>();
    if (!dialog || !dialog->isVisible()) return nullptr;
    dialog->findChild<QComboBox*>("Combo1")->setCurrentIndex(scenario);
    dialog->findChild<QLineEdit*>("Text1")->setText(section);
    dialog->findChild<QPushButton*>("cmdRaschet")->click();
    return dialog;
  }
  // A year-round run of `section` with gas and region chosen and no town: refused, its dialog waits hidden.
  ui::Form6* RefuseAYearRunWithoutATown(const char* section) {
    ChooseGasAndRegion();
    window->reportOptions().OptExtraFiles = false;
    find<QComboBox>("cmbCity")->setCurrentIndex(-1);
    return PressRun(6, section);  // "Факел за год"
  }
  void Start() {
    ASSERT_TRUE(app::StartUp(folder.path(), folder.path(), context).ok);
    window = std::make_unique<ui::Form1>();
    window->setAppContext(&context);
    window->show();
    QApplication::setActiveWindow(window.get());
    tabs()->setCurrentIndex(1);
  }
  QString text(const char* name) const { return find<QLineEdit>(name)->text(); }
  void tick(int crossing) { find<QCheckBox>(result::kCrossings[size_t(crossing)].check)->click(); }
  // Gas and region chosen; the next "Расчет" runs the explosion ("Взрыв": no question before the run) of
  // section 2 through the run dialog.
  void ExplodeSection2OnTheNextRun() {
    ChooseGasAndRegion();
    window->setRunDialogOpener([](ui::Form1& w, const result::RunRequest& r) {
      ui::Form6* dialog = ui::MakeRunDialog(w, r);
      dialog->findChild<QComboBox*>("Combo1")->setCurrentIndex(1);
      dialog->findChild<QLineEdit*>("Text1")->setText("2");
      dialog->findChild<QPushButton*>("cmdRaschet")->click();
    });
  }
  // Section 2's run of `code`, refused at the first press for `distance` or no town, then mended in the main window:
  // the next press runs the row as it stands now, not as the first press read it.
  void RunMended(int code, const char* distance, bool town, const QString& refusal) {
    ChooseGasAndRegion();
    window->reportOptions().OptExtraFiles = false;
    select(1);
    type("Text9", distance);
    ASSERT_TRUE(box("Text9")->runLeaveCheck());
    if (!town) find<QComboBox>("cmbCity")->setCurrentIndex(-1);
    messages.requests.clear();
    ui::Form6* dialog = PressRun(code - 1, "2");
    ASSERT_TRUE(dialog && !messages.requests.empty());
    EXPECT_EQ(messages.requests.back().text, refusal);
    ASSERT_TRUE(dialog->isHidden() && !window->isRunning() && !window->lastRun());
    find<QComboBox>("cmbCity")->setCurrentIndex(0);
    for (const auto& [name, keys] : {std::pair("Text9", "0"), {"Text11", "300"}}) {
      type(name, keys);
      ASSERT_TRUE(box(name)->runLeaveCheck()) << name;
    }
    tick(0);  // the road's probability shows 0,1
    messages.requests.clear();
    window->Command1_Click();
    ASSERT_EQ(window->findChild<ui::Form6*>(), dialog);
    dialog->findChild<QPushButton*>("cmdRaschet")->click();
    ASSERT_TRUE(window->isRunning()) << messages.texts().join("|").toStdString();
    ASSERT_TRUE(WaitUntil([&] { return window->lastRun() && !window->isRunning(); }, 120000));
    const db::SectionRow& ran = window->lastRun()->request.section;
    EXPECT_EQ(std::tuple(ran.TPID, ran.Udal, ran.Length, ran.dpp1, ran.p_v), std::tuple(2, 0.0, 300.0, 1, 0.1));
  }
  QTemporaryDir folder;
  ui::AppContext context;
};

// The database keeps its rows and gains the columns; each section keeps its own crossing probabilities, each
// stored once accepted; the gas temperature is refused on leaving its box when the gas tables do not cover it.
TEST_F(StartedWindow, AnOlderDatabaseKeepsItsRowsAndEachSectionKeepsItsOwnCrossingProbabilities) {
  const db::Read<QStringList> columns = db::ColumnNames("TPs");
  for (const char* column : {"P_avto", "P_LEP", "P_tr", "P_kab"}) EXPECT_TRUE(columns.value.contains(column)) << column;
  ASSERT_EQ(db::LoadSections().value.size(), 2u);
  // Nothing typed for section 1 yet: its power line shows the initial text; looking keeps the stored sum 0,7.
  EXPECT_TRUE(find<QCheckBox>("Check4")->isChecked());
  EXPECT_EQ(text("P_LEP"), "0,05");
  select(1);
  select(0);
  EXPECT_DOUBLE_EQ(db::LoadSection(1).value->p_v, 0.7);
  // Neither the "1" on the way to "1,5" nor the refused 1,5 reach the row, nor count in the sum, which takes the
  // road's accepted 0,1 (before, the row held 1 and 1): a probability is stored once accepted, on leaving its box.
  tick(0);
  type("P_avto", "1.5");
  EXPECT_FALSE(box("P_avto")->runLeaveCheck());
  tick(2);
  EXPECT_EQ(std::pair(db::LoadSection(1).value->P_avto, db::LoadSection(1).value->p_v),
            std::pair(std::optional(0.1), 0.1 + 0.2 + 0.05));
  messages.requests.clear();
  // Road 0,4 (typed with a point), power line 0,7, other pipeline at its 0,2: the sum 1,3 is stored as 1.
  type("P_avto", "0.4");
  type("P_LEP", "0,7");
  EXPECT_TRUE(box("P_LEP")->runLeaveCheck());
  const db::SectionRow s = *db::LoadSection(1).value;
  EXPECT_EQ(std::tuple(s.dpp1, s.dpp2, s.dpp3, s.dpp4, s.p_v, s.P_avto, s.P_LEP, s.P_tr),
            std::tuple(1, 1, 1, 0, 1.0, 0.4, 0.7, 0.2));
  // After a restart the boxes show what the sum was made from (before, the initial texts came back beside
  // the ticked crossings); section 2, never changed, still shows the initial texts.
  TearDown();
  Start();
  EXPECT_EQ(QStringList({text("P_avto"), text("P_LEP"), text("P_tr")}), QStringList({"0,4", "0,7", "0,2"}));
  select(1);
  EXPECT_EQ(QStringList({text("P_avto"), text("P_LEP"), text("P_tr"), text("P_kab")}),
            QStringList({"0,1", "0,05", "0,2", "0,08"}));
  EXPECT_TRUE(messages.requests.empty()) << messages.texts().join("|").toStdString();
  // Said in °С and at the pressures of the boxes (the run once said "423 К" at "70 бар").
  auto* temperature = find<ui::NumericBox>("Text5");
  temperature->setText("150");
  EXPECT_FALSE(temperature->runLeaveCheck());
  EXPECT_EQ(messages.texts(), QStringList(U("Температура газа 150 °С вне таблиц свойств газа: при давлении от 5,4 "
                                            "до 7,4 МПа температура газа должна быть от -50 до 100 °С. Проверте "
                                            "правильность ввода!")));
  temperature->setText("-50");
  EXPECT_TRUE(temperature->runLeaveCheck());
}

TEST_F(StartedWindow, ARunOfAnotherSectionShowsItAndItsReportNamesItsSoilAndEachCrossingAlone) {
  ExplodeSection2OnTheNextRun();
  QTemporaryDir out;
  QString answer;
  ui::SetSaveFileSink([&](const ui::SaveFileRequest&) { return answer; });
  window->reportOptions().OptExtraFiles = false;  // no result workbook offered
  for (int i = 0; i < result::kCrossingCount; ++i) {
    SCOPED_TRACE(i);
    // Crossing i alone on section 2; section 1 shown when the run starts.
    select(1);
    tick(i);
    select(0);
    const result::RunSnapshot* before = window->lastRun();
    window->Command1_Click();
    ASSERT_TRUE(WaitUntil([&] { return window->lastRun() != before && !window->isRunning(); }))
        << messages.texts().join("|").toStdString();
    EXPECT_EQ(std::pair(window->selectedSection(), text("Text1")), std::pair(2, QString("2")));
    EXPECT_EQ(find<QComboBox>("DataCombo4")->currentText(), U("Граниты, диориты"));

    answer = out.filePath(QStringLiteral("отчет%1.docx").arg(i));
    window->cmdSaveResult_Click();
    const QStringList lines = test::DocxLines(answer);
    EXPECT_TRUE(lines.contains(U("Номер участка:  2")));
    EXPECT_EQ(lines.mid(lines.indexOf(U("Грунт:")) + 1, 4),
              QStringList({U("-Скальные"), U("-Скальные"), U("-Магматические (силикатные)"), U("-Граниты, диориты")}));
    EXPECT_EQ(lines.mid(lines.indexOf(U("Данные по участку: ")), 3),
              QStringList({U("Данные по участку: "), U(result::kCrossings[size_t(i)].reportLine), ""}));
    QSqlQuery row(db::Connection());
    ASSERT_TRUE(row.exec("SELECT Grunt || '|' || Vid_grunt FROM tabOtchet ORDER BY rowid DESC LIMIT 1") && row.next());
    EXPECT_EQ(row.value(0).toString(), U("Скальные|Граниты, диориты"));
    tick(i);  // section 2 is the shown one now
  }
  ui::SetSaveFileSink(nullptr);
}

}  // namespace

// The run dialog steps aside while its run is under way. A run refused then (a run over a year without a
// town) leaves it loaded and hidden, and the next start shows that same dialog as it was left; a completed
// run closes it.
TEST_F(StartedWindow, TheRunDialogIsHiddenDuringItsRunAndARefusedRunKeepsItForTheNextStart) {
  auto* dialog = RefuseAYearRunWithoutATown("1");
  ASSERT_TRUE(dialog);
  EXPECT_EQ(messages.texts().mid(1), QStringList(U(run::texts::kNoTown)));
  EXPECT_TRUE(dialog->isHidden() && !window->isRunning() && !window->lastRun());
  find<QComboBox>("cmbCity")->setCurrentIndex(0);
  window->Command1_Click();
  ASSERT_EQ(window->findChild<ui::Form6*>(), dialog);
  // As it was left: the scenario chosen, the section group closed on the section found at the first press.
  EXPECT_TRUE(dialog->isVisible() && dialog->scenario() == result::Scenario::YearRoundJets &&
              !dialog->findChild<QWidget*>("Frame1")->isEnabled());
  dialog->findChild<QPushButton*>("cmdRaschet")->click();
  EXPECT_TRUE(dialog->running() && dialog->isHidden());
  ASSERT_TRUE(WaitUntil([&] { return window->lastRun() && !window->isRunning(); }));
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window->findChild<ui::Form6*>(), nullptr);
}

// The database taken at the question "Хотите уточнить вероятность аварии?": "Нет" waits once and says so once.
TEST_F(StartedWindow, ARunWhoseDatabaseIsTakenAtTheQuestionWaitsForItOnceAndSaysSoOnce) {
  ChooseGasAndRegion();
  find<QComboBox>("cmbCity")->setCurrentIndex(0);
  const QString question = U(run::texts::kRefineQuestion);
  std::optional<test::HeldDatabase> held;
  std::optional<test::BusyWaits> waits;
  QStringList shown;
  // The sink below answers from this test's own variables: the fixture takes the messages back at its end.
  const auto giveBack = qScopeGuard([&] { messages.listen(); });
  ui::SetMessageSink([&](const ui::MessageRequest& r) {
    shown << r.text;
    if (r.text == question && !held) held.emplace(db::Connection().databaseName()), waits.emplace();
    return QMessageBox::No;
  });
  for (const int scenario : {2, 6}) {  // a jet flame from the crater, jet flames over a year
    SCOPED_TRACE(scenario);
    shown.clear();
    ui::Form6* dialog = PressRun(scenario, "1");
    ASSERT_TRUE(dialog && waits.has_value());
    EXPECT_EQ(waits->count(), 1);
    EXPECT_EQ(shown, QStringList({question, U("Ошибка чтения базы данных (таблица \"abc\"): база данных "
                                              "заблокирована другой программой")}));
    EXPECT_TRUE(dialog->isHidden() && !window->isRunning() && !window->lastRun());
    waits.reset();
    held.reset();
    delete dialog;
  }
}

// The database held at the run dialog's press, the first one and a later one: each press waits for it once
// and says so once (before, the check of each crossing column waited in turn, and the read after them again).
TEST_F(StartedWindow, ARunDialogPressOnAHeldDatabaseWaitsOnceAndSaysSoOnce) {
  ChooseGasAndRegion();
  messages.setAnswer(QMessageBox::Yes);  // "Хотите уточнить вероятность аварии?": the run stops for the shares
  window->Command1_Click();
  auto* dialog = window->findChild<ui::Form6*>();
  ASSERT_TRUE(dialog && dialog->isVisible());
  dialog->findChild<QComboBox*>("Combo1")->setCurrentIndex(2);  // a jet flame from the crater
  dialog->findChild<QLineEdit*>("Text1")->setText("1");
  auto* press = dialog->findChild<QPushButton*>("cmdRaschet");
  for (const bool later : {false, true}) {
    SCOPED_TRACE(later);
    if (later) press->click();  // the file free: the section found, the question asked
    messages.requests.clear();
    test::HeldDatabase held(db::Connection().databaseName());
    test::BusyWaits waits;
    press->click();
    EXPECT_EQ(waits.count(), 1);
    expectMessage("Ошибка чтения базы данных (таблица \"TPs\"): база данных заблокирована другой программой");
    EXPECT_TRUE(dialog->isVisible() && !window->isRunning());
  }
}

// The jet-flame window's flame shown in the main window: its zone depths are the radii of its field along +x
// as the explosion's are found (before, the largest radii over the eight directions of the asymmetric model).
TEST_F(StartedWindow, TheJetFlameWindowsZoneDepthsAreTheRadiiOfItsFieldAlongX) {
  window->mnuTrub_Click();
  auto* fakel = window->findChild<ui::FrmStrFakel*>();
  ASSERT_NE(fakel, nullptr);
  fakel->box("Text25")->setText("60");
  fakel->Command1_Click();
  ASSERT_TRUE(WaitUntil([&] { return window->lastRun() && !fakel->running(); }));
  const result::RunSnapshot& run = *window->lastRun();
  models::CalcState along;
  along.settings.XLimit = run.request.settings.XLimit;
  along.settings.CStep = run.request.settings.CStep;
  along.GridProc = run.GridProc;
  models::FillRadProfile(along);
  models::ZoneRadii(along);
  const char* boxes[4] = {"txtRsm", "txtRs", "txtRsr", "txtRsl"};
  double worst = 0;
  for (int z = 1; z <= 4; ++z) {
    EXPECT_EQ(ParseNumber(text(boxes[z - 1]).toStdString()), along.zones.CurZones()(z)) << boxes[z - 1];
    for (int d = 1; d <= 8; ++d) worst = std::max(worst, run.zones.ZoneRDir(models::ScenarioKind::Asymmetric, d)(z));
  }
  EXPECT_TRUE(along.zones.CurZones()(4) > 0 && along.zones.CurZones()(4) != worst);
  EXPECT_TRUE(run.scenario() == result::Scenario::AsymmetricJet && window->isVisible() && fakel->isVisible());
}

// The jet-flame window's model writes its workbook as the run dialog's last run left the models' flag: after
// the explosion it offers the workbook through the same save dialog (before, never).
TEST_F(StartedWindow, TheJetFlameWindowOffersItsWorkbookAfterASingleScenarioOfTheRunDialog) {
  ExplodeSection2OnTheNextRun();
  std::vector<ui::SaveFileRequest> asked;
  ui::SetSaveFileSink([&](const ui::SaveFileRequest& r) {
    asked.push_back(r);
    return QString();  // cancelled: nothing written
  });
  window->Command1_Click();
  ASSERT_TRUE(WaitUntil([&] { return window->lastRun() && !window->isRunning(); }));
  EXPECT_EQ(asked.size(), 1u);  // the explosion's workbook
  window->mnuTrub_Click();
  auto* fakel = window->findChild<ui::FrmStrFakel*>();
  ASSERT_NE(fakel, nullptr);
  fakel->Command1_Click();
  ASSERT_TRUE(WaitUntil([&] { return window->lastRun()->request.jetFlame && !fakel->running(); }));
  ui::SetSaveFileSink(nullptr);
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[1].title, U("Сохранение книги результатов расчета: сценарий \"Факел (асимметр.горение)\""));
}

TEST_F(StartedWindow, ASectionBeyondThePipelineEndRunsOnceItsDistanceIsMended) {
  RunMended(2, "400000", true,
            U("Середина участка лежит за концом газопровода, и давление газа на участке получается не больше нуля: "
              "длина участка 500 м, удаление начала участка 400000 м, протяженность газопровода %1 км. Проверте "
              "правильность ввода!")
                .arg(text("Text13")));
}

TEST_F(StartedWindow, ARunRefusedForAnotherCauseRunsTheSectionAsMendedSince) {
  RunMended(7, "1000", false, U(run::texts::kNoTown));
}

// Section 2 deleted while its refused run's dialog waits: refused as a wrong section, and another one can run.
TEST_F(StartedWindow, ASectionDeletedAfterTheFirstPressIsRefusedAndAnotherCanBeChosen) {
  auto* dialog = RefuseAYearRunWithoutATown("2");
  ASSERT_TRUE(dialog && dialog->isHidden() && !window->lastRun());
  dialog->findChild<QComboBox*>("Combo1")->setCurrentIndex(1);  // "Взрыв", when the dialog is shown again
  select(1);
  messages.setAnswer(QMessageBox::Yes);  // "Удалить данные об участке?"
  find<QPushButton>("bDelete")->click();
  messages.setAnswer(QMessageBox::Ok);
  ASSERT_EQ(db::LoadSections().value.size(), 1u);
  messages.requests.clear();
  window->Command1_Click();
  ASSERT_EQ(window->findChild<ui::Form6*>(), dialog);
  dialog->findChild<QPushButton*>("cmdRaschet")->click();
  expectMessage("Указан неверный участок расчета", "Веларон", QMessageBox::Critical);
  EXPECT_TRUE(dialog->isVisible() && !window->isRunning() && !window->lastRun());
  ASSERT_TRUE(dialog->findChild<QWidget*>("Frame1")->isEnabled());
  dialog->findChild<QLineEdit*>("Text1")->setText("1");
  dialog->findChild<QPushButton*>("cmdRaschet")->click();
  ASSERT_TRUE(window->isRunning()) << messages.texts().join("|").toStdString();
  ASSERT_TRUE(WaitUntil([&] { return window->lastRun() && !window->isRunning(); }, 120000));
  EXPECT_EQ(window->lastRun()->request.section.TPID, 1);
}
