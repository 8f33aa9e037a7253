// The progress window of a calculation (`Form2`) and the note shown while results are put together
// (`frmInfoNote`). The calculation runs on a worker thread; it reaches these windows only through
// queued signals of a ProgressRelay.
#pragma once

#include <QDialog>
#include <QObject>
#include <atomic>
#include <string>

#include "models/progress.h"

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
  // `cStep` and `yLimit` let the window name the row under way ("Y=" and its y in metres).
  explicit Form2(QWidget* parent = nullptr, int cStep = 10, int yLimit = 1000);

  // Follows a relay: its stages and steps move the bars, "Отмена" cancels it.
  void follow(ProgressRelay* relay);

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
  QLabel *label1_, *label2_, *label3_;
  QProgressBar *pbar1_, *pbar2_;
  QPushButton* command2_;
  int cStep_, yLimit_;
  int done_ = 0;
  bool finished_ = false;

};

// The note "Подождите немного, идет сохранение результатов . . ." (`frmInfoNote`).
class FrmInfoNote : public QDialog {
  Q_OBJECT
 public:
  explicit FrmInfoNote(QWidget* parent = nullptr);
};

}  // namespace velaron::ui
