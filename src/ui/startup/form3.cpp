#include "ui/startup/form3.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "ui/widgets/messages.h"
#include "ui/widgets/numeric_box.h"
#include "common/numtext.h"
#include "common/qt_text.h"
#include "common/texts.h"
#include "db/database.h"
#include "models/settings_rules.h"

namespace velaron::ui {

namespace {

// A grid value read from its box. The box's own check has already made sure it is a whole number; one
// beyond the 16-bit range is passed on as just over the largest width, so that the settings rules
// refuse it with their message instead of the number wrapping round.
int WholeValue(const NumericBox* box) {
  const double v = box->value().value_or(0);
  if (v > models::kMaxGridWidth) return models::kMaxGridWidth + 1;
  if (v < -models::kMaxGridWidth) return -models::kMaxGridWidth - 1;
  return static_cast<int>(v);
}

// Grid widths and the step are whole metres: a pasted fraction is refused like any other bad entry.
bool WholeCheck(NumericBox& box) {
  const double v = box.value().value_or(0.5);
  if (std::isfinite(v) && v == std::floor(v)) return true;
  WarnInput(&box, U(texts::kCheckInput));
  return false;
}

}  // namespace

Form3::Form3(ReportOptions& options, QWidget* parent) : QDialog(parent), options_(options) {
  setObjectName(QStringLiteral("Form3"));
  setWindowTitle(U("Настройки|Программа \"Веларон\""));
  setModal(true);

  auto* layout = new QVBoxLayout(this);
  struct Line {
    const char* label;
    NumericBox** box;
    const char* name;
    bool whole;
  };
  auto addFrame = [&](const char* name, const char* caption, std::initializer_list<Line> lines) {
    auto* frame = new QGroupBox(U(caption), this);
    frame->setObjectName(QString::fromLatin1(name));
    auto* grid = new QGridLayout(frame);
    int r = 0;
    for (const Line& line : lines) {
      auto* label = new QLabel(U(line.label), frame);
      label->setWordWrap(true);
      *line.box = addBox(line.name, line.whole);
      label->setBuddy(*line.box);
      grid->addWidget(label, r, 0);
      grid->addWidget(*line.box, r, 1);
      ++r;
    }
    grid->setColumnStretch(0, 1);
    layout->addWidget(frame);
    return frame;
  };
  addFrame("Frame1", "Параметры расчета",
           {{texts::kXLimitCaption, &Text1_, "Text1", true},
            {texts::kYLimitCaption, &Text2_, "Text2", true},
            {texts::kCStepCaption, &Text3_, "Text3", true},
            {texts::kSkorChelCaption, &Text6_, "Text6", false}});
  addFrame("Frame2", "Параметры огневого шара",
           {{texts::kTfbCaption, &txtTfb_, "txtTfb", false}, {texts::kDolaCaption, &txtDola_, "txtDola", false}});
  addFrame("Frame3", "Параметры облака ГПВС",
           {{texts::kToblCaption, &Text5_, "Text5", false}, {texts::kDolaOblCaption, &Text4_, "Text4", false}});

  auto* report = new QGroupBox(U("Параметры отчета"), this);
  report->setObjectName(QStringLiteral("Frame4"));
  auto* reportLayout = new QVBoxLayout(report);
  Check1_ = new QCheckBox(U("создавать дополнительные файлы результатов  в формате Micosoft Excel"), report);
  Check1_->setObjectName(QStringLiteral("Check1"));
  Check2_ = new QCheckBox(U("3D диаграммы"), report);
  Check2_->setObjectName(QStringLiteral("Check2"));
  reportLayout->addWidget(Check1_);
  reportLayout->addWidget(Check2_);
  layout->addWidget(report);

  auto* buttons = new QHBoxLayout;
  Command1_ = new QPushButton(QStringLiteral("OK"), this);
  Command1_->setObjectName(QStringLiteral("Command1"));
  Command1_->setDefault(true);
  Command1_->setAutoDefault(true);
  Command2_ = new QPushButton(U("Отмена"), this);
  Command2_->setObjectName(QStringLiteral("Command2"));
  // A click on a button must not take the focus first: that would run the box's leave check before the
  // button acts ("OK" checks every box itself, "Отмена" stores nothing and needs no check).
  Command1_->setFocusPolicy(Qt::TabFocus);
  Command2_->setFocusPolicy(Qt::TabFocus);
  buttons->addStretch();
  buttons->addWidget(Command1_);
  buttons->addWidget(Command2_);
  layout->addLayout(buttons);
  connect(Command1_, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(Command2_, &QPushButton::clicked, this, [this] { Command2_Click(); });

  const auto stored = db::LoadAdjustment();
  if (!stored.ok()) {
    // The message is all the user sees: the window is not opened (loaded() says so), and "OK" could not
    // store the defaults over settings it could not read.
    ShowCritical(this, stored.error);
    loaded_ = false;
    Command1_->setEnabled(false);
  } else if (stored.value) {
    row_ = *stored.value;
  } else {
    ShowCritical(this, U("Не удалось прочитать настройки расчета из базы данных."));
  }
  fillBoxes();
}

NumericBox* Form3::addBox(const char* name, bool whole) {
  auto* box = whole ? new NumericBox(this, NumericBox::Keys::Integer, NumericBox::Leave::Integer)
                    : new NumericBox(this, NumericBox::Keys::Decimal, NumericBox::Leave::Decimal);
  box->setObjectName(QString::fromLatin1(name));
  if (whole) box->setExtraCheck(WholeCheck);
  return box;
}

void Form3::fillBoxes() {
  Text1_->setText(QString::number(row_.XLimit));
  Text2_->setText(QString::number(row_.YLimit));
  Text3_->setText(QString::number(row_.CStep));
  txtTfb_->setText(NumberText(row_.Tfb));
  Text6_->setText(NumberText(row_.Skor_chel));
  txtDola_->setText(NumberText(row_.Dola));
  Text5_->setText(NumberText(row_.Tobl));
  Text4_->setText(NumberText(row_.Dola_obl));
  Check1_->setChecked(options_.OptExtraFiles);
  Check2_->setChecked(options_.Opt3D);
}

NumericBox* Form3::boxForRule(models::SettingsField field) const {
  using models::SettingsField;
  switch (field) {
    case SettingsField::CStep: return Text3_;
    case SettingsField::XLimit: return Text1_;
    case SettingsField::YLimit: return Text2_;
    case SettingsField::Skor_chel: return Text6_;
    case SettingsField::Tfb: return txtTfb_;
    case SettingsField::Dola: return txtDola_;
    case SettingsField::Tobl: return Text5_;
    case SettingsField::Dola_obl: return Text4_;
  }
  return nullptr;
}

bool Form3::Command1_Click() {
  if (!Command1_->isEnabled()) return false;  // the stored settings could not be read
  if (!NumericBox::checkAll(this)) return false;

  db::AdjustmentRow row = row_;
  row.XLimit = WholeValue(Text1_);
  row.YLimit = WholeValue(Text2_);
  row.CStep = WholeValue(Text3_);
  row.Skor_chel = Text6_->value().value_or(0);
  row.Tfb = txtTfb_->value().value_or(0);
  row.Dola = txtDola_->value().value_or(0);
  row.Tobl = Text5_->value().value_or(0);
  row.Dola_obl = Text4_->value().value_or(0);

  if (const auto fault = models::CheckSettings(row)) {
    WarnInput(this, QString::fromStdString(fault->message));
    if (NumericBox* box = boxForRule(fault->field)) box->setFocus(Qt::OtherFocusReason);
    return false;
  }
  if (const db::WriteError error = db::SaveSettings(row); !error.isEmpty()) {
    ShowCritical(this, error);
    return false;
  }
  row_ = row;
  options_.OptExtraFiles = Check1_->isChecked();
  options_.Opt3D = Check2_->isChecked();
  emit settingsStored(row_);
  accept();
  return true;
}

void Form3::Command2_Click() { reject(); }

}  // namespace velaron::ui
