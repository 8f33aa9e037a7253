// The main window: one tab each for the pipeline, its route sections, the accident rate and the results of
// the last run, the buttons "Расчет" and "Выход", and the menus that open every other window. The window
// starts a run with the request its tabs gather and hands the finished run to the results tab.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

#include "result/run_request.h"
#include "result/run_snapshot.h"
#include "run/accident_rate.h"
#include "ui/startup/app_context.h"

class QAction;
class QPushButton;
class QTabWidget;

namespace velaron::ui {

class InputTab;
class PipelineTab;
class RateTab;
class ResultsTab;
class SectionsTab;

class Form1 : public QMainWindow {
  Q_OBJECT
 public:
  explicit Form1(QWidget* parent = nullptr);
  ~Form1() override;

  // The start-up context (report options, the pending first activation). Optional: without it the window
  // keeps options of its own.
  void setAppContext(AppContext* context);
  ReportOptions& reportOptions();
  const ReportOptions& reportOptions() const;

  // The one-time set-up of the first activation; runs on the first show, or when called.
  void Form_Activate();

  // The pipeline's external-factor sum as the run reads it.
  double ExtFactors() const;
  // The number (TPID) of the selected route section (1 when none).
  int selectedSection() const;
  // Selects and shows the section `tpid` (the run's section, found by the run dialog); nothing when the
  // list has no such section.
  void selectSection(int tpid);

  // Start of a run ("Расчет" and "Произвести расчет" alike): checks the tabs' inputs (the gas, the region
  // or typed probability, every number box), gathers the request and computes the accident rate. Nothing
  // when refused (the message is shown, the tab and focus moved).
  std::optional<result::RunRequest> prepareRun();
  const run::AccidentRateResult& lastAccidentRate() const { return rate_; }

  // How the run dialog is opened with a prepared request; tests replace it.
  using RunDialogOpener = std::function<void(Form1& window, const result::RunRequest& request)>;
  void setRunDialogOpener(RunDialogOpener opener) { openRunDialog_ = std::move(opener); }

  // Where the assessments over a year write their town's wind-rose workbook, and their reports rewrite it:
  // the user's data folder unless set.
  QString windRoseFolder() const;
  void setWindRoseFolder(const QString& folder) { windRoseFolder_ = folder; }

  // A run is under way: nothing in the window can be edited, the run button reads "Идет расчет".
  void setRunning(bool running);
  bool isRunning() const { return running_; }

  // A run has ended: a finished one is shown on the results tab, which opens; nothing else (null) only
  // unlocks the window.
  void onRunFinished(std::shared_ptr<const result::RunSnapshot> snapshot);
  const result::RunSnapshot* lastRun() const { return lastRun_.get(); }

  // Reloads the gas and region lists after an editor, keeping the choices by name. A list that cannot be
  // read is told and stays as it was, and the lists after it are not read: false.
  bool reloadReferenceLists();
  // Refills the town list keeping the chosen town by id; false when it cannot be read (told, list kept).
  bool reloadCityList();

  // --- Handlers (public so that the windows' tests can press them).
  void Command1_Click();
  void smProcess_Click();
  void cmdSave_Click();
  // "Сохранить результаты": the report of the last finished run.
  void cmdSaveResult_Click();
  // The hidden menu item "Расчет струевого настильного факела": the main window steps aside and the
  // jet-flame window is shown.
  void mnuTrub_Click();
  void exitProgram();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  // Leaving with pipeline data that differ from the stored ones asks whether to store them first.
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus();
  void addInputTab(InputTab* tab, const char* caption);
  // Leaves the box being typed in, then makes the editor with `make` and steps aside for it.
  void openEditor(QWidget* (*make)(Form1&));
  // Reads the stored data of every input tab that has not read them (its read failed); true when all are read.
  bool readStoredData();

  AppContext* context_ = nullptr;
  ReportOptions ownOptions_;
  bool firstActivate_ = true;
  bool hiddenForEditor_ = false;
  QPointer<QWidget> focusOnReturn_;  // the control with the focus when the window was hidden
  bool running_ = false;
  run::AccidentRateResult rate_;
  std::shared_ptr<const result::RunSnapshot> lastRun_;
  RunDialogOpener openRunDialog_;
  QString windRoseFolder_;

  QTabWidget* SSTab1_ = nullptr;
  PipelineTab* pipelineTab_ = nullptr;
  SectionsTab* sectionsTab_ = nullptr;
  RateTab* rateTab_ = nullptr;
  ResultsTab* resultsTab_ = nullptr;
  QPushButton *Command1_ = nullptr, *Command2_ = nullptr;
  QAction* smProcess_ = nullptr;
};

}  // namespace velaron::ui
