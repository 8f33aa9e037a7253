#include "run/ui/form2.h"

#include <QCloseEvent>
#include <algorithm>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/texts.h"

namespace velaron::ui {

void ProgressRelay::begin(const std::string& title, int steps) {
  emit begun(QString::fromStdString(title), steps);
}

void ProgressRelay::step() { emit stepped(); }

void ProgressRelay::saving() { emit savingStarted(); }

Form2::Form2(QWidget* parent, int cStep, int yLimit) : QDialog(parent), cStep_(cStep > 0 ? cStep : 1), yLimit_(yLimit) {
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
  inner->addWidget(label3_);
  inner->addWidget(label2_);
  inner->addWidget(pbar2_);
  inner->addWidget(label1_);
  inner->addWidget(pbar1_);
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

void Form2::onBegin(const QString& title, int steps) {
  label3_->setText(title);
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
  // Rows finish roughly in order from the south edge: name the row reached.
  label2_->setText(QStringLiteral("Y=%1").arg(-yLimit_ / 2 + (done_ - 1) * cStep_));
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
