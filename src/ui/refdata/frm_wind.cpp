#include "ui/refdata/frm_wind.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <utility>

#include "ui/widgets/messages.h"
#include "common/numtext.h"
#include "common/texts.h"
#include "db/data_folder.h"
#include "db/database.h"
#include "output/pictures/wind_rose_picture.h"
#include "ui/refdata/editor_wind_rose.h"

namespace velaron::ui {

// ---------------------------------------------------------------- WindBox

WindBox::WindBox(Kind kind, QWidget* parent) : QLineEdit(parent), kind_(kind) {}

bool WindBox::acceptsKey(const QString& keyText, int key) const {
  if (key == Qt::Key_Backspace) return true;
  if (keyText.size() != 1) return false;
  const QChar c = keyText.at(0);
  if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) return true;
  return kind_ == Kind::Speed && (c == QLatin1Char(',') || c == QLatin1Char('.'));
}

void WindBox::pointsToCommas() {
  if (kind_ == Kind::Speed && text().contains(QLatin1Char('.')))
    setText(QString::fromStdString(PointsToCommas(text().toStdString())));
}

void WindBox::focusOutEvent(QFocusEvent* event) {
  pointsToCommas();
  QLineEdit::focusOutEvent(event);
}

void WindBox::keyPressEvent(QKeyEvent* event) {
  // Keys without text (arrows, Delete, Tab) and shortcuts keep their meaning; a refused character is
  // dropped without a sound.
  const bool hasText = !event->text().isEmpty() && event->text().at(0).isPrint();
  if ((hasText || event->key() == Qt::Key_Backspace) &&
      !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && !acceptsKey(event->text(), event->key())) {
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

// ---------------------------------------------------------------- frmWind

namespace {

const char* kRoseCaption = "Построить розу ветров";
constexpr int kCityListMinWidth = 170;

}  // namespace

frmWind::frmWind(QWidget* mainWindow, QWidget* parent)
    : QWidget(parent, Qt::Window), mainWindow_(mainWindow), folder_(db::DataFolder()) {
  setObjectName("frmWind");
  setWindowTitle(QStringLiteral("Ветер"));
  auto* layout = new QHBoxLayout(this);

  // Town list.
  auto* listColumn = new QVBoxLayout;
  listColumn->addWidget(new QLabel(QStringLiteral("Список городов"), this));
  list_ = new QListWidget(this);
  list_->setObjectName("lstCity");
  // The list keeps its width when the rose picture opens beside the boxes and takes the room.
  list_->setMinimumWidth(kCityListMinWidth);
  listColumn->addWidget(list_, 1);
  layout->addLayout(listColumn);

  // The town's boxes.
  auto* dataColumn = new QVBoxLayout;
  auto* cityRow = new QHBoxLayout;
  cityRow->addWidget(new QLabel(QStringLiteral("Город:"), this));
  city_ = new QLineEdit(this);
  city_->setObjectName("txtCity");
  cityRow->addWidget(city_, 1);
  dataColumn->addLayout(cityRow);

  auto* table = new QGridLayout;
  table->addWidget(new QLabel(QStringLiteral("Направление ветра"), this), 0, 0, 2, 1);
  table->addWidget(new QLabel(QStringLiteral("Процент повторяемости"), this), 0, 1, 1, 2, Qt::AlignCenter);
  table->addWidget(new QLabel(QStringLiteral("Средняя скорость ветра, м/с"), this), 0, 3, 1, 2, Qt::AlignCenter);
  for (int c = 0; c < 4; ++c)
    table->addWidget(new QLabel(QString::fromUtf8(texts::kSeasonNames[static_cast<size_t>(c % 2)]), this), 1, c + 1,
                     Qt::AlignCenter);
  // Field order of the table: CityName, N1..ST1, N2..ST2, V11..V19, V21..V29, Tmedium.
  std::vector<QLineEdit*> percent[2], speed[2];
  for (int i = 0; i < 9; ++i) {
    table->addWidget(new QLabel(QString::fromUtf8(kWindStateLabels[size_t(i)]), this), i + 2, 0);
    for (int season = 1; season <= 2; ++season) {
      auto* p = new WindBox(WindBox::Kind::Percent, this);
      p->setObjectName(PercentBoxName(season, i));
      table->addWidget(p, i + 2, season);
      percent[season - 1].push_back(p);
      auto* v = new WindBox(WindBox::Kind::Speed, this);
      v->setObjectName(SpeedBoxName(season, i));
      table->addWidget(v, i + 2, season + 2);
      speed[season - 1].push_back(v);
    }
  }
  dataColumn->addLayout(table);
  auto* daysRow = new QHBoxLayout;
  daysRow->addWidget(new QLabel(QStringLiteral("Количество дней в году со среднесуточной температурой >0"), this));
  days_ = new QLineEdit(this);
  days_->setObjectName("Text1");
  daysRow->addWidget(days_);
  dataColumn->addLayout(daysRow);

  boxes_.push_back(city_);
  for (auto* group : {&percent[0], &percent[1], &speed[0], &speed[1]})
    boxes_.insert(boxes_.end(), group->begin(), group->end());
  boxes_.push_back(days_);
  for (QLineEdit* box : boxes_) byName_[box->objectName()] = box;
  // Tab walks the table column by column as laid out (winter %, summer %, winter speed, summer speed),
  // the town's name first and the warm days last: the order of the fields.
  for (size_t i = 1; i < boxes_.size(); ++i) setTabOrder(boxes_[i - 1], boxes_[i]);

  auto* buttons = new QHBoxLayout;
  auto makeButton = [&](const char* name, const QString& text) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(name);
    buttons->addWidget(b);
    return b;
  };
  roseButton_ = makeButton("cmdRoseWind", QString::fromUtf8(kRoseCaption));
  roseButton_->setToolTip(QStringLiteral("Построение в Excel розы ветров"));
  auto* insert = makeButton("cmdInsert", QStringLiteral("Добавить город"));
  changeButton_ = makeButton("cmdChange", QStringLiteral("Изменить"));
  deleteButton_ = makeButton("cmdDelate", QStringLiteral("Удалить"));
  renovateButton_ = makeButton("cmdRenovate", QStringLiteral("Обновить"));
  auto* exit = makeButton("cmdExit", QStringLiteral("Выход"));
  dataColumn->addLayout(buttons);
  layout->addLayout(dataColumn);

  // The rose picture.
  image_ = new QLabel(this);
  image_->setObjectName("imgWind");
  image_->setFixedSize(kRosePictureSize);
  image_->setAlignment(Qt::AlignCenter);
  // The picture's room is kept while no rose is shown: the editor has one size and does not move when
  // the rose is drawn.
  QSizePolicy keepRoom = image_->sizePolicy();
  keepRoom.setRetainSizeWhenHidden(true);
  image_->setSizePolicy(keepRoom);
  image_->hide();
  layout->addWidget(image_);

  connect(list_, &QListWidget::currentRowChanged, this, [this] { lstCity_Click(); });
  // The list marks the town the boxes show and the buttons act on, whatever marked another: a click makes
  // its town current, has it read, and marks it only then, also when the read failed and the town shown
  // before was made current again.
  connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    const QModelIndex current = list_->currentIndex();
    const QModelIndexList marked = list_->selectionModel()->selectedIndexes();
    if (current.isValid() ? marked != QModelIndexList{current} : !marked.isEmpty())
      list_->selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
  });
  connect(city_, &QLineEdit::textChanged, this,
          [this](const QString& text) { renovateButton_->setEnabled(!text.isEmpty()); });
  connect(roseButton_, &QPushButton::clicked, this, &frmWind::cmdRoseWind_Click);
  connect(insert, &QPushButton::clicked, this, &frmWind::cmdInsert_Click);
  connect(changeButton_, &QPushButton::clicked, this, &frmWind::cmdChange_Click);
  connect(deleteButton_, &QPushButton::clicked, this, &frmWind::cmdDelate_Click);
  connect(renovateButton_, &QPushButton::clicked, this, &frmWind::cmdRenovate_Click);
  connect(exit, &QPushButton::clicked, this, &frmWind::cmdExit_Click);

  renovateButton_->setEnabled(false);
  WindDisabled();
}

