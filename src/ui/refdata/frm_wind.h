// The town wind-data editor: the list of towns, the 38 boxes of the shown town, adding, changing,
// storing and deleting a town, and the town's wind rose (workbook and picture).
#pragma once

#include <QImage>
#include <QLineEdit>
#include <QPointer>
#include <QWidget>
#include <map>

#include "ui/refdata/wind_entry.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace velaron::ui {

// A wind-editor box: takes only the keys of its kind, refusing the others silently.
class WindBox : public QLineEdit {
  Q_OBJECT
 public:
  enum class Kind { Percent, Speed };  // digits; digits, the comma and the point (a comma on leaving)
  WindBox(Kind kind, QWidget* parent);
  bool acceptsKey(const QString& keyText, int key) const;
  // A speed typed with a point is read with the comma, as in every decimal box of the program: done on
  // leaving the box.
  void pointsToCommas();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  Kind kind_;
};

// The town wind-data editor ("Ветер").
class frmWind : public QWidget {
  Q_OBJECT
 public:
  // `mainWindow` is hidden while the editor is open and shown again on "Выход".
  explicit frmWind(QWidget* mainWindow, QWidget* parent = nullptr);

  // Reads the towns and the first town's data before the editor is opened: false when they cannot be read
  // (the message, standing over the main window, was shown), and then the editor is not opened. An editor
  // shown without it reads them as it opens.
  bool Load();

  // Where the wind-rose workbook goes; the user's data folder, beside the database, unless set.
  void setOutputFolder(const QString& folder) { folder_ = folder; }
  const QString& outputFolder() const { return folder_; }

  // The last wind rose drawn; null after a failed build.
  const QImage& rosePicture() const { return picture_; }
  // The key of the town selected in the list, 0 when none is.
  int selectedCity() const;
  // Whether the boxes are open for typing.
  bool editing() const { return mode_ != Mode::View; }

  // The boxes on and off, `txtCity` first and `Text1` last.
  void WindEnabled();
  void WindDisabled();
  // The boxes of a new town.
  void CityNew();

 signals:
  // A town was stored or deleted.
  void dataChanged();
  // The editor was left and the main window shown again: the main window reloads its town list.
  void returned();

 public slots:
  void cmdRoseWind_Click();
  void cmdInsert_Click();
  void cmdChange_Click();
  void cmdRenovate_Click();
  void cmdDelate_Click();
  void cmdExit_Click();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  enum class Mode { View, New, Change };

  // The editing mode, and with it whether the rose can be drawn (not for a new town not yet stored).
  void setMode(Mode mode);
  bool Form_Load();
  // Refills the town list and selects the town `idCity`, else the entry at `row` (clamped), else none. A
  // list that cannot be read is told and keeps its towns, none chosen: false; so is a town chosen that
  // cannot be read (told, see lstCity_Click).
  bool LoadTowns(int idCity, int row = 0);
  // Shows the town chosen in the list. One that cannot be read is told, and the list marks again the town
  // the boxes show: false.
  bool lstCity_Click();
  // Where the editor's messages stand: over the main window until the editor is on screen.
  QWidget* messageParent();
  void ShowEntry(const WindEntry& entry);
  WindEntry ReadEntry() const;
  QLineEdit* Box(const QString& name) const;

  QPointer<QWidget> mainWindow_;
  QString folder_;
  QImage picture_;
  Mode mode_ = Mode::View;
  int shownCity_ = 0;            // the key of the stored town last shown in the boxes
  bool loadedForShow_ = false;   // Load() has read the towns for the coming show
  QListWidget* list_ = nullptr;  // `lstCity`
  QLineEdit* city_ = nullptr;    // `txtCity`
  QLineEdit* days_ = nullptr;    // `Text1`
  QLabel* image_ = nullptr;      // `imgWind`
  QPushButton* roseButton_ = nullptr;
  QPushButton* changeButton_ = nullptr;
  QPushButton* deleteButton_ = nullptr;
  QPushButton* renovateButton_ = nullptr;
  std::vector<QLineEdit*> boxes_;  // the 38 boxes in field order
  std::map<QString, QLineEdit*> byName_;
};

}  // namespace velaron::ui
