// The texts of the damage zones' radii, the same in the main window's zone boxes and in every table of
// the reports.
#pragma once

#include <QString>

#include "common/qt_text.h"
#include "common/texts.h"

namespace velaron::result {

// A zone radius: "уточнить" for −1 (the level was not found inside the grid), else the plain number with
// the decimal comma.
inline QString RadiusText(double r) { return r == -1 ? QString::fromUtf8(texts::kRefine) : NumberText(r); }

// Where the safe zone begins: beyond the radius of the weak-damage zone (">200"), or "уточнить" when that
// radius was not found.
inline QString SafeZoneText(double weakZoneRadius) {
  return weakZoneRadius == -1 ? RadiusText(-1) : QStringLiteral(">") + RadiusText(weakZoneRadius);
}

}  // namespace velaron::result
