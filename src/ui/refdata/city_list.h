// The town list of the main window.
#pragma once

class QComboBox;

namespace velaron::ui {

// Fills `combo` with the towns of the wind table in name order, each entry carrying its `idCity` as item
// data, and selects the town `keepIdCity` when it is listed, else the first town (an empty table leaves an
// empty list).
void LoadCityList(QComboBox* combo, int keepIdCity = 0);

}  // namespace velaron::ui
