#include "ui/refdata/frm_region.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QWidget>

#include "common/qt_text.h"
#include "ui/widgets/numeric_box.h"
#include "db/database.h"

namespace velaron::ui {

frmRegion::frmRegion(QWidget* mainWindow, QWidget* parent) : RefEditor(mainWindow, parent) {
  setObjectName("frmRegion");
  auto* boxes = new QWidget;
  auto* form = new QFormLayout(boxes);
  form->setContentsMargins(0, 0, 0, 0);
  lamb_ = new NumericBox(boxes);
  lamb_->setObjectName("Lamb");
  kreg_ = new NumericBox(boxes);
  kreg_->setObjectName("K_reg");
  form->addRow(QStringLiteral("Lambda"), lamb_);
  form->addRow(QStringLiteral("Kreg"), kreg_);
  const QString caption = QStringLiteral("Определение территориальных констант");
  BuildWindow(caption,
              {{QStringLiteral("Территория"), 3000, true},
               {QStringLiteral("lambda*"), 1200, false},
               {QStringLiteral("Kreg*"), 1200, false}},
              QStringLiteral("Территория"), QStringLiteral("Наименование территории"), boxes,
              QStringLiteral("Нет регионов"));
}

db::Read<std::vector<RefEditor::Row>> frmRegion::LoadRows() {
  const auto regions = db::LoadRegions();
  db::Read<std::vector<Row>> rows{{}, regions.error};
  for (const db::RegionRow& r : regions.value)
    rows.value.push_back({r.Region, {r.Region, NumberText(r.lambda), NumberText(r.Kreg)}});
  return rows;
}

void frmRegion::ClearEntry() {
  kreg_->setText(NumberText(kNewKreg));
  lamb_->setText(NumberText(kNewLambda));
}

db::Read<bool> frmRegion::FillEntry(const QString& key) {
  const auto regions = db::LoadRegions();
  if (!regions.ok()) return {false, regions.error};
  // The first row of that name in stored order.
  for (const db::RegionRow& r : regions.value) {
    if (r.Region != key) continue;
    nameBox_->setText(r.Region);
    kreg_->setText(NumberText(r.Kreg));
    lamb_->setText(NumberText(r.lambda));
    return {true, {}};
  }
  return {false, {}};
}

QString frmRegion::Store(const QString& editKey, const QString& name) {
  db::RegionRow row;
  row.Region = name;
  row.lambda = lamb_->value().value_or(0);
  row.Kreg = kreg_->value().value_or(0);
  return editKey.isEmpty() ? db::InsertRegion(row) : db::UpdateRegion(editKey, row);
}

QString frmRegion::Remove(const QString& key) { return db::DeleteRegion(key); }

QString frmRegion::DuplicateText() const { return QStringLiteral("Регион с таким названием уже есть в базе данных!"); }

}  // namespace velaron::ui
