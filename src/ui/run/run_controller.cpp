#include "ui/run/run_controller.h"

#include <QThread>
#include <QWidget>
#include <algorithm>
#include <exception>

#include "common/qt_text.h"
#include "common/texts.h"
#include "output/workbook/wind_rose.h"
#include "result/scenarios.h"
#include "run/run_texts.h"
#include "ui/run/form2.h"
#include "ui/run/run_workbook.h"
#include "ui/run/worker_thread.h"
#include "ui/widgets/messages.h"

namespace velaron::ui {

namespace {

// The messages about the outcome stand over the window that started the run, or over the window behind
// it while that one is hidden (the run dialog steps aside for its whole run).
QWidget* MessageParent(QWidget* owner) {
  return owner->isVisible() || !owner->parentWidget() ? owner : owner->parentWidget()->window();
}

// The hazard zone reaches the border of the grid: its radii are not to be trusted. The run goes on.
void ShowEdgeWarning(QWidget* over) {
  ShowMessage(over,
              {QMessageBox::NoIcon, U(velaron::texts::kAttentionTitle), U(run::texts::kEdgeWarning), QMessageBox::Ok});
}

}  // namespace

RunController::RunController(QWidget* owner)
    : QObject(owner),
      owner_(owner),
      execute_([](run::PreparedRun p, models::Progress& progress, const run::ExecuteOptions& o) {
        return run::ExecuteRun(std::move(p), progress, o);
      }) {}

RunController::~RunController() { stopAndWait(); }

void RunController::stopAndWait() {
  if (thread_) {
    relay_->cancel();
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
  }
  delete relay_;
  delete form2_;
  delete note_;
  relay_ = nullptr;
  form2_ = nullptr;
  note_ = nullptr;
}

bool RunController::start(run::PreparedRun prepared, const Outputs& outputs) {
  if (running()) return false;
  // The assessments over a year write the town's wind rose before they begin, on this thread, where the
  // run's notes were shown: a rose that cannot be written is told at once and the run goes on without it,
  // and a run cancelled or refused later has still written the rose of the town it was started for.
  if (!outputs.windRoseFolder.isEmpty() && result::FactsOf(prepared.request.run.scenario).yearRound && prepared.town)
    if (const output::WindRoseResult rose = output::SaveWindRose(*prepared.town, outputs.windRoseFolder); !rose.ok)
      ShowCritical(MessageParent(owner_), rose.message());
  relay_ = new ProgressRelay;
  // The progress and note windows stand on their own: the windows behind them take no input during
  // the run, while "Отмена" must.
  const auto& settings = prepared.state.settings;
  form2_ = new Form2(nullptr, settings.CStep, settings.YLimit, settings.XLimit);
  // The assessments over a year show the whole run's progress and the time left too.
  form2_->setWholeRun(
      Form2::WholeRunSteps(prepared.request.run.scenario, settings.YLimit / std::max(settings.CStep, 1) + 1));
  form2_->setWindowModality(Qt::ApplicationModal);
  form2_->follow(relay_);
  note_ = new FrmInfoNote(nullptr);
  connect(
      relay_, &ProgressRelay::savingStarted, this,
      [this] {
        if (form2_) form2_->finish();
        if (note_) note_->show();
      },
      Qt::QueuedConnection);

  outcome_ = std::make_shared<run::RunOutcome>();
  offerWorkbook_ = outputs.offerWorkbook;
  auto job = std::make_shared<run::PreparedRun>(std::move(prepared));
  auto outcome = outcome_;
  ProgressRelay* relay = relay_;
  run::ExecuteOptions options;
  options.onModelDone = [relay] { relay->saving(); };
  thread_ = QThread::create([job, outcome, relay, execute = execute_, options] {
    try {
      *outcome = execute(std::move(*job), *relay, options);
    } catch (const std::exception& e) {
      // A fault past the model's own refusals: the run is refused as a whole, nothing of it is kept.
      *outcome = run::RunOutcome{};
      outcome->error = QString::fromUtf8(e.what());
    }
  });
  connect(thread_, &QThread::finished, this, &RunController::finish);
  // The worker starts before any window changes: a thread the system refuses leaves them as they were,
  // the run's input included, for another try. Its end is queued, so it comes after runStarted.
  if (!StartWorker(thread_)) {
    delete thread_;
    thread_ = nullptr;
    outcome_.reset();
    stopAndWait();
    ShowCritical(owner_, U(kNoRunThread));
    return false;
  }
  emit runStarted();
  form2_->show();
  return true;
}

void RunController::finish() {
  thread_->deleteLater();
  thread_ = nullptr;
  const std::shared_ptr<const run::RunOutcome> outcome = std::move(outcome_);
  const bool offer = outcome && outcome->ok() && offerWorkbook_;
  // A run whose workbook is written after its border test warns before the workbook is offered.
  const bool warnFirst =
      offer && outcome->snapshot->ZoneAtEdge && result::FactsOf(outcome->snapshot->scenario()).warnsBeforeWorkbook;
  // The result workbook is asked for and written before the windows come back: until it is written no
  // button of theirs offers anything, so its dialog and note are windows of their own (and so is the
  // warning that comes before them). The progress window and the note step aside meanwhile; they are
  // hidden, not closed, while the run's own windows stand (disabled) behind them.
  if (offer) {
    form2_->hide();
    note_->hide();
    if (warnFirst) ShowEdgeWarning(nullptr);
    OfferRunWorkbook(nullptr, *outcome->snapshot);
  }
  // The windows come back before the progress window goes: the program is never left without a window.
  emit runEnded();
  form2_->finish();
  note_->close();
  form2_->deleteLater();
  note_->deleteLater();
  relay_->deleteLater();
  form2_ = nullptr;
  note_ = nullptr;
  relay_ = nullptr;

  QWidget* over = MessageParent(owner_);
  if (outcome && outcome->ok()) {
    if (outcome->snapshot->ZoneAtEdge && !warnFirst) ShowEdgeWarning(over);
    emit completed(outcome->snapshot);
    return;
  }
  // Cancelled or refused: nothing of this run is kept, the earlier results stay.
  if (outcome && !outcome->cancelled && !outcome->error.isEmpty()) {
    ShowCritical(over, outcome->error);
    emit refused(outcome->error);
    return;
  }
  emit cancelled();
}

}  // namespace velaron::ui
