#include "ui/refdata/ref_editor.h"

#include <QAction>
#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "ui/widgets/messages.h"
#include "ui/widgets/numeric_box.h"
#include "common/numtext.h"
#include "common/qt_text.h"
#include "common/texts.h"

namespace velaron::ui {

namespace {
constexpr int kTwipsPerPixel = 15;
constexpr int kKeyRole = Qt::UserRole;
constexpr int kNameBoxMinWidth = 220;
}  // namespace

int RefEditor::ColumnWidth(int twips, int captionPixels) {
  // The header draws its text with a margin and a frame line on each side.
  constexpr int kHeaderPadding = 16;
  return std::max(twips / kTwipsPerPixel, captionPixels + kHeaderPadding);
}

RefEditor::RefEditor(QWidget* mainWindow, QWidget* parent) : QMainWindow(parent), mainWindow_(mainWindow) {
  setWindowFlag(Qt::Window, true);
}

void RefEditor::BuildWindow(const QString& caption, const std::vector<Column>& columns, const QString& entryTitle,
                            const QString& nameLabel, QWidget* entryBoxes, const QString& emptyText) {
  setWindowTitle(caption);
  auto* central = new QWidget(this);
  auto* layout = new QHBoxLayout(central);

  // List part.
  listPart_ = new QFrame(central);
  listPart_->setObjectName("Frame2");
  auto* listLayout = new QVBoxLayout(listPart_);
  auto* heading = new QLabel(caption, listPart_);
  heading->setObjectName("Label5");
  listLayout->addWidget(heading);
  grid_ = new QTableWidget(0, static_cast<int>(columns.size()), listPart_);
  grid_->setObjectName("Tabl_Program");
  grid_->verticalHeader()->hide();
  grid_->horizontalHeader()->setSectionsClickable(false);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  // A row is what "Изменение" and "Удалить" act on: a click marks the whole row.
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  QStringList captions;
  for (const Column& column : columns) captions << column.caption;
  grid_->setHorizontalHeaderLabels(captions);
  // The stored widths were measured for another system font; a column is never narrower than its caption.
  const QFontMetrics headerFont(grid_->horizontalHeader()->font());
  int width = 0;
  for (size_t c = 0; c < columns.size(); ++c) {
    const int w = ColumnWidth(columns[c].twips, headerFont.horizontalAdvance(columns[c].caption));
    grid_->setColumnWidth(static_cast<int>(c), w);
    width += w;
  }
  if (!columns.empty() && columns[0].left)
    grid_->horizontalHeaderItem(0)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  grid_->setMinimumWidth(width + 24);
  listLayout->addWidget(grid_, 1);
  if (!emptyText.isEmpty()) {
    emptyLabel_ = new QLabel(emptyText, listPart_);
    emptyLabel_->setObjectName("Label6");
    emptyLabel_->setAlignment(Qt::AlignCenter);
    emptyLabel_->hide();
    listLayout->addWidget(emptyLabel_, 1);
  }
  auto* buttons = new QHBoxLayout;
  newButton_ = new QPushButton(QStringLiteral("Новая"), listPart_);
  newButton_->setObjectName("Command3");
  changeButton_ = new QPushButton(QStringLiteral("Изменение"), listPart_);
  changeButton_->setObjectName("Command4");
  deleteButton_ = new QPushButton(QStringLiteral("Удалить"), listPart_);
  deleteButton_->setObjectName("Command5");
  buttons->addWidget(newButton_);
  buttons->addWidget(changeButton_);
  buttons->addWidget(deleteButton_);
  listLayout->addLayout(buttons);
  auto* note = new QLabel(QStringLiteral("* - смотри инструкцию"), listPart_);
  note->setObjectName("Label2");
  listLayout->addWidget(note);
  layout->addWidget(listPart_, 1);

  // Entry part.
  entryPart_ = new QGroupBox(entryTitle, central);
  entryPart_->setObjectName("Frame1");
  auto* entryLayout = new QVBoxLayout(entryPart_);
  auto* nameForm = new QFormLayout;
  nameBox_ = new QLineEdit(entryPart_);
  nameBox_->setObjectName("Name_Reg");
  // Room for a whole name: the long label beside it would otherwise squeeze the box to a few letters.
  nameBox_->setMinimumWidth(kNameBoxMinWidth);
  nameForm->addRow(nameLabel, nameBox_);
  entryLayout->addLayout(nameForm);
  if (entryBoxes) {
    entryBoxes->setParent(entryPart_);
    entryLayout->addWidget(entryBoxes);
  }
  auto* entryButtons = new QHBoxLayout;
  saveButton_ = new QPushButton(QStringLiteral("Ввод"), entryPart_);
  saveButton_->setObjectName("Command1");
  cancelButton_ = new QPushButton(QStringLiteral("Отмена"), entryPart_);
  cancelButton_->setObjectName("Command2");
  entryButtons->addWidget(saveButton_);
  entryButtons->addWidget(cancelButton_);
  entryLayout->addLayout(entryButtons);
  entryLayout->addStretch();
  // The entry part keeps its room while it is hidden: the window has one size in both states and never
  // grows on "Новая" or "Изменение".
  QSizePolicy entryPolicy = entryPart_->sizePolicy();
  entryPolicy.setRetainSizeWhenHidden(true);
  entryPart_->setSizePolicy(entryPolicy);
  layout->addWidget(entryPart_);
  setCentralWidget(central);

  returnAction_ = menuBar()->addAction(QStringLiteral("<<Назад"));
  returnAction_->setObjectName("mnuReturn");

  connect(newButton_, &QPushButton::clicked, this, &RefEditor::Command3_Click);
  connect(changeButton_, &QPushButton::clicked, this, &RefEditor::Command4_Click);
  connect(deleteButton_, &QPushButton::clicked, this, &RefEditor::Command5_Click);
  connect(saveButton_, &QPushButton::clicked, this, &RefEditor::Command1_Click);
  connect(cancelButton_, &QPushButton::clicked, this, &RefEditor::Command2_Click);
  connect(returnAction_, &QAction::triggered, this, &RefEditor::mnuReturn_Click);
  connect(nameBox_, &QLineEdit::textChanged, this,
          [this](const QString& text) { saveButton_->setEnabled(!text.isEmpty()); });
  // The buttons follow the marked row: a row is chosen exactly when it is shown marked.
  connect(grid_, &QTableWidget::itemSelectionChanged, this, [this] { UpdateRowButtons(); });
  connect(grid_, &QTableWidget::currentCellChanged, this, [this] { UpdateRowButtons(); });
  connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
    if (row < 0 || inEntryState()) return;
    grid_->setCurrentCell(row, column);
    Command4_Click();
  });

  entryPart_->hide();
  changeButton_->setEnabled(false);
  deleteButton_->setEnabled(false);
  saveButton_->setEnabled(false);
}

