// The run dialog over the good rows of the run tests: which weather and share boxes each scenario shows and
// where, the whole-run bar of the assessments over a year, as long as what the run goes through, the town's
// wind rose written before such an assessment begins, the typed wind speed in the saved report, and the section
// read again at every press.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest/QTest>
#include <atomic>

#include "common/qt_text.h"
#include "message_catcher.h"
#include "wait_until.h"
#include "output/scratch_db.h"
#include "output/workbook/result_workbook.h"
#include "output/zip_reader.h"
#include "run/execute.h"
#include "run/flame_grid.h"
#include "run/flame_zones.h"
#include "run/prepare.h"
#include "run/run_fixtures.h"
#include "ui/run/form2.h"
#include "ui/run/form6.h"
#include "ui/run/run_report.h"
#include "ui/widgets/save_dialog.h"

namespace velaron::ui {
namespace {

// A dialog for scenario `code` on the good rows and a town "Городок" of equal winds, its section typed in.
struct Dialog {
  explicit Dialog(int code, int step = 20, int width = 200, int diameter = 1000)
      : form(Request(code, step, width, diameter)) {
    Form6::Services s = Form6::DatabaseServices();
    s.section = [this](int tpid) {
      ++sectionReads;
      return sectionRead ? sectionRead(tpid) : db::Read<std::optional<db::SectionRow>>{test::GoodData().section, {}};
    };
    s.ground = [this](const QString& code) { return db::Read<std::optional<db::Ground3Row>>{soil(code), {}}; };
    s.runData = [this](const result::RunRequest& r) {
      run::RunData d = test::GoodData();
      d.section = r.section;  // the dialog's row, as the run takes it
      d.ground = soil(r.section.Ground);
      db::WindRow town;
      town.idCity = 1;
      town.CityName = U("Городок");
      town.winter = town.summer = {1, 1, 1, 1, 1, 1, 1, 1, 1};
      town.speedWinter = town.speedSummer = {2, 2, 2, 2, 2, 2, 2, 2, 0};
      d.town = town;
      return d;
    };
    s.execute = [this](run::PreparedRun p, models::Progress& progress, const run::ExecuteOptions& o) {
      Counting counting(progress, *this);
      return run::ExecuteRun(std::move(p), counting, o);
    };
    form.setServices(s);
    QObject::connect(&form, &Form6::runFinished, [this](auto r) { record = std::move(r); });
    form.show();
    combo("Combo1")->setCurrentIndex(code - 1);
    form.findChild<QLineEdit*>("Text1")->setText("1");
  }
  static result::RunRequest Request(int code, int step, int width = 200, int diameter = 1000) {
    result::RunRequest r = test::GoodRequest(code);
    r.settings.CStep = step;
    r.settings.XLimit = r.settings.YLimit = width;
    r.pipeline.Diametr = diameter;
    return r;
  }
  QComboBox* combo(const char* name) { return form.findChild<QComboBox*>(name); }
  void press() { form.findChild<QPushButton*>("cmdRaschet")->click(); }

