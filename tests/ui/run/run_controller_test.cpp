// The run controller: the outcome of a run (completed, refused, cancelled, a fault on the worker) reaches
// the window once, with its one message.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <functional>
#include <stdexcept>

#include "common/qt_text.h"
#include "common/texts.h"
#include "message_catcher.h"
#include "wait_until.h"
#include "run/run_texts.h"
#include "ui/run/form2.h"
#include "ui/run/run_controller.h"

namespace velaron::ui {
namespace {

using test::WaitUntil;

// A finished record on a 5 × 5 grid, enough for the pictures.
run::RunOutcome Finished(bool atEdge) {
  auto s = std::make_shared<result::RunSnapshot>();
  s->request.run.scenario = result::Scenario::SymmetricJet;
  s->request.settings.CStep = 10;
  for (models::Grid* g : {&s->GridValue, &s->GridProc, &s->GridRisk}) g->resize(2, 2);
  s->ZoneAtEdge = atEdge;
  run::RunOutcome out;
  out.snapshot = std::move(s);
  return out;
}

TEST(RunController, EachOutcomeReachesTheWindowOnceWithItsOneMessage) {
  enum class Ends { Completed, Refused, Cancelled };
  struct Case {
    const char* name;
    RunController::Execute execute;
    Ends ends;
    QStringList messages;  // the texts shown, in order
  } cases[] = {
      {"completed",
       [](run::PreparedRun, models::Progress&, const run::ExecuteOptions&) { return Finished(false); },
       Ends::Completed,
       {}},
      {"zone at the edge",
       [](run::PreparedRun, models::Progress&, const run::ExecuteOptions&) { return Finished(true); },
       Ends::Completed,
       {U(run::texts::kEdgeWarning)}},
      {"refused by the model",
       [](run::PreparedRun, models::Progress&, const run::ExecuteOptions&) {
         run::RunOutcome out;
         out.error = U("Масса облака ГПВС должна быть больше нуля.");
         return out;
       },
       Ends::Refused,
       {U("Масса облака ГПВС должна быть больше нуля.")}},
      // A fault past the model's own refusals must not take the program down with the worker.
      {"fault on the worker",
       [](run::PreparedRun, models::Progress&, const run::ExecuteOptions&) -> run::RunOutcome {
         throw std::runtime_error("vector::_M_range_check");
       },
       Ends::Refused,
       {U("vector::_M_range_check")}},
      {"cancelled",
       [](run::PreparedRun, models::Progress& progress, const run::ExecuteOptions&) {
         progress.begin("Сценарий", 100);
         progress.step();
         progress.step();
         // Goes on until the user cancels (a minute at most), as a model looks for it between rows.
         const QDeadlineTimer limit(60000);
         while (!progress.cancelled() && !limit.hasExpired()) QThread::yieldCurrentThread();
         run::RunOutcome out;
         out.cancelled = progress.cancelled();
         return out;
       },
       Ends::Cancelled,
       {}},
  };
  for (const Case& c : cases) {
    test::MessageCatcher catcher;
    QWidget owner;
    auto* controller = new RunController(&owner);
    controller->setExecute(c.execute);
    int started = 0, ended = 0, completed = 0, refused = 0, cancelled = 0;
    QObject::connect(controller, &RunController::runStarted, [&] { ++started; });
    QObject::connect(controller, &RunController::runEnded, [&] {
      ++ended;
      EXPECT_TRUE(catcher.requests.empty()) << c.name << ": the windows come back before any message";
    });
    QObject::connect(controller, &RunController::completed, [&](auto s) { completed += s ? 1 : 0; });
    QObject::connect(controller, &RunController::refused, [&](const QString&) { ++refused; });
    QObject::connect(controller, &RunController::cancelled, [&] { ++cancelled; });

    ASSERT_TRUE(controller->start(run::PreparedRun{}, {})) << c.name;
    EXPECT_FALSE(controller->start(run::PreparedRun{}, {})) << c.name << ": one run at a time";
    if (c.ends == Ends::Cancelled) {
      Form2* progress = controller->progressWindow();
      ASSERT_NE(progress, nullptr);
      ASSERT_TRUE(WaitUntil([progress] { return progress->pbar2()->value() >= 2; }));
      progress->cancelButton()->click();
    }
    ASSERT_TRUE(WaitUntil([controller] { return !controller->running(); })) << c.name;
    EXPECT_EQ(controller->progressWindow(), nullptr) << c.name;
    EXPECT_EQ(started, 1) << c.name;
    EXPECT_EQ(ended, 1) << c.name;
    EXPECT_EQ(completed, c.ends == Ends::Completed ? 1 : 0) << c.name;
    EXPECT_EQ(refused, c.ends == Ends::Refused ? 1 : 0) << c.name;
    EXPECT_EQ(cancelled, c.ends == Ends::Cancelled ? 1 : 0) << c.name;
    EXPECT_EQ(catcher.texts(), c.messages) << c.name;
  }
}

}  // namespace
}  // namespace velaron::ui
