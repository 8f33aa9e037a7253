// The pictures, looked at pixel by pixel: where a known field lands in a result picture, the route line,
// and where the two seasons' lines of the wind rose fall.
#include <gtest/gtest.h>

#include <cmath>

#include "output/pictures/result_pictures.h"
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

TEST(Pictures, TheLegendStaysInsideTheSmallestPicture) {
  models::Grid g(50, 50);
  for (int y = -50; y <= 50; ++y)
    for (int x = -50; x <= 50; ++x) g(x, y) = 3e-6 * std::exp(-(x * x + y * y) / 400.0);
  for (QSize size : {QSize(360, 270), QSize(300, 420)}) {
    PictureOptions o;
    o.kind = PictureKind::Risk;
    o.width = size.width();
    o.height = size.height();
    const PictureLayout l = LayoutPicture(g, 10, o);
    EXPECT_TRUE(QRect(QPoint(0, 0), size).contains(l.legend)) << size.width() << "x" << size.height();
    EXPECT_FALSE(l.legend.intersects(l.plot));
  }
}

TEST(WindRosePicture, WinterNorthPointsUpAndSummerEastPointsRightAtTheirScale) {
  db::WindRow t;
  t.CityName = QStringLiteral("Тест");
  t.winter = {20, 0, 0, 0, 0, 0, 0, 0, 50};  // calm is not drawn: it would set the scale to 50
  t.summer = {0, 0, 10, 0, 0, 0, 0, 0, 50};
  const QImage img = DrawWindRose(t, QSize(480, 400));
  ASSERT_EQ(img.size(), QSize(480, 400));
  // Leave out the legend at the bottom.
  const QRect rose(0, 0, 480, 360);
  const QRect winter = Box(img, rose, true), summer = Box(img, rose, false);
  ASSERT_FALSE(winter.isEmpty());
  ASSERT_FALSE(summer.isEmpty());
  // Winter: a line from the centre up to the north point; summer: from the centre right to the east point.
  EXPECT_LT(winter.width(), 14);
  EXPECT_LT(summer.height(), 14);
  EXPECT_NEAR(winter.center().x(), 240, 3);
  // Both lines start at the centre: the winter line's column and the summer line's row.
  const QPoint centre(winter.center().x(), summer.center().y());
  EXPECT_NEAR(summer.left(), centre.x(), 6);
  EXPECT_NEAR(winter.bottom(), centre.y(), 6);
  // 20 % north is twice as far from the centre as 10 % east (each end has a marker of about 4 px radius).
  const double north = centre.y() - winter.top() - 4, east = summer.right() - centre.x() - 4;
  EXPECT_NEAR(north / east, 2.0, 0.1);
  // With rings 5..25 the largest value, 20, stays inside the outer ring (25): the rose is not cut.
  EXPECT_GT(winter.top(), 30);
}

}  // namespace
}  // namespace velaron::output
