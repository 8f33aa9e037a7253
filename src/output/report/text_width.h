// The width of a text set in Times New Roman, the reports' font, from the font's advance widths, so that
// a table's columns can be sized to what their cells hold without asking a window system for fonts.
#pragma once

#include <QStringView>

namespace velaron::report {

// Width in points of `text` at `size` points, upright and not bold. Characters outside Latin and
// Cyrillic count as wide as "Ш" (never narrower than they are).
double TextWidthPt(QStringView text, double size);

}  // namespace velaron::report
