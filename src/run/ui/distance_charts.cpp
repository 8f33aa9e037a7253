#include "run/ui/distance_charts.h"

#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>

namespace velaron::ui {

QChart* BuildDistanceChart(const result::DistanceSeries& s) {
  auto* chart = new QChart;
  chart->legend()->hide();
  auto* line = new QLineSeries(chart);
  double xMax = 0, yMax = 0, xMin = 0;
  for (const auto& [x, y] : s.points) {
    line->append(x, y);
    xMax = std::max(xMax, x);
    xMin = std::min(xMin, x);
    yMax = std::max(yMax, y);
  }
  chart->addSeries(line);
  auto* ax = new QValueAxis(chart);
  ax->setTitleText(s.xTitle);
  ax->setRange(xMin, xMax > xMin ? xMax : xMin + 1);
  ax->setLabelFormat(QStringLiteral("%g"));
  auto* ay = new QValueAxis(chart);
  ay->setTitleText(s.yTitle);
  ay->setRange(0, yMax > 0 ? yMax * 1.05 : 1);
  ay->setLabelFormat(QStringLiteral("%g"));
  chart->addAxis(ax, Qt::AlignBottom);
  chart->addAxis(ay, Qt::AlignLeft);
  line->attachAxis(ax);
  line->attachAxis(ay);
  return chart;
}

}  // namespace velaron::ui
