// The main window: the pipeline, its route sections with their ground and crossings, the external
// factors and the way the accident rate is given; the start of a run; the results of the last run; and
// the menus that open every other window. Every edit of a route section is written at once to its row.
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "ui/startup/app_context.h"
#include "db/rows.h"
#include "run/accident_rate.h"
#include "result/run_request.h"
#include "result/run_snapshot.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;

class QChartView;

namespace velaron::ui {

class NumericBox;
class CompassPicture;

// The main window: pipeline, route sections, accident rate, runs and their results.
class Form1 : public QMainWindow {
  Q_OBJECT
 public:
  explicit Form1(QWidget* parent = nullptr);
  ~Form1() override;

  // The start-up context (program folder, report options). Optional: without it the window keeps options
  // of its own and takes the program's folder from the application.
  void setAppContext(AppContext* context);
  ReportOptions& reportOptions();
  const ReportOptions& reportOptions() const;

  // The one-time set-up of the first activation; runs on the first show, or when called.
  void Form_Activate();
  bool firstActivationPending() const { return firstActivate_; }

  // --- Window state that the run and the tests read.
  int Gas() const { return Gas_; }
  int RegionPos() const { return RegionPos_; }
  double ExtFactors() const { return ExtFactors_; }
  int selectedSection() const;  // TPID of the selected list item (1 when none)
  // Selects and shows the section `tpid` (the run's section, found by the run dialog); nothing when the
  // list has no such section.
  void selectSection(int tpid);
  const std::optional<db::SectionRow>& currentSection() const { return section_; }

  // Start of a run ("Расчет" and "Произвести расчет" alike): checks every number box, the gas, the region
  // or typed probability, computes the accident rate and gathers the request. Nothing when refused (the
  // message is shown, the tab and focus moved).
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

  // The results of a completed run: zone depths, charts, pictures, the result tab and the save button.
  void showResults(const result::RunSnapshot& snapshot);
  void onRunFinished(std::shared_ptr<const result::RunSnapshot> snapshot);
  const result::RunSnapshot* lastRun() const { return lastRun_.get(); }

  // Reloads the gas and region lists after an editor, keeping the choices by name.
  void reloadReferenceLists();
  // Refills the town list keeping the chosen town by id.
  void reloadCityList();

  // --- Handlers (public so that the windows' tests can press them).
  void Command1_Click();
  void smProcess_Click();
  void cmdSave_Click();
  void bAdd_Click();
  void bDelete_Click();
  void Command6_Click();
  void Command4_Click();
  void Command5_Click();
  void List1_Click();
  void optPor_Click();
  void optVer_Click();
  void optRisk_Click();
  void cmdSaveResult_Click();
  void Command3_Click();
  void Command7_Click();
  // The hidden menu item "Расчет струевого настильного факела": the main window steps aside and the
  // jet-flame window is shown.
  void mnuTrub_Click();
  void exitProgram();

 protected:
  void showEvent(QShowEvent* event) override;
  // Leaving with pipeline data that differ from the stored ones asks whether to store them first.
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus();
  QWidget* buildPipelineTab();
  QWidget* buildSectionsTab();
  QWidget* buildRateTab();
  QWidget* buildResultsTab();
  NumericBox* box(const char* name, const char* initial, int keysKind, QWidget* parent);

  // Route sections.
  void fillSectionList(int selectTpid);
  void showSection(int tpid);
  bool writeSection(const db::SectionRow& row);
  void sectionBoxLeft(NumericBox* box, double db::SectionRow::*field);
  void azimuthEdited();

  // Crossings and external factors.
  run::Crossings crossings() const;
  // The shown section's row with its crossings as the window shows them: the flags, the probabilities the
  // boxes hold and the capped sum of the ticked ones.
  db::SectionRow crossingRow() const;
  void crossingToggled(int index);
  void crossingClicked(int index);
  void crossingEdited(int index);
  void externalToggled(int index);
  bool externalLeave(NumericBox& box);

  // Ground cascade.
  void fillGroundLevel(int level, int parentGid, int selectGid);
  void showGround(const db::SectionRow& section);
  void groundChosen(int level, int index);
  QString composedGround() const;

  // Accident-rate ways.
  void optionChanged();
  bool diameterRange(NumericBox& box);
  // The gas temperature within its field's range and, when both pressures are numbers, within the gas
  // tables at every pressure between them; else the message, and false.
  bool gasTemperatureCheck();
  bool checkAllBoxes();
  result::RunRequest gatherRequest() const;
  void openEditor(QWidget* editor);
  // The pipeline boxes differ from the stored pipeline data (a box that is not a number differs).
  bool pipelineDataChanged() const;
  // "Сохранить данные": checks the pipeline boxes and stores them; false when refused or not stored.
  bool savePipelineData();