QLineEdit* frmWind::Box(const QString& name) const {
  auto it = byName_.find(name);
  return it == byName_.end() ? nullptr : it->second;
}

void frmWind::WindEnabled() {
  for (QLineEdit* box : boxes_) box->setEnabled(true);
}

void frmWind::WindDisabled() {
  for (QLineEdit* box : boxes_) box->setEnabled(false);
}

void frmWind::CityNew() { ShowEntry(NewTownEntry()); }

int frmWind::selectedCity() const {
  const QListWidgetItem* item = list_->currentItem();
  return item && list_->currentRow() >= 0 ? item->data(Qt::UserRole).toInt() : 0;
}

void frmWind::ShowEntry(const WindEntry& e) {
  city_->setText(e.CityName);
  for (int i = 0; i < 9; ++i) {
    const size_t k = static_cast<size_t>(i);
    Box(PercentBoxName(1, i))->setText(e.winter[k]);
    Box(PercentBoxName(2, i))->setText(e.summer[k]);
    Box(SpeedBoxName(1, i))->setText(e.speedWinter[k]);
    Box(SpeedBoxName(2, i))->setText(e.speedSummer[k]);
  }
  days_->setText(e.Tmedium);
}

WindEntry frmWind::ReadEntry() const {
  WindEntry e;
  e.CityName = city_->text();
  for (int i = 0; i < 9; ++i) {
    const size_t k = static_cast<size_t>(i);
    e.winter[k] = Box(PercentBoxName(1, i))->text();
    e.summer[k] = Box(PercentBoxName(2, i))->text();
    e.speedWinter[k] = Box(SpeedBoxName(1, i))->text();
    e.speedSummer[k] = Box(SpeedBoxName(2, i))->text();
  }
  e.Tmedium = days_->text();
  return e;
}

