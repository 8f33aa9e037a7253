// Picture of a distance chart (`graf1`, `graf2`): one line of values over the distance, drawn with
// QPainter from the chart's points, with round axis ticks in the decimal comma. The report documents put
// it in where the main window shows its chart.
#pragma once

#include <QImage>
#include <QString>
#include <utility>
#include <vector>

namespace velaron::output {

struct ChartPictureOptions {
  QString xTitle, yTitle;
  int width = 640;
  int height = 400;
};

// Round tick step (1, 2 or 5 × 10ⁿ) giving at most about `ticks` steps over `span`.
double ChartTickStep(double span, int ticks = 8);

// Draws the points (distance, value) as one line. No points: the axes alone.
QImage RenderDistanceChart(const std::vector<std::pair<double, double>>& points, const ChartPictureOptions& options);

}  // namespace velaron::output
