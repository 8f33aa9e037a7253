// The pictures, looked at pixel by pixel: where a known field lands in a result picture, the frame and the
// route of a run's pictures, the axis titles, and where the two seasons' lines of the wind rose fall. The
// bands and the legend's texts are checked without drawing (picture_bands_test.cpp).
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <cmath>

#include "output/pictures/chart_picture.h"
#include "output/pictures/result_pictures.h"
#include "output/pictures/run_pictures.h"
#include "output/pictures/wind_rose_picture.h"

namespace velaron::output {
namespace {

// Bounding box of the pixels of one colour family inside `area`.
QRect Box(const QImage& img, const QRect& area, bool blue) {
  QRect box;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor c = img.pixelColor(x, y);
      const bool hit = blue ? (c.blue() > 140 && c.red() < 80) : (c.red() > 140 && c.blue() < 80 && c.green() < 120);
      if (hit) box |= QRect(x, y, 1, 1);
    }
  return box;
}

bool Background(const QColor& c, const QColor& corner) { return c == corner; }

bool RouteBlue(const QColor& c) { return c.blue() > 120 && c.blue() > c.red() + 60; }

PictureOptions Options(PictureKind kind, QSize size, bool mesh = false) {
  PictureOptions o;
  o.kind = kind;
  o.view3D = mesh;
  o.width = size.width();
  o.height = size.height();
  return o;
}

// A finished run's record on a grid of −10..10 cells of 10 m (a frame of ±100 m), its route at 30°.
result::RunSnapshot Record() {
  result::RunSnapshot r;
  r.request.run.scenario = result::Scenario::SymmetricJet;
  r.request.settings.XLimit = 200;
  r.request.settings.YLimit = 200;
  r.request.settings.CStep = 10;
  r.request.section.Azimut = 30;
  return r;
}

TEST(Pictures, RouteRunsThroughTheRupturePointAlongTheAzimuth) {
  models::Grid g(20, 20);  // an empty field: only the route is drawn on the background
  for (double azimuth : {0.0, 30.0, 90.0, 135.0}) {
    PictureOptions o;
    o.azimuth = azimuth;
    const QImage img = RenderResultPicture(g, 10, o);
    const QRectF plot = LayoutPicture(g, 10, o).plot;
    auto routePixels = [&](double degrees) {
      const double a = degrees * M_PI / 180;
      int blue = 0;
      for (int k = 0; k < 30; ++k) {
        const double r = (0.15 + 0.7 * k / 30.0) * plot.width() / 2;
        for (int side : {1, -1}) {
          const QColor c = img.pixelColor(static_cast<int>(plot.center().x() + side * r * std::sin(a)),
                                          static_cast<int>(plot.center().y() - side * r * std::cos(a)));
          if (c.blue() > c.red() + 60) ++blue;
        }
      }
      return blue;
    };
    EXPECT_GT(routePixels(azimuth), 25) << azimuth;      // a dashed line: most samples fall on a dash
    EXPECT_EQ(routePixels(azimuth + 90), 0) << azimuth;  // nothing across it
  }
}

// East is right and north up. The probability grid keeps one margin cell beyond the run's grid; its
// pictures were framed ±110 m while the damaging factor and the risk of the same run read ±100 m. The
// cells on the frame's east and north edges must stand at the plot's right and top edges in every picture
// of the run, in the window's size and at print size alike.
TEST(Pictures, EveryPictureOfARunHasTheFrameOfTheRunsGridNorthUp) {
  result::RunSnapshot r = Record();
  r.GridProc = models::Grid(11, 11);  // the margin cells stay 0
  r.GridProc(10, 0) = 100;
  r.GridProc(0, 10) = 100;
  for (QSize size : {QSize(480, 360), QSize(1600, 1200)}) {
    PictureOptions o = RunPictureOptions(r, PictureKind::Probability, false);
    o.drawRoute = false;
    o.width = size.width();
    o.height = size.height();
    const QImage img = RenderResultPicture(r.GridProc, 10, o);
    const QRect p = LayoutPicture(r.GridProc, 10, o).plot;
    const QColor background = img.pixelColor(p.left() + 2, p.top() + 2);
    EXPECT_FALSE(Background(img.pixelColor(p.right() - 2, p.center().y()), background)) << size.width();
    EXPECT_FALSE(Background(img.pixelColor(p.center().x(), p.top() + 2), background)) << size.width();
    EXPECT_TRUE(Background(img.pixelColor(p.left() + 2, p.center().y()), background)) << size.width();
    EXPECT_TRUE(Background(img.pixelColor(p.center().x(), p.bottom() - 2), background)) << size.width();
  }
  EXPECT_TRUE(RenderResultPicture(models::Grid(), 10, PictureOptions{}).isNull());  // a grid the run did not fill
}

// On a raised surface the route, drawn on the floor, was hidden under the mesh but for two dots in the
// corners; it lies on the surface now, along its whole length.
TEST(Pictures, TheRouteRunsOverTheMeshOfTheThreeDimensionalView) {
  models::Grid g(20, 20);
  for (int y = -20; y <= 20; ++y)
    for (int x = -20; x <= 20; ++x) g(x, y) = 60;  // a plateau of 60 %
  const PictureOptions o = Options(PictureKind::Probability, QSize(640, 480), true);
  const QRect plot = LayoutPicture(g, 10, o).plot;
  const QImage img = RenderResultPicture(g, 10, o);
  // Rows of the plot crossed by the route's dashes, from the near edge to the far one.
  std::vector<int> rows;
  for (int y = plot.top(); y <= plot.bottom(); ++y)
    for (int x = plot.left(); x <= plot.right(); ++x)
      if (RouteBlue(img.pixelColor(x, y))) rows.push_back(y), x = plot.right();
  ASSERT_FALSE(rows.empty());
  // Over the plateau from its near edge to its far one, the floor's depth, a dash on half the rows.
  const int span = rows.back() - rows.front();
  EXPECT_GT(span, plot.height() / 6);
  EXPECT_GT(static_cast<int>(rows.size()), span / 3);
}

// Nothing of a picture stands on anything else, down to the smallest: the legend and the north mark stay
// inside it, clear of the plot and of each other (the north arrow touched the legend's title), and the
// title "y, м" clear of the top tick's label (it stood on it on small grids).
TEST(Pictures, NothingOfAPictureStandsOnAnother) {
  models::Grid g(10, 10);  // 100 m each way: the top label "100" sits on the plot's top edge
  for (int y = -10; y <= 10; ++y)
    for (int x = -10; x <= 10; ++x) g(x, y) = 3e-6 * std::exp(-(x * x + y * y) / 16.0);
  for (bool mesh : {false, true})
    for (QSize size : {QSize(360, 270), QSize(300, 420), QSize(1600, 1200)}) {
      SCOPED_TRACE(size.width());
      const PictureOptions o = Options(mesh ? PictureKind::HeatFlux : PictureKind::Risk, size, mesh);
      const PictureLayout l = LayoutPicture(g, 10, o);
      const QRect picture(QPoint(0, 0), size);
      EXPECT_TRUE(picture.contains(l.legend));
      EXPECT_TRUE(picture.contains(l.north));
      EXPECT_FALSE(l.legend.intersects(l.plot));
      EXPECT_FALSE(l.north.intersects(l.plot));
      // Above the legend, or on its first line right of its title.
      if (l.legendBelow)
        EXPECT_GT(
            l.north.left(),
            l.legend.left() + QFontMetrics(PictureFont(l.fontPixels, true)).horizontalAdvance(LegendTitle(o.kind)));
      else EXPECT_FALSE(l.north.intersects(l.legend));
      if (mesh) continue;
      // The labels' column left of the ticks, from the plot's top edge upwards: the top label's ink, then
      // a blank row, then the title's ink.
      const QImage img = RenderResultPicture(g, 10, o);
      auto inked = [&](int y) {
        for (int x = 0; x < l.plot.left() - 6; ++x)
          if (img.pixelColor(x, y).lightness() < 160) return true;
        return false;
      };
      int y = l.plot.top();
      while (y > 0 && inked(y)) --y;
      EXPECT_LT(y, l.plot.top());
      while (y > 0 && !inked(y)) --y;
      EXPECT_GT(y, 0);
    }
}

// A square grid is ticked at one step on both axes (x went by 500 m and y by 200 m), and a probability
// chart's axis ends at 100 % when the curve reaches it (it ran on to 120 %).
TEST(Pictures, ASquareGridHasOneTickStepAndAProbabilityAxisEndsAtAHundred) {
  for (QSize size : {QSize(1600, 1200), QSize(800, 600)}) {
    const PictureOptions o = Options(PictureKind::Risk, size);
    const PictureLayout l = LayoutPicture(models::Grid(50, 50), 10, o);  // ±500 m
    const QImage img = RenderResultPicture(models::Grid(50, 50), 10, o);
    // The tick marks: inked runs along the row under the plot and along the column left of it.
    int marks[2] = {0, 0};
    for (int i = 1; i < l.plot.width(); ++i)
      for (bool y : {false, true}) {
        auto ink = [&](int k) {
          return img.pixelColor(y ? QPoint(l.plot.left() - 2, l.plot.top() + k)
                                  : QPoint(l.plot.left() + k, l.plot.bottom() + 2))
                     .lightness() < 160;
        };
        marks[y] += i < (y ? l.plot.height() : l.plot.width()) && ink(i) && !ink(i - 1);
      }
    EXPECT_TRUE(marks[0] >= 3 && marks[0] == marks[1]) << marks[0] << " " << marks[1];
  }
  const std::vector<std::pair<double, double>> sure = {{0, 100}, {100, 100}, {200, 0}};
  EXPECT_EQ(DistanceChartAxes(sure, 0, 100).yMax, 100);
  EXPECT_GT(DistanceChartAxes(sure).yMax, 100);  // a heat flux of 100 keeps the curve below the frame
}

// The distance axis ends at the farthest point, or at the shared distance of both charts when farther (a
// 1000 m grid's diagonal ended at 800 m, its last eighth empty); its ticks are round, from 0, inside it.
TEST(DistanceChartAxes, TheDistanceAxisEndsAtTheLastPointWithRoundTicksInsideIt) {
  const double corner = 500 * std::sqrt(2.0);
  const struct {
    double last, shared, end;
  } cases[] = {{corner, 0, corner}, {707, 0, 707}, {500, 0, 500}, {141, 0, 141}, {500, corner, corner}, {30, 0, 30}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.last << " " << c.shared);
    const ChartAxes a = DistanceChartAxes({{0, 10}, {c.last / 3, 40}, {c.last, 1}}, c.shared);
    EXPECT_DOUBLE_EQ(a.xMax, c.end);
    const std::vector<double> ticks = TicksAt(0, a.xMax, a.xStep);
    ASSERT_GE(ticks.size(), 3u);
    EXPECT_TRUE(ticks.front() == 0 && ticks.back() <= c.end && ticks.back() + a.xStep > c.end) << a.xStep;
    const double mantissa = a.xStep / std::pow(10.0, std::floor(std::log10(a.xStep)));
    EXPECT_TRUE(mantissa == 1 || mantissa == 2 || mantissa == 5) << a.xStep;
  }
}

