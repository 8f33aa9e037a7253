#include "ui/mainwindow/results_tab.h"

#include <QChartView>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/numtext.h"
#include "common/qt_text.h"
#include "common/texts.h"
#include "models/grid_reading.h"
#include "output/pictures/result_pictures.h"
#include "output/pictures/run_pictures.h"
#include "result/printed_texts.h"
#include "result/scenarios.h"
#include "run/run_texts.h"
#include "ui/mainwindow/distance_chart.h"
#include "ui/mainwindow/input_boxes.h"
#include "ui/mainwindow/tab_parts.h"
#include "ui/widgets/messages.h"

namespace velaron::ui {

ResultsTab::ResultsTab(QWidget* parent) : QWidget(parent) {
  auto* grid = new QGridLayout(this);
  // One layout for every choice and every scenario: the distance chart on the left, the picture beside it,
  // the options, zones and the save button in a column of their own on the right. Every picture is drawn in
  // the same cell, so each view shows its picture at one size with one size of lettering; hidden views keep
  // their room, so nothing moves when another option is chosen.
  graf1_ = Named(new QChartView(this), "graf1");
  graf2_ = Named(new QChartView(this), "graf2");
  for (QChartView* v : {graf1_, graf2_}) {
    v->setMinimumSize(300, 260);  // tall enough for the longest y-axis title
    v->setRenderHint(QPainter::Antialiasing);
  }
  SetDistanceChart(graf1_, {}, U("Расстояние от центра взрыва, м"), U(result::kOverpressureAxisTitle));
  SetDistanceChart(graf2_, {}, U(result::kDistanceAxisTitle), U(result::kPercentAxisTitle));
  imgDiagr1_ = Named(new PictureLabel(this), "imgDiagr1");
  imgDiagr2_ = Named(new PictureLabel(this), "imgDiagr2");
  imgRisk_ = Named(new PictureLabel(this), "imgRisk");
  for (QLabel* l : {imgDiagr1_, imgDiagr2_, imgRisk_}) {
    l->setMinimumSize(360, 270);
    l->setAlignment(Qt::AlignCenter);
  }
  for (QWidget* w : std::initializer_list<QWidget*>{graf1_, graf2_, imgDiagr1_, imgDiagr2_, imgRisk_}) {
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    policy.setRetainSizeWhenHidden(true);
    w->setSizePolicy(policy);
  }
  grid->addWidget(graf1_, 0, 0);
  grid->addWidget(graf2_, 0, 0);
  grid->addWidget(imgDiagr1_, 0, 1);
  grid->addWidget(imgDiagr2_, 0, 1);
  grid->addWidget(imgRisk_, 0, 1);
  graf2_->hide();
  imgDiagr2_->hide();

  auto* side = new QVBoxLayout;
  fraDiagr_ = Named(new QGroupBox(U("Диаграмма"), this), "fraDiagr");
  auto* fd = new QVBoxLayout(fraDiagr_);
  optPor_ = Named(new QRadioButton(U("Значения пораж. фактора"), fraDiagr_), "optPor");
  optVer_ = Named(new QRadioButton(U("Вероятность поражения"), fraDiagr_), "optVer");
  optRisk_ = Named(new QRadioButton(U("Риск"), fraDiagr_), "optRisk");
  optPor_->setChecked(true);
  for (auto* o : {optPor_, optVer_, optRisk_}) fd->addWidget(o);
  connect(optPor_, &QRadioButton::clicked, this, &ResultsTab::optPor_Click);
  connect(optVer_, &QRadioButton::clicked, this, &ResultsTab::optVer_Click);
  connect(optRisk_, &QRadioButton::clicked, this, &ResultsTab::optRisk_Click);
  side->addWidget(fraDiagr_);

  fraZon_ = Named(new QGroupBox(U("Глубина зон поражения:"), this), "fraZon");
  auto* fz = new QFormLayout(fraZon_);
  const char* zoneNames[5] = {"txtRsm", "txtRs", "txtRsr", "txtRsl", "txtRb"};
  const char* zoneLabels[5] = {
      "Зона безусловного поражения, м", "Зона возможно сильного поражения, м",
      "Зона возможно среднего поражения, м:", "Зона возможно слабого поражения, м:", "Зона безопасноси, м:"};
  for (int i = 0; i < 5; ++i) {
    zoneBoxes_[i] = Named(new QLineEdit(fraZon_), zoneNames[i]);
    zoneBoxes_[i]->setReadOnly(true);
    zoneBoxes_[i]->setMinimumWidth(90);
    fz->addRow(WrappedLabel(zoneLabels[i], fraZon_), zoneBoxes_[i]);
  }
  side->addWidget(fraZon_);

  fraMessage_ = Named(new QGroupBox(this), "fraMessage");
  auto* fm = new QVBoxLayout(fraMessage_);
  fm->addWidget(Named(WrappedLabel("Для расчета глубины зон поражения увеличьте Ширину зоны расчета по X и Y в меню "
                                   "ФАЙЛ -> ПАРАМЕТРЫ РАСЧЕТА -> ШИРИНА ЗОНЫ РАСЧЕТА ПО X и Y",
                                   fraMessage_),
                      "Label19"));
  side->addWidget(fraMessage_);

  cmdSaveResult_ = Named(new QPushButton(U("Сохранить результаты"), this), "cmdSaveResult");
  cmdSaveResult_->hide();
  connect(cmdSaveResult_, &QPushButton::clicked, this, &ResultsTab::saveRequested);
  side->addWidget(cmdSaveResult_);

  // Grid tools: present but not offered to the user.
  const char* maxTexts[3] = {"Text28", "30", "40"};
  for (int i = 0; i < 3; ++i) {
    Max_[i] = new QLineEdit(U(maxTexts[i]), this);
    Max_[i]->setObjectName(QString("Max_%1").arg(i));
    Max_[i]->hide();
    side->addWidget(Max_[i]);
  }
  auto* Command3 = Named(new QPushButton(U("Отрисовка"), this), "Command3");
  auto* Command7 = Named(new QPushButton(U("Command7"), this), "Command7");
  Command3->hide();
  Command7->hide();
  side->addWidget(Command3);
  side->addWidget(Command7);
  connect(Command3, &QPushButton::clicked, this, &ResultsTab::Command3_Click);
  connect(Command7, &QPushButton::clicked, this, &ResultsTab::Command7_Click);
  side->addStretch();
  // The column keeps one width whatever it shows, so the options never move sideways.
  auto* sideBox = new QWidget(this);
  sideBox->setObjectName("resultSide");
  sideBox->setLayout(side);
  side->setContentsMargins(0, 0, 0, 0);
  sideBox->setFixedWidth(320);
  grid->addWidget(sideBox, 0, 2);
  grid->setColumnStretch(0, 4);
  grid->setColumnStretch(1, 5);
}

void ResultsTab::firstActivation() {
  optPor_->setEnabled(true);
  for (QWidget* w : std::initializer_list<QWidget*>{graf1_, imgDiagr1_, fraDiagr_, fraMessage_, imgRisk_}) w->hide();
}

void ResultsTab::showRun(std::shared_ptr<const result::RunSnapshot> run) {
  run_ = std::move(run);
  const result::RunSnapshot& s = *run_;
  const result::PrintedTexts texts = result::PrintedTextsOf(s);
  // Both charts run over one distance range, from the rupture point to the farther of their last points.
  const double xMax = std::max(s.graf1.points.empty() ? 0.0 : s.graf1.points.back().first,
                               s.graf2.points.empty() ? 0.0 : s.graf2.points.back().first);
  SetDistanceChart(graf1_, s.graf1.points, texts.distanceTitle, texts.damageTitle, xMax);
  SetDistanceChart(graf2_, s.graf2.points, texts.distanceTitle, texts.percentTitle, xMax);
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
      {imgDiagr1_, &s.GridValue, s.isOverpressure() ? output::PictureKind::Overpressure : output::PictureKind::HeatFlux,
       opt3D, s.isOverpressure() ? "Диаграмма избыточного давления" : "Диаграмма теплового потока"},
      {imgDiagr2_, &s.GridProc, output::PictureKind::Probability, opt3D, "Диаграмма вероятности поражения"},
      {imgRisk_, &s.GridRisk, output::PictureKind::Risk, false, "Диаграмма риска"}};
  const int cStep = s.request.settings.CStep;
  for (const View& v : views) {
    if (v.grid->empty()) continue;
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
  if (optVer_->isChecked()) optVer_Click();
  else if (optRisk_->isChecked()) optRisk_Click();
  else optPor_Click();
  // The zone boxes txtRsm, txtRs, txtRsr, txtRsl and txtRb; the note to widen the calculation zone when the
  // weak-damage zone was not found inside the grid.
  for (size_t i = 0; i < zoneBoxes_.size(); ++i) zoneBoxes_[i]->setText(texts.zoneTexts[i]);
  fraMessage_->setVisible(s.zones.CurZones()(4) == -1);
  cmdSaveResult_->show();
}

void ResultsTab::optPor_Click() {
  // The assessments over a year show their picture alone, the chart's place left empty as in the risk view;
  // their zone frame stays as it was.
  const bool yearRound = run_ && result::FactsOf(run_->scenario()).yearRound;
  graf1_->setVisible(!yearRound);
  if (!yearRound) fraZon_->show();
  imgDiagr1_->show();
  graf2_->hide();
  imgDiagr2_->hide();
  imgRisk_->hide();
}

void ResultsTab::optVer_Click() {
  graf1_->hide();
  imgDiagr1_->hide();
  graf2_->show();
  imgDiagr2_->show();
  imgRisk_->hide();
}

void ResultsTab::optRisk_Click() {
  graf1_->hide();
  imgDiagr1_->hide();
  graf2_->hide();
  imgDiagr2_->hide();
  imgRisk_->show();
}

void ResultsTab::Command3_Click() {
  if (!run_) return;
  const auto& st = run_->request.settings;
  if (const auto m = models::GridMaximum(run_->GridValue, st.XLimit, st.YLimit, st.CStep)) {
    Max_[0]->setText(NumberText(m->value));
    Max_[1]->setText(NumberText(m->x));
    Max_[2]->setText(NumberText(m->y));
  }
}

void ResultsTab::Command7_Click() {
  if (!run_) return;
  const auto px = ParseNumberLoose(Max_[1]->text().toStdString());
  const auto py = ParseNumberLoose(Max_[2]->text().toStdString());
  if (!px || !py) {
    WarnInput(this, U(texts::kCheckInput));
    return;
  }
  const auto& st = run_->request.settings;
  const auto v = models::GridValueAt(run_->GridValue, st.XLimit, st.YLimit, st.CStep, *px, *py);
  if (!v) {
    ShowCritical(this, U(run::texts::kPointOutside));
    return;
  }
  Max_[0]->setText(NumberText(*v));
}

}  // namespace velaron::ui
