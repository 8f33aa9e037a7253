// The result pictures: band levels and legend texts per kind, where a known field lands in the picture,
// the route line, the legend's room.
#include <gtest/gtest.h>

#include <cmath>

#include "output/pictures/result_pictures.h"

namespace velaron::output {
namespace {

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

}  // namespace
}  // namespace velaron::output
