#include <gtest/gtest.h>

#include <cmath>

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
