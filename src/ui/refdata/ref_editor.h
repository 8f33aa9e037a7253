// The list-and-entry editor shared by the region and gas editors: a grid of the table's rows with
// "Новая", "Изменение" and "Удалить", an entry part with "Ввод" and "Отмена", and the menu item "<<Назад"
// that shows the main window again. Rows are found by their name key, kept with each grid row, never by
// the text of the grid's current cell. A name already held by another row is refused.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <vector>

#include "db/database.h"

class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace velaron::ui {

// The list-and-entry editor window the region and gas editors are made of.
class RefEditor : public QMainWindow {
  Q_OBJECT
 public:
  // One grid column: caption, width in twips (15 to a screen pixel), left-aligned or not.
  struct Column {
    QString caption;
    int twips = 1200;
    bool left = false;
  };
  // One grid row: its name key and the cell texts, name first.
  struct Row {
    QString key;
    QStringList cells;
  };

  // `mainWindow` is hidden while the editor is open and shown again when it is left.
  explicit RefEditor(QWidget* mainWindow, QWidget* parent = nullptr);

  // The name of the record open for change, empty for a new record.
  const QString& editKey() const { return editKey_; }
  bool inEntryState() const;

  // Reads the table into the grid before the editor is opened: false when it cannot be read (its message,
  // standing over the main window, was shown), and then the editor is not opened. An editor shown without
  // it reads the table as it opens.
  bool Load();

  // Pixel width of a grid column: its stored width, widened to fit the caption (`captionPixels` wide).
  static int ColumnWidth(int twips, int captionPixels);

 signals:
  // A row was added, changed or deleted: the main window reloads its list, keeping the choice by name.
  void dataChanged();
  // The editor was left and the main window shown again.
  void returned();

 public slots:
  void Command3_Click();   // "Новая"
  void Command4_Click();   // "Изменение"
  void Command5_Click();   // "Удалить"
  void Command1_Click();   // "Ввод"
  void Command2_Click();   // "Отмена"
  void mnuReturn_Click();  // "<<Назад"

 protected:
  // Builds the window; called by the concrete editor's constructor after its entry boxes exist.
  // `entryBoxes` holds the entry part's boxes under the name box; `emptyText` is the label shown in place of
  // an empty grid (none when empty).
  void BuildWindow(const QString& caption, const std::vector<Column>& columns, const QString& entryTitle,
                   const QString& nameLabel, QWidget* entryBoxes, const QString& emptyText);

  // The table's rows in stored order, or why the table could not be read.
  virtual db::Read<std::vector<Row>> LoadRows() = 0;
  // Entry defaults for a new record.
  virtual void ClearEntry() = 0;
  // Fills the entry boxes from the stored row `key`: true when filled, false when the row is gone, or
  // why the table could not be read (the boxes then stay as they were).
  virtual db::Read<bool> FillEntry(const QString& key) = 0;
  // Checks of the entry beyond the number boxes (shows its own message, returns false to stay).
  virtual bool CheckEntry() { return true; }
  // Stores the entry: a new row when `editKey` is empty, otherwise the row `editKey`. Returns an error text.
  virtual QString Store(const QString& editKey, const QString& name) = 0;
  virtual QString Remove(const QString& key) = 0;
  // The message for a name that another row already has.
  virtual QString DuplicateText() const = 0;
  // Whether a fill of the grid makes the first data row the current one (the region editor) or leaves
  // no row current, so that "Изменение" and "Удалить" wait for a selection (the gas editor).
  virtual bool SelectFirstAfterFill() const { return true; }

  // Refills the grid from the table, then selects the row `select` (by key) when given. A table that cannot
  // be read is told, and the grid keeps what it showed: false. A refill on coming back to the window tells
  // a failure once, not on every return (the message box itself takes the window away and gives it back).
  bool FillGrid(const QString& select = QString(), bool onActivation = false);
  // The key of the grid's current data row, empty when no data row is current.
  QString CurrentKey() const;

  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

  QLineEdit* nameBox_ = nullptr;  // `Name_Reg`
  QTableWidget* grid_ = nullptr;  // `Tabl_Program`

 private:
  void EnterEntryState();
  void EnterListState();
  void UpdateRowButtons();
  // Where the editor's messages stand: over the main window until the editor is on screen.
  QWidget* messageParent();

  QPointer<QWidget> mainWindow_;
  QString editKey_;
  bool activationFillFailed_ = false;  // the last refill on coming back to the window could not read
  bool loadedForShow_ = false;         // Load() has read the table for the coming show
  QFrame* listPart_ = nullptr;         // `Frame2`
  QGroupBox* entryPart_ = nullptr;     // `Frame1`
  QLabel* emptyLabel_ = nullptr;       // `Label6`
  QPushButton* newButton_ = nullptr;
  QPushButton* changeButton_ = nullptr;
  QPushButton* deleteButton_ = nullptr;
  QPushButton* saveButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QAction* returnAction_ = nullptr;
};

}  // namespace velaron::ui