// In the documents' picture the curve runs to the frame's right edge, and a probability on the axis's end
// (99,99 % under 100 %) or on 0 is drawn whole inside the frame: the frame cut such a line to a sliver.
TEST(DistanceChartPicture, TheCurveReachesTheFramesEndAndALineOnTheFrameIsDrawnWhole) {
  const double corner = 500 * std::sqrt(2.0);
  ChartPictureOptions o;
  o.width = 1600, o.height = 1000, o.yLimit = 100;
  const int lineWidth = std::max(2, std::clamp(std::min(o.width / 45, o.height / 26), 10, 36) / 6);
  auto curve = [](const QColor& c) { return c.blue() > c.red() + 60; };
  auto frame = [&](const QColor& c) { return !curve(c) && c.lightness() < 160; };  // not the grid lines
  const QImage img = RenderDistanceChart({{0, 99.99}, {corner / 2, 99.99}, {corner / 2 + 50, 0}, {corner, 0}}, o);
  // Down the middle: the frame's edges are the first two runs of dark pixels (the axis title lies lower), and
  // inside them the flat 99,99 % line left of the middle and the 0 line right of it.
  const int x = img.width() / 2;
  auto dark = [&](int y) { return frame(img.pixelColor(x, y)); };
  int top = 0;
  while (top < img.height() && !dark(top)) ++top;
  int bottom = top;
  while (bottom < img.height() && dark(bottom)) ++bottom;
  while (bottom < img.height() && !dark(bottom)) ++bottom;
  ASSERT_LT(bottom, img.height());
  ASSERT_GT(bottom - top, img.height() / 2);
  std::vector<int> topRows, bottomRows;
  for (int y = top; y <= bottom; ++y) {
    if (curve(img.pixelColor(x - 200, y))) topRows.push_back(y);
    if (curve(img.pixelColor(x + 200, y))) bottomRows.push_back(y);
  }
  for (const auto* rows : {&topRows, &bottomRows}) {
    ASSERT_FALSE(rows->empty());
    EXPECT_GE(static_cast<int>(rows->size()), lineWidth) << "the line is cut: " << rows->size() << " rows";
    EXPECT_TRUE(rows->front() > top && rows->back() < bottom) << top << " " << rows->front() << "-" << rows->back();
  }
  EXPECT_LT(topRows.back(), img.height() / 4);  // the flat line is the top one
  // Along the zero line to the right: the curve runs up to the frame's right edge.
  const int y = bottomRows[bottomRows.size() / 2];
  int lastCurve = 0, rightEdge = 0;
  for (int i = x; i < img.width(); ++i) {
    if (curve(img.pixelColor(i, y))) lastCurve = i;
    if (frame(img.pixelColor(i, y - lineWidth - 2))) rightEdge = i;
  }
  ASSERT_GT(rightEdge, x);
  EXPECT_GE(lastCurve, rightEdge - 2) << "the curve ends " << rightEdge - lastCurve << " px before the frame";
}