  // Passes a run's progress on, adds up the steps of the stages it begins and calls `onStep` (on the worker) at
  // each step.
  struct Counting : models::Progress {
    Counting(models::Progress& inner, Dialog& d) : inner(inner), d(d) {}
    void begin(const std::string& title, int steps) override {
      d.stageSteps += steps;
      inner.begin(title, steps);
    }
    void step() override {
      inner.step();
      if (d.onStep) d.onStep(inner);
    }
    bool cancelled() const override { return inner.cancelled(); }
    models::Progress& inner;
    Dialog& d;
  };
  std::function<db::Read<std::optional<db::SectionRow>>(int tpid)> sectionRead;  // else the good row
  std::optional<db::Ground3Row> otherSoil;  // the ground row of another soil code than the good row's
  db::Ground3Row soil(const QString& code) const {
    return otherSoil && otherSoil->Ground == code ? *otherSoil : *test::GoodData().ground;
  }
  int sectionReads = 0;
  std::atomic<int> stageSteps{0};
  std::function<void(const models::Progress&)> onStep;
  std::shared_ptr<const result::RunSnapshot> record;  // the completed run
  Form6 form;
};

// Once the shares are filled: the weather group for the single jet fires, the share group for every
// scenario, in it the boxes of the scenario's jet kinds, each under its own heading (before, the asymmetric
// jet's one box filled the row from the left, under all three headings). The scenarios without flames keep
// the group with its heading and column heads and hide only its two rows (before, the whole group went).
// The dialog keeps one size through all of it, and fits a screen of 1280 × 720 with its title bar.
TEST(RunDialog, EachScenarioShowsItsWeatherAndTheShareBoxesOfItsJetKinds) {
  test::MessageCatcher messages(QMessageBox::Yes);  // the first press stops to correct the shares
  Dialog d(5);
  QApplication::processEvents();
  const QSize fresh = d.form.size();
  d.press();
  ASSERT_EQ(messages.requests.size(), 1u);
  const struct {
    int code, season;
    const char* shown;  // "W": the weather group, "S": the share group, then the share boxes
  } table[] = {
      {1, 0, "S Pkw Psw Paw Pks Pss Pas"},
      {2, 0, "S"},
      {3, 0, "W S Pkw"},
      {3, 1, "W S Pks"},
      {4, 0, "W S Paw"},
      {4, 1, "W S Pas"},
      {5, 0, "W S Psw"},
      {5, 1, "W S Pss"},
      {6, 1, "S"},
      {7, 1, "S Pkw Psw Paw Pks Pss Pas"},
      {8, 0, "S"},
  };
  const char* heads[] = {"Label1", "Label6", "Label7"};  // over the pit, symmetric and asymmetric boxes
  for (const auto& row : table) {
    d.combo("Combo3")->setCurrentIndex(row.season);
    d.combo("Combo1")->setCurrentIndex(row.code - 1);
    QApplication::processEvents();
    QStringList shown;
    if (d.form.findChild<QWidget*>("Frame3")->isVisible()) shown << "W";
    if (d.form.findChild<QWidget*>("Frame4")->isVisible()) {
      shown << "S";
      for (const char* head : heads) EXPECT_TRUE(d.form.findChild<QWidget*>(head)->isVisible()) << head;
    }
    int kind = 0;
    for (const char* name : {"Pkw", "Psw", "Paw", "Pks", "Pss", "Pas"}) {
      QWidget *box = d.form.findChild<QWidget*>(name), *head = d.form.findChild<QWidget*>(heads[kind++ % 3]);
      if (!box->isVisible()) continue;
      shown << name;
      EXPECT_NEAR(box->mapTo(&d.form, box->rect().center()).x(), head->mapTo(&d.form, head->rect().center()).x(),
                  head->width() / 4)
          << name;
    }
    EXPECT_EQ(shown.join(' ').toStdString(), row.shown) << "code " << row.code << ", season " << row.season;
    EXPECT_EQ(d.form.size(), fresh) << "code " << row.code << ", season " << row.season;
  }
  // Room for the window's title bar and frame (about 40 px at most) within 1280 × 720.
  EXPECT_TRUE(fresh.width() <= 1280 - 20 && fresh.height() <= 720 - 40) << fresh.width() << " x " << fresh.height();
}

TEST(RunDialog, TheWholeRunBarOfAYearRoundRunIsAsLongAsTheStagesItGoesThrough) {
  for (int code : {7, 1}) {
    test::MessageCatcher messages(QMessageBox::No);  // the shares as the ground gives them
    Dialog d(code);
    d.press();
    ASSERT_TRUE(d.form.running()) << code << " " << messages.texts().join('|').toStdString();
    const int length = d.form.progressWindow()->wholeBar()->maximum();
    ASSERT_TRUE(test::WaitUntil([&] { return !d.form.running(); }, 120000));
    EXPECT_EQ(length, d.stageSteps.load()) << code;
  }
}

// The town cell of a rose workbook (B1 of its sheet "Данные"); empty when there is no readable workbook.
QString RoseTown(const QString& path) {
  const test::WorkbookParts book = test::ReadWorkbook(path);
  return book.sheets.empty() ? QString() : test::ReadCells(book.parts, book.sheets[0].part)[U("B1")].text;
}

// Before, the rose was written after the model returned: a run cancelled or refused left the previous
// town's rose, and its failure was told only after a completed run.
TEST(RunDialog, AYearRoundRunCancelledAtItsFirstStepHasAlreadyRewrittenTheRoseOfItsTown) {
  for (int code : {7, 1}) {
    SCOPED_TRACE(code);
    QTemporaryDir dir;
    const QString rose = dir.filePath(U("РозаВетров.xlsx"));
    QFile older(rose);  // the previous town's rose, as far as this run can tell
    ASSERT_TRUE(older.open(QIODevice::WriteOnly) && older.write("another town's rose") > 0 && older.flush());
    test::MessageCatcher messages(QMessageBox::No);  // the shares as the ground gives them
    Dialog d(code);
    d.form.setWindRoseFolder(dir.path());
    std::atomic<bool> atFirstStep{false};
    d.onStep = [&](const models::Progress& progress) {  // the assessment waits at its first step until cancelled
      atFirstStep = true;
      while (!progress.cancelled()) QThread::yieldCurrentThread();
    };
    d.press();
    ASSERT_TRUE(d.form.running()) << messages.texts().join('|').toStdString();
    EXPECT_EQ(RoseTown(rose), U("Городок"));  // written before the assessment begins
    ASSERT_TRUE(test::WaitUntil([&] { return atFirstStep.load(); }));
    d.form.progressWindow()->cancelButton()->click();
    ASSERT_TRUE(test::WaitUntil([&] { return !d.form.running(); }));
    EXPECT_EQ(RoseTown(rose), U("Городок"));  // and it stays after the cancel
    EXPECT_TRUE(!d.record && d.form.isVisible());
    EXPECT_EQ(messages.texts(), QStringList(U("Хотите уточнить вероятность аварии?")));
  }
}

// A folder the rose cannot go into: the program's message names the file and why, before the assessment
// begins, and the run goes on to complete without the rose.
TEST(RunDialog, ARoseThatCannotBeWrittenIsToldBeforeTheRunGoesOnToComplete) {
  QTemporaryDir dir;
  const QString folder = dir.filePath(U("нет такой папки"));
  test::MessageCatcher messages(QMessageBox::No);
  Dialog d(7, 10);  // a step of 20 m misses a zone of 50 % of the year
  d.form.setWindRoseFolder(folder);
  d.press();
  // The question, then the rose, told before the assessment begins.
  ASSERT_EQ(messages.requests.size(), 2u) << messages.texts().join('|').toStdString();
  const MessageRequest& told = messages.requests[1];
  EXPECT_EQ(told.text, U("Ошибка в процессе записи файла!\n") + QDir(folder).filePath(U("РозаВетров.xlsx")) +
                           U(": нет такой папки"));
  EXPECT_EQ(std::pair(told.title, told.icon), std::pair(U("Веларон"), QMessageBox::Critical));
  ASSERT_TRUE(test::WaitUntil([&] { return !d.form.running(); }, 120000));
  EXPECT_TRUE(d.record && !QDir(folder).exists());
}

// A step that lets a zone fall between the grid's points is refused once the field is computed: the message
// names the zone and a finer step, and nothing of the run is kept.
TEST(RunDialog, AStepThatMissesAZoneIsRefusedAfterTheFieldAndNothingOfTheRunIsKept) {
  test::MessageCatcher messages(QMessageBox::No);
  Dialog d(7);
  d.press();
  ASSERT_TRUE(test::WaitUntil([&] { return !d.form.running(); }, 120000));
  EXPECT_TRUE(!d.record && !d.form.isVisible());  // left hidden, as any refused run
  ASSERT_EQ(messages.texts().size(), 2);
  EXPECT_TRUE(
      messages.texts()[1].startsWith(U("Шаг сетки 20 м слишком велик для этого факела: его зона поражения 50 %")))
      << messages.texts()[1].toStdString();
  EXPECT_TRUE(messages.texts()[1].endsWith(U("задайте шаг сетки 10 м (Меню: Файл -> Параметры).")));
}

// A step too coarse for the flame's size is refused at the press as soon as that size tells. The window's
// thread computes the flux of the sampling of the ground under the flame and at most twice as much again to
// ask whether the step it names shows every zone: the fine field of the 1420 mm asymmetric flame in a wind of
// 2 m/s (some 180 000 flux evaluations, seconds of every core), which that question took before, is not
// waited for.
TEST(RunDialog, AStepTooCoarseForTheFlameIsRefusedAtThePressWithoutItsFineField) {
  const result::RunRequest serving = Dialog::Request(4, 10, 1000, 1420);
  run::PrepareResult prepared = run::PrepareRun(serving, test::GoodData(), QDateTime::currentDateTime());
  ASSERT_TRUE(prepared.ok()) << prepared.error.toStdString();
  double sampled = 0;
  for (const run::JetCase& c : run::JetCasesOf(*prepared.run))
    EXPECT_TRUE(run::FieldReachesAZone(c.field, serving.settings.Skor_chel, &sampled));
  test::MessageCatcher messages(QMessageBox::No);
  Dialog d(4, 250, 1000, 1420);
  d.form.findChild<QLineEdit*>("Text2")->setText("2");
  const long long before = run::CheckEvaluations();
  d.press();
  ASSERT_EQ(messages.texts().size(), 2) << messages.texts().join('|').toStdString();
  EXPECT_TRUE(messages.texts()[1].startsWith(U("Шаг сетки 250 м слишком велик для размеров факела")))
      << messages.texts()[1].toStdString();
  EXPECT_LE(static_cast<double>(run::CheckEvaluations() - before), 3 * sampled);
  EXPECT_FALSE(d.form.running());
}

// Before, the report printed the number the run read from the box ("2,5"); its weather lines give the
// texts of the dialog unchanged. The workbook's input sheet gives the number, as its own line says.
TEST(RunDialog, TheWindSpeedTypedIsPrintedAsTypedInTheSavedReport) {
  test::ScratchDatabase scratch;  // the report's summary row goes here
  ASSERT_EQ(scratch.error(), QString());
  QTemporaryDir dir;
  const QString path = dir.filePath(U("отчет.docx"));
  SetSaveFileSink([&](const SaveFileRequest&) { return path; });
  test::MessageCatcher messages(QMessageBox::No);
  Dialog d(5);                            // "Факел (симметр.горение)"
  d.combo("Combo3")->setCurrentIndex(1);  // "Лето"
  d.combo("Combo9")->setCurrentIndex(5);  // "Ю-З"
  auto* speed = d.form.findChild<QLineEdit*>("Text2");
  speed->clear();
  QTest::keyClicks(speed, U("2,50"));
  d.press();
  ASSERT_TRUE(test::WaitUntil([&] { return !d.form.running(); }));
  ASSERT_TRUE(d.record) << messages.texts().join('|').toStdString();
  EXPECT_DOUBLE_EQ(d.record->request.run.WindSpeed, 2.5);  // the run computes with the number

  SaveRunReport(nullptr, *d.record, dir.path());
  SetSaveFileSink(nullptr);
  // Label, two blanks, the text as typed, " м/с;"; the season and direction lines as chosen.
  const QStringList lines = test::DocxLines(path);
  QStringList speeds = lines.filter(U("- скорость ветра"));
  speeds.removeDuplicates();
  EXPECT_EQ(speeds.join('|').toStdString(), "- скорость ветра  2,50 м/с;") << lines.join('\n').toStdString();
  EXPECT_TRUE(lines.contains(U("- время года  Лето;")) &&
              lines.contains(U("- направление ветра (откуда дует ветер) \"Ю-З\".")));
  // The workbook's line: "Скорость ветра:" and two blanks, then 2.5 in the decimal-comma number text.
  EXPECT_EQ(output::BuildInputSheet(*d.record).lines.value(4).toStdString(), "Скорость ветра:  2,5");
}

// A later press rereads the section found first: a mended row is run, a failed read told, a gone section refused,
// a row on another soil has its shares filled again.
TEST(RunDialog, EveryLaterPressReadsTheSectionFoundFirstAsItsRowStandsNow) {
  db::SectionRow mended = *test::GoodData().section;
  mended.Length = 300;
  mended.Udal = 2500;
  mended.p_v = 0.4;
  const char* busy = "База данных занята другой программой";
  // The read at the second press, its message (none: the run goes on), the section group open after it.
  for (const auto& [later, told, sectionGroupOpen] :
       {std::tuple(db::Read<std::optional<db::SectionRow>>{mended, {}}, static_cast<const char*>(nullptr), false),
        {{std::nullopt, U(busy)}, busy, false},
        {{std::nullopt, {}}, "Указан неверный участок расчета", true}}) {
    SCOPED_TRACE(told ? told : "mended");
    test::MessageCatcher messages(QMessageBox::Yes);  // the first press stops to correct the shares
    Dialog d(5);
    d.press();
    ASSERT_EQ(messages.texts(), QStringList(U("Хотите уточнить вероятность аварии?")));
    d.sectionRead = [&](int tpid) {
      EXPECT_EQ(tpid, 1);  // the number found first
      return later;
    };
    messages.requests.clear();
    d.press();
    EXPECT_EQ(d.sectionReads, 2);  // once at each press
    EXPECT_EQ(d.form.findChild<QWidget*>("Frame1")->isEnabled(), sectionGroupOpen);
    if (told) {
      ASSERT_EQ(messages.requests.size(), 1u) << messages.texts().join('|').toStdString();
      EXPECT_EQ(std::pair(messages.requests[0].text, messages.requests[0].icon),
                std::pair(U(told), QMessageBox::Critical));
      EXPECT_TRUE(d.form.isVisible() && !d.form.running());
      // Then readable: the section kept runs; a section gone is looked for anew, its shares offered again.
      d.sectionRead = nullptr;
      messages.requests.clear();
      d.press();
      EXPECT_EQ(d.form.running(), !sectionGroupOpen) << messages.texts().join('|').toStdString();
      EXPECT_EQ(messages.requests.size(), sectionGroupOpen ? 1u : 0u);
      ASSERT_TRUE(test::WaitUntil([&] { return !d.form.running(); }, 120000));
      continue;
    }
    ASSERT_TRUE(d.form.running()) << messages.texts().join('|').toStdString();
    ASSERT_TRUE(test::WaitUntil([&] { return !d.form.running(); }, 120000));
    ASSERT_TRUE(d.record);
    const db::SectionRow& ran = d.record->request.section;
    EXPECT_EQ(std::tuple(ran.TPID, ran.Length, ran.Udal, ran.p_v), std::tuple(1, 300.0, 2500.0, 0.4));
  }

  // A row on another soil fills the shares again from it and asks again, once: the run's shares come from the
  // soil its ignition factor comes from.
  const QString question = U("Хотите уточнить вероятность аварии?");
  test::MessageCatcher messages(QMessageBox::Yes);  // the question stops the run to correct the shares
  Dialog d(5);
  d.press();
  db::SectionRow moved = *test::GoodData().section;
  moved.Ground = "1.1.1.1";
  d.otherSoil = db::Ground3Row{moved.Ground, 0.05, 0.15, 0.25, 0.35, 0.45, 0.55, 0.6};
  d.sectionRead = [&](int) { return db::Read<std::optional<db::SectionRow>>{moved, {}}; };
  d.press();
  EXPECT_EQ(messages.texts(), QStringList({question, question}));
  EXPECT_FALSE(d.form.running());
  d.press();  // the same soil: the shares as shown, no question
  EXPECT_EQ(messages.texts(), QStringList({question, question}));
  ASSERT_TRUE(d.form.running());
  ASSERT_TRUE(test::WaitUntil([&] { return !d.form.running(); }, 120000));
  ASSERT_TRUE(d.record && d.record->request.run.shares);
  const result::JetShares& s = *d.record->request.run.shares;
  EXPECT_EQ(std::vector({s.Pks, s.Pkw, s.Pss, s.Psw, s.Pas, s.Paw}), std::vector({0.05, 0.15, 0.25, 0.35, 0.45, 0.55}));
}

}  // namespace
}  // namespace velaron::ui
