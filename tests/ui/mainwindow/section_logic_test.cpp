// Rules of the main window that need no widget. Expected values are worked by hand.
#include <gtest/gtest.h>

#include <tuple>

#include "ui/mainwindow/section_logic.h"

using namespace velaron;
using namespace velaron::ui;

TEST(SectionItems, NumberIsEverythingAfterTheSignAndTheGroundCodeNeedsFourLevels) {
  EXPECT_EQ(SectionItemText(12), QString::fromUtf8("Участок №12"));
  for (int n : {5, 12, 120})  // 12 is not 2
    EXPECT_EQ(SectionNumberFromItem(QString::fromUtf8("Участок №%1").arg(n)), n);
  EXPECT_EQ(SectionNumberFromItem(QString()), 1);  // no item selected
  EXPECT_EQ(ComposeGroundCode({"2", "1", "1", "2"}), "2.1.1.2");
  EXPECT_EQ(ComposeGroundCode({"10", "2", "3", "11"}), "10.2.3.11");
  EXPECT_EQ(ComposeGroundCode({"3", "", "", ""}), "");
  EXPECT_EQ(ComposeGroundCode({"2", "1", "1", ""}), "");
}

TEST(Compass, CentreRadiusAndTheAzimuthClockwiseFromNorth) {
  // 301 x 291: 150,5 -> 150, 145,5 -> 146 (halves to even), R = min(100,33; 97) -> 97.
  const auto g = Compass(301, 291, 0);
  EXPECT_EQ(std::tuple(g.cx, g.cy, g.R), std::tuple(150, 146, 97));
  // 120 x 120: centre 60,60, R 40; y grows downwards; the second half points the other way; 450° is 90°.
  struct Case {
    double azimuth, x1, y1;
  };
  for (const Case& c : {Case{0, 60, 20}, Case{90, 100, 60}, Case{180, 60, 100}, Case{450, 100, 60}}) {
    const auto p = Compass(120, 120, c.azimuth);
    EXPECT_NEAR(p.x1, c.x1, 1e-9) << c.azimuth;
    EXPECT_NEAR(p.y1, c.y1, 1e-9) << c.azimuth;
    EXPECT_NEAR(p.x2, 120 - c.x1, 1e-9) << c.azimuth;
    EXPECT_NEAR(p.y2, 120 - c.y1, 1e-9) << c.azimuth;
  }
}
