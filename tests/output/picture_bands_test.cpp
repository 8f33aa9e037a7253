// The bands of the result pictures and their legends, without drawing: which levels each kind of picture
// takes for a field's largest value, and what the legend says.
#include <gtest/gtest.h>

#include <vector>

#include "output/pictures/picture_bands.h"

namespace velaron::output {
namespace {

// The bands mean what an engineer reads off a map: the zone levels of the probability, the
// compression-wave levels of the overpressure, round heat-flux levels, decades of risk.
TEST(PictureBands, BandsAndLegendTextsPerKind) {
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
      {PictureKind::Risk, 3e-6, {1e-11, 1e-10, 1e-9, 1e-8, 1e-7, 1e-6, 1e-5}, false, "1,0E-06 – 1,0E-05", "< 1,0E-11"},
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

// The mesh's note says where a field above the top level is cut, in the legend's number format.
TEST(PictureBands, TheMeshNoteTellsWhereTheSurfaceIsCut) {
  models::Grid g(1, 1);
  g(0, 0) = 350000;  // 350 kPa: above the top level, 300 kPa
  const QString heights = QString::fromUtf8("Высота: уровни шкалы через равные промежутки.");
  EXPECT_EQ(MeshNote(g, PictureKind::Overpressure, GridBands(g, PictureKind::Overpressure)),
            heights + QString::fromUtf8(" Поверхность срезана на уровне 300."));
  g(0, 0) = 45000;  // 45 kPa: inside the top band, 30 – 50
  EXPECT_EQ(MeshNote(g, PictureKind::Overpressure, GridBands(g, PictureKind::Overpressure)), heights);
}

}  // namespace
}  // namespace velaron::output