QWidget* frmWind::messageParent() { return isVisible() || !mainWindow_ ? this : mainWindow_.data(); }

bool frmWind::Load() { return loadedForShow_ = Form_Load(); }

bool frmWind::Form_Load() {
  image_->hide();
  picture_ = QImage();
  setMode(Mode::View);
  const bool read = LoadTowns(0, 0);
  WindDisabled();
  return read;
}

bool frmWind::LoadTowns(int idCity, int row) {
  const auto towns = db::LoadWinds();
  if (!towns.ok()) {
    // The list keeps its towns, with none chosen: after a store or a delete the entry marked may no longer
    // be the town the boxes show, and a change must not be written to it.
    ShowCritical(messageParent(), towns.error);
    const QSignalBlocker block(list_);
    list_->setCurrentRow(-1);
    return false;
  }
  list_->blockSignals(true);
  list_->clear();
  for (const db::WindRow& town : towns.value) {
    // A town keyed 0 cannot be found by its key.
    if (town.idCity == 0) continue;
    auto* item = new QListWidgetItem(town.CityName, list_);
    item->setData(Qt::UserRole, town.idCity);
  }
  int select = -1;
  for (int i = 0; i < list_->count() && idCity != 0; ++i)
    if (list_->item(i)->data(Qt::UserRole).toInt() == idCity) select = i;
  if (select < 0 && list_->count() > 0) select = std::clamp(row, 0, list_->count() - 1);
  list_->setCurrentRow(select);
  list_->blockSignals(false);
  if (select >= 0) return lstCity_Click();
  // No town: empty boxes.
  ShowEntry(WindEntry{});
  return true;
}

void frmWind::setMode(Mode mode) {
  mode_ = mode;
  // A new town has no rose until it is stored: the button would draw the town still selected in the list
  // beside the new town's boxes. The rose on show steps aside meanwhile and comes back with the list's town.
  roseButton_->setEnabled(mode != Mode::New);
  if (mode == Mode::New) image_->hide();
  // Nor can a town be deleted or changed while a new one is typed: the town selected in the list is not the
  // one shown. A delete would take that town and the typed entry with it; a change would make the typed town
  // an edit of the selected one, and "Обновить" would write it over that town.
  deleteButton_->setEnabled(mode != Mode::New);
  changeButton_->setEnabled(mode != Mode::New);
}

bool frmWind::lstCity_Click() {
  // Picking a town ends an edit that was not stored.
  if (mode_ != Mode::View) {
    setMode(Mode::View);
    WindDisabled();
  }
  const int id = selectedCity();
  if (id == 0) return true;
  // The row of that key; when it has gone, the boxes stay as they are.
  const auto read = db::LoadWind(id);
  if (!read.ok()) {
    // The boxes keep the town they show, and the list marks it again: a change is never written to
    // another town than the one shown.
    ShowCritical(messageParent(), read.error);
    const QSignalBlocker block(list_);
    int shown = -1;
    for (int i = 0; i < list_->count(); ++i)
      if (shownCity_ != 0 && list_->item(i)->data(Qt::UserRole).toInt() == shownCity_) shown = i;
    list_->setCurrentRow(shown);
    return false;
  }
  if (const std::optional<db::WindRow>& town = read.value) {
    shownCity_ = town->idCity;
    ShowEntry(EntryFromRow(*town));
    // A rose drawn before follows the town chosen (also the town just stored), never showing another's.
    if (!picture_.isNull()) {
      picture_ = output::DrawWindRose(*town, kRosePictureSize);
      image_->setPixmap(QPixmap::fromImage(picture_));
      image_->show();
    }
  }
  return true;
}

