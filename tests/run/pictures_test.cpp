// The result pictures drawn from the grids.
#include <gtest/gtest.h>

#include "output/pictures/result_pictures.h"

namespace velaron::output {
namespace {

TEST(Bands, RoundStepsUpToTheMaximum) {
  // 37/8 = 4.6 → step 5: edges 0, 5, … 40.
  const auto e = BandEdges(37);
  ASSERT_EQ(e.size(), 9u);
  EXPECT_EQ(e[1], 5);
  EXPECT_EQ(e.back(), 40);
  // 99.99/8 = 12.5 → 20; the risk picture halves the band: 10.
  EXPECT_EQ(BandEdges(99.99)[1], 20);
  EXPECT_EQ(BandEdges(99.99, 0.5)[1], 10);
  // Risk values: 3.2e-6/8 = 4e-7 → 5e-7.
  EXPECT_NEAR(BandEdges(3.2e-6)[1], 5e-7, 1e-20);
  // An empty field still has one band.
  EXPECT_EQ(BandEdges(0).size(), 2u);
}

TEST(Pictures, TopViewPutsEastRightAndNorthUp) {
  models::Grid g(10, 10);
  for (int y = -10; y <= 10; ++y)
    for (int x = 5; x <= 10; ++x) g(x, y) = 100;  // hot east strip
  PictureOptions o;
  o.title = QStringLiteral("t");
  const QImage img = RenderGridPicture(g, 10, 10, 10, o);
  ASSERT_EQ(img.size(), QSize(560, 440));
  // The plot starts at x = 50; sample well inside the west and the east parts, mid-height.
  const QColor west = img.pixelColor(80, 200), east = img.pixelColor(330, 200);
  EXPECT_GT(east.red(), west.red());
  EXPECT_LT(east.blue(), west.blue());
}

TEST(Pictures, MeshViewDrawsSomething) {
  models::Grid g(5, 5);
  g(0, 0) = 10;
  PictureOptions o;
  o.view3D = true;
  const QImage img = RenderGridPicture(g, 5, 5, 10, o);
  int colored = 0;
  for (int y = 0; y < img.height(); y += 4)
    for (int x = 0; x < img.width(); x += 4)
      if (img.pixelColor(x, y) != QColor(Qt::white)) ++colored;
  EXPECT_GT(colored, 500);
}

}  // namespace
}  // namespace velaron::output
