#include <gtest/gtest.h>

#include <cmath>

#include "gui_app.h"
#include "output/pictures/chart_picture.h"

using namespace velaron::output;

TEST(ChartPicture, TickStepIsOneTwoOrFiveTimesAPowerOfTen) {
  struct Case {
    double span;
    int ticks;
    double step;
  };
  for (const Case& c : std::initializer_list<Case>{{1000, 8, 200},  // 125 → 200
                                                   {500, 8, 100},   // 62.5 → 100
                                                   {17, 6, 5},      // 2.83 → 5
                                                   {0.9, 8, 0.2},   // 0.1125 → 0.2
                                                   {80, 8, 10},     // exactly 10
                                                   {0, 8, 1}, {-5, 8, 1}})
    EXPECT_NEAR(ChartTickStep(c.span, c.ticks), c.step, 1e-12) << c.span;
}

TEST(ChartPicture, DrawsTheLineInsideThePlotAndCopesWithNoPoints) {
  velaron::test::EnsureGuiApp();
  ChartPictureOptions o;
  o.xTitle = QStringLiteral("Расстояние от газопровода, м");
  o.yTitle = QStringLiteral("Вероятность поражения, %");
  const QImage empty = RenderDistanceChart({}, o);
  EXPECT_EQ(empty.size(), QSize(o.width, o.height));
  // A falling line: the line colour appears, and more of it in the left half than in the right.
  const QImage img = RenderDistanceChart({{0, 100}, {100, 50}, {200, 0}, {400, 0}}, o);
  int left = 0, right = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const QColor c = img.pixelColor(x, y);
      if (c.blue() > 120 && c.red() < 90) (x < img.width() / 2 ? left : right)++;
    }
  EXPECT_GT(left, 50);
  EXPECT_GT(right, 50);  // the flat part along the bottom
  EXPECT_FALSE(RenderDistanceChart({{0, std::nan("")}, {10, 1}}, o).isNull());
}

TEST(ChartPicture, RoundAxesFromZeroWithThePeakBelowTheFrame) {
  struct Case {
    std::vector<std::pair<double, double>> points;
    double shared;
    ChartAxes expected;
  };
  const Case cases[] = {
      // Percent up to 99.99 over 500 m: 100 would touch the frame.
      {{{0, 99.99}, {250, 10}, {500, 0}}, 0, {500, 100, 120, 20}},
      // The overpressure chart starts at the 300-kPa radius (25 m) and is drawn from 0 like its neighbour;
      // 238 kPa stays below 250.
      {{{25, 238}, {30, 100}, {300, 3}}, 500, {500, 100, 250, 50}},
      // A flat zero curve still has a frame.
      {{{0, 0}, {10, 0}}, 0, {10, 2, 1, 1}},
      // The 300-kPa point: one step of 50 above it, not a frame at 400.
      {{{25, 300}, {30, 110}, {500, 2}}, 0, {500, 100, 350, 50}},
  };
  for (const Case& c : cases) {
    const ChartAxes a = DistanceChartAxes(c.points, c.shared);
    EXPECT_DOUBLE_EQ(a.xMax, c.expected.xMax);
    EXPECT_DOUBLE_EQ(a.xStep, c.expected.xStep);
    EXPECT_DOUBLE_EQ(a.yMax, c.expected.yMax);
    EXPECT_DOUBLE_EQ(a.yStep, c.expected.yStep);
  }
}
