// The pictures, looked at pixel by pixel: where a known field lands in a result picture, the frame and the
// route of a run's pictures, the axis titles, and where the two seasons' lines of the wind rose fall.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <cmath>

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

// A finished run's record on a grid of −10..10 cells of 10 m (a frame of ±100 m), its route at 30°.
result::RunSnapshot Record() {
  result::RunSnapshot r;
  r.ScenarioCode = 5;
  r.request.settings.XLimit = 200;
  r.request.settings.YLimit = 200;
  r.request.settings.CStep = 10;
  r.request.section.Azimut = 30;
  return r;
}

TEST(Pictures, HotCellsEastAndNorthLandRightAndUp) {
  models::Grid g(10, 10);
  g(8, 0) = 100;  // 80 m east
  g(0, 8) = 100;  // 80 m north
  PictureOptions o;
  o.drawRoute = false;
  const QImage img = RenderResultPicture(g, 10, o);
  const QRect plot = LayoutPicture(g, 10, o).plot;
  // Cell 8 of −10..10 lies at 0.9 of the plot's width from its left (west) and 0.1 of its height from
  // its top (north).
  auto at = [&](double fx, double fy) {
    return img.pixelColor(plot.left() + static_cast<int>(fx * plot.width()),
                          plot.top() + static_cast<int>(fy * plot.height()));
  };
  const QColor corner = at(0.02, 0.98);
  EXPECT_FALSE(Background(at(0.9, 0.5), corner));  // east: right
  EXPECT_FALSE(Background(at(0.5, 0.1), corner));  // north: up
  EXPECT_TRUE(Background(at(0.1, 0.5), corner));   // west
  EXPECT_TRUE(Background(at(0.5, 0.9), corner));   // south
  EXPECT_LT(at(0.9, 0.5).lightness(), 128);        // the top band is the darkest
  EXPECT_TRUE(RenderResultPicture(models::Grid(), 10, o).isNull());  // a grid the run did not fill
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
    EXPECT_GT(routePixels(azimuth), 25) << azimuth;     // a dashed line: most samples fall on a dash
    EXPECT_EQ(routePixels(azimuth + 90), 0) << azimuth;  // nothing across it
  }
}

// The probability grid keeps one margin cell beyond the run's grid; its pictures were framed ±110 m while
// the damaging factor and the risk of the same run read ±100 m. A cell on the frame's east edge must stand
// at the plot's right edge in every picture of the run, in the window's size and at print size alike.
TEST(Pictures, EveryPictureOfARunHasTheFrameOfTheRunsGrid) {
  result::RunSnapshot r = Record();
  r.GridProc = models::Grid(11, 11);  // the margin cells stay 0
  r.GridProc(10, 0) = 100;
  for (QSize size : {QSize(480, 360), QSize(1600, 1200)}) {
    PictureOptions o = RunPictureOptions(r, PictureKind::Probability, false);
    o.drawRoute = false;
    o.width = size.width();
    o.height = size.height();
    const QImage img = RenderResultPicture(r.GridProc, 10, o);
    const QRect plot = LayoutPicture(r.GridProc, 10, o).plot;
    const QColor background = img.pixelColor(plot.left() + 2, plot.top() + 2);
    EXPECT_FALSE(Background(img.pixelColor(plot.right() - 2, plot.center().y()), background)) << size.width();
    EXPECT_TRUE(Background(img.pixelColor(plot.right() - 2, plot.top() + 2), background)) << size.width();
  }
}

// On a raised surface the route, drawn on the floor, was hidden under the mesh but for two dots in the
// corners; it lies on the surface now, along its whole length.
TEST(Pictures, TheRouteRunsOverTheMeshOfTheThreeDimensionalView) {
  models::Grid g(20, 20);
  for (int y = -20; y <= 20; ++y)
    for (int x = -20; x <= 20; ++x) g(x, y) = 60;  // a plateau of 60 %
  PictureOptions o;
  o.kind = PictureKind::Probability;
  o.view3D = true;
  o.azimuth = 0;
  const QRect plot = LayoutPicture(g, 10, o).plot;
  const QImage img = RenderResultPicture(g, 10, o);
  // Rows of the plot crossed by the route's dashes, from the near edge to the far one.
  std::vector<int> rows;
  for (int y = plot.top(); y <= plot.bottom(); ++y)
    for (int x = plot.left(); x <= plot.right(); ++x)
      if (RouteBlue(img.pixelColor(x, y))) {
        rows.push_back(y);
        break;
      }
  ASSERT_FALSE(rows.empty());
  // Over the plateau from its near edge to its far one, the floor's depth, a dash on half the rows.
  const int span = rows.back() - rows.front();
  EXPECT_GT(span, plot.height() / 6);
  EXPECT_GT(static_cast<int>(rows.size()), span / 3);
}