void frmWind::cmdInsert_Click() {
  CityNew();
  WindEnabled();
  setMode(Mode::New);
  city_->setFocus();
}

void frmWind::cmdChange_Click() {
  if (selectedCity() == 0 || mode_ == Mode::New) return;
  WindEnabled();
  setMode(Mode::Change);
  city_->setFocus();
}

void frmWind::cmdRenovate_Click() {
  // The box being typed in may not have been left yet.
  for (QLineEdit* box : boxes_)
    if (auto* windBox = qobject_cast<WindBox*>(box)) windBox->pointsToCommas();
  const WindCheck check = CheckWindEntry(ReadEntry());
  if (!check.row) {
    WarnInput(this, check.message);
    if (QLineEdit* box = Box(check.box)) {
      // A stored town that fails a check (typed in before the checks existed) is opened for correction.
      if (!box->isEnabled()) {
        WindEnabled();
        if (mode_ == Mode::View) mode_ = Mode::Change;
      }
      box->setFocus();
      box->selectAll();
    }
    return;
  }
  db::WindRow row = *check.row;
  const bool isNew = mode_ == Mode::New || selectedCity() == 0;
  row.idCity = isNew ? 0 : selectedCity();
  // A name another town has already would make the two entries of the town lists indistinguishable.
  const auto towns = db::LoadWinds();
  if (!towns.ok()) {
    ShowCritical(this, towns.error);
    return;
  }
  for (const db::WindRow& other : towns.value) {
    if (other.idCity != row.idCity && other.CityName.trimmed().compare(row.CityName, Qt::CaseInsensitive) == 0) {
      WarnInput(this, QStringLiteral("Город с таким названием уже есть в базе данных!"));
      city_->setFocus();
      return;
    }
  }
  const QString error = isNew ? db::InsertWind(row) : db::UpdateWind(row);
  if (!error.isEmpty()) {
    ShowCritical(this, error);
    return;
  }
  setMode(Mode::View);
  WindDisabled();
  LoadTowns(row.idCity, list_->currentRow());
  emit dataChanged();
}

void frmWind::cmdDelate_Click() {
  const int id = selectedCity();
  if (id == 0 || mode_ == Mode::New) return;
  if (!AskYesNo(this, QString::fromUtf8(texts::kDeleteQuestionTitle), QString::fromUtf8(texts::kDeleteQuestion),
                QMessageBox::NoIcon))
    return;
  const int row = list_->currentRow();
  if (const QString error = db::DeleteWind(id); !error.isEmpty()) {
    // Nothing was deleted: the list and the boxes stay as they were, and the write's message is the only
    // one (a reread of the list would wait for the same file and say so again).
    ShowCritical(this, error);
    return;
  }
  setMode(Mode::View);
  WindDisabled();
  // The town that took the deleted one's place is shown.
  LoadTowns(0, row);
  emit dataChanged();
}

void frmWind::cmdRoseWind_Click() {
  if (mode_ == Mode::New) return;
  roseButton_->setEnabled(false);
  roseButton_->setText(QStringLiteral("Подождите..."));
  picture_ = BuildWindRose(this, selectedCity(), folder_);
  if (picture_.isNull()) image_->clear();
  else image_->setPixmap(QPixmap::fromImage(picture_));
  roseButton_->setEnabled(mode_ != Mode::New);
  roseButton_->setText(QString::fromUtf8(kRoseCaption));
  image_->setVisible(true);
}

void frmWind::cmdExit_Click() { close(); }

void frmWind::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous()) return;
  if (mainWindow_ && mainWindow_ != this) mainWindow_->hide();
  if (!std::exchange(loadedForShow_, false)) Form_Load();
}

void frmWind::closeEvent(QCloseEvent* event) {
  // "Выход" and the title bar alike: the main window comes back and reloads its town list.
  event->accept();
  if (mainWindow_ && mainWindow_ != this) mainWindow_->show();
  emit returned();
}

}  // namespace velaron::ui
