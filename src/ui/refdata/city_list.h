// The town list of the main window.
#pragma once

#include <QString>

class QComboBox;

namespace velaron::ui {

// Fills `combo` with the towns of the wind table in name order, each entry carrying its `idCity` as item
// data, and selects the town `keepIdCity` when it is listed, else the first town (an empty table leaves an
// empty list). A table that cannot be read leaves the list as it was and gives the message (else empty).
QString LoadCityList(QComboBox* combo, int keepIdCity = 0);

}  // namespace velaron::ui
