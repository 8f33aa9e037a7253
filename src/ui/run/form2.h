// The progress window of a calculation (`Form2`) and the note shown while results are put together
// (`frmInfoNote`). The calculation runs on a worker thread; it reaches these windows only through
// queued signals of a ProgressRelay.
#pragma once

#include <QDialog>
#include <QObject>
#include <atomic>
#include <string>

#include "models/progress.h"
#include "result/scenarios.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace velaron::ui {

// The worker's side of the progress: begin/step/cancelled are called from worker threads and turn
// into queued signals; cancel() is called from the GUI thread.
class ProgressRelay : public QObject, public models::Progress {
  Q_OBJECT
 public:
  explicit ProgressRelay(QObject* parent = nullptr) : QObject(parent) {}

  void begin(const std::string& title, int steps) override;
  void step() override;
  bool cancelled() const override { return cancelled_.load(); }

  void cancel() { cancelled_ = true; }
  // Called by the run after the model, while it gathers the results.
  void saving();

 signals:
  void begun(const QString& title, int steps);
  void stepped();
  void savingStarted();

 private:
  std::atomic<bool> cancelled_{false};
};

// The progress window of a calculation, with "Отмена".
class Form2 : public QDialog {
  Q_OBJECT
 public:
  // `cStep`, `yLimit` and `xLimit` let the window name the row under way ("Y=" and its y in metres, "X="
  // the span of x it covers); `xLimit` below 0 takes `yLimit`.
  explicit Form2(QWidget* parent = nullptr, int cStep = 10, int yLimit = 1000, int xLimit = -1);

  // Follows a relay: its stages and steps move the bars, "Отмена" cancels it.
  void follow(ProgressRelay* relay);

  // The assessments over a year run many stages (every wind state of every jet kind): with the number of
  // steps of the whole run the window shows its progress and the time left besides the stage's bars.
  void setWholeRun(int totalSteps);
  // Steps of the whole run of `scenario` on a grid of `rows` rows: 0 for a run of one stage.
  static int WholeRunSteps(result::Scenario scenario, int rows);
  // "Осталось около 3 мин" from the time spent and the part done (0..1); empty while that says nothing.
  static QString TimeLeftText(double elapsedSeconds, double fractionDone);
  QLabel* wholeLabel() const { return wholeLabel_; }
  QProgressBar* wholeBar() const { return wholeBar_; }

  QLabel* label1() const { return label1_; }
  QLabel* label2() const { return label2_; }
  QLabel* label3() const { return label3_; }
  QProgressBar* pbar1() const { return pbar1_; }
  QProgressBar* pbar2() const { return pbar2_; }
  QPushButton* cancelButton() const { return command2_; }

  // The run is over: the window closes without counting as a cancel.
  void finish();

 public slots:
  void onBegin(const QString& title, int steps);
  void onStep();

 signals:
  void cancelRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void showWhole();

  QLabel *label1_, *label2_, *label3_, *wholeLabel_;
  QProgressBar *pbar1_, *pbar2_, *wholeBar_;
  QPushButton* command2_;
  int cStep_, yLimit_, xLimit_;
  int done_ = 0;
  int stageSteps_ = 0;
  int wholeTotal_ = 0, wholeBefore_ = 0;  // steps of the whole run, and of the stages already left
  qint64 startedMs_ = -1;
  bool finished_ = false;
};

// The note "Подождите немного, идет сохранение результатов . . ." (`frmInfoNote`).
class FrmInfoNote : public QDialog {
  Q_OBJECT
 public:
  explicit FrmInfoNote(QWidget* parent = nullptr);
};

}  // namespace velaron::ui
