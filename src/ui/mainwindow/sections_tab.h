// The tab "Данные по участкам": the route sections, one row each in the section table. The list, adding
// and deleting, the shown section's boxes and compass, its ground in four levels and its crossings with
// their probabilities. Showing a section writes nothing; every edit of the user writes the shown section's
// row at once, by its number.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "db/database.h"
#include "db/rows.h"
#include "run/accident_rate.h"
#include "ui/mainwindow/input_tab.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;

namespace velaron::ui {

class CompassPicture;
class NumericBox;

class SectionsTab : public InputTab {
  Q_OBJECT
 public:
  explicit SectionsTab(QWidget* parent = nullptr);

  // Both frames unfolded, the tab unavailable until read.
  void firstActivation();
  // The list filled and the first section shown, once: nothing when read before. A read that fails is told,
  // and the tab stays empty and unavailable until a later call reads it: false then.
  bool readStored();

  // The number (TPID) of the selected section; 1 when none is selected.
  int selectedSection() const;
  // Selects and shows the section `tpid`; nothing when the list has no such section.
  void selectSection(int tpid);

 private:
  // The list and the shown section.
  // Fills the list and shows the section at `selectRow`; a list that cannot be read is told and kept: false.
  bool fillSectionList(int selectRow);
  // The user's change of the marked section: the box being typed in is left first, and a value it refuses
  // or could not store keeps the shown section, marked again.
  void List1_Click();
  // Shows the section the list marks.
  void showMarked();
  // The list marks the shown section again.
  void markShown();
  void showSection(int tpid);
  bool writeSection(const db::SectionRow& row);
  // A box left with a number: the section's row takes it. A value the database did not take is told, the box
  // shows the stored one again, and false keeps the focus there.
  bool sectionBoxLeft(NumericBox* box, double db::SectionRow::*field);
  bool azimuthEdited();
  void bAdd_Click();
  void bDelete_Click();
  void Command6_Click();

  // Crossings. A box's probability counts once it is one (a number from 0 to 1); until then the last
  // accepted one counts: the stored one, or the box's initial text when the section has none.
  std::optional<double> typedProbability(int index) const;
  double acceptedProbability(int index) const;
  run::Crossings crossings() const;
  // The shown section's row with its crossings as the tab shows them: the flags, the probabilities the
  // boxes hold when accepted and the capped sum of the ticked ones.
  db::SectionRow crossingRow() const;
  void crossingToggled(int index);
  void crossingClicked(int index);
  // A probability box was left with a probability: the section's row takes it when the user typed in it. A
  // value the database did not take is told, and the box shows the stored one again: false.
  bool crossingAccepted(int index);
  // The text of a probability box for the shown section's stored probability.
  QString storedProbabilityText(int index) const;

  // Ground cascade.
  // The entries of soil level `level` under `parentGid` (none below a level without a choice).
  static db::Read<std::vector<db::GroundTypeRow>> readGroundLevel(int level, int parentGid);
  // The four soil lists of `section`; the message of the first that cannot be read, else empty.
  static QString readGround(const db::SectionRow& section, std::array<std::vector<db::GroundTypeRow>, 4>& rows);
  // Shows `entries` in the list of soil level `level`, with the entry `selectGid` chosen (none for 0).
  void setGroundLevel(int level, std::vector<db::GroundTypeRow> entries, int selectGid);
  // The soil lists `rows` of `section` in the four lists, its stored soil chosen.
  void setGround(const db::SectionRow& section, std::array<std::vector<db::GroundTypeRow>, 4> rows);
  // The stored soil of `section` in the four lists; lists that cannot be read are told and kept.
  void showGround(const db::SectionRow& section);
  void groundChosen(int level, int index);
  QString composedGround() const;

  std::optional<db::SectionRow> section_;  // the shown section as stored
  bool listRead_ = false;
  int NextSectionNo_ = 1;
  bool GroundFolded_ = false, CrossingsFolded_ = false;
  std::array<std::vector<db::GroundTypeRow>, 4> groundRows_;

  QListWidget* List1_ = nullptr;
  QLineEdit *Text1_ = nullptr, *Text7_ = nullptr;
  NumericBox *Text11_ = nullptr, *Text9_ = nullptr, *Text25_ = nullptr;
  CompassPicture* Picture1_ = nullptr;
  std::array<QComboBox*, 4> groundCombos_{};    // DataCombo5, DataCombo2, DataCombo3, DataCombo4
  std::array<QCheckBox*, 4> crossingChecks_{};  // Check1, Check4, Check3, Check2 (dpp1..dpp4)
  std::array<NumericBox*, 4> crossingBoxes_{};  // P_avto, P_LEP, P_tr, P_kab
  std::array<bool, 4> crossingTyped_{};         // typed in since the section was shown or stored
};

}  // namespace velaron::ui
