#include "ui/run/form6.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "result/scenarios.h"
#include "ui/widgets/messages.h"
#include "ui/widgets/numeric_box.h"
#include "common/numtext.h"
#include "common/qt_text.h"
#include "common/texts.h"
#include "db/database.h"
#include "run/prepare.h"
#include "run/run_texts.h"
#include "ui/run/form2.h"
#include "ui/run/run_controller.h"

namespace velaron::ui {

namespace {

QLineEdit* ShareBox(const char* name, const QColor& color, QWidget* parent) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(QLatin1String(name));
  QPalette pal = box->palette();
  pal.setColor(QPalette::Base, color);
  box->setPalette(pal);
  // Wide enough for a share as the database holds it: "0,333333333333333" is read whole.
  box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0,333333333333333")) + 12);
  return box;
}

QGroupBox* ColoredFrame(const char* name, const QString& title, const QColor& color, QWidget* parent) {
  auto* frame = new QGroupBox(title, parent);
  frame->setObjectName(QLatin1String(name));
  frame->setAutoFillBackground(true);
  QPalette pal = frame->palette();
  pal.setColor(QPalette::Window, color);
  frame->setPalette(pal);
  return frame;
}

}  // namespace

Form6::Services Form6::DatabaseServices() {
  Services s;
  s.section = [](int tpid) { return db::LoadSection(tpid); };
  s.ground = [](const QString& code) { return db::LoadGround3(code); };
  s.runData = [](const result::RunRequest& r) { return run::LoadRunData(r, true); };
  s.execute = [](run::PreparedRun p, models::Progress& progress, const run::ExecuteOptions& o) {
    return run::ExecuteRun(std::move(p), progress, o);
  };
  return s;
}

Form6::Form6(const result::RunRequest& base, QWidget* parent)
    : QDialog(parent), base_(base), services_(DatabaseServices()), controller_(new RunController(this)) {
  setObjectName(QStringLiteral("Form6"));
  setWindowTitle(U("Расчет"));
  setAttribute(Qt::WA_DeleteOnClose, false);
  build();
  // Loading: the scenario list at its first entry, winter, north.
  Combo1_->setCurrentIndex(0);
  Combo1_Click();
  Combo3_->setCurrentIndex(0);
  Combo3_Click();
  Combo9_->setCurrentIndex(0);
}

// A dialog closed while its run goes on stops the run first: nothing may outlive the windows it reports to.
Form6::~Form6() { delete controller_; }

bool Form6::running() const { return controller_->running(); }

Form2* Form6::progressWindow() const { return controller_->progressWindow(); }

