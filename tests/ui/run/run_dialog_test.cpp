// The run dialog over the good rows of the run tests: which weather and share boxes each scenario shows and
// where, and the whole-run bar of the assessments over a year, as long as what the run goes through.
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
    s.section = [](int) { return db::Read<std::optional<db::SectionRow>>{test::GoodData().section, {}}; };
    s.ground = [](const QString&) { return db::Read<std::optional<db::Ground3Row>>{test::GoodData().ground, {}}; };
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

// Once the shares are filled: the weather group for the single jet fires, the share group for the
// scenarios with flames, in it the boxes of the scenario's jet kinds, each under its own heading (before,
// the asymmetric jet's one box filled the row from the left, under all three headings).
TEST(RunDialog, EachScenarioShowsItsWeatherAndTheShareBoxesOfItsJetKinds) {
  test::MessageCatcher messages(QMessageBox::Yes);  // the first press stops to correct the shares
  Dialog d(5);
  d.press();
  ASSERT_EQ(messages.requests.size(), 1u);
  const struct {
    int code, season;
    const char* shown;  // "W": the weather group, "S": the share group, then the share boxes
  } table[] = {
      {1, 0, "S Pkw Psw Paw Pks Pss Pas"},
      {2, 0, ""},
      {3, 0, "W S Pkw"},
      {3, 1, "W S Pks"},
      {4, 0, "W S Paw"},
      {4, 1, "W S Pas"},
      {5, 0, "W S Psw"},
      {5, 1, "W S Pss"},
      {6, 1, ""},
      {7, 1, "S Pkw Psw Paw Pks Pss Pas"},
      {8, 0, ""},
  };
  const char* heads[] = {"Label1", "Label6", "Label7"};  // over the pit, symmetric and asymmetric boxes
  for (const auto& row : table) {
    d.combo("Combo3")->setCurrentIndex(row.season);
    d.combo("Combo1")->setCurrentIndex(row.code - 1);
    QApplication::processEvents();
    QStringList shown;
    if (d.form.findChild<QWidget*>("Frame3")->isVisible()) shown << "W";
    if (d.form.findChild<QWidget*>("Frame4")->isVisible()) shown << "S";
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
