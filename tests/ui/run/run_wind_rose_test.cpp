// The town's wind rose of the assessments over a year, written by the run dialog's run before the
// assessment begins: a run cancelled at its first step has already rewritten it, and a rose that cannot be
// written is told before the run goes on, which then completes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <mutex>

#include "common/qt_text.h"
#include "message_catcher.h"
#include "output/zip_reader.h"
#include "run/execute.h"
#include "run/run_fixtures.h"
#include "ui/run/form2.h"
#include "ui/run/form6.h"

namespace velaron::ui {
namespace {

bool WaitUntil(const std::function<bool()>& done, int ms = 60000) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
  QApplication::processEvents();
  return done();
}

// The town cell of a rose workbook (B1 of its sheet "Данные"); empty when there is no readable workbook.
QString RoseTown(const QString& path) {
  const test::WorkbookParts book = test::ReadWorkbook(path);
  if (book.sheets.empty()) return {};
  return test::ReadCells(book.parts, book.sheets[0].part)[U("B1")].text;
}

// What the run finds when its assessment takes its first step: the town of the rose in the folder and the
// messages told so far. With `holdAtFirstStep` the assessment then waits there until the user cancels.
struct FirstStep : models::Progress {
  FirstStep(models::Progress& inner, QString rose, bool hold, std::function<void(QString)> seen)
      : inner(inner), rose(std::move(rose)), hold(hold), seen(std::move(seen)) {}
  void begin(const std::string& title, int steps) override { inner.begin(title, steps); }
  void step() override {
    inner.step();
    if (first.exchange(false)) {
      seen(RoseTown(rose));
      const QDeadlineTimer limit(60000);
      while (hold && !inner.cancelled() && !limit.hasExpired()) QThread::yieldCurrentThread();
    }
  }
  bool cancelled() const override { return inner.cancelled(); }
  models::Progress& inner;
  QString rose;
  bool hold;
  std::function<void(QString)> seen;
  std::atomic<bool> first{true};
};

// A run dialog of scenario `code` on the good rows of the run tests, its town "Городок", writing its rose
// into `folder`.
struct RoseRun {
  RoseRun(int code, const QString& folder, bool hold) : form(Request(code)) {
    Form6::Services s = Form6::DatabaseServices();
    s.section = [](int) { return std::optional(test::GoodData().section); };
    s.ground = [](const QString&) { return std::optional(test::GoodData().ground); };
    s.runData = [](const result::RunRequest&) {
      run::RunData d = test::GoodData();
      db::WindRow town;
      town.idCity = 1;
      town.CityName = U("Городок");
      town.winter = town.summer = {1, 1, 1, 1, 1, 1, 1, 1, 1};
      town.speedWinter = town.speedSummer = {2, 2, 2, 2, 2, 2, 2, 2, 0};
      d.town = town;
      return d;
    };
    const QString rose = QDir(folder).filePath(U("РозаВетров.xlsx"));
    s.execute = [this, rose, hold](run::PreparedRun p, models::Progress& progress, const run::ExecuteOptions& o) {
      FirstStep watching(progress, rose, hold, [this](QString town) {
        std::lock_guard lock(mutex);
        townAtFirstStep = std::move(town);
        messagesAtFirstStep = static_cast<int>(messages.requests.size());
      });
      return run::ExecuteRun(std::move(p), watching, o);
    };
    form.setServices(s);
    form.setWindRoseFolder(folder);
    QObject::connect(&form, &Form6::runFinished, [this](auto) { ++completed; });
    form.show();
    form.findChild<QComboBox*>("Combo1")->setCurrentIndex(code - 1);
    form.findChild<QLineEdit*>("Text1")->setText("1");
  }
  static result::RunRequest Request(int code) {
    result::RunRequest r = test::GoodRequest(code);
    r.settings.CStep = 20;
    return r;
  }
  void press() { form.findChild<QPushButton*>("cmdRaschet")->click(); }
  QString seenTown() {
    std::lock_guard lock(mutex);
    return townAtFirstStep;
  }

  test::MessageCatcher messages{QMessageBox::No};  // the shares as the ground gives them
  Form6 form;
  std::mutex mutex;
  QString townAtFirstStep = U("(no step)");
  int messagesAtFirstStep = -1;
  int completed = 0;
};

// Before, the rose was written after the model returned: a cancelled run left the previous town's rose.
TEST(RunWindRose, AYearRoundRunCancelledAtItsFirstStepHasAlreadyRewrittenTheRoseOfItsTown) {
  for (int code : {7, 1}) {
    SCOPED_TRACE(code);
    QTemporaryDir dir;
    const QString rose = dir.filePath(U("РозаВетров.xlsx"));
    {
      QFile older(rose);  // the previous town's rose, as far as this run can tell
      ASSERT_TRUE(older.open(QIODevice::WriteOnly) && older.write("another town's rose") > 0);
    }
    RoseRun run(code, dir.path(), true);
    run.press();
    ASSERT_TRUE(run.form.running()) << run.messages.texts().join('|').toStdString();
    Form2* progress = run.form.progressWindow();
    ASSERT_TRUE(WaitUntil([&] { return run.seenTown() != U("(no step)"); }));
    progress->cancelButton()->click();
    ASSERT_TRUE(WaitUntil([&] { return !run.form.running(); }));
    EXPECT_EQ(run.seenTown(), U("Городок"));
    EXPECT_EQ(RoseTown(rose), U("Городок"));  // and it stays after the cancel
    EXPECT_EQ(run.completed, 0);
    EXPECT_TRUE(run.form.isVisible());  // back for another try
    EXPECT_EQ(run.messages.requests.size(), 1u) << run.messages.texts().join('|').toStdString();  // the question
  }
}

// A folder the rose cannot go into: the program's message names the file and why, before the assessment
// begins, and the run completes without the rose.
TEST(RunWindRose, ARoseThatCannotBeWrittenIsToldBeforeTheRunGoesOnToComplete) {
  QTemporaryDir dir;
  const QString folder = dir.filePath(U("нет такой папки"));
  RoseRun run(7, folder, false);
  run.press();
  ASSERT_TRUE(WaitUntil([&] { return !run.form.running(); }, 120000));
  EXPECT_EQ(run.completed, 1);
  // The question, the rose; then whatever the end of the run tells (here the zone at the grid's edge).
  ASSERT_GE(run.messages.requests.size(), 2u) << run.messages.texts().join('|').toStdString();
  const ui::MessageRequest& told = run.messages.requests[1];
  EXPECT_EQ(told.text, U("Ошибка в процессе записи файла!\n") + QDir(folder).filePath(U("РозаВетров.xlsx")) +
                           U(": нет такой папки"));
  EXPECT_EQ(told.title, U("Веларон"));
  EXPECT_EQ(told.icon, QMessageBox::Critical);
  EXPECT_EQ(run.messagesAtFirstStep, 2);  // told before the assessment's first step
  EXPECT_EQ(run.seenTown(), QString());   // no rose anywhere
  EXPECT_FALSE(QDir(folder).exists());
}

}  // namespace
}  // namespace velaron::ui
