// The main window's accident-rate ways, the start of a run and the display of a run's results.
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QGraphicsLayout>
#include <QLineSeries>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QValueAxis>
#include <cmath>

#include "ui/widgets/messages.h"
#include "ui/widgets/numeric_box.h"
#include "common/numtext.h"
#include "common/qt_text.h"
#include "common/texts.h"
#include "db/data_folder.h"
#include "db/database.h"
#include "ui/mainwindow/form1.h"
#include "ui/mainwindow/input_boxes.h"
#include "ui/mainwindow/main_links.h"
#include "ui/mainwindow/section_logic.h"
#include "models/grid_reading.h"
#include "output/pictures/chart_picture.h"
#include "output/pictures/result_pictures.h"
#include "output/pictures/run_pictures.h"
#include "run/result_display.h"
#include "run/run_texts.h"
#include "ui/run/run_report.h"

namespace velaron::ui {

namespace {
QString U(const char* s) { return QString::fromUtf8(s); }

constexpr double kDiameterLow = 100, kDiameterHigh = 1500;  // mm
constexpr int kResultsTab = 3, kRateTab = 2, kPipelineTab = 0;
constexpr double kChartTitlePoints = 8;
}  // namespace

void Form1::optionChanged() {
  DataCombo6_->setEnabled(!Option3_->isChecked());
  Text8_->setVisible(Option2_->isChecked());
  alfa_tr_->setVisible(Option3_->isChecked());
  if (Option2_->isChecked()) Text8_->setFocus();
}

bool Form1::diameterRange(NumericBox& b) {
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

bool Form1::gasTemperatureCheck() {
  const auto t = Text5_->value();
  if (!t) return true;  // not a number: the general check's concern
  QString error = run::CheckRange(*t, run::kTempRange);
  const auto low = Text4_->value(), high = Text6_->value();
  if (error.isEmpty() && low && high) {
    if (!gasTables_) {
      auto tables = std::make_shared<models::ReferenceTables>();
      // Tables that cannot be read leave the check to the run, which refuses with the reason.
      if (db::LoadReferenceTables(*tables).isEmpty()) gasTables_ = std::move(tables);
    }
    if (gasTables_) error = run::CheckGasTemperature(*gasTables_, *t, run::TableTemperatureK(*t), *low, *high);
  }
  if (error.isEmpty()) return true;
  WarnInput(this, error);
  return false;
}

bool Form1::checkAllBoxes() {
  // Every number box of the input tabs, also those of tabs not shown; hidden boxes (a way not chosen, a
  // factor not ticked) are not read and not checked.
  for (int i = 0; i < kResultsTab; ++i) {
    QWidget* page = SSTab1_->widget(i);
    for (NumericBox* b : page->findChildren<NumericBox*>()) {
      if (!b->isVisibleTo(page) || !b->isEnabled()) continue;
      if (!b->runLeaveCheck()) {
        SSTab1_->setCurrentIndex(i);
        b->setFocus(Qt::OtherFocusReason);
        return false;
      }
    }
  }
  return true;
}

std::optional<result::RunRequest> Form1::prepareRun() {
  if (DataCombo1_->currentText().isEmpty()) {
    ShowCritical(this, U(run::texts::kChooseGas));
    SSTab1_->setCurrentIndex(kPipelineTab);
    DataCombo1_->setFocus();
    return std::nullopt;
  }
  const int way = Option1_->isChecked() ? 1 : Option2_->isChecked() ? 2 : 3;
  if (way != 3 && RegionPos_ < 0) {
    ShowCritical(this, U(run::texts::kNoRegion));
    SSTab1_->setCurrentIndex(kRateTab);
    DataCombo6_->setFocus();
    return std::nullopt;
  }
  if (way == 3 && alfa_tr_->text().isEmpty()) {
    ShowCritical(this, U(run::texts::kTypeAccidentProbability));
    SSTab1_->setCurrentIndex(kRateTab);
    alfa_tr_->setFocus();
    return std::nullopt;
  }
  if (!checkAllBoxes()) return std::nullopt;
  result::RunRequest request = gatherRequest();
  // A refused start changes nothing: the rate of the last accepted start stays.
  const auto rate = run::ComputeAccidentRate(request.rate, request.pipeline.Diametr, db::LoadRegions(), db::LoadKoefDy());
  if (!rate.ok()) {
    ShowCritical(this, rate.error);
    SSTab1_->setCurrentIndex(kRateTab);
    if (way == 3) alfa_tr_->setFocus();
    else DataCombo6_->setFocus();
    return std::nullopt;
  }
  rate_ = rate;
  // The boxes reach the variables of the external factors here, and the sum follows them.
  extValues_ = {request.external.Eroz, request.external.Stih, request.external.Zapor, request.external.Rechper};
  ExtFactors_ = run::ExternalFactorSum(request.external);
  return request;
}

result::RunRequest Form1::gatherRequest() const {
  auto number = [](const NumericBox* b, double fallback) { return b->value().value_or(fallback); };
  result::RunRequest r;
  if (const auto row = db::LoadAdjustment()) r.settings = *row;
  auto& p = r.pipeline;
  p.Gas = Gas_;
  p.Diametr = number(Text3_, p.Diametr);
  p.DavlDown = number(Text4_, p.DavlDown);
  p.DavlUp = number(Text6_, p.DavlUp);
  p.Temp = number(Text5_, p.Temp);
  p.Glubina = number(Text10_, p.Glubina);
  p.Ltrub = number(Text13_, p.Ltrub);
  p.Lkr = number(Lkr_, p.Lkr);
  p.Tsrab = number(Text14_, p.Tsrab);
  p.InversPercent = number(Text12_, p.InversPercent);
  r.rate.way = Option1_->isChecked() ? 1 : Option2_->isChecked() ? 2 : 3;
  r.rate.RegionPos = RegionPos_;
  r.rate.Text8 = number(Text8_, r.rate.Text8);
  r.rate.alfa_tr = number(alfa_tr_, r.rate.alfa_tr);
  auto& e = r.external;
  e.Check5 = externalChecks_[0]->isChecked();
  e.Check6 = externalChecks_[1]->isChecked();
  e.Check7 = externalChecks_[2]->isChecked();
  e.Check8 = externalChecks_[3]->isChecked();
  e.Eroz = number(externalBoxes_[0], 0);
  e.Stih = number(externalBoxes_[1], 0);
  e.Zapor = number(externalBoxes_[2], 0);
  e.Rechper = number(externalBoxes_[3], 0);
  if (const auto s = db::LoadSection(selectedSection())) r.section = *s;
  r.run.idCity = cmbCity_->currentIndex() >= 0 ? cmbCity_->currentData().toInt() : 0;
  r.options = {reportOptions().OptExtraFiles, reportOptions().Opt3D};
  auto& t = r.texts;
  t.Mestn = Text27_->text();
  t.gasName = DataCombo1_->currentText();
  t.regionName = DataCombo6_->currentText();
  t.cityName = cmbCity_->currentText();
  t.diameterText = Text3_->text();
  t.temperatureText = Text5_->text();
  return r;
}

void Form1::Command1_Click() {
  if (running_) return;
  if (auto request = prepareRun(); request && openRunDialog_) openRunDialog_(*this, *request);
}

// The menu runs the same start as the button: the run dialog never opens on unchecked inputs.
void Form1::smProcess_Click() { Command1_Click(); }

void Form1::setRunning(bool running) {
  running_ = running;
  Command1_->setText(U(running ? "Идет расчет" : "Расчет"));
  Command1_->setEnabled(!running);
  Command2_->setEnabled(!running);
  SSTab1_->setEnabled(!running);
  menuBar()->setEnabled(!running);
}

void SetDistanceChart(QChartView* view, const std::vector<std::pair<double, double>>& points, const QString& xTitle,
                      const QString& yTitle, double xMaxShared) {
  auto* chart = new QChart;
  auto* series = new QLineSeries(chart);
  for (const auto& [x, y] : points) series->append(x, y);
  chart->addSeries(series);
  chart->legend()->hide();
  auto* ax = new QValueAxis(chart);
  auto* ay = new QValueAxis(chart);
  ax->setTitleText(xTitle);
  ay->setTitleText(yTitle);
  // The views are small: a plain title font and thin margins keep the long y title whole, and the tick
  // labels use the decimal comma like every other number in the program.
  for (QValueAxis* axis : {ax, ay}) {
    QFont font = axis->titleFont();
    font.setBold(false);
    font.setPointSizeF(kChartTitlePoints);
    axis->setTitleFont(font);
  }
  chart->setMargins(QMargins(2, 2, 2, 2));
  chart->layout()->setContentsMargins(0, 0, 0, 0);
  QLocale numbers(QLocale::Russian, QLocale::Russia);
  numbers.setNumberOptions(QLocale::OmitGroupSeparator);
  chart->setLocale(numbers);
  chart->setLocalizeNumbers(true);
  chart->addAxis(ax, Qt::AlignBottom);
  chart->addAxis(ay, Qt::AlignLeft);
  series->attachAxis(ax);
  series->attachAxis(ay);
  // The ranges and round ticks of the documents' charts: from 0, the peak below the frame.
  const output::ChartAxes a = output::DistanceChartAxes(points, xMaxShared);
  ax->setRange(0, a.xMax);
  ay->setRange(0, a.yMax);
  ax->setTickType(QValueAxis::TicksDynamic);
  ax->setTickAnchor(0);
  ax->setTickInterval(a.xStep);
  ay->setTickType(QValueAxis::TicksDynamic);
  ay->setTickAnchor(0);
  ay->setTickInterval(a.yStep);
  // As many decimals as the tick step has: "20", "2,5", "0,2".
  auto format = [](double step) {
    int decimals = 0;
    while (decimals < 6 && std::abs(step * std::pow(10.0, decimals) - std::round(step * std::pow(10.0, decimals))) > 1e-9)
      ++decimals;
    return QStringLiteral("%.%1f").arg(decimals);
  };
  ax->setLabelFormat(format(a.xStep));
  ay->setLabelFormat(format(a.yStep));
  QChart* old = view->chart();
  view->setChart(chart);
  delete old;
}

void Form1::showResults(const result::RunSnapshot& s) {
  auto title = [](const QString& t, const char* fallback) { return t.isEmpty() ? U(fallback) : t; };
  // Both charts run over one distance range, from the rupture point to the farther of their last points.
  const double xMax = std::max(s.graf1.points.empty() ? 0.0 : s.graf1.points.back().first,
                               s.graf2.points.empty() ? 0.0 : s.graf2.points.back().first);
  const char* damageTitle = s.isOverpressure() ? result::kOverpressureAxisTitle : result::kFluxAxisTitle;
  SetDistanceChart(graf1_, s.graf1.points, title(s.graf1.xTitle, result::kDistanceAxisTitle),
                   title(s.graf1.yTitle, damageTitle), xMax);
  SetDistanceChart(graf2_, s.graf2.points, title(s.graf2.xTitle, result::kDistanceAxisTitle),
                   title(s.graf2.yTitle, result::kPercentAxisTitle), xMax);
  // The pictures are drawn from the run's grids at the size of their cells. A grid the run did not fill
  // leaves the earlier picture in place.
  const bool opt3D = s.request.options.Opt3D;
  struct View {
    PictureLabel* label;
    const models::Grid* grid;
    output::PictureKind kind;
    bool view3D;
    const char* caption;
  };
  const View views[3] = {
      {qobject_cast<PictureLabel*>(imgDiagr1_), &s.GridValue,
       s.isOverpressure() ? output::PictureKind::Overpressure : output::PictureKind::HeatFlux, opt3D,
       s.isOverpressure() ? "Диаграмма избыточного давления" : "Диаграмма теплового потока"},
      {qobject_cast<PictureLabel*>(imgDiagr2_), &s.GridProc, output::PictureKind::Probability, opt3D,
       "Диаграмма вероятности поражения"},
      {qobject_cast<PictureLabel*>(imgRisk_), &s.GridRisk, output::PictureKind::Risk, false,
       "Диаграмма риска"}};
  const int cStep = s.request.settings.CStep;
  for (const View& v : views) {
    if (!v.label || v.grid->empty()) continue;
    auto grid = std::make_shared<const models::Grid>(*v.grid);
    output::PictureOptions o = output::RunPictureOptions(s, v.kind, v.view3D);
    v.label->setRenderer(
        [grid, cStep, o](QSize size) mutable {
          o.width = size.width();
          o.height = size.height();
          return output::RenderResultPicture(*grid, cStep, o);
        },
        U(v.caption));
  }
  // The tab opens on the view of the option chosen, the same the option shows when it is clicked.
  fraDiagr_->show();
  if (optVer_->isChecked())
    optVer_Click();
  else if (optRisk_->isChecked())
    optRisk_Click();
  else
    optPor_Click();
  const run::ZoneTexts zones = run::ZoneDisplayTexts(s.CurZones);
  const QString texts[5] = {zones.txtRsm, zones.txtRs, zones.txtRsr, zones.txtRsl, zones.txtRb};
  for (int i = 0; i < 5; ++i) zoneBoxes_[i]->setText(texts[i]);
  fraMessage_->setVisible(zones.fraMessage);
  setRunning(false);
  SSTab1_->setTabEnabled(kResultsTab, true);
  SSTab1_->setCurrentIndex(kResultsTab);
  cmdSaveResult_->show();
}

void Form1::onRunFinished(std::shared_ptr<const result::RunSnapshot> snapshot) {
  if (!snapshot) {
    setRunning(false);
    return;
  }
  lastRun_ = std::move(snapshot);
  showResults(*lastRun_);
}

void Form1::optPor_Click() {
  // The assessments over a year have their distance chart too (the heat flux along the direction of the
  // largest zone, as their report prints it): every scenario shows the chart beside its picture.
  graf1_->show();
  fraZon_->show();
  imgDiagr1_->show();
  graf2_->hide();
  imgDiagr2_->hide();
  imgRisk_->hide();
}

void Form1::optVer_Click() {
  graf1_->hide();
  imgDiagr1_->hide();
  graf2_->show();
  imgDiagr2_->show();
  imgRisk_->hide();
}

void Form1::optRisk_Click() {
  graf1_->hide();
  imgDiagr1_->hide();
  graf2_->hide();
  imgDiagr2_->hide();
  imgRisk_->show();
}

QString Form1::windRoseFolder() const { return windRoseFolder_.isEmpty() ? db::DataFolder() : windRoseFolder_; }

void Form1::cmdSaveResult_Click() {
  if (!lastRun_ || !result::IsScenarioCode(lastRun_->ScenarioCode)) return;
  // The report of the last completed run, written from its record.
  SaveRunReport(this, *lastRun_, windRoseFolder());
}

void Form1::Command3_Click() {
  if (!lastRun_) return;
  const auto& st = lastRun_->request.settings;
  if (const auto m = models::GridMaximum(lastRun_->GridValue, st.XLimit, st.YLimit, st.CStep)) {
    Max_[0]->setText(NumberText(m->value));
    Max_[1]->setText(NumberText(m->x));
    Max_[2]->setText(NumberText(m->y));
  }
}

void Form1::Command7_Click() {
  if (!lastRun_) return;
  const auto px = ParseNumberLoose(Max_[1]->text().toStdString());
  const auto py = ParseNumberLoose(Max_[2]->text().toStdString());
  if (!px || !py) {
    WarnInput(this, U(texts::kCheckInput));
    return;
  }
  const auto& st = lastRun_->request.settings;
  const auto v = models::GridValueAt(lastRun_->GridValue, st.XLimit, st.YLimit, st.CStep, *px, *py);
  if (!v) {
    ShowCritical(this, U(run::texts::kPointOutside));
    return;
  }
  Max_[0]->setText(NumberText(*v));
}

}  // namespace velaron::ui
