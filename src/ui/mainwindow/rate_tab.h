// The tab "Вероятность аварии": the town whose wind data apply, the inversion frequency, the three ways of
// giving the accident rate (by region, by accidents per 1000 km, typed in) and the four external factors
// with their probabilities.
#pragma once

#include <QString>
#include <array>
#include <optional>

#include "result/run_request.h"
#include "run/accident_rate.h"
#include "ui/mainwindow/input_tab.h"

class QCheckBox;
class QComboBox;
class QRadioButton;

namespace velaron::ui {

class NumericBox;

class RateTab : public InputTab {
  Q_OBJECT
 public:
  explicit RateTab(QWidget* parent = nullptr);

  // The external factors' defaults and the way by region.
  void firstActivation();
  // The town list and the region list with no region chosen, once: nothing when read before. A read that
  // fails is told, and the lists stay empty until a later call reads them: false then.
  bool readStored();
  // Reloads the region list after an editor, keeping the chosen region by name. A list that cannot be read
  // is told and stays as it was, with its choice: false.
  bool reloadRegionList();
  // Refills the town list keeping the chosen town by id; false when it cannot be read (told, list kept).
  bool reloadCityList();

  // The pipeline's external-factor sum: the ticked factors' variables, which take the boxes' values at the
  // start of a run.
  double ExtFactors() const { return ExtFactors_; }

  // The way chosen has what it needs: a region for the first two, a probability typed in for the third;
  // else the message, and the input in question gets the focus.
  bool checkRateGiven();
  // The accident-rate, external-factor, inversion and town inputs and texts of a run request.
  void fillRequest(result::RunRequest& request) const;
  // The accident rate of the start of a run with `request`. When refused, the message, the input in question
  // gets the focus and nothing changes; else the external factors' variables take the request's values.
  std::optional<run::AccidentRateResult> accidentRate(const result::RunRequest& request);

 signals:
  // The user chose a region from the list.
  void regionChosen();
  // "Уточнить данные": the town wind editor is asked for.
  void cityEditorRequested();

 private:
  int way() const;  // 1 by region, 2 by accidents per 1000 km, 3 typed in
  void optionChanged();
  // Reads the regions and fills the list, nothing chosen; a failed read is told and leaves the list: false.
  bool listRegions();
  void externalToggled(int index);
  bool externalLeave(NumericBox& box);
  // Shows the tab with the focus on the input the way chosen reads: the typed probability or the region.
  void focusRateInput();

  bool listsRead_ = false;
  int RegionPos_ = -1;  // position, counted from 1, of the chosen region in the list; -1 while none
  double ExtFactors_ = 0;
  std::array<double, 4> extValues_{};  // Eroz, Stih, Zapor, Rechper as the variables hold them

  QComboBox *cmbCity_ = nullptr, *DataCombo6_ = nullptr;
  NumericBox *Text12_ = nullptr, *Text8_ = nullptr, *alfa_tr_ = nullptr;
  QRadioButton *Option1_ = nullptr, *Option2_ = nullptr, *Option3_ = nullptr;
  std::array<QCheckBox*, 4> externalChecks_{};  // Check5, Check6, Check7, Check8
  std::array<NumericBox*, 4> externalBoxes_{};  // txtEroz, txtStih, txtZapor, txtRechper
};

}  // namespace velaron::ui
