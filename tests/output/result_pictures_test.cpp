// The result pictures: band levels and legend texts per kind, where a known field lands in the picture,
// the route line, the legend's room.
#include <gtest/gtest.h>

#include <cmath>

#include "gui_app.h"
#include "output/pictures/result_pictures.h"

namespace velaron::output {
namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

TEST(PictureBands, LevelsPerKind) {
  struct Case {
    PictureKind kind;
    double max;
    std::vector<double> edges;
    bool openTop;
  };
  const Case cases[] = {
      // The zone levels, whatever the field.
      {PictureKind::Probability, 100, {1, 33, 50, 99.99}, true},
      // The compression-wave levels up to the first one at or above the maximum; 300 kPa open above.
      {PictureKind::Overpressure, 80, {3, 10, 20, 30, 50, 70, 100}, false},
      {PictureKind::Overpressure, 5000, {3, 10, 20, 30, 50, 70, 100, 300}, true},
      // 1-2-5 levels from the first at or above the maximum down to 1 kW/m² once there are five bands.
      {PictureKind::HeatFlux, 35, {1, 2, 5, 10, 20, 50}, false},
      {PictureKind::HeatFlux, 400, {1, 2, 5, 10, 20, 50, 100, 200, 500}, false},
      {PictureKind::HeatFlux, 10, {0.2, 0.5, 1, 2, 5, 10}, false},
      // Six decades below the first power of ten at or above the maximum.
      {PictureKind::Risk, 3.2e-6, {1e-11, 1e-10, 1e-9, 1e-8, 1e-7, 1e-6, 1e-5}, false},
  };
  for (const Case& c : cases) {
    const BandScale s = PictureBands(c.kind, c.max);
    ASSERT_EQ(s.edges.size(), c.edges.size()) << c.max;
    for (size_t i = 0; i < c.edges.size(); ++i) EXPECT_NEAR(s.edges[i], c.edges[i], c.edges[i] * 1e-12) << c.max;
    EXPECT_EQ(s.openTop, c.openTop) << c.max;
    EXPECT_GE(s.bands(), c.kind == PictureKind::HeatFlux ? 5 : 4);
    EXPECT_LE(s.bands(), 8);
  }
  // A value on a level belongs to the band above it; below the first level there is no band.
  const BandScale p = PictureBands(PictureKind::Probability, 100);
  EXPECT_EQ(p.bandOf(0.5), -1);
  EXPECT_EQ(p.bandOf(33), 1);
  EXPECT_EQ(p.bandOf(100), 3);
}

TEST(PictureBands, LegendTextsCarryTheUnitAndOneNumberFormat) {
  EXPECT_EQ(LegendTexts(PictureKind::Probability, PictureBands(PictureKind::Probability, 100)),
            (std::vector<QString>{U("≥ 99,99"), U("50 – 99,99"), U("33 – 50"), U("1 – 33"), U("< 1")}));
  const auto risk = LegendTexts(PictureKind::Risk, PictureBands(PictureKind::Risk, 3.2e-6));
  EXPECT_EQ(risk.front(), U("1,0E-06 – 1,0E-05"));
  EXPECT_EQ(risk.back(), U("< 1,0E-11"));
  EXPECT_EQ(LegendTexts(PictureKind::Overpressure, PictureBands(PictureKind::Overpressure, 5000)).front(), U("≥ 300"));
  EXPECT_EQ(LegendTexts(PictureKind::HeatFlux, PictureBands(PictureKind::HeatFlux, 10)).back(), U("< 0,2"));
  EXPECT_EQ(LegendTitle(PictureKind::HeatFlux), U("Тепловой поток, кВт/м²"));
  EXPECT_EQ(LegendTitle(PictureKind::Overpressure), U("Избыточное давление, кПа"));
  EXPECT_EQ(LegendTitle(PictureKind::Risk), U("Индивидуальный риск, 1/год"));
  // The overpressure grid holds Pa; the picture draws kPa.
  EXPECT_DOUBLE_EQ(PictureValue(PictureKind::Overpressure, 25000), 25);
}

bool Background(const QColor& c, const QColor& corner) { return c == corner; }

TEST(Pictures, HotCellsEastAndNorthLandRightAndUp) {
  test::EnsureGuiApp();
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
  test::EnsureGuiApp();
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

TEST(Pictures, LegendFitsBesideThePlotAtTheSmallestSize) {
  test::EnsureGuiApp();
  // A field with every band: a cone of 0 .. the maximum of each kind.
  struct Case {
    PictureKind kind;
    double peak;
  };
  for (const Case c : {Case{PictureKind::HeatFlux, 400}, Case{PictureKind::Overpressure, 900e3},
                       Case{PictureKind::Probability, 100}, Case{PictureKind::Risk, 3e-5}}) {
    models::Grid g(50, 50);
    for (int y = -50; y <= 50; ++y)
      for (int x = -50; x <= 50; ++x) g(x, y) = c.peak * std::pow(0.85, std::hypot(x, y));
    // The smallest cell of the window, and a narrow tall one (legend below).
    for (const QSize size : {QSize(360, 270), QSize(300, 420)})
      for (bool mesh : {false, true}) {
        PictureOptions o;
        o.kind = c.kind;
        o.view3D = mesh;
        o.width = size.width();
        o.height = size.height();
        const PictureLayout l = LayoutPicture(g, 10, o);
        const std::string what = std::to_string(static_cast<int>(c.kind)) + (mesh ? " 3-D " : " 2-D ") +
                                 std::to_string(size.width());
        EXPECT_TRUE(QRect(QPoint(0, 0), size).contains(l.legend)) << what;
        EXPECT_FALSE(l.legend.intersects(l.plot)) << what;
        EXPECT_GE(std::min(l.plot.width(), l.plot.height()), 150) << what;
      }
  }
}

}  // namespace
}  // namespace velaron::output