bool RefEditor::inEntryState() const { return entryPart_ && !entryPart_->isHidden(); }

bool RefEditor::FillGrid(const QString& select, bool onActivation) {
  const auto read = LoadRows();
  if (!read.ok()) {
    const bool told = onActivation && activationFillFailed_;
    // Set first: the message box itself takes the activation away and gives it back.
    if (onActivation) activationFillFailed_ = true;
    if (!told) ShowCritical(messageParent(), read.error);
    return false;
  }
  if (onActivation) activationFillFailed_ = false;
  const std::vector<Row>& rows = read.value;
  grid_->blockSignals(true);
  grid_->clearContents();
  grid_->setRowCount(static_cast<int>(rows.size()));
  int selectRow = -1;
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const Row& row = rows[static_cast<size_t>(r)];
    for (int c = 0; c < grid_->columnCount() && c < row.cells.size(); ++c) {
      auto* item = new QTableWidgetItem(row.cells[c]);
      item->setData(kKeyRole, row.key);
      item->setTextAlignment(c == 0 ? (Qt::AlignLeft | Qt::AlignVCenter) : (Qt::AlignRight | Qt::AlignVCenter));
      grid_->setItem(r, c, item);
    }
    if (!select.isEmpty() && selectRow < 0 && row.key == select) selectRow = r;
  }
  if (selectRow < 0 && SelectFirstAfterFill() && !rows.empty()) selectRow = 0;
  if (selectRow >= 0) {
    grid_->setCurrentCell(selectRow, 0);
  } else {
    grid_->setCurrentCell(-1, -1);
    grid_->clearSelection();
  }
  grid_->blockSignals(false);
  // An empty table hides the grid (and shows the note in its place, where there is one).
  grid_->setVisible(!rows.empty());
  if (emptyLabel_) emptyLabel_->setVisible(rows.empty());
  UpdateRowButtons();
  return true;
}

QString RefEditor::CurrentKey() const {
  // The current row counts only while it is marked: a row the grid merely keeps as current (after the
  // keyboard focus arrived, say) shows no mark and is not chosen.
  const int row = grid_->currentRow();
  if (row < 0) return {};
  const QTableWidgetItem* item = grid_->item(row, 0);
  return item && item->isSelected() ? item->data(kKeyRole).toString() : QString();
}

void RefEditor::UpdateRowButtons() {
  const bool dataRow = !CurrentKey().isEmpty();
  changeButton_->setEnabled(dataRow);
  deleteButton_->setEnabled(dataRow);
}

