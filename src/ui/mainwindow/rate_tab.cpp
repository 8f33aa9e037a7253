#include "ui/mainwindow/rate_tab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/numtext.h"
#include "common/qt_text.h"
#include "common/texts.h"
#include "db/database.h"
#include "run/input_checks.h"
#include "run/run_texts.h"
#include "ui/mainwindow/input_boxes.h"
#include "ui/mainwindow/tab_parts.h"
#include "ui/refdata/city_list.h"
#include "ui/widgets/messages.h"

namespace velaron::ui {

namespace {

// The four external factors, in the order of the variables Eroz, Stih, Zapor, Rechper.
struct ExternalFactor {
  const char* check;
  const char* box;
  const char* caption;
  const char* tickedCaption;
  double byDefault;
};
constexpr ExternalFactor kExternal[4] = {
    {"Check5", "txtEroz", "эрозия почвы (для северных районов)", "эрозия почвы (для северных районов), с вероятностью",
     0.2},
    {"Check6", "txtStih", "стихийные бедствия (бури, разрушительные землетрясения)",
     "стихийные бедствия, с вероятностью", 0.01},
    {"Check7", "txtZapor", "наличие запорных арматур", "наличие запорных арматур, с вероятностью", 0.2},
    {"Check8", "txtRechper", "наличие речных переходов", "наличие речных переходов, с вероятностью", 0.1},
};

}  // namespace

RateTab::RateTab(QWidget* parent) : InputTab(parent) {
  auto* col = new QVBoxLayout(this);
  auto* Frame4 = Named(new QGroupBox(this), "Frame4");
  auto* f4 = new QGridLayout(Frame4);
  cmbCity_ = Named(new QComboBox(Frame4), "cmbCity");
  auto* cmdSpecifyCity = Named(new QPushButton(U("Уточнить данные"), Frame4), "cmdSpecifyCity");
  f4->addWidget(new QLabel(U("Город"), Frame4), 0, 0);
  f4->addWidget(cmbCity_, 0, 1);
  f4->addWidget(cmdSpecifyCity, 0, 2);
  connect(cmdSpecifyCity, &QPushButton::clicked, this, &RateTab::cityEditorRequested);
  f4->addWidget(WrappedLabel("Среднегодовая относительная повторяемость инверсионной устойчивости атмосферы (классы "
                             "F и G по Пасквиллу), %",
                             Frame4),
                1, 0, 1, 2);
  Text12_ = NumberBox("Text12", "14,3", NumericBox::Keys::Decimal, Frame4);
  AddRangeCheck(Text12_, run::kInversRange);
  f4->addWidget(Text12_, 1, 2);

  auto* Frame5 = Named(new QGroupBox(U("Определение интенсивности аварий на 1000 км в год"), Frame4), "Frame5");
  auto* f5 = new QGridLayout(Frame5);
  DataCombo6_ = Named(new QComboBox(Frame5), "DataCombo6");
  f5->addWidget(new QLabel(U("Регион"), Frame5), 0, 0);
  f5->addWidget(DataCombo6_, 0, 1, 1, 2);
  Option1_ = Named(new QRadioButton(U("по расположению газопровода в регионе страны"), Frame5), "Option1");
  Option2_ = Named(new QRadioButton(U("количество аварий на 1000 км газопровода в год (в среднем по линейной части "
                                      "крупной газотранспортной организации)"),
                                    Frame5),
                   "Option2");
  Option3_ = Named(new QRadioButton(U("ввод в ручную, вероятности возникновения хотя бы одной аварии на газопроводе "
                                      "(1 км)  в течение года"),
                                    Frame5),
                   "Option3");
  Text8_ = NumberBox("Text8", "0,33", NumericBox::Keys::Decimal, Frame5);
  alfa_tr_ = NumberBox("alfa_tr", "1", NumericBox::Keys::Decimal, Frame5);
  AddRangeCheck(Text8_, run::kAccidentsPer1000kmRange);
  AddRangeCheck(alfa_tr_, run::kAccidentProbabilityRange);
  auto* Combo2 = Named(new QComboBox(Frame5), "Combo2");
  Combo2->hide();  // nothing fills its list and nothing reads it
  f5->addWidget(Option1_, 1, 0, 1, 2);
  f5->addWidget(Option2_, 2, 0, 1, 2);
  f5->addWidget(Text8_, 2, 2);
  f5->addWidget(Option3_, 3, 0, 1, 2);
  f5->addWidget(alfa_tr_, 3, 2);
  f5->addWidget(Combo2, 4, 0);
  Text8_->hide();
  alfa_tr_->hide();
  Option1_->setChecked(true);
  for (auto* o : {Option1_, Option2_, Option3_}) connect(o, &QRadioButton::clicked, this, &RateTab::optionChanged);
  f4->addWidget(Frame5, 2, 0, 1, 3);
  col->addWidget(Frame4);
  connect(DataCombo6_, &QComboBox::activated, this, [this](int index) {
    RegionPos_ = index + 1;
    emit regionChosen();
  });

  auto* Frame9 = Named(new QGroupBox(U("Влияние внешних факторов"), this), "Frame9");
  auto* f9 = new QGridLayout(Frame9);
  // Rows top to bottom: river crossings, erosion, natural disasters, shut-off valves.
  const int rowOf[4] = {1, 2, 3, 0};
  for (int i = 0; i < 4; ++i) {
    externalChecks_[i] = Named(new QCheckBox(U(kExternal[i].caption), Frame9), kExternal[i].check);
    // Digits, the point and the comma pass; everything else is dropped without a beep. The comma must pass:
    // dropped, it would turn a typed "0,01" into 1, a probability the range check accepts.
    auto* b =
        Named(new FilteredBox(
                  Frame9, [](QChar c) { return c.isDigit() || c == '.' || c == ','; }, false, NumericBox::Leave::None),
              kExternal[i].box);
    b->setExtraCheck([this](NumericBox& self) { return externalLeave(self); });
    b->hide();
    externalBoxes_[i] = b;
    f9->addWidget(externalChecks_[i], rowOf[i], 0);
    f9->addWidget(b, rowOf[i], 1);
    connect(externalChecks_[i], &QCheckBox::toggled, this, [this, i] { externalToggled(i); });
  }
  col->addWidget(Frame9);
  col->addStretch();
}

void RateTab::firstActivation() {
  for (int i = 0; i < 4; ++i) {
    extValues_[i] = kExternal[i].byDefault;
    externalBoxes_[i]->setText(NumberText(kExternal[i].byDefault));
  }
  externalToggled(0);
  Option1_->setChecked(true);
  optionChanged();
}

bool RateTab::readStored() {
  if (listsRead_) return true;
  // A list that cannot be read is told and stays empty, and the region list is not read after it.
  if (!reloadCityList() || !listRegions()) return false;
  DataCombo6_->setCurrentIndex(-1);
  RegionPos_ = -1;
  listsRead_ = true;
  return true;
}

bool RateTab::listRegions() {
  const auto regions = db::LoadRegions();
  if (!regions.ok()) {
    ShowCritical(this, regions.error);
    return false;
  }
  DataCombo6_->clear();
  for (const auto& r : regions.value) DataCombo6_->addItem(r.Region);
  return true;
}

bool RateTab::reloadRegionList() {
  const QString regionName = ChosenText(DataCombo6_);
  // A list that could not be read stays as it was, and so does the choice.
  if (!listRegions()) return false;
  RegionPos_ = ChooseByText(DataCombo6_, regionName);
  return true;
}

bool RateTab::reloadCityList() {
  const QVariant chosen = cmbCity_->currentData();
  if (const QString error = LoadCityList(cmbCity_, cmbCity_->currentIndex() >= 0 ? cmbCity_->currentData().toInt() : 0);
      !error.isEmpty()) {
    ShowCritical(this, error);
    return false;
  }
  if (chosen.isValid()) {
    const int i = cmbCity_->findData(chosen);
    if (i >= 0) cmbCity_->setCurrentIndex(i);
  }
  return true;
}

int RateTab::way() const { return Option1_->isChecked() ? 1 : Option2_->isChecked() ? 2 : 3; }

void RateTab::optionChanged() {
  DataCombo6_->setEnabled(!Option3_->isChecked());
  Text8_->setVisible(Option2_->isChecked());
  alfa_tr_->setVisible(Option3_->isChecked());
  if (Option2_->isChecked()) Text8_->setFocus();
}

void RateTab::focusRateInput() {
  if (way() == 3) showAndFocus(alfa_tr_);
  else showAndFocus(DataCombo6_);
}

bool RateTab::checkRateGiven() {
  if (way() != 3 && RegionPos_ < 0) {
    ShowCritical(this, U(run::texts::kNoRegion));
    focusRateInput();
    return false;
  }
  if (way() == 3 && alfa_tr_->text().isEmpty()) {
    ShowCritical(this, U(run::texts::kTypeAccidentProbability));
    focusRateInput();
    return false;
  }
  return true;
}

void RateTab::fillRequest(result::RunRequest& r) const {
  r.pipeline.InversPercent = Text12_->value().value_or(r.pipeline.InversPercent);
  r.rate.way = way();
  r.rate.RegionPos = RegionPos_;
  r.rate.Text8 = Text8_->value().value_or(r.rate.Text8);
  r.rate.alfa_tr = alfa_tr_->value().value_or(r.rate.alfa_tr);
  auto& e = r.external;
  e.Check5 = externalChecks_[0]->isChecked();
  e.Check6 = externalChecks_[1]->isChecked();
  e.Check7 = externalChecks_[2]->isChecked();
  e.Check8 = externalChecks_[3]->isChecked();
  e.Eroz = externalBoxes_[0]->value().value_or(0);
  e.Stih = externalBoxes_[1]->value().value_or(0);
  e.Zapor = externalBoxes_[2]->value().value_or(0);
  e.Rechper = externalBoxes_[3]->value().value_or(0);
  r.run.idCity = cmbCity_->currentIndex() >= 0 ? cmbCity_->currentData().toInt() : 0;
  r.texts.regionName = DataCombo6_->currentText();
  r.texts.cityName = cmbCity_->currentText();
}

std::optional<run::AccidentRateResult> RateTab::accidentRate(const result::RunRequest& request) {
  db::ReadsInTurn reads;
  const auto regions = reads(db::LoadRegions);
  const auto koefDy = reads(db::LoadKoefDy);
  if (!reads.ok()) {
    ShowCritical(this, reads.error());
    return std::nullopt;
  }
  const auto rate = run::ComputeAccidentRate(request.rate, request.pipeline.Diametr, regions, koefDy);
  if (!rate.ok()) {
    ShowCritical(this, rate.error);
    focusRateInput();
    return std::nullopt;
  }
  // The boxes reach the variables of the external factors here, and the sum follows them.
  const auto& e = request.external;
  extValues_ = {e.Eroz, e.Stih, e.Zapor, e.Rechper};
  ExtFactors_ = run::ExternalFactorSum(e);
  return rate;
}

void RateTab::externalToggled(int i) {
  const bool on = externalChecks_[i]->isChecked();
  externalChecks_[i]->setText(U(on ? kExternal[i].tickedCaption : kExternal[i].caption));
  externalBoxes_[i]->setVisible(on);
  // The sum takes the variables, which the boxes reach only at the start of a run.
  ExtFactors_ = 0;
  for (int k = 0; k < 4; ++k)
    if (externalChecks_[k]->isChecked()) ExtFactors_ += extValues_[k];
}

bool RateTab::externalLeave(NumericBox& box) {
  QString t = QString::fromStdString(PointsToCommas(box.text().toStdString()));
  if (t.isEmpty()) t = "0";
  if (t != box.text()) box.setText(t);
  const auto v = ParseNumber(t.toStdString());
  if (!v) {
    WarnInput(this, U(texts::kCheckInput));
    return false;
  }
  if (*v < 0 || *v > 1) {
    ShowMessage(this,
                {QMessageBox::Warning, U(texts::kProgramTitle), U("Вероятность меняется от 0 до 1"), QMessageBox::Ok});
    return false;
  }
  return true;
}

}  // namespace velaron::ui
