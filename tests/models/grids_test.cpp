// The grid type and the whole-grid routines.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "models/calc_state.h"

namespace velaron::models {
namespace {

CalcSettings Settings(int x, int y, int step) {
  CalcSettings s;
  s.XLimit = x;
  s.YLimit = y;
  s.CStep = step;
  return s;
}

TEST(Grid, NegativeBoundsRowMajorOverY) {
  Grid g(2, 1);  // x -2..2, y -1..1
  EXPECT_EQ(g.width(), 5);
  EXPECT_EQ(g.height(), 3);
  g(-2, -1) = 1;
  g(2, -1) = 2;
  g(-2, 0) = 3;
  g(2, 1) = 4;
  // A row of constant y is contiguous, first the lowest row.
  EXPECT_EQ(g.cells()[0], 1);
  EXPECT_EQ(g.cells()[4], 2);
  EXPECT_EQ(g.cells()[5], 3);
  EXPECT_EQ(g.cells()[14], 4);
  EXPECT_EQ(g.row(0)[0], 3);
  EXPECT_EQ(g.at0(3, 0), 0);
  EXPECT_FALSE(g.contains(0, 2));
  g.resize(2, 1);
  EXPECT_EQ(g(2, 1), 0);  // re-dimensioning clears
}

TEST(Grid, BoundsFromTheSettings) {
  CalcState s;
  s.settings = Settings(200, 100, 10);
  EXPECT_EQ(s.nx(), 10);
  EXPECT_EQ(s.ny(), 5);
  EXPECT_EQ(ProfilePoints(s.settings), 11);
  EXPECT_EQ(GridHalf(250, 10), 12);  // 12.5 rounds to the even 12
  EXPECT_EQ(GridHalf(270, 10), 14);  // 13.5 rounds to the even 14
  // The profile's points round XLimit/(2·CStep) + 1 as a whole: 2.5 + 1 = 3.5 gives 4 (not round(2.5) + 1 = 3).
  EXPECT_EQ(ProfilePoints(Settings(50, 50, 10)), 4);
}

TEST(GridRoutines, VisitEveryCellOfA21By21Grid) {
  const CalcSettings s = Settings(200, 200, 10);
  Grid src(10, 10), dst(10, 10);
  for (int iy = -10; iy <= 10; ++iy)
    for (int ix = -10; ix <= 10; ++ix) src(ix, iy) = 100 * ix + iy;
  ScaleGrid(dst, src, 2, s);
  CopyGrid(src, dst, s);
  for (int iy = -10; iy <= 10; ++iy)
    for (int ix = -10; ix <= 10; ++ix) ASSERT_EQ(src(ix, iy), 2 * (100 * ix + iy)) << ix << "," << iy;
}

TEST(GridRoutines, MaxOverLayersFloorsAtZero) {
  const CalcSettings s = Settings(20, 20, 10);
  LayeredGrid layers(3, 1, 1);
  layers(1, 0, 0) = -5;
  layers(2, 0, 0) = 0;
  layers(3, 0, 0) = -1;
  layers(1, 1, 1) = 3;
  layers(2, 1, 1) = 7;
  layers(3, 1, 1) = 7;
  Grid dst(1, 1);
  dst.fill(42);
  MaxOverLayers(dst, layers, s, 3);
  EXPECT_EQ(dst(0, 0), 0);
  EXPECT_EQ(dst(1, 1), 7);
  EXPECT_EQ(dst(-1, -1), 0);
  dst.fill(42);
  MaxOverLayers(dst, layers, s, 0);  // no layers: every cell 0
  EXPECT_EQ(dst(1, 1), 0);
}

TEST(GridRoutines, ScaleGridCap100) {
  const CalcSettings s = Settings(20, 20, 10);
  Grid g(1, 1);
  g(-1, 0) = 49;
  g(0, 0) = 50;
  g(1, 0) = 60;
  ScaleGridCap100(g, 2, s);
  EXPECT_EQ(g(-1, 0), 98);
  EXPECT_EQ(g(0, 0), 100);
  EXPECT_EQ(g(1, 0), 100);
}

TEST(GridRoutines, MaxIntoLayerNeverLowersAndGetGridLayerCopies) {
  const CalcSettings s = Settings(20, 20, 10);
  LayeredGrid layers(2, 1, 1);
  layers(2, 0, 0) = 5;
  layers(2, 1, 0) = 5;
  Grid src(1, 1);
  src(0, 0) = 3;
  src(1, 0) = 8;
  MaxIntoLayer(layers, src, s, 2);
  EXPECT_EQ(layers(2, 0, 0), 5);
  EXPECT_EQ(layers(2, 1, 0), 8);
  EXPECT_EQ(layers(1, 1, 0), 0);  // other layers untouched
  Grid out(1, 1);
  GetGridLayer(out, layers, s, 2);
  EXPECT_EQ(out(0, 0), 5);
  EXPECT_EQ(out(1, 0), 8);
}

TEST(GridRoutines, HalfWidthNotAMultipleOfTheStep) {
  // XLimit 50, step 10: the points -25, -15, ..., 25 fall on the cells round(-2.5) = -2, round(-1.5) = -2,
  // round(-0.5) = 0, round(0.5) = 0, round(1.5) = 2, round(2.5) = 2 (halves to even): cells -1 and 1 are
  // never visited, and -2, 0 and 2 are visited twice in x.
  const CalcSettings s = Settings(50, 20, 10);
  Grid src(2, 1), dst(2, 1);
  src.fill(7);
  CopyGrid(dst, src, s);
  for (int iy = -1; iy <= 1; ++iy) {
    EXPECT_EQ(dst(-2, iy), 7);
    EXPECT_EQ(dst(-1, iy), 0);
    EXPECT_EQ(dst(0, iy), 7);
    EXPECT_EQ(dst(1, iy), 0);
    EXPECT_EQ(dst(2, iy), 7);
  }
}

TEST(GridRoutines, RefuseGridsSmallerThanTheCalculationGrid) {
  const CalcSettings s = Settings(200, 200, 10);
  Grid small(5, 5), big(10, 10);
  EXPECT_THROW(CopyGrid(big, small, s), std::logic_error);
  LayeredGrid layers(2, 10, 10);
  EXPECT_THROW(GetGridLayer(big, layers, s, 3), std::logic_error);
}

TEST(GridSettings, RefusedWhenCellsDoNotSitOnTheGrid) {
  EXPECT_NO_THROW(CheckGridSettings(Settings(200, 100, 10)));
  EXPECT_THROW(CheckGridSettings(Settings(210, 200, 10)), ModelInputError);  // 105 not a multiple of 10
  EXPECT_THROW(CheckGridSettings(Settings(200, 200, 0)), ModelInputError);
  EXPECT_THROW(CheckGridSettings(Settings(10, 200, 10)), ModelInputError);   // narrower than two steps
  EXPECT_THROW(CheckGridSettings(Settings(20000, 20000, 10)), ModelInputError);  // 4 million cells
}

}  // namespace
}  // namespace velaron::models
