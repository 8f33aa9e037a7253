#include "refdata/wind_rose_picture.h"

#include <QChart>
#include <QCoreApplication>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QPainter>
#include <QCategoryAxis>
#include <QLineSeries>
#include <QPolarChart>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "widgets/messages.h"
#include "common/texts.h"
#include "db/database.h"
#include "output/workbook/wind_rose.h"

namespace velaron::ui {

namespace {
constexpr double kStepDegrees = 45;
// The radial scale ends on the next multiple of this many percent above the largest repetition.
constexpr double kRadialStep = 5;
}  // namespace

QImage RenderWindRose(const db::WindRow& town, QSize size) {
  auto* chart = new QPolarChart;
  chart->setAnimationOptions(QChart::NoAnimation);
  chart->setTitle(town.CityName);
  chart->setBackgroundBrush(Qt::white);
  chart->setPlotAreaBackgroundBrush(Qt::white);
  chart->setPlotAreaBackgroundVisible(true);

  // Angles from north clockwise; the directions are labelled on their own angle.
  auto* angular = new QCategoryAxis;
  angular->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  angular->setRange(0, 360);
  const QStringList letters = output::WindDirectionLetters();
  for (int i = 1; i < 8; ++i) angular->append(letters[i], i * kStepDegrees);
  angular->append(letters[0], 360);
  chart->addAxis(angular, QPolarChart::PolarOrientationAngular);

  double top = 0;
  for (int i = 0; i < 8; ++i)
    top = std::max({top, town.winter[static_cast<size_t>(i)], town.summer[static_cast<size_t>(i)]});
  // One step of room above the largest value, so that its marker is not cut by the rim.
  top = (std::floor(top / kRadialStep) + 1) * kRadialStep;
  auto* radial = new QValueAxis;
  radial->setRange(0, top);
  radial->setLabelFormat("%g");
  radial->setTickCount(static_cast<int>(std::min(top / kRadialStep, 10.0)) + 1);
  chart->addAxis(radial, QPolarChart::PolarOrientationRadial);

  const struct {
    const char* name;
    const std::array<double, 9>* values;
    QColor color;
  } seasons[] = {{texts::kSeasonNames[0], &town.winter, QColor(0, 70, 180)},
                 {texts::kSeasonNames[1], &town.summer, QColor(200, 60, 0)}};
  for (const auto& season : seasons) {
    auto* series = new QLineSeries;
    series->setName(QString::fromUtf8(season.name));
    for (int i = 0; i < 8; ++i) series->append(i * kStepDegrees, (*season.values)[static_cast<size_t>(i)]);
    series->append(360, (*season.values)[0]);  // close the rose back to north
    series->setPointsVisible(true);
    QPen pen(season.color);
    pen.setWidth(2);
    series->setPen(pen);
    chart->addSeries(series);
    series->attachAxis(angular);
    series->attachAxis(radial);
  }
  chart->legend()->setAlignment(Qt::AlignBottom);

  // The chart is laid out in a scene of its own and painted straight into the picture, without a window.
  QGraphicsScene scene;
  scene.addItem(chart);  // the scene owns the chart
  const QRectF area(QPointF(0, 0), QSizeF(size));
  chart->setGeometry(area);
  // Layout requests are posted events: let them run before painting.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  chart->layout()->activate();
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  scene.render(&painter, area, area);
  painter.end();
  return image;
}

QImage BuildWindRose(QWidget* parent, int idCity, const QString& folder) {
  const std::optional<db::WindRow> town = idCity != 0 ? db::LoadWind(idCity) : std::nullopt;
  const output::WindRoseResult written =
      town ? output::SaveWindRose(*town, folder) : output::WindRoseResult{};
  if (!town || !written.ok) {
    ShowCritical(parent, QString::fromUtf8(texts::kWriteFailed));
    return {};
  }
  return RenderWindRose(*town);
}

}  // namespace velaron::ui
