// Table lookups and interpolation over small synthetic tables (values by formula, see synthetic_tables.h).
#include <gtest/gtest.h>

#include "models/calc_state.h"
#include "models/synthetic_tables.h"

namespace velaron::models {
namespace {

using testing::SyntheticCp;
using testing::SyntheticLp;
using testing::SyntheticPercent;
using testing::SyntheticTables;
using testing::SyntheticV;

constexpr double kRel = 1e-12;

TEST(GetGasProperty, OneBarIsTheFirstTableInterpolatedInTemperature) {
  const ReferenceTables t = SyntheticTables();
  // 0.1 MPa = 1 bar: the pair 1b/12b at its lower end, so the 1b value; 293 K lies between the rows 290 and
  // 300, and the synthetic cp is linear in t, so the interpolation reproduces the formula.
  EXPECT_NEAR(GetGasProperty(t, GasColumn::cp, 0.1, 293), SyntheticCp(293, 1), kRel);
}

TEST(GetGasProperty, TwelveBarTakesTheTwelveBarTable) {
  ReferenceTables t = SyntheticTables();
  // Spoil the 1b table: a result at 12 bar or between 12 and 26 bar must not depend on it.
  for (auto& r : t.gas[0].rows) r.cp = 1000;
  EXPECT_NEAR(GetGasProperty(t, GasColumn::cp, 1.2, 300), SyntheticCp(300, 12), kRel);
  EXPECT_NEAR(GetGasProperty(t, GasColumn::cp, 1.9, 300), SyntheticCp(300, 19), kRel);
}

TEST(GetGasProperty, TemperatureOnAStoredRowOfBothTablesNeedsNoNeighbour) {
  ReferenceTables t = SyntheticTables();
  // Only one row in each table of the pair 60b/70b: a key on that row is still answered.
  t.gas[3].rows = {{300, 5.0, 0.01}};
  t.gas[4].rows = {{300, 7.0, 0.02}};
  // 6.5 MPa = 65 bar, halfway: cp linear 6.0.
  EXPECT_NEAR(GetGasProperty(t, GasColumn::cp, 6.5, 300), 6.0, kRel);
}

TEST(GetGasProperty, ExtrapolatesBelowOneBarWithTheFirstPair) {
  const ReferenceTables t = SyntheticTables();
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
}

TEST(GetLp, ExactRowInterpolationAndRange) {
  const ReferenceTables t = SyntheticTables();
  EXPECT_DOUBLE_EQ(GetLp(t, 0.5), SyntheticLp(0.5));   // a stored row: 10
  EXPECT_NEAR(GetLp(t, 0.55), 10.5, 1e-12);             // halfway between 10 and 11
  EXPECT_DOUBLE_EQ(GetLp(t, 1.5), SyntheticLp(1.5));   // the last row
  EXPECT_THROW(GetLp(t, 1.6), TableRangeError);
  EXPECT_THROW(GetLp(t, 0.05), TableRangeError);
}

TEST(ProbitToPercent, OutsideTheTableRangeNoTableIsRead) {
  const ReferenceTables none;  // empty: any read would fail
  EXPECT_EQ(ProbitToPercent(none, 7.34), 99.99);
  EXPECT_EQ(ProbitToPercent(none, 2.66), 0);
  // 7.33 and 2.67 themselves go to the table, which is empty here.
  EXPECT_THROW(ProbitToPercent(none, 7.33), TableRangeError);
  EXPECT_THROW(ProbitToPercent(none, 2.67), TableRangeError);
}

TEST(ProbitToPercent, StoredRowsAndInterpolation) {
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
  EXPECT_DOUBLE_EQ(LinInterp(1.5, 1, 3, 10, 30), 15);  // a quarter of the way
  EXPECT_DOUBLE_EQ(RowInterp(10, 30, 1.5, 1, 2), 15);
}

TEST(Interpolation, MinAndMax) {
  EXPECT_EQ(MaxValue(3, 3), 3);
  EXPECT_EQ(MinValue(3, 3), 3);
  EXPECT_EQ(MaxValue(2, 3), 3);
  EXPECT_EQ(MinValue(2, 3), 2);
  EXPECT_EQ(MinValue(-1, -4), -4);
}

}  // namespace
}  // namespace velaron::models