void Form6::build() {
  auto* layout = new QVBoxLayout(this);

  Frame2_ = new QGroupBox(U(" Сценарий"), this);
  Frame2_->setObjectName(QStringLiteral("Frame2"));
  auto* g2 = new QGridLayout(Frame2_);
  auto* label4 = new QLabel(U("Сценарий:"), Frame2_);
  label4->setObjectName(QStringLiteral("Label4"));
  Combo1_ = new QComboBox(Frame2_);
  Combo1_->setObjectName(QStringLiteral("Combo1"));
  for (const result::ScenarioFacts& f : result::kScenarios) Combo1_->addItem(U(f.dialogName));
  Label14_ = new QLabel(U("Угол подъема трубы,° :"), Frame2_);
  Label14_->setObjectName(QStringLiteral("Label14"));
  Text8_ = new NumericBox(Frame2_, NumericBox::Keys::Integer, NumericBox::Leave::None);
  Text8_->setObjectName(QStringLiteral("Text8"));
  Text8_->setText(QStringLiteral("25"));
  Label14_->hide();
  Text8_->hide();
  g2->addWidget(label4, 0, 0);
  g2->addWidget(Combo1_, 0, 1);
  g2->addWidget(Label14_, 1, 0);
  g2->addWidget(Text8_, 1, 1);
  layout->addWidget(Frame2_);

  Frame1_ = new QGroupBox(U(" Участок"), this);
  Frame1_->setObjectName(QStringLiteral("Frame1"));
  auto* g1 = new QHBoxLayout(Frame1_);
  Option2_ = new QRadioButton(U("номер"), Frame1_);
  Option2_->setObjectName(QStringLiteral("Option2"));
  Option2_->setChecked(true);
  Text1_ = new NumericBox(Frame1_, NumericBox::Keys::Integer, NumericBox::Leave::None);
  Text1_->setObjectName(QStringLiteral("Text1"));
  g1->addWidget(Option2_);
  g1->addWidget(Text1_);
  layout->addWidget(Frame1_);

  Frame3_ = new QGroupBox(U("Метеоданные"), this);
  Frame3_->setObjectName(QStringLiteral("Frame3"));
  auto* g3 = new QGridLayout(Frame3_);
  auto* label5 = new QLabel(U("Направление ветра (откуда дует ветер)"), Frame3_);
  label5->setObjectName(QStringLiteral("Label5"));
  Combo9_ = new QComboBox(Frame3_);
  Combo9_->setObjectName(QStringLiteral("Combo9"));
  for (size_t i = 0; i < run::texts::kWindDirectionNames.size(); ++i)
    Combo9_->addItem(U(run::texts::kWindDirectionNames[i]), static_cast<int>(i));
  auto* label3 = new QLabel(U("Время года:"), Frame3_);
  label3->setObjectName(QStringLiteral("Label3"));
  Combo3_ = new QComboBox(Frame3_);
  Combo3_->setObjectName(QStringLiteral("Combo3"));
  for (const char* s : run::texts::kSeasonNames) Combo3_->addItem(U(s));
  auto* label2 = new QLabel(U("Скорость ветра, м/с"), Frame3_);
  label2->setObjectName(QStringLiteral("Label2"));
  // The wind speed takes digits, the comma and the point; leaving it checks the number as written.
  Text2_ = new NumericBox(Frame3_, NumericBox::Keys::Decimal, NumericBox::Leave::Integer);
  Text2_->setObjectName(QStringLiteral("Text2"));
  Text2_->setText(QStringLiteral("0"));
  g3->addWidget(label5, 0, 0, 1, 2);
  g3->addWidget(Combo9_, 1, 0, 1, 2);
  g3->addWidget(label3, 2, 0);
  g3->addWidget(Combo3_, 2, 1);
  g3->addWidget(label2, 3, 0);
  g3->addWidget(Text2_, 3, 1);
  layout->addWidget(Frame3_);

  fraOther_ = new QGroupBox(U("Дополнительные выходные параметры"), this);
  fraOther_->setObjectName(QStringLiteral("fraOther"));
  auto* go = new QVBoxLayout(fraOther_);
  chkProc_ = new QCheckBox(U("Процент поражения"), fraOther_);
  chkProc_->setObjectName(QStringLiteral("chkProc"));
  chkImpuls_ = new QCheckBox(U("Импульс, Па*с"), fraOther_);
  chkImpuls_->setObjectName(QStringLiteral("chkImpuls"));
  chkPress_ = new QCheckBox(U("Избыточное давление, Па"), fraOther_);
  chkPress_->setObjectName(QStringLiteral("chkPress"));
  chkPress_->setChecked(true);
  go->addWidget(chkProc_);
  go->addWidget(chkImpuls_);
  go->addWidget(chkPress_);
  fraOther_->hide();
  layout->addWidget(fraOther_);

  Frame4_ = new QGroupBox(U("Вероятности факелов"), this);
  Frame4_->setObjectName(QStringLiteral("Frame4"));
  auto* g4 = new QGridLayout(Frame4_);
  // Three columns of one width, pit, symmetric and asymmetric: each share box stands under its own heading,
  // also when the scenario shows only one of them.
  const char* heads[][2] = {{"Label1", "котлованного"}, {"Label6", "симметричного"}, {"Label7", "ассимитричного"}};
  for (int i = 0; i < 3; ++i) {
    auto* l = new QLabel(U(heads[i][1]), Frame4_);
    l->setObjectName(QLatin1String(heads[i][0]));
    l->setAlignment(Qt::AlignCenter);
    g4->addWidget(l, 0, i);
    g4->setColumnStretch(i, 1);
  }
  const QColor cyan(0, 255, 255), olive(192, 192, 0);
  auto shareRow = [](QGroupBox* frame, std::initializer_list<QLineEdit*> boxes) {
    auto* row = new QHBoxLayout(frame);
    for (QLineEdit* box : boxes) {
      QSizePolicy policy = box->sizePolicy();
      policy.setRetainSizeWhenHidden(true);
      box->setSizePolicy(policy);
      row->addWidget(box, 1);
    }
  };
  Frame6_ = ColoredFrame("Frame6", U("зима"), cyan, Frame4_);
  Pkw_ = ShareBox("Pkw", cyan, Frame6_);
  Psw_ = ShareBox("Psw", cyan, Frame6_);
  Paw_ = ShareBox("Paw", cyan, Frame6_);
  shareRow(Frame6_, {Pkw_, Psw_, Paw_});
  Frame7_ = ColoredFrame("Frame7", U("лето"), olive, Frame4_);
  Pks_ = ShareBox("Pks", olive, Frame7_);
  Pss_ = ShareBox("Pss", olive, Frame7_);
  Pas_ = ShareBox("Pas", olive, Frame7_);
  shareRow(Frame7_, {Pks_, Pss_, Pas_});
  g4->addWidget(Frame6_, 1, 0, 1, 3);
  g4->addWidget(Frame7_, 2, 0, 1, 3);
  // The rows stand under the column heads; the room of a hidden row stays free below them.
  g4->setRowStretch(3, 1);
  layout->addWidget(Frame4_);

  auto* buttons = new QHBoxLayout;
  cmdRaschet_ = new QPushButton(U("Расчет"), this);
  cmdRaschet_->setObjectName(QStringLiteral("cmdRaschet"));
  cmdRaschet_->setDefault(true);
  cmdRaschet_->setEnabled(false);
  Command2_ = new QPushButton(U("Отмена"), this);
  Command2_->setObjectName(QStringLiteral("Command2"));
  buttons->addStretch();
  buttons->addWidget(cmdRaschet_);
  buttons->addWidget(Command2_);
  layout->addStretch(1);
  layout->addLayout(buttons);
  keepOneSize();

  connect(Combo1_, &QComboBox::currentIndexChanged, this, [this](int) { Combo1_Click(); });
  connect(Combo3_, &QComboBox::currentIndexChanged, this, [this](int) { Combo3_Click(); });
  connect(Option2_, &QRadioButton::clicked, this, [this] { Text1_->setFocus(); });
  connect(Text1_, &QLineEdit::textChanged, this, [this](const QString& t) { cmdRaschet_->setEnabled(!t.isEmpty()); });
  connect(cmdRaschet_, &QPushButton::clicked, this, &Form6::cmdRaschet_Click);
  connect(Command2_, &QPushButton::clicked, this, &Form6::reject);

  connect(controller_, &RunController::runStarted, this, [this] {
    setControlsEnabled(false);
    emit runStarted();
  });
  connect(controller_, &RunController::runEnded, this, [this] {
    setControlsEnabled(true);
    emit runEnded();
  });
  // A completed run closes the dialog; a refused one leaves it loaded and hidden, for the main window to show
  // again as it was left; "Отмена" of the progress window brings it back at once, ready for another try.
  connect(controller_, &RunController::completed, this, [this](std::shared_ptr<const result::RunSnapshot> s) {
    emit runFinished(std::move(s));
    accept();
  });
  connect(controller_, &RunController::cancelled, this, &QWidget::show);
}

