// The tab "Данные по газопроводу": the pipeline's location, gas, diameter, pressures, gas temperature,
// depth, lengths and valve time, stored by "Сохранить данные" and shown again at the next start, and the
// damage-cost boxes.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "db/rows.h"
#include "models/reftables.h"
#include "result/run_request.h"
#include "ui/mainwindow/input_tab.h"

class QComboBox;
class QGroupBox;
class QLineEdit;

namespace velaron::ui {

class NumericBox;

class PipelineTab : public InputTab {
  Q_OBJECT
 public:
  explicit PipelineTab(QWidget* parent = nullptr);

  // The stored pipeline data in the boxes and the gas list with the stored gas shown, once: nothing when read
  // before. A read that fails is told, and the boxes of the stored data and the gas list stay empty and
  // unavailable until a later call reads them: false then.
  bool readStored();
  // Reloads the gas list after an editor, keeping the chosen gas by name (a gas no longer listed is no
  // longer chosen). A list that cannot be read is told and stays as it was, with its choice: false.
  bool reloadGasList();

  // A gas is chosen; else the message, and the list gets the focus.
  bool checkGasChosen();
  // The pipeline's inputs and texts of a run request.
  void fillRequest(result::RunRequest& request) const;

  // The boxes differ from the stored pipeline data (a box that is not a number differs); never while the
  // stored data are not read.
  bool dataChanged() const;
  // "Сохранить данные": checks the boxes and stores them; false when refused or not stored. Stored data not
  // read yet are read and shown instead, and nothing is stored.
  bool save();

 signals:
  // The user chose a gas from the list.
  void gasChosen();

 private:
  // Reads the gases and fills the list, nothing chosen; a failed read is told and leaves the list: false.
  bool listGases();

  // The boxes of the stored pipeline data, each with its field of `row` (a stored row or a run's inputs:
  // both name the fields alike).
  template <class Row>
  auto storedBoxes(Row& row) const {
    return std::array{std::pair{Text10_, &row.Glubina}, std::pair{Text3_, &row.Diametr},
                      std::pair{Text4_, &row.DavlDown}, std::pair{Text6_, &row.DavlUp},
                      std::pair{Text5_, &row.Temp},     std::pair{Text13_, &row.Ltrub},
                      std::pair{Text14_, &row.Tsrab},   std::pair{Lkr_, &row.Lkr}};
  }
  // Each field of `row` takes its box's number; a box that is not a number leaves its field.
  template <class Row>
  void readBoxes(Row& row) const {
    for (const auto& [box, field] : storedBoxes(row)) *field = box->value().value_or(*field);
  }
  bool diameterRange(NumericBox& box);
  // The gas temperature within its field's range and, when both pressures are numbers, within the gas
  // tables at every pressure between them; else the message, and false.
  bool gasTemperatureCheck();

  int Gas_ = -1;  // position, counted from 1, of the chosen gas in the list; -1 while none
  // The pipeline data as the database held them when read at the start or stored since: none until a read
  // succeeded, and a row of none when the table has none.
  struct Stored {
    std::optional<db::AdjustmentRow> row;
  };
  std::optional<Stored> stored_;
  std::vector<QString> initialTexts_;                         // of the boxes of the stored data, in their order
  std::shared_ptr<const models::ReferenceTables> gasTables_;  // of the temperature check, read with the stored data

  QGroupBox* Frame2_ = nullptr;
  QLineEdit* Text27_ = nullptr;
  QComboBox* DataCombo1_ = nullptr;
  NumericBox *Text3_ = nullptr, *Text4_ = nullptr, *Text6_ = nullptr, *Text5_ = nullptr, *Text10_ = nullptr,
             *Text13_ = nullptr, *Lkr_ = nullptr, *Text14_ = nullptr;
};

}  // namespace velaron::ui
