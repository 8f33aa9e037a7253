// Picture of a distance chart (`graf1`, `graf2`): one line of values over the distance, drawn with
// QPainter from the chart's points, with round axis ticks in the decimal comma. The report documents put
// it in where the main window shows its chart; the main window's interactive charts take their ranges
// and ticks from the same rules.
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
  // Both charts of a run share one distance range: x runs to at least this distance.
  double xMaxShared = 0;
  // The largest value the values can take (100 for a probability in %): the y axis ends there at most.
  // 0: no such bound.
  double yLimit = 0;
};

// Round tick step for an axis from `low` to `high`: 1, 2 or 5 × 10ⁿ, giving at most `maxTicks` ticks.
// Shared by the pictures and the distance charts.
double TickStep(double low, double high, int maxTicks);
// Every multiple of `step` from `low` to `high`: the tick positions.
std::vector<double> TicksAt(double low, double high, double step);

// The axes of a distance chart: x from 0 to the farthest point (or to `xMaxShared` when it is larger), its
// round ticks at or before that end; y from 0 to a round value one step above the peak, so the curve never
// touches the frame, but not beyond `yLimit` when one is given (a probability's axis ends at 100 %).
struct ChartAxes {
  double xMax = 1, xStep = 1, yMax = 1, yStep = 1;
};
ChartAxes DistanceChartAxes(const std::vector<std::pair<double, double>>& points, double xMaxShared = 0,
                            double yLimit = 0);

// Draws the points (distance, value) as one line. No points: the axes alone.
QImage RenderDistanceChart(const std::vector<std::pair<double, double>>& points, const ChartPictureOptions& options);

}  // namespace velaron::output