  AppContext* context_ = nullptr;
  ReportOptions ownOptions_;
  bool firstActivate_ = true;
  bool hiddenForEditor_ = false;
  bool running_ = false;
  int Gas_ = -1;
  int RegionPos_ = -1;
  double ExtFactors_ = 0;
  std::array<double, 4> extValues_{};  // Eroz, Stih, Zapor, Rechper as the variables hold them
  int NextSectionNo_ = 1;
  bool GroundFolded_ = false, CrossingsFolded_ = false;
  run::AccidentRateResult rate_;
  std::optional<db::SectionRow> section_;
  std::vector<db::GasRow> gases_;
  std::vector<db::RegionRow> regions_;
  std::array<std::vector<db::GroundTypeRow>, 4> groundRows_;
  std::shared_ptr<const models::ReferenceTables> gasTables_;  // read at the first temperature check
  std::shared_ptr<const result::RunSnapshot> lastRun_;
  RunDialogOpener openRunDialog_;
  QString windRoseFolder_;

  // Widgets other code reads (object names as the window's interface names them).
  QTabWidget* SSTab1_ = nullptr;
  QPushButton *Command1_ = nullptr, *Command2_ = nullptr, *cmdSave_ = nullptr;
  QAction *smParam_ = nullptr, *smExit_ = nullptr, *smProcess_ = nullptr, *mnuTrub_ = nullptr, *mnuGaz_ = nullptr,
          *mnuStatistika_ = nullptr, *smHelp_ = nullptr, *smAbout_ = nullptr;
  QLineEdit* Text27_ = nullptr;
  QComboBox* DataCombo1_ = nullptr;
  NumericBox *Text3_ = nullptr, *Text4_ = nullptr, *Text6_ = nullptr, *Text5_ = nullptr, *Text10_ = nullptr,
             *Text13_ = nullptr, *Lkr_ = nullptr, *Text14_ = nullptr;
  std::vector<NumericBox*> damageBoxes_;
  QListWidget* List1_ = nullptr;
  QPushButton *bAdd_ = nullptr, *bDelete_ = nullptr, *Command4_ = nullptr, *Command5_ = nullptr, *Command6_ = nullptr;
  QLineEdit *Text1_ = nullptr, *Text7_ = nullptr;
  NumericBox *Text11_ = nullptr, *Text9_ = nullptr, *Text25_ = nullptr;
  CompassPicture* Picture1_ = nullptr;
  QGroupBox *Frame7_ = nullptr, *Frame8_ = nullptr;
  std::array<QComboBox*, 4> groundCombos_{};     // DataCombo5, DataCombo2, DataCombo3, DataCombo4
  std::array<QCheckBox*, 4> crossingChecks_{};   // Check1, Check4, Check3, Check2 (dpp1..dpp4)
  std::array<NumericBox*, 4> crossingBoxes_{};   // P_avto, P_LEP, P_tr, P_kab
  QComboBox *cmbCity_ = nullptr, *DataCombo6_ = nullptr, *Combo2_ = nullptr;
  QPushButton* cmdSpecifyCity_ = nullptr;
  NumericBox *Text12_ = nullptr, *Text8_ = nullptr, *alfa_tr_ = nullptr;
  QRadioButton *Option1_ = nullptr, *Option2_ = nullptr, *Option3_ = nullptr;
  std::array<QCheckBox*, 4> externalChecks_{};   // Check5, Check6, Check7, Check8
  std::array<NumericBox*, 4> externalBoxes_{};   // txtEroz, txtStih, txtZapor, txtRechper
  QChartView *graf1_ = nullptr, *graf2_ = nullptr;
  QLabel *imgDiagr1_ = nullptr, *imgDiagr2_ = nullptr, *imgRisk_ = nullptr;
  QGroupBox *fraDiagr_ = nullptr, *fraZon_ = nullptr, *fraMessage_ = nullptr;
  QRadioButton *optPor_ = nullptr, *optVer_ = nullptr, *optRisk_ = nullptr;
  std::array<QLineEdit*, 5> zoneBoxes_{};        // txtRsm, txtRs, txtRsr, txtRsl, txtRb
  QPushButton *cmdSaveResult_ = nullptr, *Command3_ = nullptr, *Command7_ = nullptr;
  std::array<QLineEdit*, 3> Max_{};
};

}  // namespace velaron::ui
