// The run of a prepared calculation behind the progress window: the worker thread, the progress window
// (`Form2`) and the note window, the town's wind rose written before an assessment over a year begins, the
// result workbook written from the finished record, and the user's messages about the outcome. The run
// dialog and the jet-flame window both start their runs here.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "result/run_snapshot.h"
#include "run/execute.h"
#include "run/prepared_run.h"

class QThread;
class QWidget;

namespace velaron::ui {

class Form2;
class FrmInfoNote;
class ProgressRelay;

class RunController : public QObject {
  Q_OBJECT
 public:
  // Executes a prepared run on the worker; the default is run::ExecuteRun, tests put their own in.
  using Execute = std::function<run::RunOutcome(run::PreparedRun, models::Progress&, const run::ExecuteOptions&)>;

  // The files of a run besides its results.
  struct Outputs {
    QString windRoseFolder;      // where the assessments over a year (codes 1 and 7) write the town's wind
                                 // rose before they begin; empty writes none
    bool offerWorkbook = false;  // after a completed run, offer to save its result workbook
  };

  // `owner` is the window the messages about the outcome are shown over (or, while it is hidden, the window
  // behind it); the controller is its child.
  explicit RunController(QWidget* owner);
  // A run still going on is cancelled and waited for: nothing may outlive the windows it reports to.
  ~RunController() override;

  void setExecute(Execute execute) { execute_ = std::move(execute); }

  // Writes the wind rose of an assessment over a year (a failure is told over the owner, and the run goes
  // on), then starts the run on the worker and shows the progress window. False (and nothing started) while
  // an earlier run is still going on, or when the system gives no thread for it: that is told over the
  // owner, and no window changes.
  bool start(run::PreparedRun prepared, const Outputs& outputs);
  bool running() const { return thread_ != nullptr; }
  Form2* progressWindow() const { return form2_; }

 signals:
  void runStarted();
  // The worker is done: the windows take input again. Sent before any message about the outcome but the
  // grid-edge warning of a run that warns before its workbook is offered.
  void runEnded();
  // The outcome, after the offer of its workbook (made before runEnded, while the windows take no input)
  // and its messages over the owner (the zone at the grid's edge, the model's refusal). A cancelled or
  // refused run leaves nothing: whatever was shown before stays.
  void completed(std::shared_ptr<const result::RunSnapshot> snapshot);
  void refused(const QString& message);
  void cancelled();

 private:
  void finish();
  void stopAndWait();

  QWidget* owner_;
  Execute execute_;
  QThread* thread_ = nullptr;
  ProgressRelay* relay_ = nullptr;
  Form2* form2_ = nullptr;
  FrmInfoNote* note_ = nullptr;
  std::shared_ptr<run::RunOutcome> outcome_;  // what the worker leaves
  bool offerWorkbook_ = false;
};

}  // namespace velaron::ui