// One size for every scenario, season and state: the size of the dialog with the weather group and both
// share rows shown. A group that a scenario hides keeps its place, so nothing moves or jumps when the
// scenario, the season or the first press changes what is shown; the buttons stay at the bottom.
void Form6::keepOneSize() {
  for (QGroupBox* w : {Frame3_, Frame4_, Frame6_, Frame7_}) w->setVisible(true);
  Frame4_->setMinimumHeight(Frame4_->sizeHint().height());
  for (QGroupBox* w : {Frame3_, Frame4_}) {
    QSizePolicy policy = w->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    w->setSizePolicy(policy);
  }
  setFixedSize(sizeHint());
  Frame3_->hide();
  Frame4_->hide();
}

void Form6::setBase(const result::RunRequest& base) { base_ = base; }

void Form6::Combo1_Click() {
  scenario_ = result::ScenarioOf(Combo1_->currentIndex() + 1);
  fraOther_->hide();
  if (!scenario_) return;
  const result::ScenarioFacts& facts = result::FactsOf(*scenario_);
  if (facts.overpressure) {
    chkPress_->setText(U("Избыточное давление, кПа"));
    chkImpuls_->show();
  } else {
    chkPress_->setText(U("Тепловой поток"));
    chkImpuls_->hide();
  }
  const bool jet = facts.singleJet;
  Frame3_->setVisible(jet);
  auto shares = [&](bool pit, bool symm, bool asym) {
    Pkw_->setVisible(pit);
    Pks_->setVisible(pit);
    Psw_->setVisible(symm);
    Pss_->setVisible(symm);
    Paw_->setVisible(asym);
    Pas_->setVisible(asym);
  };
  using result::Scenario;
  if (facts.yearRound) {
    shares(true, true, true);
    Frame6_->show();
    Frame7_->show();
  } else if (jet) {
    shares(facts.scenario == Scenario::PitJet, facts.scenario == Scenario::SymmetricJet,
           facts.scenario == Scenario::AsymmetricJet);
  } else {
    // A scenario without flames hides the two rows only: the group stays with its heading and column heads.
    Frame6_->hide();
    Frame7_->hide();
  }
  if (jet) Combo3_Click();
  // The shares are shown once the first press has filled them, whatever the scenario.
  Frame4_->setVisible(sharesFilled_);
}

