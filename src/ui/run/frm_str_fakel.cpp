#include "ui/run/frm_str_fakel.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "common/numtext.h"
#include "common/pi.h"
#include "common/qt_text.h"
#include "common/texts.h"
#include "run/prepare.h"
#include "result/scenarios.h"
#include "run/run_texts.h"
#include "ui/run/run_controller.h"
#include "ui/widgets/messages.h"
#include "ui/widgets/numeric_box.h"

namespace velaron::ui {

namespace {

constexpr double kDotRadius = 3;  // px: the small disc at the centre of a diagram

}  // namespace

bool SaveXlsLeftBy(const result::RunSnapshot* last) {
  if (!last) return false;
  if (last->request.jetFlame) return last->request.jetFlame->SaveXls;
  return !result::FactsOf(last->scenario()).yearRound;
}

// ---------------------------------------------------------------------------------------------------
// Diagrams

FakelDiagram::FakelDiagram(Kind kind, QWidget* parent) : QWidget(parent), kind_(kind) {
  setMinimumSize(110, 110);
  setAutoFillBackground(true);
}

void FakelDiagram::setAngle(std::optional<double> degrees) {
  angle_ = degrees;
  layoutLines();
  update();
}

void FakelDiagram::resizeEvent(QResizeEvent*) { layoutLines(); }

void FakelDiagram::layoutLines() {
  lines_.clear();
  if (!angle_) return;
  const double W = std::nearbyint(width()), H = std::nearbyint(height());
  if (kind_ == Kind::Azimuth) {
    // A diameter through the centre along the pipeline: azimuth 0 is vertical, 90 horizontal.
    const double cx = std::nearbyint(W / 2), cy = std::nearbyint(H / 2);
    const double r = std::nearbyint(std::min(W / 3, H / 3));
    const double a = *angle_ / 180 * kPi + kPi / 2;
    lines_.emplace_back(QPointF(cx, cy), QPointF(cx + r * std::cos(a + kPi), cy + r * std::sin(a + kPi)));
    lines_.emplace_back(QPointF(cx, cy), QPointF(cx + r * std::cos(a), cy + r * std::sin(a)));
    dot_ = QPointF(cx, cy);
  } else {
    // The pipe leaving the ground at the lift angle, from a point a tenth in from the left.
    const double L = std::nearbyint(2 * W / 10);
    const double t = *angle_ / 180 * kPi;
    lines_.emplace_back(QPointF(W / 10, H / 2), QPointF(W - W / 10, H / 2 + L * std::sin(t)));
    dot_ = QPointF(W / 10, H / 2);
  }
}

void FakelDiagram::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  if (lines_.empty()) return;
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(kind_ == Kind::Azimuth ? QColor(255, 0, 0) : QColor(155, 0, 0), 3));
  for (const QLineF& l : lines_) p.drawLine(l);
  p.setPen(QPen(QColor(0, 0, 255), 1));
  p.setBrush(QColor(0, 0, 255));
  p.drawEllipse(dot_, kDotRadius, kDotRadius);
}

// ---------------------------------------------------------------------------------------------------
// The window

