// The jet-flame window `frmStr_fakel`, "Струевой настильный факел": one asymmetric jet flame of a pipe
// described in the window itself (gas, diameter, pressure, gas temperature, wind, the pipeline's azimuth
// and the lift angle of the pipe). "Расчет" makes a run request of the pipe (result::JetFlamePipe), which
// the run prepares like any other, runs it as an asymmetric jet-fire run through the run controller and
// hands the finished run to the main window through the callback it was given. The azimuth and the lift
// angle are drawn as small diagrams while they are typed.
#pragma once

#include <QLineF>
#include <QWidget>
#include <functional>
#include <optional>
#include <memory>
#include <vector>

#include "db/rows.h"
#include "models/reftables.h"
#include "result/run_request.h"
#include "result/run_snapshot.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velaron::ui {

class NumericBox;
class RunController;

// What the window needs from the program: the gases, the calculation settings, the reference tables,
// the probabilities and the workbook flag of the last run of the run dialog, the report options and where
// the results go.
struct FakelContext {
  std::vector<db::GasRow> gases;
  db::AdjustmentRow settings;
  std::shared_ptr<const models::ReferenceTables> tables;
  std::function<result::Probabilities()> lastProbabilities;  // empty: all 0, as before the first run
  std::function<bool()> lastSaveXls;                         // empty: off, as before the first run
  std::function<result::OutputOptions()> options;            // as a calculation starts; empty: both on
  std::function<void(std::shared_ptr<const result::RunSnapshot>)> showResult;  // the main window's display
};

// Whether the models write their result workbook after `last`, the last completed run of the program (none:
// off): a single scenario of the run dialog sets the flag, an assessment over a year clears it, and the
// jet-flame window leaves it as it found it.
bool SaveXlsLeftBy(const result::RunSnapshot* last);

// A picture box with one of the two diagrams; it keeps the lines it draws so that they can be checked.
class FakelDiagram : public QWidget {
  Q_OBJECT
 public:
  enum class Kind { Azimuth, Lift };
  FakelDiagram(Kind kind, QWidget* parent = nullptr);
  // Draws the diagram for `degrees`; nothing (an empty box) when not given.
  void setAngle(std::optional<double> degrees);
  const std::vector<QLineF>& lines() const { return lines_; }
  QPointF dot() const { return dot_; }

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;

 private:
  void layoutLines();
  Kind kind_;
  std::optional<double> angle_;
  std::vector<QLineF> lines_;
  QPointF dot_;
};

// The jet-flame window (`frmStr_fakel`): one asymmetric jet flame of a pipe typed in the window.
class FrmStrFakel : public QWidget {
  Q_OBJECT
 public:
  explicit FrmStrFakel(FakelContext context, QWidget* parent = nullptr);
  ~FrmStrFakel() override;

  // The run request of the window's inputs as they stand, or nothing after a message when a box does not
  // hold a number.
  std::optional<result::RunRequest> gatherRequest();
  bool running() const;

  QComboBox* combo1() const { return Combo1_; }
  QComboBox* combo9() const { return Combo9_; }
  NumericBox* box(const char* objectName) const;
  FakelDiagram* picture1() const { return Picture1_; }
  FakelDiagram* picture2() const { return Picture2_; }
  QPushButton* command1() const { return Command1_; }

 public slots:
  void Command1_Click();

 signals:
  // The calculation ended: with the finished run, or with nothing (refused, cancelled).
  void calculationEnded(std::shared_ptr<const velaron::result::RunSnapshot> snapshot);
  // The user closed the window (not sent while a calculation goes on: the window cannot close then).
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  FakelContext ctx_;
  QFrame* Frame1_;
  QComboBox *Combo1_, *Combo9_;
  NumericBox *Text3_, *Text4_, *Text5_, *Text10_, *Text2_, *Text25_, *Text8_;
  QLineEdit* Text27_;
  FakelDiagram *Picture1_, *Picture2_;
  QPushButton* Command1_;
  RunController* controller_;  // the calculation under way
};

}  // namespace velaron::ui