void Form6::Combo3_Click() {
  const bool summer = Combo3_->currentIndex() == 1;
  Frame6_->setVisible(!summer);
  Frame7_->setVisible(summer);
}

bool Form6::firstPress() {
  const auto number = ParseNumber(Text1_->text().trimmed().toStdString());
  const int tpid = number && *number == std::floor(*number) ? static_cast<int>(*number) : 0;
  section_.reset();
  sharesSoil_.reset();
  if (tpid <= 0) {
    refuseSection();
    return false;
  }
  if (!readSection(tpid)) return false;
  if (!fillShares()) {
    section_.reset();
    return false;
  }
  Frame1_->setEnabled(false);
  emit sectionFound(section_->TPID);
  return offerShares();
}

bool Form6::readSection(int tpid) {
  const db::Read<std::optional<db::SectionRow>> section = services_.section(tpid);
  if (!section.ok()) {
    ShowCritical(this, section.error);
    return false;
  }
  if (!section.value) {
    refuseSection();
    return false;
  }
  section_ = section.value;
  return true;
}

// A section that does not exist, or whose soil has no shares, is refused: the section group opens for
// another number.
void Form6::refuseSection() {
  section_.reset();
  Frame1_->setEnabled(true);
  ShowCritical(this, U(velaron::texts::kWrongSection));
}

bool Form6::fillShares() {
  db::Read<std::optional<db::Ground3Row>> ground;
  if (!section_->Ground.isEmpty()) ground = services_.ground(section_->Ground);
  if (!ground.ok()) {
    ShowCritical(this, ground.error);
    return false;
  }
  if (!ground.value) {  // a soil without shares
    refuseSection();
    return false;
  }
  const result::JetShares s = run::SharesFromGround(*ground.value);
  Pks_->setText(NumberText(s.Pks));
  Pkw_->setText(NumberText(s.Pkw));
  Pss_->setText(NumberText(s.Pss));
  Psw_->setText(NumberText(s.Psw));
  Pas_->setText(NumberText(s.Pas));
  Paw_->setText(NumberText(s.Paw));
  // A share such as 0,333333333333333 is longer than its box: show its beginning, not its end.
  for (QLineEdit* box : {Pks_, Pkw_, Pss_, Psw_, Pas_, Paw_}) box->setCursorPosition(0);
  sharesSoil_ = section_->Ground;
  return true;
}

bool Form6::offerShares() {
  sharesFilled_ = true;
  Combo1_Click();
  if (scenario_ && (result::FactsOf(*scenario_).yearRound || result::FactsOf(*scenario_).singleJet)) {
    if (AskYesNo(this, U(run::texts::kRefineTitle), U(run::texts::kRefineQuestion))) return false;
  }
  return true;
}

