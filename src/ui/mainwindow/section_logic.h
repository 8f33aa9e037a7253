// Plain rules of the main window that need no widget: section list texts, the compass geometry, the
// composed ground code and a new section's values.
#pragma once

#include <QString>
#include <array>

#include "db/rows.h"

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

}  // namespace velaron::ui
