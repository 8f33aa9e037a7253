// Picture of a town's wind rose: the winter and summer repetition of the eight wind directions on a
// polar grid (calm is not drawn), drawn with QPainter so that the reports and the driver need no window.
#pragma once

#include <QImage>
#include <QSize>
#include <QStringList>
#include <vector>

#include "db/rows.h"

namespace velaron::output {

inline constexpr int kRoseWidth = 480;
inline constexpr int kRoseHeight = 400;

// The eight compass directions as the rose and the wind-rose workbook label them, from north clockwise.
QStringList RoseDirectionLetters();

// Radii of the rings: a round step (1, 2 or 5 × 10ⁿ) giving at most five rings, from the first step up to
// the first ring above the largest repetition, so that no marker sits on the rim.
std::vector<double> RoseRings(double largest);

// Draws the rose of `town`, titled with the town's name. Needs a GUI application for its fonts.
QImage DrawWindRose(const db::WindRow& town, QSize size = QSize(kRoseWidth, kRoseHeight));

}  // namespace velaron::output
