// The town's wind in the year-round reports: the seasonal wind table among the input data, with its caption
// and the line of days above 0 °C, and the wind-rose figure after the result figures. Both take the town
// row that the run used (found by its key when the run started), never the town list as it stands now.
#pragma once

#include <QImage>
#include <optional>

#include "db/table_rows.h"
#include "output/report/document.h"

namespace velaron::report {

// Appends an empty line, the caption with the town's name, the 11 × 5 table of the winter and summer
// repetition and mean speed of the eight directions and calm, and the days line followed by an empty
// line. Without a town row the caption names no town and the value cells stay empty.
void WriteWindBlock(Document& doc, const std::optional<db::WindRow>& town);

// Appends the wind-rose figure: the picture (a null one leaves the caption alone) and its caption with
// the town's name and no grid step.
void WriteWindRoseFigure(Document& doc, const std::optional<db::WindRow>& town, const QImage& rose);

}  // namespace velaron::report
