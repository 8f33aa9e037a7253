// The region editor: the rows of `Statistics` (territory, accident rate per 1000 km a year, regional factor).
#pragma once

#include "ui/refdata/ref_editor.h"

namespace velaron::ui {

class NumericBox;

// The region editor (`Statistics`).
class frmRegion : public RefEditor {
  Q_OBJECT
 public:
  explicit frmRegion(QWidget* mainWindow, QWidget* parent = nullptr);

  // Defaults of a new territory: lambda 1,33 accidents per 1000 km a year, Kreg 1.
  static constexpr double kNewLambda = 1.33;
  static constexpr double kNewKreg = 1;

 protected:
  db::Read<std::vector<Row>> LoadRows() override;
  void ClearEntry() override;
  db::Read<bool> FillEntry(const QString& key) override;
  QString Store(const QString& editKey, const QString& name) override;
  QString Remove(const QString& key) override;
  QString DuplicateText() const override;

 private:
  NumericBox* lamb_ = nullptr;  // `Lamb`
  NumericBox* kreg_ = nullptr;  // `K_reg`
};

}  // namespace velaron::ui
