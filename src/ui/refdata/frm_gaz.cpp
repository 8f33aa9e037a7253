#include "ui/refdata/frm_gaz.h"

#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSpinBox>
#include <QWidget>

#include "common/qt_text.h"
#include "ui/widgets/messages.h"
#include "ui/widgets/numeric_box.h"
#include "db/database.h"

namespace velaron::ui {

frmGaz::frmGaz(QWidget* mainWindow, QWidget* parent) : RefEditor(mainWindow, parent) {
  setObjectName("frmGaz");
  auto* boxes = new QWidget;
  auto* form = new QFormLayout(boxes);
  form->setContentsMargins(0, 0, 0, 0);
  auto makeBox = [&](const char* name, const QString& label) {
    auto* box = new NumericBox(boxes);
    box->setObjectName(name);
    form->addRow(label, box);
    return box;
  };
  mass_ = makeBox("Text1", QStringLiteral("Молярная масса, кмоль"));
  heat_ = makeBox("Text3", QStringLiteral("Теплота сгорания, кДж"));
  a_ = makeBox("Text_a", QStringLiteral("a*"));
  b_ = makeBox("Text_b", QStringLiteral("b*"));
  // The class is set only by the spin control beside its box.
  auto* classRow = new QHBoxLayout;
  class_ = new QLineEdit(boxes);
  class_->setObjectName("Text2");
  class_->setReadOnly(true);
  class_->setEnabled(false);
  spin_ = new QSpinBox(boxes);
  spin_->setObjectName("UpDown1");
  spin_->setRange(kMinClass, kMaxClass);
  spin_->setMaximumWidth(48);
  spin_->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  if (auto* text = spin_->findChild<QLineEdit*>()) text->setReadOnly(true);
  classRow->addWidget(class_);
  classRow->addWidget(spin_);
  form->addRow(QStringLiteral("Класс опасности"), classRow);
  connect(spin_, &QSpinBox::valueChanged, this, [this](int v) { class_->setText(QString::number(v)); });

  const QString caption = QStringLiteral("Характеристики газов из базы данных (БД)");
  BuildWindow(caption,
              {{QStringLiteral("Наименование"), 3000, true},
               {QStringLiteral("Молярная масса, кмоль"), 2300, false},
               {QStringLiteral("Теплота сгорания, кДж"), 2300, false},
               {QStringLiteral("a*"), 600, false},
               {QStringLiteral("b*"), 600, false},
               {QStringLiteral("Класс опасности"), 1600, false}},
              QStringLiteral("Ввод параметров газа"), QStringLiteral("Наименование газа"), boxes, QString());
}

bool frmGaz::event(QEvent* event) {
  // Coming back to the window (from another application, say) shows the table as it is now.
  if (event->type() == QEvent::WindowActivate && grid_) FillGrid(QString(), true);
  return RefEditor::event(event);
}

db::Read<std::vector<RefEditor::Row>> frmGaz::LoadRows() {
  const auto gases = db::LoadGases();
  db::Read<std::vector<Row>> rows{{}, gases.error};
  for (const db::GasRow& g : gases.value)
    rows.value.push_back({g.VName,
                          {g.VName, NumberText(g.m), NumberText(g.qg), NumberText(g.a), NumberText(g.b),
                           QString::number(g.DangerClass)}});
  return rows;
}

void frmGaz::ClearEntry() {
  for (NumericBox* box : {mass_, heat_, a_, b_}) box->setText(QStringLiteral("0"));
  spin_->setValue(kMinClass);
  class_->setText(QString::number(kMinClass));
}

db::Read<bool> frmGaz::FillEntry(const QString& key) {
  const auto gases = db::LoadGases();
  if (!gases.ok()) return {false, gases.error};
  for (const db::GasRow& g : gases.value) {
    if (g.VName != key) continue;
    nameBox_->setText(g.VName);
    mass_->setText(NumberText(g.m));
    heat_->setText(NumberText(g.qg));
    a_->setText(NumberText(g.a));
    b_->setText(NumberText(g.b));
    // A class outside the spin control's range shows as stored; the control shows its nearest end.
    spin_->blockSignals(true);
    spin_->setValue(g.DangerClass);
    spin_->blockSignals(false);
    class_->setText(QString::number(g.DangerClass));
    return {true, {}};
  }
  return {false, {}};
}

bool frmGaz::CheckEntry() {
  // The outflow and cloud models divide by the molar mass.
  if (mass_->value().value_or(0) <= 0) {
    WarnInput(this, QStringLiteral("Молярная масса должна быть больше нуля!"));
    mass_->setFocus();
    return false;
  }
  return true;
}

QString frmGaz::Store(const QString& editKey, const QString& name) {
  db::GasRow row;
  row.VName = name;
  row.m = mass_->value().value_or(0);
  row.qg = heat_->value().value_or(0);
  row.a = a_->value().value_or(0);
  row.b = b_->value().value_or(0);
  row.DangerClass = class_->text().toInt();
  return editKey.isEmpty() ? db::InsertGas(row) : db::UpdateGas(editKey, row);
}

QString frmGaz::Remove(const QString& key) { return db::DeleteGas(key); }

QString frmGaz::DuplicateText() const { return QStringLiteral("Газ с таким названием уже есть в базе данных!"); }

}  // namespace velaron::ui
