// The wind rose drawn for the reports: its rings, and where the two seasons' lines fall on the picture.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QRect>

#include "output/pictures/wind_rose_picture.h"

using namespace velaron;
using velaron::output::DrawWindRose;
using velaron::output::RoseRings;

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

}  // namespace

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
