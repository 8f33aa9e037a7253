// The run dialog `Form6` ("Расчет"): the scenario, the route section, the season and the wind, and the
// shares of the three jet-fire kinds. Its "Расчет" prepares the run, runs it through the run controller
// and hands the completed run to the main window. The dialog is hidden from the moment the run is under
// way; a completed run closes it, a refused one leaves it hidden, loaded as it was.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

#include "db/rows.h"
#include "run/execute.h"
#include "run/prepared_run.h"
#include "result/run_request.h"
#include "result/run_snapshot.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace velaron::ui {

class NumericBox;
class Form2;
class RunController;

// The run dialog ("Расчет"): scenario, section, weather and jet-kind shares of a run.
class Form6 : public QDialog {
  Q_OBJECT
 public:
  // Where the dialog reads its rows and how it executes the run. The defaults read the open database
  // and run the scenario model; tests put their own in.
  struct Services {
    std::function<db::Read<std::optional<db::SectionRow>>(int tpid)> section;
    std::function<db::Read<std::optional<db::Ground3Row>>(const QString& groundCode)> ground;
    std::function<run::RunData(const result::RunRequest&)> runData;
    std::function<run::RunOutcome(run::PreparedRun, models::Progress&, const run::ExecuteOptions&)> execute;
  };
  static Services DatabaseServices();

  // `base`: the main window's settings, pipeline, accident-rate way and external factors.
  explicit Form6(const result::RunRequest& base, QWidget* parent = nullptr);
  ~Form6() override;

  void setServices(Services services) { services_ = std::move(services); }
  // The main window's data of a new start, for a dialog shown again as its last run left it: the section
  // found at the first press, the shares and the choices stay.
  void setBase(const result::RunRequest& base);
  // Where the assessments over a year (codes 1 and 7) write the town's wind-rose workbook, before the
  // assessment begins: the program's folder. Empty (the default) writes none.
  void setWindRoseFolder(const QString& folder) { windRoseFolder_ = folder; }
  // After a completed run, offer to save its result workbook (when the run's option asks for it).
  void setOfferWorkbook(bool on) { offerWorkbook_ = on; }

  std::optional<result::Scenario> scenario() const { return scenario_; }
  bool running() const;
  Form2* progressWindow() const;
  // The request of the last press that went past the question (for the reports' weather texts).
  const result::RunRequest& lastRequest() const { return lastRequest_; }

 signals:
  // A run completed; the main window shows it and keeps it for the report.
  void runFinished(std::shared_ptr<const result::RunSnapshot> snapshot);
  // The first press found the run's section: the main window shows it from now on.
  void sectionFound(int tpid);
  // The run began / ended (completed, refused by the model or cancelled): the main window's run button.
  void runStarted();
  void runEnded();

 public slots:
  void Combo1_Click();
  void Combo3_Click();
  void cmdRaschet_Click();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void build();
  void keepOneSize();
  bool firstPress();           // finds the section and fills the shares; false when the run stops here
  bool readSection(int tpid);  // the section's row into `section_`; false, told, when unread or gone
  bool fillShares();           // the share boxes from the soil of the section's row; false, told, when it can't
  bool offerShares();          // shows the shares and offers to correct them; false when the run stops here
  bool rereadSection();        // the section found first, as its row stands now; false when the run stops here
  void refuseSection();        // a wrong section: told, and the section group opens for another number
  std::optional<result::RunRequest> gatherRequest();
  void startRun(run::PreparedRun prepared);
  void setControlsEnabled(bool on);

  result::RunRequest base_;
  result::RunRequest lastRequest_;
  Services services_;
  QString windRoseFolder_;
  bool offerWorkbook_ = false;
  std::optional<result::Scenario> scenario_ = result::Scenario::Complex;  // the list's line; none chosen: nothing
  bool sharesFilled_ = false;              // the first press filled the share boxes from the section's ground
  std::optional<db::SectionRow> section_;  // found at the first press, read again at every later press
  std::optional<QString> sharesSoil_;      // the soil whose ground row filled the share boxes

  QGroupBox *Frame1_, *Frame2_, *Frame3_, *Frame4_, *Frame6_, *Frame7_, *fraOther_;
  QComboBox *Combo1_, *Combo3_, *Combo9_;
  QLabel* Label14_;
  NumericBox *Text1_, *Text2_, *Text8_;
  QRadioButton* Option2_;
  QCheckBox *chkProc_, *chkImpuls_, *chkPress_;
  QLineEdit *Pkw_, *Psw_, *Paw_, *Pks_, *Pss_, *Pas_;
  QPushButton *cmdRaschet_, *Command2_;

  RunController* controller_;  // the run under way
};

}  // namespace velaron::ui
