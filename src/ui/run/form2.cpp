#include "ui/run/form2.h"

#include <QCloseEvent>
#include <QDateTime>
#include <cmath>
#include <algorithm>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/texts.h"
#include "result/scenarios.h"

namespace velaron::ui {

void ProgressRelay::begin(const std::string& title, int steps) { emit begun(QString::fromStdString(title), steps); }

void ProgressRelay::step() { emit stepped(); }

void ProgressRelay::saving() { emit savingStarted(); }

Form2::Form2(QWidget* parent, int cStep, int yLimit, int xLimit)
    : QDialog(parent), cStep_(cStep > 0 ? cStep : 1), yLimit_(yLimit), xLimit_(xLimit < 0 ? yLimit : xLimit) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QString::fromUtf8("Идет расчет, подождите немного ..."));
  auto* layout = new QVBoxLayout(this);
  auto* frame = new QGroupBox(this);
  frame->setObjectName(QStringLiteral("Frame1"));
  auto* inner = new QVBoxLayout(frame);
  label3_ = new QLabel(QStringLiteral("Label3"), frame);
  label3_->setObjectName(QStringLiteral("Label3"));
  label2_ = new QLabel(QStringLiteral("Y="), frame);
  label2_->setObjectName(QStringLiteral("Label2"));
  pbar2_ = new QProgressBar(frame);
  pbar2_->setObjectName(QStringLiteral("PBar2"));
  pbar2_->setMinimum(0);
  label1_ = new QLabel(QStringLiteral("X="), frame);
  label1_->setObjectName(QStringLiteral("Label1"));
  pbar1_ = new QProgressBar(frame);
  pbar1_->setObjectName(QStringLiteral("PBar1"));
  pbar1_->setMinimum(0);
  // The title is shown whole: room for the longest one, "…-лето, ветер-Штиль", and wrapping beyond it.
  label3_->setWordWrap(true);
  label3_->setMinimumWidth(
      label3_->fontMetrics().horizontalAdvance(QString::fromUtf8("Сценарий \"Факел-симметричный\"-лето, ветер-Штиль")) +
      8);
  inner->addWidget(label3_);
  inner->addWidget(label2_);
  inner->addWidget(pbar2_);
  inner->addWidget(label1_);
  inner->addWidget(pbar1_);
  wholeLabel_ = new QLabel(frame);
  wholeLabel_->setObjectName(QStringLiteral("lblWhole"));
  wholeBar_ = new QProgressBar(frame);
  wholeBar_->setObjectName(QStringLiteral("PBarWhole"));
  wholeBar_->setMinimum(0);
  wholeLabel_->hide();
  wholeBar_->hide();
  inner->addWidget(wholeLabel_);
  inner->addWidget(wholeBar_);
  layout->addWidget(frame);
  command2_ = new QPushButton(QString::fromUtf8("Отмена"), this);
  command2_->setObjectName(QStringLiteral("Command2"));
  layout->addWidget(command2_, 0, Qt::AlignRight);
  connect(command2_, &QPushButton::clicked, this, [this] {
    emit cancelRequested();
    hide();
  });
  setMinimumWidth(360);
}

void Form2::follow(ProgressRelay* relay) {
  connect(relay, &ProgressRelay::begun, this, &Form2::onBegin, Qt::QueuedConnection);
  connect(relay, &ProgressRelay::stepped, this, &Form2::onStep, Qt::QueuedConnection);
  connect(this, &Form2::cancelRequested, relay, [relay] { relay->cancel(); });
}

void Form2::setWholeRun(int totalSteps) {
  wholeTotal_ = totalSteps;
  wholeBefore_ = 0;
  wholeLabel_->setVisible(totalSteps > 0);
  wholeBar_->setVisible(totalSteps > 0);
  wholeBar_->setMaximum(std::max(totalSteps, 1));
  wholeBar_->setValue(0);
  wholeLabel_->setText(QString::fromUtf8("Весь расчет:"));
}

int Form2::WholeRunSteps(result::Scenario scenario, int rows) {
  return result::FactsOf(scenario).wholeRunPasses * rows;
}

QString Form2::TimeLeftText(double elapsed, double fraction) {
  if (!(fraction > 0.01) || !(elapsed >= 1) || fraction >= 1) return {};
  const double left = elapsed * (1 - fraction) / fraction;
  if (left < 60)
    return QString::fromUtf8("Осталось около %1 с").arg(std::max(5, static_cast<int>(std::ceil(left / 5)) * 5));
  return QString::fromUtf8("Осталось около %1 мин").arg(static_cast<int>(std::lround(left / 60)));
}

void Form2::showWhole() {
  if (wholeTotal_ <= 0) return;
  const int done = std::min(wholeBefore_ + done_, wholeTotal_);
  wholeBar_->setValue(done);
  const qint64 now = QDateTime::currentMSecsSinceEpoch();
  if (startedMs_ < 0) startedMs_ = now;
  const QString left = TimeLeftText((now - startedMs_) / 1000.0, static_cast<double>(done) / wholeTotal_);
  wholeLabel_->setText(QString::fromUtf8("Весь расчет:") + (left.isEmpty() ? QString() : QStringLiteral("  ") + left));
}

void Form2::onBegin(const QString& title, int steps) {
  label3_->setText(title);
  // A stage left early (a summer state that takes the winter field as it is) still counts whole.
  wholeBefore_ += stageSteps_;
  if (startedMs_ < 0) startedMs_ = QDateTime::currentMSecsSinceEpoch();
  stageSteps_ = std::max(steps, 0);
  done_ = 0;
  pbar2_->setMaximum(steps > 0 ? steps : 1);
  pbar2_->setValue(0);
  pbar1_->setMaximum(steps > 0 ? steps : 1);
  pbar1_->setValue(0);
}

void Form2::onStep() {
  ++done_;
  if (done_ <= pbar2_->maximum()) pbar2_->setValue(done_);
  pbar1_->setValue(std::min(done_, pbar1_->maximum()));
  // Rows finish roughly in order from the south edge: name the row reached. Every row runs over the
  // whole width of the grid at once, so "X=" names that span.
  const int rows = yLimit_ / cStep_ + 1;
  label2_->setText(QStringLiteral("Y=%1").arg(-yLimit_ / 2 + ((done_ - 1) % rows) * cStep_));
  label1_->setText(QStringLiteral("X=%1…%2").arg(-xLimit_ / 2).arg(xLimit_ / 2));
  showWhole();
}

void Form2::finish() {
  finished_ = true;
  close();
}

void Form2::closeEvent(QCloseEvent* event) {
  // Closing the window by its title bar is the same as "Отмена".
  if (!finished_) emit cancelRequested();
  QDialog::closeEvent(event);
}

FrmInfoNote::FrmInfoNote(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmInfoNote"));
  setWindowTitle(QString::fromUtf8(texts::kProgramTitle));
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(QString::fromUtf8("Подождите немного, идет сохранение результатов . . ."), this);
  label->setObjectName(QStringLiteral("Label1"));
  layout->addWidget(label);
}

}  // namespace velaron::ui