TEST(WindRosePicture, WinterNorthPointsUpAndSummerEastPointsRightAtTheirScale) {
  db::WindRow t;
  t.CityName = QStringLiteral("Тест");
  t.winter = {20, 0, 0, 0, 0, 0, 0, 0, 50};  // calm is not drawn: it would set the scale to 50
  t.summer = {0, 0, 10, 0, 0, 0, 0, 0, 50};
  // Drawn at the documents' print size, like the other pictures (it was 480 × 400, blurred on the page).
  const QImage img = DrawWindRose(t);
  ASSERT_EQ(img.size(), QSize(1600, 1200));
  // Leave out the legend at the right.
  const QRect rose(0, 0, 1280, 1200);
  const QRect winter = Box(img, rose, true), summer = Box(img, rose, false);
  ASSERT_FALSE(winter.isEmpty());
  ASSERT_FALSE(summer.isEmpty());
  // Winter: a line from the centre up to the north point; summer: from the centre right to the east point.
  EXPECT_LT(winter.width(), 30);
  EXPECT_LT(summer.height(), 30);
  // Both lines start at the centre: the winter line's column and the summer line's row.
  const QPoint centre(winter.center().x(), summer.center().y());
  EXPECT_NEAR(summer.left(), centre.x(), 12);
  EXPECT_NEAR(winter.bottom(), centre.y(), 12);
  // 20 % north is twice as far from the centre as 10 % east (each end has a marker of about 8 px radius).
  const double north = centre.y() - winter.top() - 8, east = summer.right() - centre.x() - 8;
  EXPECT_NEAR(north / east, 2.0, 0.05);
  // Rings 5..25: the largest value, 20, stays inside the outer ring, which the scale labels with its unit.
  EXPECT_EQ(RoseRingText(RoseRings(20).back()), QStringLiteral("25 %"));
}

}  // namespace
}  // namespace velaron::output
