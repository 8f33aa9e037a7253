// The grid type and the whole-grid routines; table lookups and interpolation over small synthetic tables
// (values by formula, see synthetic_tables.h).
#include <gtest/gtest.h>

#include <limits>
#include <utility>

#include "models/calc_state.h"
#include "models/synthetic_tables.h"

namespace velaron::models {
namespace {

CalcSettings Settings(int x, int y, int step) {
  CalcSettings s;
  s.XLimit = x, s.YLimit = y, s.CStep = step;
  return s;
}

TEST(Grid, NegativeBoundsRowMajorOverYAndBoundsFromTheSettings) {
  Grid g(2, 1);  // x -2..2, y -1..1
  EXPECT_EQ(g.width(), 5);
  EXPECT_EQ(g.height(), 3);
  g(-2, -1) = 1, g(2, -1) = 2, g(-2, 0) = 3, g(2, 1) = 4;
  // A row of constant y is contiguous, first the lowest row.
  for (auto [index, value] : {std::pair{0, 1}, {4, 2}, {5, 3}, {14, 4}}) EXPECT_EQ(g.cells()[index], value);
  EXPECT_EQ(g.row(0)[0], 3);
  EXPECT_EQ(g.at0(3, 0), 0);
  EXPECT_FALSE(g.contains(0, 2));
  g.resize(2, 1);
  EXPECT_EQ(g(2, 1), 0);  // re-dimensioning clears
  // Bounds from the settings: halves round to even.
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

TEST(GridRoutines, VisitEveryCellOnTheGridPoints) {
  const CalcSettings s = Settings(200, 200, 10);
  Grid src(10, 10), dst(10, 10);
  for (int iy = -10; iy <= 10; ++iy)
    for (int ix = -10; ix <= 10; ++ix) src(ix, iy) = 100 * ix + iy;
  ScaleGrid(dst, src, 2, s);
  CopyGrid(src, dst, s);
  for (int iy = -10; iy <= 10; ++iy)
    for (int ix = -10; ix <= 10; ++ix) ASSERT_EQ(src(ix, iy), 2 * (100 * ix + iy)) << ix << "," << iy;
}

TEST(GridRoutines, LayersAndCapsCellByCell) {
  const CalcSettings s = Settings(20, 20, 10);
  LayeredGrid layers(3, 1, 1);
  layers(1, 0, 0) = -5;  // the maximum over the layers is floored at 0
  layers(3, 0, 0) = -1;
  layers(1, 1, 1) = 3;
  layers(2, 1, 1) = 7;
  Grid dst(1, 1);
  dst.fill(42);
  MaxOverLayers(dst, layers, s, 3);
  EXPECT_EQ(dst(0, 0), 0);
  EXPECT_EQ(dst(1, 1), 7);
  dst.fill(42);
  MaxOverLayers(dst, layers, s, 0);  // no layers: every cell 0
  EXPECT_EQ(dst(1, 1), 0);
  // A running maximum never lowers a layer and leaves the others alone; a layer is copied back whole.
  layers(2, 0, 0) = layers(2, 1, 0) = 5;
  Grid src(1, 1);
  src(0, 0) = 3;
  src(1, 0) = 8;
  MaxIntoLayer(layers, src, s, 2);
  EXPECT_EQ(layers(2, 0, 0), 5);
  EXPECT_EQ(layers(2, 1, 0), 8);
  EXPECT_EQ(layers(1, 1, 0), 0);
  GetGridLayer(dst, layers, s, 2);
  EXPECT_EQ(dst(0, 0), 5);
  EXPECT_EQ(dst(1, 0), 8);
  // Percent scaled and capped at 100.
  src(-1, 0) = 49, src(0, 0) = 50, src(1, 0) = 60;
  ScaleGridCap100(src, 2, s);
  EXPECT_EQ(src(-1, 0), 98);
  EXPECT_EQ(src(0, 0), 100);
  EXPECT_EQ(src(1, 0), 100);
}

TEST(GridRoutines, HalfWidthNotAMultipleOfTheStep) {
  // XLimit 50, step 10: the points -25, -15, ..., 25 fall on the cells round(-2.5) = -2, round(-1.5) = -2,
  // round(-0.5) = 0, round(0.5) = 0, round(1.5) = 2, round(2.5) = 2 (halves to even): cells -1 and 1 are
  // never visited, and -2, 0 and 2 are visited twice in x.
  Grid seven(2, 1), copy(2, 1);
  seven.fill(7);
  CopyGrid(copy, seven, Settings(50, 20, 10));
  for (int iy = -1; iy <= 1; ++iy)
    for (int ix = -2; ix <= 2; ++ix) EXPECT_EQ(copy(ix, iy), ix % 2 ? 0 : 7) << ix << "," << iy;
}

TEST(GridRoutines, RefuseGridsAndSettingsOffTheCalculationGrid) {
  const CalcSettings s = Settings(200, 200, 10);
  Grid small(5, 5), big(10, 10);
  EXPECT_THROW(CopyGrid(big, small, s), std::logic_error);
  LayeredGrid layers(2, 10, 10);
  EXPECT_THROW(GetGridLayer(big, layers, s, 3), std::logic_error);
  // Settings whose cells do not sit on the grid are refused before any routine runs.
  EXPECT_NO_THROW(CheckGridSettings(Settings(200, 100, 10)));
  EXPECT_THROW(CheckGridSettings(Settings(210, 200, 10)), ModelInputError);  // 105 not a multiple of 10
  EXPECT_THROW(CheckGridSettings(Settings(200, 200, 0)), ModelInputError);
  EXPECT_THROW(CheckGridSettings(Settings(10, 200, 10)), ModelInputError);   // narrower than two steps
  EXPECT_THROW(CheckGridSettings(Settings(20000, 20000, 10)), ModelInputError);  // 4 million cells
}

// ---------------------------------------------------------------------------------------------------
// Lookups

using testing::SyntheticCp;
using testing::SyntheticPercent;
using testing::SyntheticTables;
using testing::SyntheticV;

constexpr double kRel = 1e-12;

TEST(GetGasProperty, StoredRowNeedsNoNeighbourAndBelowOneBarExtrapolates) {
  ReferenceTables t = SyntheticTables();
  // Only one row in each table of the pair 60b/70b: a key on that row is still answered.
  t.gas[3].rows = {{300, 5.0, 0.01}};
  t.gas[4].rows = {{300, 7.0, 0.02}};
  // 6.5 MPa = 65 bar, halfway: cp linear 6.0.
  EXPECT_NEAR(GetGasProperty(t, GasColumn::cp, 6.5, 300), 6.0, kRel);
  // cp is linear in p in the synthetic tables, so the straight line through 1 and 12 bar gives it at 0.5 bar.
  EXPECT_NEAR(GetGasProperty(t, GasColumn::cp, 0.05, 250), SyntheticCp(250, 0.5), kRel);
}

TEST(GetGasProperty, KeysOutsideTheTablesAreRefusedWithAMessage) {
  const ReferenceTables t = SyntheticTables();
  try {
    GetGasProperty(t, GasColumn::cp, 5.0, 410);  // above the last row, 400 K
    FAIL() << "no error for a temperature above the table";
  } catch (const TableRangeError& e) {
    EXPECT_NE(std::string(e.what()).find("Температура газа 410 К"), std::string::npos) << e.what();
  }
  EXPECT_THROW(GetGasProperty(t, GasColumn::v, 5.0, 199), TableRangeError);
  EXPECT_THROW(GetGasProperty(t, GasColumn::cp, 30.0, 300), TableRangeError);  // 300 bar: no pair
  EXPECT_THROW(GetGasProperty(t, GasColumn::cp, 0.0, 300), TableRangeError);
  EXPECT_NO_THROW(GetGasProperty(t, GasColumn::cp, 29.9, 300));  // the pair 200b/300b
}

// The specific volume between two pressure tables goes through p·v. Straight interpolation of v, as the
// lookup once did, gave at 6 bar and 300 K 1.5549 + 5/11·(0.1296 − 1.5549) = 0.907 m³/kg, three and a half
// times the true 0.259 m³/kg, because v falls as 1/p and the tables at 1 and 12 bar are far apart.
TEST(GetGasProperty, SpecificVolumeInterpolatesPTimesV) {
  const ReferenceTables t = SyntheticTables();
  // Ideal gas: v = R·t/p, so p·v is the same in both tables and the result is exact: 518.3·300/6e5.
  EXPECT_NEAR(GetGasProperty(t, GasColumn::v, 0.6, 300), 0.25915, 1e-12);
  EXPECT_NEAR(GetGasProperty(t, GasColumn::v, 4.3, 300), SyntheticV(300, 43), kRel * SyntheticV(300, 43));
  // At a table's own pressure the table's value, unchanged.
  EXPECT_DOUBLE_EQ(GetGasProperty(t, GasColumn::v, 2.6, 300), SyntheticV(300, 26));
  EXPECT_DOUBLE_EQ(InterpolateSpecificVolume(2.0, 1.0, 1, 1, 12), 2.0);
  // Halfway in p·v: P1·v1 = 1·2, P2·v2 = 3·1, at P = 2: (2 + 3)/2 / 2 = 1.25 (straight v would be 1.5).
  EXPECT_DOUBLE_EQ(InterpolateSpecificVolume(2.0, 1.0, 2, 1, 3), 1.25);
  // A real gas: p·v = 100 at 1 bar and 89 at 12 bar (v = 100 and 89/12); 6 bar gives p·v = 100 − 5/11·11
  // = 95 and v = 95/6 = 15.833 m³/kg; straight v would give 57.92.
  ReferenceTables real = t;
  for (auto& r : real.gas[0].rows) r.v = 100;
  for (auto& r : real.gas[1].rows) r.v = 89.0 / 12;
  EXPECT_NEAR(GetGasProperty(real, GasColumn::v, 0.6, 300), 95.0 / 6, 1e-12);
  EXPECT_NEAR(GetGasProperty(real, GasColumn::v, 1.2, 300), 89.0 / 12, 1e-12);
}

// A table filled with NaN: any use of it, even with a zero weight, turns the result into NaN.
void Spoil(GasPropertyTable& table) {
  for (auto& r : table.rows) r.cp = r.v = std::numeric_limits<double>::quiet_NaN();
}

// Every pressure takes the pair of tables whose pressures bracket it, the lower pressure inclusive: with
// every other table spoiled, a lookup at the lower pressure, between the two and just below the upper one
// still gives the synthetic value (cp is linear in p, so the right pair reproduces it exactly).
TEST(GetGasProperty, EachPressureTakesItsOwnPairOfTables) {
  for (std::size_t k = 0; k + 1 < kGasTablePressures.size(); ++k) {
    ReferenceTables t = SyntheticTables();
    for (std::size_t j = 0; j < t.gas.size(); ++j)
      if (j != k && j != k + 1) Spoil(t.gas[j]);
    const double P1 = kGasTablePressures[k], P2 = kGasTablePressures[k + 1];
    for (double P : {P1, (P1 + P2) / 2, P2 - 0.5}) {
      const double Davl = P / 10;
      EXPECT_NEAR(GetGasProperty(t, GasColumn::cp, Davl, 300), SyntheticCp(300, Davl * 10), kRel)
          << "pair " << P1 << "/" << P2 << " at " << P << " bar";
      EXPECT_NEAR(GetGasProperty(t, GasColumn::v, Davl, 300), SyntheticV(300, Davl * 10),
                  kRel * SyntheticV(300, Davl * 10))
          << "pair " << P1 << "/" << P2 << " at " << P << " bar";
    }
  }
}

// Within a table the temperature is bracketed by the rows at or below and at or above it. cp = t²/10⁴ is
// not linear in t, so any other pair of rows gives another number: at 293 K the rows 290 and 300 give
// 8.41 + 0.3·(9 − 8.41) = 8.587 (the rows 300 and 310 would give 8.573); twice that in the second table.
TEST(GetGasProperty, TemperatureBracketedByTheNearestRows) {
  ReferenceTables t = SyntheticTables();
  for (auto& r : t.gas[3].rows) r.cp = r.t * r.t / 1e4;      // 60 bar
  for (auto& r : t.gas[4].rows) r.cp = 2 * r.t * r.t / 1e4;  // 70 bar
  EXPECT_NEAR(GetGasProperty(t, GasColumn::cp, 6.0, 293), 8.587, 1e-12);
  // 65 bar, halfway between the tables: (8.587 + 17.174)/2.
  EXPECT_NEAR(GetGasProperty(t, GasColumn::cp, 6.5, 293), 12.8805, 1e-12);
  // On stored rows, the first and the last included: the rows' own values, 9 and 18; 4 and 8; 16 and 32.
  EXPECT_NEAR(GetGasProperty(t, GasColumn::cp, 6.5, 300), 13.5, 1e-12);
  EXPECT_NEAR(GetGasProperty(t, GasColumn::cp, 6.5, 200), 6.0, 1e-12);
  EXPECT_NEAR(GetGasProperty(t, GasColumn::cp, 6.5, 400), 24.0, 1e-12);
}

// L = D² is not linear, so the bracket shows: 0.55 m lies between the rows 0.5 (0.25) and 0.6 (0.36) and
// gives 0.305 (the rows 0.6 and 0.7 would give 0.295); 0.12 m between 0.1 (0.01) and 0.2 (0.04) gives 0.016.
TEST(GetLp, BracketedByTheNearestRowsWithinTheRange) {
  ReferenceTables t = SyntheticTables();
  for (auto& r : t.lp) r.L = r.D * r.D;
  EXPECT_NEAR(GetLp(t, 0.55), 0.305, 1e-12);
  EXPECT_NEAR(GetLp(t, 0.12), 0.016, 1e-12);
  EXPECT_NEAR(GetLp(t, 0.1), 0.01, 1e-12);
  EXPECT_NEAR(GetLp(t, 1.5), 2.25, 1e-12);  // the last row
  EXPECT_THROW(GetLp(t, 1.6), TableRangeError);
  EXPECT_THROW(GetLp(t, 0.05), TableRangeError);
}

TEST(ProbitToPercent, LimitsStoredRowsAndInterpolation) {
  const ReferenceTables none;  // empty: any read would fail
  EXPECT_EQ(ProbitToPercent(none, 7.34), 99.99);
  EXPECT_EQ(ProbitToPercent(none, 2.66), 0);
  // 7.33 and 2.67 themselves go to the table, which is empty here.
  EXPECT_THROW(ProbitToPercent(none, 7.33), TableRangeError);
  EXPECT_THROW(ProbitToPercent(none, 2.67), TableRangeError);
  const ReferenceTables t = SyntheticTables();
  EXPECT_DOUBLE_EQ(ProbitToPercent(t, 5.0), 50.0);  // a stored row: its value, no 0/0
  EXPECT_DOUBLE_EQ(ProbitToPercent(t, 7.33), SyntheticPercent(7.33));
  // Halfway between the rows 6.00 and 6.01.
  const double expected = (SyntheticPercent(6.00) + SyntheticPercent(6.01)) / 2;
  EXPECT_NEAR(ProbitToPercent(t, 6.005), expected, 1e-9);
  ReferenceTables gap = t;
  gap.probit.erase(gap.probit.begin() + 100, gap.probit.end());  // now ends at 3.59
  EXPECT_THROW(ProbitToPercent(gap, 4.0), TableRangeError);
}

// Interpolation never changes its caller's values. LinInterp of two points at one abscissa once moved the
// caller's x1 by 0.001 and, away from x1, returned a wild value: LinInterp(5, 2, 2, 10, 20) gave
// 10 + (5 − 2.001)·10/(−0.001) = −29980; it now gives the second point's value, 20.
TEST(Interpolation, NeverChangesTheCallerAndHandlesEqualAbscissae) {
  double x1 = 2, dx = 0;
  EXPECT_EQ(LinInterp(5, x1, x1, 10, 20), 20);
  EXPECT_EQ(LinInterp(2, x1, x1, 10, 20), 20);
  EXPECT_EQ(x1, 2);
  EXPECT_EQ(RowInterp(10, 20, 3, 3, dx), 10);  // dx = 0 taken as 0.001 locally; at x = x0 the first value
  EXPECT_EQ(dx, 0);
  // With dx = 0 taken as 0.001, one thousandth beyond x0 is a whole step: 10 + 0.001·10/0.001 = 20.
  EXPECT_NEAR(RowInterp(10, 20, 3.001, 3, dx), 20, 1e-9);
  EXPECT_DOUBLE_EQ(LinInterp(1.5, 1, 3, 10, 30), 15);  // a quarter of the way
  EXPECT_DOUBLE_EQ(RowInterp(10, 30, 1.5, 1, 2), 15);
  EXPECT_EQ(MaxValue(2, 3), 3);
  EXPECT_EQ(MinValue(-1, -4), -4);
}

}  // namespace
}  // namespace velaron::models