FrmStrFakel::FrmStrFakel(FakelContext context, QWidget* parent) : QWidget(parent), ctx_(std::move(context)) {
  setObjectName("frmStr_fakel");
  setWindowTitle(U("Струевой настильный факел"));
  setWindowFlag(Qt::Window, true);

  Frame1_ = new QFrame(this);
  Frame1_->setObjectName("Frame1");
  Frame1_->setFrameShape(QFrame::StyledPanel);
  auto* grid = new QGridLayout(Frame1_);

  auto label = [&](const char* name, const char* text, int row) {
    auto* l = new QLabel(U(text), Frame1_);
    if (name) l->setObjectName(name);
    grid->addWidget(l, row, 0);
    return l;
  };
  auto number = [&](const char* name, NumericBox::Keys keys, NumericBox::Leave leave, const char* text, int row) {
    auto* b = new NumericBox(Frame1_, keys, leave);
    b->setObjectName(name);
    b->setText(U(text));
    grid->addWidget(b, row, 1);
    return b;
  };

  label("Label5", "Газ", 0);
  Combo1_ = new QComboBox(Frame1_);
  Combo1_->setObjectName("Combo1");
  for (const db::GasRow& g : ctx_.gases) Combo1_->addItem(g.VName);
  if (Combo1_->count() > 0) Combo1_->setCurrentIndex(0);
  grid->addWidget(Combo1_, 0, 1);

  label("Label3", "Диаметр трубы, мм", 1);
  Text3_ = number("Text3", NumericBox::Keys::Decimal, NumericBox::Leave::Decimal, "1420", 1);
  label("Label6", "Давление, МПа", 2);
  Text4_ = number("Text4", NumericBox::Keys::Decimal, NumericBox::Leave::Decimal, "7,4", 2);
  label("Label7", "Температура газа, °С", 3);
  Text5_ = number("Text5", NumericBox::Keys::SignedDecimal, NumericBox::Leave::Decimal, "10", 3);
  label(nullptr, "Глубина залегания, м", 4);
  Text10_ = number("Text10", NumericBox::Keys::Decimal, NumericBox::Leave::Decimal, "1,2", 4);
  label(nullptr, "Место расположения газопровода", 5);
  Text27_ = new QLineEdit(Frame1_);
  Text27_->setObjectName("Text27");
  grid->addWidget(Text27_, 5, 1);
  label("Label2", "Скорость ветра, м/с", 6);
  Text2_ = number("Text2", NumericBox::Keys::Decimal, NumericBox::Leave::Decimal, "3", 6);
  label("Label1", "Направление ветра (откуда дует ветер)", 7);
  Combo9_ = new QComboBox(Frame1_);
  Combo9_->setObjectName("Combo9");
  for (const char* d : run::texts::kWindDirectionNames) Combo9_->addItem(U(d));
  Combo9_->setCurrentIndex(0);
  grid->addWidget(Combo9_, 7, 1);
  // The two angles take whole degrees only: digits and Backspace.
  label("Label41", "Азимут трубопровода,°:", 8);
  Text25_ = number("Text25", NumericBox::Keys::Integer, NumericBox::Leave::Integer, "0", 8);
  label("Label14", "Угол подъема трубы,° :", 9);
  Text8_ = number("Text8", NumericBox::Keys::Integer, NumericBox::Leave::Integer, "25", 9);

  Picture1_ = new FakelDiagram(FakelDiagram::Kind::Azimuth, Frame1_);
  Picture1_->setObjectName("Picture1");
  grid->addWidget(Picture1_, 8, 2);
  Picture2_ = new FakelDiagram(FakelDiagram::Kind::Lift, Frame1_);
  Picture2_->setObjectName("Picture2");
  grid->addWidget(Picture2_, 9, 2);

  Command1_ = new QPushButton(U("Расчет"), this);
  Command1_->setObjectName("Command1");
  auto* outer = new QVBoxLayout(this);
  outer->addWidget(Frame1_);
  outer->addWidget(Command1_);

  // The diagrams follow the typing; an empty box leaves the picture as it was until it is left.
  auto follow = [](NumericBox* box, FakelDiagram* picture) {
    QObject::connect(box, &QLineEdit::textChanged, picture, [picture](const QString& text) {
      if (text.isEmpty()) return;
      picture->setAngle(ParseNumber(text.toStdString()));
    });
    picture->setAngle(ParseNumber(box->text().toStdString()));
  };
  follow(Text25_, Picture1_);
  follow(Text8_, Picture2_);
  connect(Command1_, &QPushButton::clicked, this, &FrmStrFakel::Command1_Click);

  controller_ = new RunController(this);
  // The window steps aside during the calculation and comes back before its messages.
  connect(controller_, &RunController::runStarted, this, &QWidget::hide);
  connect(controller_, &RunController::runEnded, this, &QWidget::show);
  connect(controller_, &RunController::completed, this, [this](std::shared_ptr<const result::RunSnapshot> s) {
    if (ctx_.showResult) ctx_.showResult(s);
    emit calculationEnded(std::move(s));
  });
  connect(controller_, &RunController::refused, this, [this] { emit calculationEnded(nullptr); });
  connect(controller_, &RunController::cancelled, this, [this] { emit calculationEnded(nullptr); });
}

