// Plain rules of the main window that need no widget: section list texts, the compass geometry, the
// composed ground code, a new section's values, the zone-depth texts and the two grid tools.
#pragma once

#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "db/rows.h"
#include "models/calc_state.h"

namespace velaron::ui {

// "Участок №" followed by the section number (no blank between the sign and the number).
QString SectionItemText(int tpid);
// The section number of a list item: the digits after "№"; an empty text (no item selected) is section 1.
int SectionNumberFromItem(const QString& itemText);

// Compass picture of a route azimuth on a picture `width` x `height` (y grows downwards).
struct CompassGeometry {
  int cx = 0, cy = 0, R = 0;
  double x1 = 0, y1 = 0;  // end of the half pointing along the azimuth
  double x2 = 0, y2 = 0;  // end of the opposite half
};
CompassGeometry Compass(double width, double height, double azimuthDeg);

// The composed ground code: the four level codes joined by single points; empty while a level is missing.
QString ComposeGroundCode(const std::array<QString, 4>& levelCodes);

// The values of a section appended after `last`: it continues the route where the last section ends, with
// the same length, azimuth and ground, and no crossings.
db::SectionRow SectionAfter(const db::SectionRow& last);


// Maximum of the result grid over the calculation zone: the value and its position in grid-index units
// (metres / CStep). Ties keep the first position met (lowest y, then lowest x).
struct GridMax {
  double value = 0;
  double x = 0, y = 0;
};
std::optional<GridMax> GridMaximum(const models::Grid& grid, int XLimit, int YLimit, int CStep);

// Value of the result grid at a point (metres) by inverse-distance weighting of its cell's four corners;
// nothing when the point is not strictly inside the calculation zone.
std::optional<double> GridValueAt(const models::Grid& grid, int XLimit, int YLimit, int CStep, double px,
                                  double py);

}  // namespace velaron::ui
