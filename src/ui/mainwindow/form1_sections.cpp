// The route sections of the main window: the list, showing a section, adding and deleting, the section
// boxes, the ground cascade and the crossings. Showing a section writes nothing; each edit of the user
// writes the shown section's row at once, by its number.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "ui/widgets/messages.h"
#include "ui/widgets/numeric_box.h"
#include "common/numtext.h"
#include "common/qt_text.h"
#include "common/texts.h"
#include "db/database.h"
#include "ui/mainwindow/form1.h"
#include "run/input_checks.h"
#include "ui/mainwindow/input_boxes.h"
#include "ui/mainwindow/section_logic.h"
#include "result/crossings.h"

namespace velaron::ui {

namespace {
QString U(const char* s) { return QString::fromUtf8(s); }
}  // namespace

int Form1::selectedSection() const {
  const QListWidgetItem* item = List1_->currentItem();
  return SectionNumberFromItem(item && item->isSelected() ? item->text() : QString());
}

void Form1::selectSection(int tpid) {
  const auto items = List1_->findItems(SectionItemText(tpid), Qt::MatchExactly);
  if (items.isEmpty()) return;
  List1_->setCurrentItem(items.first());  // shows the section when it was not the selected one
  if (!section_ || section_->TPID != tpid) showSection(tpid);
}

void Form1::fillSectionList(int selectRow) {
  const auto rows = db::LoadSections();
  {
    const QSignalBlocker block(List1_);
    List1_->clear();
    for (const auto& r : rows) List1_->addItem(SectionItemText(r.TPID));
  }
  NextSectionNo_ = rows.empty() ? 1 : rows.back().TPID + 1;
  if (rows.empty()) {
    section_.reset();
    return;
  }
  {
    const QSignalBlocker block(List1_);
    List1_->setCurrentRow(std::clamp(selectRow, 0, static_cast<int>(rows.size()) - 1));
  }
  List1_Click();
}

void Form1::List1_Click() {
  if (List1_->currentRow() < 0) return;
  // One section is always selected: a Ctrl+click that only takes the selection away puts it back, so the
  // boxes never show section 1 under a list that marks another one.
  if (QListWidgetItem* item = List1_->currentItem(); item && !item->isSelected()) {
    const QSignalBlocker block(List1_);
    item->setSelected(true);
  }
  showSection(selectedSection());
}

void Form1::showSection(int tpid) {
  section_ = db::LoadSection(tpid);
  if (!section_) {
    ShowCritical(this, U(texts::kWrongSection));
    return;
  }
  const db::SectionRow& s = *section_;
  // Only texts and ticks are set here: the write handlers react to the user's own edits alone.
  Text1_->setText(QString::number(s.TPID));
  Text11_->setText(NumberText(s.Length));
  Text9_->setText(NumberText(s.Udal));
  Text25_->setText(NumberText(s.Azimut));
  Picture1_->setAzimuth(s.Azimut);
  // The section's own crossing probabilities; one never typed for it shows the box's initial text.
  for (int i = 0; i < result::kCrossingCount; ++i) {
    crossingChecks_[i]->setChecked(result::CrossingFlag(s, i) == 1);
    const std::optional<double>& p = result::CrossingProbability(s, i);
    crossingBoxes_[i]->setText(p ? NumberText(*p) : U(result::kCrossings[size_t(i)].initialText));
  }
  showGround(s);
}

void Form1::showGround(const db::SectionRow& s) {
  fillGroundLevel(0, 0, s.G1);
  fillGroundLevel(1, s.G1, s.G2);
  fillGroundLevel(2, s.G2, s.G3);
  fillGroundLevel(3, s.G3, s.G4);
}

bool Form1::writeSection(const db::SectionRow& row) {
  if (const auto error = db::UpdateSection(row); !error.isEmpty()) {
    ShowCritical(this, error);
    return false;
  }
  section_ = row;
  return true;
}

void Form1::sectionBoxLeft(NumericBox* box, double db::SectionRow::*field) {
  // Reached only when the text is a number (the general leave check runs first).
  if (!section_) return;
  const auto v = ParseNumber(box->text().toStdString());
  if (!v || (*section_).*field == *v) return;
  db::SectionRow row = *section_;
  row.*field = *v;
  writeSection(row);
}

void Form1::azimuthEdited() {
  const auto v = ParseNumber(Text25_->text().toStdString());
  // An azimuth beyond one turn is neither drawn nor stored: leaving the box says so.
  if (!v || !run::CheckRange(*v, run::kAzimuthRange).isEmpty()) return;
  Picture1_->setAzimuth(*v);
  if (!section_ || section_->Azimut == *v) return;
  db::SectionRow row = *section_;
  row.Azimut = *v;
  writeSection(row);
}

void Form1::bAdd_Click() {
  const auto rows = db::LoadSections();
  db::SectionRow row = rows.empty() ? db::SectionRow{} : SectionAfter(rows.back());
  if (const auto error = db::AppendSection(row); !error.isEmpty()) {
    ShowCritical(this, error);
    return;
  }
  fillSectionList(static_cast<int>(rows.size()));
}

void Form1::bDelete_Click() {
  if (List1_->count() < 2) {
    ShowMessage(this, {QMessageBox::Information, U(texts::kProgramTitle),
                       U("Нельзя удалить информацию о последнем участке!"), QMessageBox::Ok});
    return;
  }
  if (!AskYesNo(this, U(texts::kProgramTitle), U("Удалить данные об участке?"), QMessageBox::Warning)) return;
  const int row = List1_->currentRow();
  if (const auto error = db::DeleteSectionRenumber(selectedSection()); !error.isEmpty()) {
    ShowCritical(this, error);
    return;
  }
  // The section now at the same place (or the new last one) is selected and shown.
  fillSectionList(row);
}

void Form1::Command6_Click() {
  double total = 0;
  for (const auto& r : db::LoadSections()) total += r.Length;
  Text7_->setText(NumberText(total));
}

namespace {
// Folds a frame away or back; the button's sign shows "-" while the frame is shown, "+" while folded.
void ToggleFold(QPushButton* button, QWidget* frame, bool& folded) {
  QString caption = button->text();
  if (folded) {
    frame->show();
    caption.replace('+', '-');
  } else {
    frame->hide();
    caption.replace('-', '+');
  }
  button->setText(caption);
  folded = !folded;
}
}  // namespace

void Form1::Command4_Click() { ToggleFold(Command4_, Frame8_, GroundFolded_); }

void Form1::Command5_Click() { ToggleFold(Command5_, Frame7_, CrossingsFolded_); }

// --- Crossings.

run::Crossings Form1::crossings() const {
  run::Crossings c;
  for (int i = 0; i < 4; ++i) {
    c.ticked[i] = crossingChecks_[i]->isChecked() ? 1 : 0;
    c.probability[i] = crossingBoxes_[i]->value().value_or(0);
  }
  return c;
}

void Form1::crossingToggled(int i) {
  const bool on = crossingChecks_[i]->isChecked();
  crossingChecks_[i]->setText(U(result::kCrossings[size_t(i)].caption) + (on ? U(result::kWithProbability) : QString()));
  crossingBoxes_[i]->setVisible(on);
}

db::SectionRow Form1::crossingRow() const {
  db::SectionRow row = *section_;
  for (int i = 0; i < result::kCrossingCount; ++i) {
    result::CrossingFlag(row, i) = crossingChecks_[i]->isChecked() ? 1 : 0;
    if (const auto v = crossingBoxes_[i]->value()) result::CrossingProbability(row, i) = *v;
  }
  row.p_v = run::StoredCrossingSum(crossings());
  return row;
}

void Form1::crossingClicked(int i) {
  if (!section_) return;
  // A tick the database did not take is taken back, so the window shows what is stored.
  if (!writeSection(crossingRow())) crossingChecks_[i]->setChecked(!crossingChecks_[i]->isChecked());
}

void Form1::crossingEdited(int i) {
  // While the box is being typed in it may not hold a number, or one above 1, for a moment: the section is
  // stored again as soon as it holds a probability.
  const auto v = crossingBoxes_[i]->value();
  if (!section_ || !v || !run::CheckRange(*v, run::kCrossingRange).isEmpty()) return;
  const db::SectionRow row = crossingRow();
  if (row.p_v != section_->p_v || result::CrossingProbability(row, i) != result::CrossingProbability(*section_, i))
    writeSection(row);
}

// --- External factors.

bool Form1::externalLeave(NumericBox& box) {
  QString t = QString::fromStdString(PointsToCommas(box.text().toStdString()));
  if (t.isEmpty()) t = "0";
  if (t != box.text()) box.setText(t);
  const auto v = ParseNumber(t.toStdString());
  if (!v) {
    WarnInput(this, U(texts::kCheckInput));
    return false;
  }
  if (*v < 0 || *v > 1) {
    ShowMessage(this, {QMessageBox::Warning, U(texts::kProgramTitle), U("Вероятность меняется от 0 до 1"),
                       QMessageBox::Ok});
    return false;
  }
  return true;
}

// --- Ground cascade.

void Form1::fillGroundLevel(int level, int parentGid, int selectGid) {
  QComboBox* combo = groundCombos_[level];
  auto& rows = groundRows_[level];
  rows.clear();
  if (level == 0 || parentGid != 0) rows = db::LoadGroundChildren(parentGid);
  const QSignalBlocker block(combo);
  combo->clear();
  int select = -1;
  for (size_t k = 0; k < rows.size(); ++k) {
    combo->addItem(rows[k].Ground, rows[k].GID);
    if (rows[k].GID == selectGid && selectGid != 0) select = static_cast<int>(k);
  }
  combo->setCurrentIndex(select);
}

QString Form1::composedGround() const {
  std::array<QString, 4> codes;
  for (int i = 0; i < 4; ++i) {
    const int k = groundCombos_[i]->currentIndex();
    if (k >= 0 && k < static_cast<int>(groundRows_[i].size())) codes[i] = groundRows_[i][k].GroundCode;
  }
  return ComposeGroundCode(codes);
}

void Form1::groundChosen(int level, int index) {
  if (!section_ || index < 0 || index >= static_cast<int>(groundRows_[level].size())) return;
  db::SectionRow row = *section_;
  int* g[4] = {&row.G1, &row.G2, &row.G3, &row.G4};
  *g[level] = groundRows_[level][index].GID;
  // Each level below gets the first child of the level above; a level without children clears the rest.
  for (int k = level + 1; k < 4; ++k) {
    fillGroundLevel(k, *g[k - 1], 0);
    if (groundRows_[k].empty()) {
      for (int j = k; j < 4; ++j) {
        *g[j] = 0;
        fillGroundLevel(j, 0, 0);
      }
      break;
    }
    *g[k] = groundRows_[k][0].GID;
    const QSignalBlocker block(groundCombos_[k]);
    groundCombos_[k]->setCurrentIndex(0);
  }
  row.Ground = composedGround();
  // Not stored: the lists show the stored ground again.
  if (!writeSection(row)) showGround(*section_);
}

}  // namespace velaron::ui