// A calculation still going on is stopped first: nothing may outlive the windows it reports to.
FrmStrFakel::~FrmStrFakel() { delete controller_; }

bool FrmStrFakel::running() const { return controller_->running(); }

NumericBox* FrmStrFakel::box(const char* objectName) const { return findChild<NumericBox*>(objectName); }

std::optional<result::RunRequest> FrmStrFakel::gatherRequest() {
  if (!NumericBox::checkAll(this)) return std::nullopt;
  const int gas = Combo1_->currentIndex();
  if (gas < 0 || gas >= static_cast<int>(ctx_.gases.size())) {
    ShowCritical(this, U(velaron::texts::kGasDataMissing));
    return std::nullopt;
  }
  // The boxes passed their checks when shown; read each once more, so that a hidden window (or a box
  // filled by a program) never yields a number that is not there.
  double values[7];
  NumericBox* const boxes[7] = {Text3_, Text4_, Text5_, Text10_, Text2_, Text25_, Text8_};
  for (int k = 0; k < 7; ++k) {
    const std::optional<double> v = boxes[k]->value();
    if (!v) {
      WarnInput(this, U(velaron::texts::kCheckInput));
      boxes[k]->setFocus();
      return std::nullopt;
    }
    values[k] = *v;
  }
  // The pipe of the window at one pressure along its whole length, at the typed azimuth, in the window's
  // wind; the probabilities of the main window's last run.
  result::RunRequest r;
  r.settings = ctx_.settings;
  r.pipeline.Gas = gas + 1;
  r.pipeline.Diametr = values[0];
  r.pipeline.DavlDown = r.pipeline.DavlUp = values[1];
  r.pipeline.Temp = values[2];
  r.pipeline.Glubina = values[3];
  r.section.Azimut = values[5];
  r.run.scenario = result::Scenario::AsymmetricJet;
  r.run.WindSpeed = values[4];
  r.run.WindDir = 45 * std::max(Combo9_->currentIndex(), 0);
  r.options = ctx_.options ? ctx_.options() : result::OutputOptions{};
  const result::Probabilities last = ctx_.lastProbabilities ? ctx_.lastProbabilities() : result::Probabilities{};
  r.jetFlame = result::JetFlamePipe{values[6], last, ctx_.lastSaveXls && ctx_.lastSaveXls()};
  return r;
}

void FrmStrFakel::Command1_Click() {
  if (running()) return;
  const auto request = gatherRequest();
  if (!request) return;
  run::RunData runData;
  runData.gas = ctx_.gases[static_cast<size_t>(request->pipeline.Gas - 1)];
  runData.section = request->section;
  runData.tables = ctx_.tables;
  run::PrepareResult prepared = run::PrepareRun(*request, runData, QDateTime::currentDateTime());
  if (!prepared.ok()) {
    ShowCritical(this, prepared.error);
    return;
  }
  // The model writes its workbook as the flag stands: through the same save dialog, and its retries, as the
  // run dialog's, before the results are shown (and only while the extra-workbook option is on).
  controller_->start(std::move(*prepared.run), {QString(), request->jetFlame->SaveXls});
}

void FrmStrFakel::closeEvent(QCloseEvent* event) {
  // A calculation under way finishes first; its progress window has "Отмена".
  if (running()) {
    event->ignore();
    return;
  }
  emit closed();
  QWidget::closeEvent(event);
}

}  // namespace velaron::ui
