// Picture of a town's wind rose: the winter and summer repetition of the eight wind directions on a
// polar grid (calm is not drawn), drawn with QPainter. The one drawing of the rose: the reports take it at
// print size, the wind editor at the size of its picture box.
#pragma once

#include <QImage>
#include <QSize>
#include <QStringList>
#include <vector>

#include "db/table_rows.h"
#include "output/pictures/run_pictures.h"

namespace velaron::output {

// The eight compass directions as the rose and the wind-rose workbook label them, from north clockwise.
QStringList RoseDirectionLetters();

// Radii of the rings, in percent: a round step (1, 2 or 5 × 10ⁿ) giving at most five rings, from the
// first step up to the first ring above the largest repetition, so that no marker sits on the rim.
std::vector<double> RoseRings(double largest);
// A ring's label on the radial scale: its percent with the unit ("10 %").
QString RoseRingText(double ring);

// Draws the rose of `town`, titled with the town's name, at `size` (print size by default, like the other
// pictures of the documents); texts and lines grow with the size. Needs a GUI application for its fonts.
QImage DrawWindRose(const db::WindRow& town, QSize size = QSize(kPrintPictureWidth, kPrintPictureHeight));

}  // namespace velaron::output
