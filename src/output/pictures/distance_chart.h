// The distance charts (`graf1`: the damaging factor, `graf2`: the probability of injury, both against the
// distance from the rupture point): their axis rules and a QPainter drawing of them for the documents and
// the headless driver. The window's interactive charts take their ranges and ticks from here too.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <utility>
#include <vector>

namespace velaron::output {

// Round tick positions for an axis from `low` to `high`: a step of 1, 2 or 5 × 10ⁿ giving at most
// `maxTicks` ticks, every multiple of it inside the range. Shared by the pictures and the distance charts.
double TickStep(double low, double high, int maxTicks);
std::vector<double> Ticks(double low, double high, int maxTicks);

// The distance charts (`graf1`, `graf2`): the value against the distance from the rupture point.
struct ChartSeries {
  QString xTitle, yTitle;
  std::vector<std::pair<double, double>> points;  // (distance m, value)
};
// The axes of a distance chart: x from 0 to a round distance at or beyond the last point (or to
// `xMaxShared` when it is larger, so that both charts of a run share one range); y from 0 to a round value
// above the peak, so the curve never touches the frame.
struct ChartAxes {
  double xMax = 1, xStep = 1, yMax = 1, yStep = 1;
};
ChartAxes DistanceChartAxes(const ChartSeries& series, double xMaxShared = 0);
// The chart drawn with QPainter (for the documents and the headless driver).
QImage RenderDistanceChart(const ChartSeries& series, QSize size, double xMaxShared = 0);

}  // namespace velaron::output
