#include "ui/mainwindow/sections_tab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "common/numtext.h"
#include "common/qt_text.h"
#include "common/texts.h"
#include "db/database.h"
#include "result/crossings.h"
#include "run/input_checks.h"
#include "ui/mainwindow/input_boxes.h"
#include "ui/mainwindow/section_logic.h"
#include "ui/mainwindow/tab_parts.h"
#include "ui/widgets/messages.h"

namespace velaron::ui {

namespace {
// A button over a frame, both added to `column`: the button folds the frame away and back, its sign showing
// "-" while the frame is shown and "+" while it is folded. The fold leaves the box being typed in first: a
// text it refuses (now, or on the press that took the focus to the button) keeps the frame open with the box.
QGroupBox* AddFoldingFrame(QWidget* tab, QVBoxLayout* column, const char* caption, const char* buttonName,
                           const char* frameName, bool& folded) {
  auto* button = Named(new QPushButton(U(caption), tab), buttonName);
  auto* frame = Named(new QGroupBox(tab), frameName);
  column->addWidget(button);
  column->addWidget(frame);
  QObject::connect(button, &QPushButton::clicked, frame, [button, frame, &folded] {
    if (!folded && !NumericBox::leaveFocused(frame->window())) return;
    QString text = button->text();
    if (folded) {
      frame->show();
      text.replace('+', '-');
    } else {
      frame->hide();
      text.replace('-', '+');
    }
    button->setText(text);
    folded = !folded;
  });
  return frame;
}
}  // namespace

SectionsTab::SectionsTab(QWidget* parent) : InputTab(parent) {
  auto* row = new QHBoxLayout(this);

  auto* listColumn = new QVBoxLayout;
  List1_ = Named(new QListWidget(this), "List1");
  listColumn->addWidget(List1_);
  auto* bAdd = Named(new QPushButton(U("Добавить"), this), "bAdd");
  auto* bDelete = Named(new QPushButton(U("Удалить"), this), "bDelete");
  listColumn->addWidget(bAdd);
  listColumn->addWidget(bDelete);
  row->addLayout(listColumn, 1);
  connect(List1_, &QListWidget::itemSelectionChanged, this, &SectionsTab::List1_Click);
  connect(bAdd, &QPushButton::clicked, this, &SectionsTab::bAdd_Click);
  connect(bDelete, &QPushButton::clicked, this, &SectionsTab::bDelete_Click);

  auto* right = new QVBoxLayout;
  auto* Frame6 = Named(new QGroupBox(U("Общие данные"), this), "Frame6");
  auto* f6 = new QGridLayout(Frame6);
  auto* form = new QFormLayout;
  Text1_ = Named(new QLineEdit(Frame6), "Text1");
  Text1_->setReadOnly(true);
  form->addRow(U("Номер участка"), Text1_);
  Text11_ = NumberBox("Text11", "", NumericBox::Keys::Decimal, Frame6);
  AddRangeCheck(Text11_, run::kLengthRange, [this] { return sectionBoxLeft(Text11_, &db::SectionRow::Length); });
  form->addRow(U("Длина участка, м:"), Text11_);
  Text9_ = NumberBox("Text9", "", NumericBox::Keys::Decimal, Frame6);
  AddRangeCheck(Text9_, run::kDistanceRange, [this] { return sectionBoxLeft(Text9_, &db::SectionRow::Udal); });
  form->addRow(WrappedLabel("Удаление начала участка от точки начала  газопровода, м", Frame6), Text9_);
  Text25_ = Named(new FilteredBox(
                      Frame6, [](QChar c) { return c.isDigit(); }, false, NumericBox::Leave::Integer),
                  "Text25");
  AddRangeCheck(Text25_, run::kAzimuthRange, [this] { return azimuthEdited(); });
  connect(Text25_, &QLineEdit::textEdited, this, [this](const QString& t) {
    if (!t.isEmpty()) azimuthEdited();
  });
  form->addRow(U("Азимут трубопровода,°:"), Text25_);
  f6->addLayout(form, 0, 0);
  Picture1_ = Named(new CompassPicture(Frame6), "Picture1");
  // The compass stands beside the boxes and the total length, so the tab fits a 720-pixel screen.
  f6->addWidget(Picture1_, 0, 1, 2, 1);
  auto* Command6 = Named(new QPushButton(U("Общая протяженность введенных участков, м"), Frame6), "Command6");
  Text7_ = Named(new QLineEdit(Frame6), "Text7");
  Text7_->setReadOnly(true);
  auto* total = new QHBoxLayout;
  total->addWidget(Command6);
  total->addWidget(Text7_);
  f6->addLayout(total, 1, 0);
  connect(Command6, &QPushButton::clicked, this, &SectionsTab::Command6_Click);
  right->addWidget(Frame6);

  QGroupBox* Frame8 = AddFoldingFrame(this, right, "Характеристика грунтов                                        -",
                                      "Command4", "Frame8", GroundFolded_);
  auto* f8 = new QFormLayout(Frame8);
  f8->setVerticalSpacing(3);
  const char* groundNames[4] = {"DataCombo5", "DataCombo2", "DataCombo3", "DataCombo4"};
  const char* groundLabels[4] = {"Грунт:", "Группа грунтов:", "Тип грунта:", "Вид грунта:"};
  for (int i = 0; i < 4; ++i) {
    groundCombos_[i] = Named(new QComboBox(Frame8), groundNames[i]);
    f8->addRow(U(groundLabels[i]), groundCombos_[i]);
    connect(groundCombos_[i], &QComboBox::activated, this, [this, i](int index) { groundChosen(i, index); });
  }

  QGroupBox* Frame7 = AddFoldingFrame(this, right, "Особые условия залегания                                      -",
                                      "Command5", "Frame7", CrossingsFolded_);
  auto* f7 = new QGridLayout(Frame7);
  f7->setVerticalSpacing(2);
  // Rows top to bottom in the order of the section's flags: road, power line, other pipeline, cable line.
  for (int i = 0; i < result::kCrossingCount; ++i) {
    const result::CrossingFacts& c = result::kCrossings[size_t(i)];
    crossingChecks_[i] = Named(new QCheckBox(Frame7), c.check);
    crossingBoxes_[i] = NumberBox(c.box, c.initialText, NumericBox::Keys::Decimal, Frame7);
    // A probability is stored once it is accepted, on leaving its box (and before a run reads it): a text
    // on its way ("1" of "1,5") or a refused one never reaches the section's row.
    AddRangeCheck(crossingBoxes_[i], run::kCrossingRange, [this, i] { return crossingAccepted(i); });
    connect(crossingBoxes_[i], &QLineEdit::textEdited, this, [this, i] { crossingTyped_[size_t(i)] = true; });
    crossingBoxes_[i]->hide();
    f7->addWidget(crossingChecks_[i], i, 0);
    f7->addWidget(crossingBoxes_[i], i, 1);
    connect(crossingChecks_[i], &QCheckBox::toggled, this, [this, i] { crossingToggled(i); });
    connect(crossingChecks_[i], &QCheckBox::clicked, this, [this, i] { crossingClicked(i); });
    // The rows keep their height and the boxes one column whichever crossings are ticked: the caption
    // column is as wide as the longest caption with ", с вероятностью", and a hidden box keeps its room.
    crossingChecks_[i]->setText(U(c.caption) + U(result::kWithProbability));
    f7->setColumnMinimumWidth(0, std::max(f7->columnMinimumWidth(0), crossingChecks_[i]->sizeHint().width()));
    QSizePolicy keepRoom = crossingBoxes_[i]->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    crossingBoxes_[i]->setSizePolicy(keepRoom);
    crossingToggled(i);
  }
  right->addStretch();
  row->addLayout(right, 3);
}

void SectionsTab::firstActivation() {
  GroundFolded_ = CrossingsFolded_ = false;
  // Unavailable until the list and its first section are read: nothing is typed for a section not shown.
  setEnabled(false);
}

bool SectionsTab::readStored() {
  if (listRead_) return true;
  listRead_ = fillSectionList(0) && (section_ || List1_->count() == 0);
  setEnabled(listRead_);
  return listRead_;
}

int SectionsTab::selectedSection() const {
  const QListWidgetItem* item = List1_->currentItem();
  return SectionNumberFromItem(item && item->isSelected() ? item->text() : QString());
}

void SectionsTab::selectSection(int tpid) {
  const auto items = List1_->findItems(SectionItemText(tpid), Qt::MatchExactly);
  if (items.isEmpty()) return;
  List1_->setCurrentItem(items.first());  // shows the section when it was not the selected one
  if (!section_ || section_->TPID != tpid) showSection(tpid);
}

bool SectionsTab::fillSectionList(int selectRow) {
  const auto read = db::LoadSections();
  if (!read.ok()) {
    // The list stays as it was; a section that a write just renumbered or removed is no longer written to
    // by its old number.
    ShowCritical(this, read.error);
    return false;
  }
  const std::vector<db::SectionRow>& rows = read.value;
  {
    const QSignalBlocker block(List1_);
    List1_->clear();
    for (const auto& r : rows) List1_->addItem(SectionItemText(r.TPID));
  }
  NextSectionNo_ = rows.empty() ? 1 : rows.back().TPID + 1;
  if (rows.empty()) {
    section_.reset();
    return true;
  }
  {
    const QSignalBlocker block(List1_);
    List1_->setCurrentRow(std::clamp(selectRow, 0, static_cast<int>(rows.size()) - 1));
  }
  showMarked();
  return true;
}

void SectionsTab::List1_Click() {
  if (List1_->currentRow() < 0) return;
  // The click took the focus from the box being typed in, or is about to hide its value under another
  // section's: a value the box refused or could not store keeps the shown section, with the box and its focus.
  if (!NumericBox::leaveFocused(window())) {
    markShown();
    return;
  }
  showMarked();
}

void SectionsTab::showMarked() {
  if (List1_->currentRow() < 0) return;
  // One section is always selected: a Ctrl+click that only takes the selection away puts it back, so the
  // boxes never show section 1 under a list that marks another one.
  if (QListWidgetItem* item = List1_->currentItem(); item && !item->isSelected()) {
    const QSignalBlocker block(List1_);
    item->setSelected(true);
  }
  showSection(selectedSection());
}

void SectionsTab::markShown() {
  if (!section_) return;
  const QSignalBlocker block(List1_);
  const auto items = List1_->findItems(SectionItemText(section_->TPID), Qt::MatchExactly);
  if (!items.isEmpty()) List1_->setCurrentItem(items.first());
}

void SectionsTab::showSection(int tpid) {
  // The section and its soil lists are read before anything is shown: the tab never shows one section's
  // boxes beside another's soil.
  const auto read = db::LoadSection(tpid);
  std::array<std::vector<db::GroundTypeRow>, 4> ground;
  QString unread = read.error;
  if (unread.isEmpty() && read.value) unread = readGround(*read.value, ground);
  if (!unread.isEmpty()) {
    // The tab keeps the section it showed, and the list marks it again.
    ShowCritical(this, unread);
    markShown();
    return;
  }
  section_ = read.value;
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
  crossingTyped_ = {};
  for (int i = 0; i < result::kCrossingCount; ++i) {
    crossingChecks_[i]->setChecked(result::CrossingFlag(s, i) == 1);
    crossingBoxes_[i]->setText(storedProbabilityText(i));
  }
  setGround(s, std::move(ground));
}

bool SectionsTab::writeSection(const db::SectionRow& row) {
  if (const auto error = db::UpdateSection(row); !error.isEmpty()) {
    ShowCritical(this, error);
    return false;
  }
  section_ = row;
  return true;
}

bool SectionsTab::sectionBoxLeft(NumericBox* box, double db::SectionRow::*field) {
  // Reached only when the text is a number (the general leave check runs first).
  if (!section_) return true;
  const auto v = ParseNumber(box->text().toStdString());
  if (!v || (*section_).*field == *v) return true;
  db::SectionRow row = *section_;
  row.*field = *v;
  if (writeSection(row)) return true;
  // Not stored: the box shows what is, as the ticks and the soil lists do.
  box->setText(NumberText((*section_).*field));
  return false;
}

bool SectionsTab::azimuthEdited() {
  const auto v = ParseNumber(Text25_->text().toStdString());
  // Stored as typed, a full turn and more included; the compass draws it modulo 360°.
  if (!v || !run::CheckRange(*v, run::kAzimuthRange).isEmpty()) return true;
  Picture1_->setAzimuth(*v);
  if (!section_ || section_->Azimut == *v) return true;
  db::SectionRow row = *section_;
  row.Azimut = *v;
  if (writeSection(row)) return true;
  Text25_->setText(NumberText(section_->Azimut));
  Picture1_->setAzimuth(section_->Azimut);
  return false;
}

void SectionsTab::bAdd_Click() {
  const auto rows = db::LoadSections();
  if (!rows.ok()) {
    ShowCritical(this, rows.error);
    return;
  }
  db::SectionRow row = rows.value.empty() ? db::SectionRow{} : SectionAfter(rows.value.back());
  if (const auto error = db::AppendSection(row); !error.isEmpty()) {
    ShowCritical(this, error);
    return;
  }
  if (!fillSectionList(static_cast<int>(rows.value.size()))) section_.reset();
}

void SectionsTab::bDelete_Click() {
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
  if (!fillSectionList(row)) section_.reset();
}

void SectionsTab::Command6_Click() {
  const auto rows = db::LoadSections();
  if (!rows.ok()) {
    ShowCritical(this, rows.error);
    return;
  }
  double total = 0;
  for (const auto& r : rows.value) total += r.Length;
  Text7_->setText(NumberText(total));
}

// --- Crossings.

std::optional<double> SectionsTab::typedProbability(int i) const {
  const auto v = crossingBoxes_[i]->value();
  if (!v || !run::CheckRange(*v, run::kCrossingRange).isEmpty()) return std::nullopt;
  return v;
}

double SectionsTab::acceptedProbability(int i) const {
  if (const auto v = typedProbability(i)) return *v;
  if (section_)
    if (const auto& stored = result::CrossingProbability(*section_, i)) return *stored;
  return ParseNumber(result::kCrossings[size_t(i)].initialText).value_or(0);
}

run::Crossings SectionsTab::crossings() const {
  run::Crossings c;
  for (int i = 0; i < 4; ++i) {
    c.ticked[i] = crossingChecks_[i]->isChecked() ? 1 : 0;
    c.probability[i] = acceptedProbability(i);
  }
  return c;
}

void SectionsTab::crossingToggled(int i) {
  const bool on = crossingChecks_[i]->isChecked();
  crossingChecks_[i]->setText(U(result::kCrossings[size_t(i)].caption) +
                              (on ? U(result::kWithProbability) : QString()));
  crossingBoxes_[i]->setVisible(on);
}

db::SectionRow SectionsTab::crossingRow() const {
  db::SectionRow row = *section_;
  for (int i = 0; i < result::kCrossingCount; ++i) {
    result::CrossingFlag(row, i) = crossingChecks_[i]->isChecked() ? 1 : 0;
    if (const auto v = typedProbability(i)) result::CrossingProbability(row, i) = *v;
  }
  row.p_v = run::StoredCrossingSum(crossings());
  return row;
}

void SectionsTab::crossingClicked(int i) {
  if (!section_) return;
  // A tick the database did not take is taken back, so the tab shows what is stored.
  if (!writeSection(crossingRow())) crossingChecks_[i]->setChecked(!crossingChecks_[i]->isChecked());
}

QString SectionsTab::storedProbabilityText(int i) const {
  // A probability never typed for the section shows the box's initial text.
  const std::optional<double> p = section_ ? result::CrossingProbability(*section_, i) : std::nullopt;
  return p ? NumberText(*p) : U(result::kCrossings[size_t(i)].initialText);
}

bool SectionsTab::crossingAccepted(int i) {
  // Only the user's typing is stored: leaving a box as it was shown writes nothing.
  if (!section_ || !crossingTyped_[size_t(i)]) return true;
  const db::SectionRow row = crossingRow();
  bool changed = row.p_v != section_->p_v;
  for (int k = 0; k < result::kCrossingCount; ++k)
    changed = changed || result::CrossingProbability(row, k) != result::CrossingProbability(*section_, k);
  crossingTyped_[size_t(i)] = false;
  if (!changed || writeSection(row)) return true;
  // Not stored: the box shows the stored probability again.
  crossingBoxes_[i]->setText(storedProbabilityText(i));
  return false;
}

// --- Ground cascade.

db::Read<std::vector<db::GroundTypeRow>> SectionsTab::readGroundLevel(int level, int parentGid) {
  // A level below one without a choice has no entries.
  if (level > 0 && parentGid == 0) return {};
  return db::LoadGroundChildren(parentGid);
}

QString SectionsTab::readGround(const db::SectionRow& s, std::array<std::vector<db::GroundTypeRow>, 4>& rows) {
  const int parents[4] = {0, s.G1, s.G2, s.G3};
  for (int level = 0; level < 4; ++level) {
    auto read = readGroundLevel(level, parents[level]);
    if (!read.ok()) return read.error;
    rows[size_t(level)] = std::move(read.value);
  }
  return {};
}

void SectionsTab::setGroundLevel(int level, std::vector<db::GroundTypeRow> entries, int selectGid) {
  QComboBox* combo = groundCombos_[level];
  auto& rows = groundRows_[level];
  rows = std::move(entries);
  const QSignalBlocker block(combo);
  combo->clear();
  int select = -1;
  for (size_t k = 0; k < rows.size(); ++k) {
    combo->addItem(rows[k].Ground, rows[k].GID);
    if (rows[k].GID == selectGid && selectGid != 0) select = static_cast<int>(k);
  }
  combo->setCurrentIndex(select);
}

void SectionsTab::setGround(const db::SectionRow& s, std::array<std::vector<db::GroundTypeRow>, 4> rows) {
  const int ids[4] = {s.G1, s.G2, s.G3, s.G4};
  for (int level = 0; level < 4; ++level) setGroundLevel(level, std::move(rows[size_t(level)]), ids[level]);
}

void SectionsTab::showGround(const db::SectionRow& s) {
  std::array<std::vector<db::GroundTypeRow>, 4> rows;
  if (const QString unread = readGround(s, rows); !unread.isEmpty()) {
    ShowCritical(this, unread);
    return;
  }
  setGround(s, std::move(rows));
}

QString SectionsTab::composedGround() const {
  std::array<QString, 4> codes;
  for (int i = 0; i < 4; ++i) {
    const int k = groundCombos_[i]->currentIndex();
    if (k >= 0 && k < static_cast<int>(groundRows_[i].size())) codes[i] = groundRows_[i][k].GroundCode;
  }
  return ComposeGroundCode(codes);
}

void SectionsTab::groundChosen(int level, int index) {
  if (!section_ || index < 0 || index >= static_cast<int>(groundRows_[level].size())) return;
  db::SectionRow row = *section_;
  int* g[4] = {&row.G1, &row.G2, &row.G3, &row.G4};
  *g[level] = groundRows_[level][index].GID;
  // Each level below gets the first child of the level above; a level without children clears the rest.
  // Every list below is read before any is shown: a database that cannot be read leaves the stored soil.
  std::array<std::vector<db::GroundTypeRow>, 4> below;
  for (int k = level + 1; k < 4; ++k) {
    auto read = readGroundLevel(k, *g[k - 1]);
    if (!read.ok()) {
      ShowCritical(this, read.error);
      const QSignalBlocker block(groundCombos_[level]);
      const int* stored[4] = {&section_->G1, &section_->G2, &section_->G3, &section_->G4};
      int keep = -1;
      for (size_t e = 0; e < groundRows_[level].size(); ++e)
        if (groundRows_[level][e].GID == *stored[level] && *stored[level] != 0) keep = static_cast<int>(e);
      groundCombos_[level]->setCurrentIndex(keep);
      return;
    }
    below[size_t(k)] = std::move(read.value);
    *g[k] = below[size_t(k)].empty() ? 0 : below[size_t(k)][0].GID;
  }
  for (int k = level + 1; k < 4; ++k) setGroundLevel(k, std::move(below[size_t(k)]), *g[k]);
  row.Ground = composedGround();
  // Not stored: the lists show the stored ground again.
  if (!writeSection(row)) showGround(*section_);
}

}  // namespace velaron::ui
