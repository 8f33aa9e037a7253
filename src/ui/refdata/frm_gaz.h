// The gas editor: the rows of `abc` (name, molar mass, heat of combustion, the jet-flame coefficients a and
// b, hazard class). The grid is refilled each time the window becomes active.
#pragma once

#include "ui/refdata/ref_editor.h"

class QLineEdit;
class QSpinBox;

namespace velaron::ui {

class NumericBox;

// The gas editor (`abc`).
class frmGaz : public RefEditor {
  Q_OBJECT
 public:
  explicit frmGaz(QWidget* mainWindow, QWidget* parent = nullptr);

  static constexpr int kMinClass = 1;
  static constexpr int kMaxClass = 4;

  // The grid again from the table; no row current, so "Изменение" and "Удалить" wait for a selection.
  void LoadGazGrid() { FillGrid(); }

 protected:
  db::Read<std::vector<Row>> LoadRows() override;
  void ClearEntry() override;
  db::Read<bool> FillEntry(const QString& key) override;
  bool CheckEntry() override;
  QString Store(const QString& editKey, const QString& name) override;
  QString Remove(const QString& key) override;
  QString DuplicateText() const override;
  bool SelectFirstAfterFill() const override { return false; }
  bool event(QEvent* event) override;

 private:
  NumericBox* mass_ = nullptr;  // `Text1`
  NumericBox* heat_ = nullptr;  // `Text3`
  NumericBox* a_ = nullptr;     // `Text_a`
  NumericBox* b_ = nullptr;     // `Text_b`
  QLineEdit* class_ = nullptr;  // `Text2`
  QSpinBox* spin_ = nullptr;    // `UpDown1`
};

}  // namespace velaron::ui
