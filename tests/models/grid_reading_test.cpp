// Reading a result grid in metres: its largest value and its value at a point. Expected values are
// worked by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "models/grid_reading.h"

namespace velaron::models {
namespace {
// A 1000 m x 1000 m grid at 10 m: cells -50..50.
Grid Field(double (*f)(int, int)) {
  Grid g(50, 50);
  for (int y = -50; y <= 50; ++y)
    for (int x = -50; x <= 50; ++x) g(x, y) = f(x, y);
  return g;
}
}  // namespace

TEST(GridTools, MaximumIsFoundInIndexUnitsAndTiesKeepTheCorner) {
  auto m = GridMaximum(Field([](int, int) { return 7.0; }), 1000, 1000, 10);
  ASSERT_TRUE(m);
  EXPECT_EQ(std::tuple(m->value, m->x, m->y), std::tuple(7.0, -50.0, -50.0));  // -XLimit/2/CStep
  m = GridMaximum(Field([](int x, int y) { return (x == 3 && y == -4) ? 9.0 : 1.0; }), 1000, 1000, 10);
  EXPECT_EQ(std::tuple(m->value, m->x, m->y), std::tuple(9.0, 3.0, -4.0));
  // Equal peaks: the lower y wins, then the lower x.
  m = GridMaximum(
      Field([](int x, int y) { return ((x == 5 && y == 2) || (x == -5 && y == 2) || (x == 0 && y == 8)) ? 4.0 : 0.0; }),
      1000, 1000, 10);
  EXPECT_EQ(std::tuple(m->x, m->y), std::tuple(-5.0, 2.0));
}

TEST(GridTools, ValueAtAPointWeighsTheCellCornersByInverseDistance) {
  // f = x index + 100 * y index.
  auto g = Field([](int x, int y) { return x + 100.0 * y; });
  // Outside or on the border: refused.
  EXPECT_FALSE(GridValueAt(g, 1000, 1000, 10, -500, 0));
  EXPECT_FALSE(GridValueAt(g, 1000, 1000, 10, 0, 500));
  // (5, 5): the cell 0..10 in both directions, four equal distances: the mean of 0, 1, 100, 101 = 50,5.
  EXPECT_NEAR(*GridValueAt(g, 1000, 1000, 10, 5, 5), 50.5, 1e-12);
  // (10, 10) is a node: f(1, 1) = 101.
  EXPECT_DOUBLE_EQ(*GridValueAt(g, 1000, 1000, 10, 10, 10), 101);
  // (10, 5): on a vertical line, weighed over the cell on its lower side (x 0..10). Distances: to (0,0) and
  // (0,10) sqrt(125), to (10,0) and (10,10) 5. Weights: w = (1/d)/sum(1/d); f: 0, 1, 100, 101.
  const double a = 1 / std::sqrt(125.0), b = 1 / 5.0, s = 2 * a + 2 * b;
  EXPECT_NEAR(*GridValueAt(g, 1000, 1000, 10, 10, 5), (a * 0 + b * 1 + a * 100 + b * 101) / s, 1e-9);
}

}  // namespace velaron::models
