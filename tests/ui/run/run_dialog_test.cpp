// The run dialog over the good rows of the run tests: which weather and share boxes each scenario shows,
// and the whole-run bar of the assessments over a year, whose length is what the run goes through.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <atomic>

#include "message_catcher.h"
#include "run/execute.h"
#include "run/run_fixtures.h"
#include "ui/run/form2.h"
#include "ui/run/form6.h"

namespace velaron::ui {
namespace {

// A dialog for scenario `code` on the good rows and a town of equal winds, its section typed in.
struct Dialog {
  explicit Dialog(int code) : form(Request(code)) {
    Form6::Services s = Form6::DatabaseServices();
    s.section = [](int) { return std::optional(test::GoodData().section); };
    s.ground = [](const QString&) { return std::optional(test::GoodData().ground); };
    s.runData = [](const result::RunRequest&) {
      run::RunData d = test::GoodData();
      db::WindRow town;
      town.idCity = 1;
      town.winter = town.summer = {1, 1, 1, 1, 1, 1, 1, 1, 1};
      town.speedWinter = town.speedSummer = {2, 2, 2, 2, 2, 2, 2, 2, 0};
      d.town = town;
      return d;
    };
    s.execute = [this](run::PreparedRun p, models::Progress& progress, const run::ExecuteOptions& o) {
      Counting counting(progress, stageSteps);
      return run::ExecuteRun(std::move(p), counting, o);
    };
    form.setServices(s);
    form.show();
    combo("Combo1")->setCurrentIndex(code - 1);
    form.findChild<QLineEdit*>("Text1")->setText("1");
  }
  static result::RunRequest Request(int code) {
    result::RunRequest r = test::GoodRequest(code);
    r.settings.CStep = 20;
    return r;
  }
  QComboBox* combo(const char* name) { return form.findChild<QComboBox*>(name); }
  void press() { form.findChild<QPushButton*>("cmdRaschet")->click(); }

  // Passes a run's progress on and adds up the steps of the stages it begins.
  struct Counting : models::Progress {
    Counting(models::Progress& inner, std::atomic<int>& total) : inner(inner), total(total) {}
    void begin(const std::string& title, int steps) override {
      total += steps;
      inner.begin(title, steps);
    }
    void step() override { inner.step(); }
    bool cancelled() const override { return inner.cancelled(); }
    models::Progress& inner;
    std::atomic<int>& total;
  };
  std::atomic<int> stageSteps{0};
  Form6 form;
};

TEST(RunDialog, EachScenarioShowsItsWeatherAndTheShareBoxesOfItsJetKinds) {
  test::MessageCatcher messages(QMessageBox::Yes);  // the first press stops to correct the shares
  Dialog d(5);
  d.press();
  ASSERT_EQ(messages.requests.size(), 1u);
  const struct {
    int code, season;
    bool weather;
    const char* boxes;
  } table[] = {
      {1, 0, false, "Pkw Psw Paw Pks Pss Pas"}, {2, 0, false, ""}, {3, 0, true, "Pkw"}, {3, 1, true, "Pks"},
      {4, 0, true, "Paw"}, {4, 1, true, "Pas"}, {5, 0, true, "Psw"}, {5, 1, true, "Pss"}, {6, 1, false, ""},
      {7, 1, false, "Pkw Psw Paw Pks Pss Pas"}, {8, 0, false, ""},
  };
  for (const auto& row : table) {
    d.combo("Combo3")->setCurrentIndex(row.season);
    d.combo("Combo1")->setCurrentIndex(row.code - 1);
    QStringList shown;
    for (const char* name : {"Pkw", "Psw", "Paw", "Pks", "Pss", "Pas"})
      if (d.form.findChild<QWidget*>(name)->isVisible()) shown << name;
    EXPECT_EQ(shown.join(' ').toStdString(), row.boxes) << "code " << row.code << ", season " << row.season;
    EXPECT_EQ(d.form.findChild<QWidget*>("Frame3")->isVisible(), row.weather) << "code " << row.code;
  }
}

TEST(RunDialog, TheWholeRunBarOfAYearRoundRunIsAsLongAsTheStagesItGoesThrough) {
  for (int code : {7, 1}) {
    test::MessageCatcher messages(QMessageBox::No);  // the shares as the ground gives them
    Dialog d(code);
    d.press();
    ASSERT_TRUE(d.form.running()) << code << " " << messages.texts().join('|').toStdString();
    const int length = d.form.progressWindow()->wholeBar()->maximum();
    QElapsedTimer t;
    t.start();
    while (d.form.running() && t.elapsed() < 120000) QApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_FALSE(d.form.running());
    EXPECT_EQ(length, d.stageSteps.load()) << code;
  }
}

}  // namespace
}  // namespace velaron::ui