// The section stays the one found at the first press, but its fields are those of its row as it stands now:
// a length, distance or crossing corrected in the main window after a refused run is what the next run uses.
// A section deleted meanwhile is refused, and the section group opens again for another number. The run takes
// its ignition factor from the soil of this row, so shares filled from another soil are filled again from it
// and offered for correction as at the first press.
bool Form6::rereadSection() {
  if (!readSection(section_->TPID)) return false;
  if (section_->Ground == sharesSoil_) return true;
  return fillShares() && offerShares();
}

std::optional<result::RunRequest> Form6::gatherRequest() {
  result::RunRequest r = base_;
  r.section = *section_;
  r.run.scenario = scenario_.value();
  r.run.season = Combo3_->currentIndex() == 1 ? 1 : 0;
  r.run.WindSpeed = ParseNumber(Text2_->text().toStdString()).value_or(0);
  r.texts.windSpeedText = Text2_->text();  // the reports print it as typed
  r.run.WindDir = 45.0 * std::max(0, Combo9_->currentIndex());
  result::JetShares s;
  const std::pair<QLineEdit*, double*> boxes[] = {{Pkw_, &s.Pkw}, {Psw_, &s.Psw}, {Paw_, &s.Paw},
                                                  {Pks_, &s.Pks}, {Pss_, &s.Pss}, {Pas_, &s.Pas}};
  for (const auto& [box, field] : boxes) {
    const auto v = ParseNumberLoose(box->text().toStdString());
    if (!v || *v < 0 || *v > 1) {
      WarnInput(this, U(run::texts::kBadShare));
      box->setFocus();
      return std::nullopt;
    }
    *field = *v;
  }
  r.run.shares = s;
  return r;
}

void Form6::cmdRaschet_Click() {
  if (running()) return;
  if (!NumericBox::checkAll(this)) return;
  Combo1_Click();
  if (!scenario_) {
    ShowCritical(this, U(run::texts::kScenarioNotAvailable));
    return;
  }
  if (!sharesFilled_ || !section_) {
    if (!firstPress()) return;
  } else if (!rereadSection()) {
    return;
  }
  const auto request = gatherRequest();
  if (!request) return;
  lastRequest_ = *request;
  // The run is under way from here: the dialog steps aside, and what follows is told over the main window.
  // A refusal leaves the dialog loaded and hidden.
  hide();
  QWidget* behind = parentWidget() ? parentWidget() : this;
  run::PrepareResult prepared;
  try {
    prepared = run::PrepareRun(*request, services_.runData(*request), QDateTime::currentDateTime());
  } catch (const std::exception& e) {
    prepared.error = QString::fromUtf8(e.what());
  }
  if (!prepared.ok()) {
    // Refused before anything was computed: the earlier results stay.
    ShowCritical(behind, prepared.error);
    return;
  }
  // The assessments over a year check the town's wind and every wind state's flame before anything is
  // computed; the user can change the town in the main window and start again.
  if (const QString refused = run::CheckBeforeRun(*prepared.run); !refused.isEmpty()) {
    ShowCritical(behind, refused);
    return;
  }
  for (const QString& note : prepared.run->notes) ShowInfo(behind, U(velaron::texts::kProgramTitle), note);
  startRun(std::move(*prepared.run));
}

void Form6::setControlsEnabled(bool on) {
  for (QWidget* w : {static_cast<QWidget*>(Frame2_), static_cast<QWidget*>(Frame3_), static_cast<QWidget*>(Frame4_),
                     static_cast<QWidget*>(cmdRaschet_), static_cast<QWidget*>(Command2_)})
    w->setEnabled(on);
  if (parentWidget()) parentWidget()->setEnabled(on);
}

void Form6::startRun(run::PreparedRun prepared) {
  controller_->setExecute(services_.execute);
  // A run whose worker the system refuses never began: the dialog comes back as it was, for another try.
  if (!controller_->start(std::move(prepared), {windRoseFolder_, offerWorkbook_})) show();
}

void Form6::closeEvent(QCloseEvent* event) {
  if (running()) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void Form6::reject() {
  if (running()) return;
  QDialog::reject();
}

}  // namespace velaron::ui
