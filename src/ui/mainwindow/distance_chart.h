// The distance charts of the results tab.
#pragma once

#include <QString>
#include <utility>
#include <vector>

class QChartView;

namespace velaron::ui {

// Draws one distance chart: a line through the points, with the two axis titles, on the axes of the
// documents' charts (x from 0 to at least `xMaxShared`).
void SetDistanceChart(QChartView* view, const std::vector<std::pair<double, double>>& points, const QString& xTitle,
                      const QString& yTitle, double xMaxShared = 0);

}  // namespace velaron::ui
