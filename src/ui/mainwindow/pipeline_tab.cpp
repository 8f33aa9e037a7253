#include "ui/mainwindow/pipeline_tab.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <string_view>
#include <vector>

#include "common/numtext.h"
#include "common/qt_text.h"
#include "common/texts.h"
#include "db/database.h"
#include "run/input_checks.h"
#include "run/run_texts.h"
#include "ui/mainwindow/input_boxes.h"
#include "ui/mainwindow/tab_parts.h"
#include "ui/widgets/messages.h"

namespace velaron::ui {

namespace {
constexpr double kDiameterLow = 100, kDiameterHigh = 1500;  // mm
constexpr auto kDecimal = NumericBox::Keys::Decimal;
}  // namespace

PipelineTab::PipelineTab(QWidget* parent) : InputTab(parent) {
  auto* grid = new QGridLayout(this);

  auto* Frame1 = Named(new QGroupBox(this), "Frame1");
  auto* f1 = new QVBoxLayout(Frame1);
  f1->addWidget(WrappedLabel("Место расположения газопровода", Frame1));
  Text27_ = Named(new QLineEdit(Frame1), "Text27");
  f1->addWidget(Text27_);
  grid->addWidget(Frame1, 0, 0, 1, 2);
  grid->setRowStretch(2, 1);

  Frame2_ = Named(new QGroupBox(U("Данные по газопроводу"), this), "Frame2");
  auto* f2 = new QFormLayout(Frame2_);
  DataCombo1_ = Named(new QComboBox(Frame2_), "DataCombo1");
  f2->addRow(U("Газ"), DataCombo1_);
  Text3_ = NumberBox("Text3", "500", kDecimal, Frame2_);
  Text3_->setExtraCheck([this](NumericBox& b) { return diameterRange(b); });
  f2->addRow(U("Диаметр трубы, мм"), Text3_);
  Text4_ = NumberBox("Text4", "7,5", kDecimal, Frame2_);
  Text6_ = NumberBox("Text6", "6,9", kDecimal, Frame2_);
  auto* pressure = new QHBoxLayout;
  pressure->addWidget(Text4_);
  pressure->addWidget(new QLabel(U("до"), Frame2_));
  pressure->addWidget(Text6_);
  // Two boxes share one row: without a floor a narrow window squeezes them below a number's width.
  for (NumericBox* b : {Text4_, Text6_}) b->setMinimumWidth(60);
  f2->addRow(U("Давление, МПа: от"), pressure);
  Text5_ = NumberBox("Text5", "10", NumericBox::Keys::SignedDecimal, Frame2_);
  Text5_->setExtraCheck([this](NumericBox&) { return gasTemperatureCheck(); });
  f2->addRow(U("Температура газа, °С"), Text5_);
  Text10_ = NumberBox("Text10", "1,2", kDecimal, Frame2_);
  AddRangeCheck(Text10_, run::kDepthRange);
  f2->addRow(U("Глубина залегания, м"), Text10_);
  Text13_ = NumberBox("Text13", "3", kDecimal, Frame2_);
  f2->addRow(U("Протяженность магистрального газопровода, км"), Text13_);
  Lkr_ = NumberBox("Lkr", "1", kDecimal, Frame2_);
  f2->addRow(U("Длина трубопровода между запорной арматурой, км"), Lkr_);
  Text14_ = NumberBox("Text14", "300", NumericBox::Keys::Integer, Frame2_);
  f2->addRow(U("Время срабатывания запорной арматуры, с"), Text14_);
  auto* cmdSave = Named(new QPushButton(U("Сохранить данные"), Frame2_), "cmdSave");
  f2->addRow(cmdSave);
  connect(cmdSave, &QPushButton::clicked, this, &PipelineTab::save);
  grid->addWidget(Frame2_, 1, 0);
  connect(DataCombo1_, &QComboBox::activated, this, [this](int index) {
    Gas_ = index + 1;
    emit gasChosen();
  });
  db::AdjustmentRow fields;
  for (const auto& [box, field] : storedBoxes(fields)) initialTexts_.push_back(box->text());

  // The damage costs: shown and checked, read by nothing.
  auto* Frame10 = Named(new QGroupBox(U("Данные для расчета ущерба"), this), "Frame10");
  auto* f10 = new QFormLayout(Frame10);
  f10->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  std::vector<NumericBox*> damageBoxes{NumberBox("Text15", "472,45", kDecimal, Frame10)};
  f10->addRow(U("Стоимость 1 куб.м газа, руб."), damageBoxes.back());
  f10->addRow(WrappedLabel("Стоимость 1 куб.м лесной подати, руб.:", Frame10));
  const char* species[5][3] = {{"Text16", "31", "ель"},
                               {"Text17", "34,3", "сосна"},
                               {"Text18", "3,3", "осина"},
                               {"Text19", "17,2", "береза"},
                               {"Text20", "41,3", "кедр"}};
  for (auto& s : species) {
    const bool anyKey = std::string_view(s[0]) == "Text20";
    damageBoxes.push_back(NumberBox(s[0], s[1], anyKey ? NumericBox::Keys::Any : kDecimal, Frame10));
    f10->addRow(U(s[2]), damageBoxes.back());
  }
  const char* costs[6][3] = {{"Text21", "436000", "Экономическая оценка древесных запасов, руб./га:"},
                             {"Text22", "20", "Стоимость засыпки грунта, руб./куб.м:"},
                             {"Text23", "41,3", "Стоимость 1 кв.м лесной подстилки, руб.:"},
                             {"Text24", "2100", "Стоимость трубы, руб./м:"},
                             {"Text2", "0,817", "Приведенная плотность газа, т/куб.м"},
                             {"Text26", "0,20", "Приведенная стоимость экол. платежей на 1т сгоревшего газа, руб. "}};
  for (auto& c : costs) {
    damageBoxes.push_back(NumberBox(c[0], c[1], kDecimal, Frame10));
    f10->addRow(U(c[2]), damageBoxes.back());
  }
  for (NumericBox* b : damageBoxes) b->setMinimumWidth(90);
  grid->addWidget(Frame10, 1, 1);
  grid->setColumnStretch(1, 1);
}

bool PipelineTab::readStored() {
  if (stored_) return true;
  const auto stored = db::LoadAdjustment();
  if (!stored.ok()) ShowCritical(this, stored.error);
  const bool read = stored.ok() && listGases();
  // Until the data are read, their boxes and the gas list are empty and unavailable: the texts the boxes were
  // made with are no stored data, and nothing typed there could be stored.
  const db::AdjustmentRow row = stored.value.value_or(db::AdjustmentRow{});
  const auto boxes = storedBoxes(row);
  for (size_t i = 0; i < boxes.size(); ++i) {
    boxes[i].first->setEnabled(read);
    // A table without a row offers the initial texts for the row to be made.
    boxes[i].first->setText(!read ? QString() : stored.value ? NumberText(*boxes[i].second) : initialTexts_[i]);
  }
  DataCombo1_->setEnabled(read);
  if (!read) return false;
  stored_ = Stored{stored.value};
  Gas_ = stored.value ? stored.value->Gas : -1;
  DataCombo1_->setCurrentIndex(Gas_ >= 1 && Gas_ <= DataCombo1_->count() ? Gas_ - 1 : -1);
  auto tables = db::LoadReferenceTables();
  if (!tables.ok()) {
    ShowCritical(this, tables.error);
    return false;
  }
  gasTables_ = std::make_shared<models::ReferenceTables>(std::move(tables.value));
  return true;
}

bool PipelineTab::listGases() {
  const auto gases = db::LoadGases();
  if (!gases.ok()) {
    ShowCritical(this, gases.error);
    return false;
  }
  DataCombo1_->clear();
  for (const auto& g : gases.value) DataCombo1_->addItem(g.VName);
  return true;
}

bool PipelineTab::reloadGasList() {
  const QString gasName = ChosenText(DataCombo1_);
  // A list that could not be read stays as it was, and so does the choice.
  if (!listGases()) return false;
  // Not the old position: it may now name another gas.
  Gas_ = ChooseByText(DataCombo1_, gasName);
  return true;
}

bool PipelineTab::checkGasChosen() {
  if (!DataCombo1_->currentText().isEmpty()) return true;
  ShowCritical(this, U(run::texts::kChooseGas));
  showAndFocus(DataCombo1_);
  return false;
}

void PipelineTab::fillRequest(result::RunRequest& r) const {
  r.pipeline.Gas = Gas_;
  readBoxes(r.pipeline);
  r.texts.Mestn = Text27_->text();
  r.texts.gasName = DataCombo1_->currentText();
  r.texts.diameterText = Text3_->text();
  r.texts.temperatureText = Text5_->text();
}

bool PipelineTab::diameterRange(NumericBox& b) {
  // Out of range is not refused but clamped to the nearer bound, with its message; the focus stays.
  if (b.value().value_or(kDiameterLow) < kDiameterLow) {
    ShowMessage(this, {QMessageBox::NoIcon, U(texts::kAttentionTitle), U(run::texts::kDiameterMin), QMessageBox::Ok});
    b.setText(NumberText(kDiameterLow));
    return false;
  }
  if (b.value().value_or(kDiameterLow) > kDiameterHigh) {
    ShowMessage(this, {QMessageBox::NoIcon, U(texts::kAttentionTitle), U(run::texts::kDiameterMax), QMessageBox::Ok});
    b.setText(NumberText(kDiameterHigh));
    return false;
  }
  return true;
}

bool PipelineTab::gasTemperatureCheck() {
  const auto t = Text5_->value();
  if (!t) return true;  // not a number: the general check's concern
  QString error = run::CheckRange(*t, run::kTempRange);
  const auto low = Text4_->value(), high = Text6_->value();
  if (error.isEmpty() && low && high) {
    // The tables are read with the stored data. Without them (that read failed) the check is left to the run,
    // which reads them and refuses with the same message: leaving a box never waits for the database.
    if (gasTables_) error = run::CheckGasTemperature(*gasTables_, *t, run::TableTemperatureK(*t), *low, *high);
  }
  if (error.isEmpty()) return true;
  WarnInput(this, error);
  return false;
}

bool PipelineTab::save() {
  // Data not read yet are read and shown: the boxes then hold just what is stored, and nothing else is there to
  // store. While they cannot be read, the message says why.
  if (!stored_) return readStored();
  // Every box the store reads is checked first; a box that is not a number keeps the focus.
  if (!NumericBox::checkAll(Frame2_)) {
    emit wantsShown();
    return false;
  }
  // The stored row gives the settings of a row that has to be made; a row that cannot be read is never
  // replaced by one of defaults.
  const auto stored = db::LoadAdjustment();
  if (!stored.ok()) {
    ShowCritical(this, stored.error);
    return false;
  }
  db::AdjustmentRow row = stored.value.value_or(db::AdjustmentRow{});
  row.Gas = Gas_;
  readBoxes(row);
  if (const auto error = db::SavePipelineInputs(row); !error.isEmpty()) {
    ShowCritical(this, error);
    return false;
  }
  stored_ = Stored{row};
  return true;
}

bool PipelineTab::dataChanged() const {
  // Compared with what was read at the start or stored since, not read again: the program alone writes
  // these fields, and a database another program holds at that moment neither hides a change nor makes one.
  // Data not read yet cannot be changed: their boxes are unavailable until read.
  if (!stored_) return false;
  if (!stored_->row) return true;  // nothing stored yet
  const db::AdjustmentRow& row = *stored_->row;
  // A stored value is compared as its box shows it (15 significant digits).
  if (Gas_ != row.Gas) return true;
  for (const auto& [box, value] : storedBoxes(row))
    if (box->value() != ParseNumber(FormatNumber(*value))) return true;
  return false;
}

}  // namespace velaron::ui
