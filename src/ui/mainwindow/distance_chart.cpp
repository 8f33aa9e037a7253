#include "ui/mainwindow/distance_chart.h"

#include <QChart>
#include <QChartView>
#include <QGraphicsLayout>
#include <QLineSeries>
#include <QLocale>
#include <QValueAxis>
#include <cmath>

#include "output/pictures/chart_picture.h"
#include "result/run_snapshot.h"

namespace velaron::ui {

namespace {
constexpr double kChartTitlePoints = 8;
}  // namespace

void SetDistanceChart(QChartView* view, const std::vector<std::pair<double, double>>& points, const QString& xTitle,
                      const QString& yTitle, double xMaxShared) {
  auto* chart = new QChart;
  auto* series = new QLineSeries(chart);
  for (const auto& [x, y] : points) series->append(x, y);
  chart->addSeries(series);
  chart->legend()->hide();
  auto* ax = new QValueAxis(chart);
  auto* ay = new QValueAxis(chart);
  ax->setTitleText(xTitle);
  ay->setTitleText(yTitle);
  // The views are small: a plain title font and thin margins keep the long y title whole, and the tick
  // labels use the decimal comma like every other number in the program.
  for (QValueAxis* axis : {ax, ay}) {
    QFont font = axis->titleFont();
    font.setBold(false);
    font.setPointSizeF(kChartTitlePoints);
    axis->setTitleFont(font);
  }
  chart->setMargins(QMargins(2, 2, 2, 2));
  chart->layout()->setContentsMargins(0, 0, 0, 0);
  QLocale numbers(QLocale::Russian, QLocale::Russia);
  numbers.setNumberOptions(QLocale::OmitGroupSeparator);
  chart->setLocale(numbers);
  chart->setLocalizeNumbers(true);
  chart->addAxis(ax, Qt::AlignBottom);
  chart->addAxis(ay, Qt::AlignLeft);
  series->attachAxis(ax);
  series->attachAxis(ay);
  // The ranges and round ticks of the documents' charts: the distance from 0 to the last point, the values
  // from 0 with the peak below the frame, a probability's axis ending at 100 % at most.
  const double yLimit = yTitle == QString::fromUtf8(result::kPercentAxisTitle) ? 100 : 0;
  const output::ChartAxes a = output::DistanceChartAxes(points, xMaxShared, yLimit);
  ax->setRange(0, a.xMax);
  ay->setRange(0, a.yMax);
  ax->setTickType(QValueAxis::TicksDynamic);
  ax->setTickAnchor(0);
  ax->setTickInterval(a.xStep);
  ay->setTickType(QValueAxis::TicksDynamic);
  ay->setTickAnchor(0);
  ay->setTickInterval(a.yStep);
  // As many decimals as the tick step has: "20", "2,5", "0,2".
  auto format = [](double step) {
    int decimals = 0;
    while (decimals < 6 &&
           std::abs(step * std::pow(10.0, decimals) - std::round(step * std::pow(10.0, decimals))) > 1e-9)
      ++decimals;
    return QStringLiteral("%.%1f").arg(decimals);
  };
  ax->setLabelFormat(format(a.xStep));
  ay->setLabelFormat(format(a.yStep));
  QChart* old = view->chart();
  view->setChart(chart);
  delete old;
}

}  // namespace velaron::ui
