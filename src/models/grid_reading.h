// Reading a result grid by its coordinates in metres, as the results tab offers it: the largest value over
// the calculation zone and the value at a point between the cells.
#pragma once

#include <optional>

#include "models/calc_state.h"

namespace velaron::models {

// Maximum of the result grid over the calculation zone: the value and its position in grid-index units
// (metres / CStep). Ties keep the first position met (lowest y, then lowest x).
struct GridMax {
  double value = 0;
  double x = 0, y = 0;
};
std::optional<GridMax> GridMaximum(const Grid& grid, int XLimit, int YLimit, int CStep);

// Value of the result grid at a point (metres) by inverse-distance weighting of its cell's four corners;
// nothing when the point is not strictly inside the calculation zone.
std::optional<double> GridValueAt(const Grid& grid, int XLimit, int YLimit, int CStep, double px, double py);

}  // namespace velaron::models