// The title "y, м" stood on the top tick's label on small grids; a blank row now parts them, at every size.
TEST(Pictures, TheAxisTitleStandsClearOfTheTopTickLabel) {
  models::Grid g(10, 10);  // 100 m each way: the top label "100" sits on the plot's top edge
  for (QSize size : {QSize(360, 270), QSize(480, 360), QSize(300, 420), QSize(1600, 1200)}) {
    PictureOptions o;
    o.kind = PictureKind::Risk;
    o.width = size.width();
    o.height = size.height();
    const QImage img = RenderResultPicture(g, 10, o);
    const QRect plot = LayoutPicture(g, 10, o).plot;
    // The labels' column left of the ticks, from the plot's top edge upwards: the label's ink, then a
    // blank row, then the title's ink.
    auto inked = [&](int y) {
      for (int x = 0; x < plot.left() - 6; ++x)
        if (img.pixelColor(x, y).lightness() < 160) return true;
      return false;
    };
    int y = plot.top();
    while (y > 0 && inked(y)) --y;
    const int gap = y;
    while (y > 0 && !inked(y)) --y;
    EXPECT_LT(gap, plot.top()) << size.width();  // the top label's ink reaches the plot's edge
    EXPECT_GT(y, 0) << size.width();             // the title is there, above a blank row
  }
}

// The bands mean what an engineer reads off a map: the zone levels of the probability, the
// compression-wave levels of the overpressure, round heat-flux levels, decades of risk.
TEST(Pictures, BandsAndLegendTextsPerKind) {
  const struct {
    PictureKind kind;
    double max;
    std::vector<double> edges;
    bool openTop;
    const char *top, *bottom;
  } cases[] = {
      {PictureKind::Probability, 12, {1, 33, 50, 99.99}, true, "≥ 99,99", "< 1"},
      {PictureKind::Overpressure, 45, {3, 10, 20, 30, 50}, false, "30 – 50", "< 3"},
      {PictureKind::Overpressure, 350, {3, 10, 20, 30, 50, 70, 100, 300}, true, "≥ 300", "< 3"},
      // 37 kW/m²: the first round level above is 50, then down the 1-2-5 series to 1 kW/m² (5 bands).
      {PictureKind::HeatFlux, 37, {1, 2, 5, 10, 20, 50}, false, "20 – 50", "< 1"},
      // 460 kW/m² (a year-round flame): seven bands down to 2 kW/m² and the background, eight legend rows;
      // down to 1 kW/m² the legend had nine.
      {PictureKind::HeatFlux, 460, {2, 5, 10, 20, 50, 100, 200, 500}, false, "200 – 500", "< 2"},
      // 3·10⁻⁶ a year: the top decade ends at 10⁻⁵, six decades below it.
      {PictureKind::Risk, 3e-6, {1e-11, 1e-10, 1e-9, 1e-8, 1e-7, 1e-6, 1e-5}, false, "1,0E-06 – 1,0E-05",
       "< 1,0E-11"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.max);
    const BandScale scale = PictureBands(c.kind, c.max);
    ASSERT_EQ(scale.edges.size(), c.edges.size());
    for (size_t i = 0; i < c.edges.size(); ++i) EXPECT_NEAR(scale.edges[i], c.edges[i], c.edges[i] * 1e-12);
    EXPECT_EQ(scale.openTop, c.openTop);
    const std::vector<QString> legend = LegendTexts(c.kind, scale);
    EXPECT_EQ(legend.front(), QString::fromUtf8(c.top));
    EXPECT_EQ(legend.back(), QString::fromUtf8(c.bottom));
  }
}

// The legend and the north mark stay inside the smallest picture, clear of the plot and of each other (the
// north arrow touched the legend's title).
TEST(Pictures, TheLegendAndTheNorthMarkStayInsideTheSmallestPicture) {
  models::Grid g(50, 50);
  for (int y = -50; y <= 50; ++y)
    for (int x = -50; x <= 50; ++x) g(x, y) = 3e-6 * std::exp(-(x * x + y * y) / 400.0);
  for (bool mesh : {false, true})
    for (QSize size : {QSize(360, 270), QSize(300, 420)}) {
      SCOPED_TRACE(size.width());
      PictureOptions o;
      o.kind = mesh ? PictureKind::HeatFlux : PictureKind::Risk;
      o.view3D = mesh;
      o.width = size.width();
      o.height = size.height();
      const PictureLayout l = LayoutPicture(g, 10, o);
      const QRect picture(QPoint(0, 0), size);
      EXPECT_TRUE(picture.contains(l.legend));
      EXPECT_TRUE(picture.contains(l.north));
      EXPECT_FALSE(l.legend.intersects(l.plot));
      EXPECT_FALSE(l.north.intersects(l.plot));
      if (l.legendBelow) {
        // On the legend's first line, right of its title.
        QFont bold = PictureFont(l.fontPixels, true);
        EXPECT_GT(l.north.left(), l.legend.left() + QFontMetrics(bold).horizontalAdvance(LegendTitle(o.kind)));
      } else {
        EXPECT_FALSE(l.north.intersects(l.legend));
      }
    }
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
