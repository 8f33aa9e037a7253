// Checks of the calculation settings before they are stored or used: a grid whose cells all sit on grid
// points, positive escape speed, fractions within 0..1, no negative times and a grid of a size that
// fits in memory.
#pragma once

#include <QString>

#include "db/rows.h"

namespace velaron::db {

// Largest number of grid points accepted: a 1000 x 1000-cell field (1001 points a side).
inline constexpr long long kMaxGridPoints = 1001LL * 1001LL;
// Widths are 16-bit whole numbers in the settings row.
inline constexpr int kMaxGridWidth = 32767;

// Empty when the settings can be used; else the first rule they break, as a message for the user.
QString CheckSettings(const models::CalcSettings& row);

}  // namespace velaron::db