void RefEditor::EnterEntryState() {
  entryPart_->show();
  listPart_->setEnabled(false);
  returnAction_->setEnabled(false);
}

void RefEditor::EnterListState() {
  listPart_->setEnabled(true);
  returnAction_->setEnabled(true);
  entryPart_->hide();
}

void RefEditor::Command3_Click() {
  editKey_.clear();
  EnterEntryState();
  nameBox_->clear();
  ClearEntry();
  saveButton_->setEnabled(!nameBox_->text().isEmpty());
  nameBox_->setFocus();
}

void RefEditor::Command4_Click() {
  const QString key = CurrentKey();
  if (key.isEmpty()) return;
  const auto filled = FillEntry(key);
  if (!filled.ok()) {
    // Nothing is opened for change: the grid and the list state stay.
    ShowCritical(this, filled.error);
    return;
  }
  if (!filled.value) {
    // The row went away since the grid was filled: show the table as it is now.
    WarnInput(this, QStringLiteral("Запись «%1» не найдена в базе данных.").arg(key));
    FillGrid();
    return;
  }
  editKey_ = key;
  EnterEntryState();
  saveButton_->setEnabled(!nameBox_->text().isEmpty());
  nameBox_->setFocus();
}

void RefEditor::Command5_Click() {
  const QString key = CurrentKey();
  if (key.isEmpty()) return;
  if (!AskYesNo(this, QString::fromUtf8(texts::kDeleteQuestionTitle), QString::fromUtf8(texts::kDeleteQuestion),
                QMessageBox::NoIcon))
    return;
  const int row = grid_->currentRow();
  if (const QString error = Remove(key); !error.isEmpty()) {
    // Nothing was deleted: the grid stays, and the write's message is the only one.
    ShowCritical(this, error);
    return;
  }
  FillGrid();
  // The region editor keeps a row current after a deletion: the one that took the deleted row's place.
  if (SelectFirstAfterFill() && grid_->rowCount() > 0) grid_->setCurrentCell(std::min(row, grid_->rowCount() - 1), 0);
  emit dataChanged();
}

void RefEditor::Command1_Click() {
  if (!inEntryState()) return;
  if (!NumericBox::checkAll(entryPart_)) return;
  const QString name = nameBox_->text().trimmed();
  if (name.isEmpty()) {
    WarnInput(this, QString::fromUtf8(texts::kCheckInput));
    nameBox_->setFocus();
    return;
  }
  if (!CheckEntry()) return;
  const auto stored = LoadRows();
  if (!stored.ok()) {
    // Nothing is stored; the entry stays open with what was typed.
    ShowCritical(this, stored.error);
    return;
  }
  for (const Row& row : stored.value) {
    if (row.key == editKey_ && !editKey_.isEmpty()) continue;
    if (row.key.trimmed().compare(name, Qt::CaseInsensitive) == 0) {
      WarnInput(this, DuplicateText());
      nameBox_->setFocus();
      return;
    }
  }
  const QString error = Store(editKey_, name);
  if (!error.isEmpty()) {
    ShowCritical(this, error);
    return;
  }
  editKey_ = name;
  EnterListState();
  FillGrid(name);
  emit dataChanged();
}

void RefEditor::Command2_Click() { EnterListState(); }

void RefEditor::mnuReturn_Click() {
  if (inEntryState()) return;
  close();
}

QWidget* RefEditor::messageParent() { return isVisible() || !mainWindow_ ? this : mainWindow_.data(); }

bool RefEditor::Load() {
  // The editor starts in its list state.
  EnterListState();
  loadedForShow_ = FillGrid();
  // The editor opens with no row chosen: "Изменение" and "Удалить" wait for the user to pick one, and no
  // row looks picked meanwhile.
  grid_->setCurrentCell(-1, -1);
  grid_->clearSelection();
  UpdateRowButtons();
  return loadedForShow_;
}

void RefEditor::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (event->spontaneous()) return;
  // Opening the editor: the main window steps aside.
  if (mainWindow_ && mainWindow_ != this) mainWindow_->hide();
  if (!std::exchange(loadedForShow_, false)) Load();
}

void RefEditor::closeEvent(QCloseEvent* event) {
  // Closing by the title bar is "<<Назад", which the entry state does not offer: a record being typed is
  // saved or cancelled first.
  if (inEntryState()) {
    event->ignore();
    return;
  }
  event->accept();
  // The editor leaves the screen before the main window comes back: the main window rereads the lists
  // and tells a database it cannot read; the editor, still on screen, would be given the activation back
  // by that message and reread its own table, to say the same again.
  hide();
  if (mainWindow_ && mainWindow_ != this) mainWindow_->show();
  emit returned();
}

}  // namespace velaron::ui
