// Table lookups and interpolation over small synthetic tables (values by formula, see synthetic_tables.h).
#include <gtest/gtest.h>

#include "models/calc_state.h"
#include "models/synthetic_tables.h"

namespace velaron::models {
namespace {

using testing::SyntheticPercent;
using testing::SyntheticTables;
using testing::SyntheticV;

constexpr double kRel = 1e-12;

TEST(GetGasProperty, KeysOutsideTheTablesAreRefusedWithAMessage) {
  const ReferenceTables t = SyntheticTables();
  try {
    GetGasProperty(t, GasColumn::cp, 5.0, 410);  // above the last row, 400 K
    FAIL() << "no error for a temperature above the table";
  } catch (const TableRangeError& e) {
    // In the main window's units: 410 K is 137 °С; 5 MPa reads the tables of 2,6 and 6 MPa.
    EXPECT_STREQ(e.what(), "Температура газа 137 °С вне таблицы свойств газа при давлении 2,6 МПа");
  }
  EXPECT_THROW(GetGasProperty(t, GasColumn::v, 5.0, 199), TableRangeError);
  EXPECT_THROW(GetGasProperty(t, GasColumn::cp, 30.0, 300), TableRangeError);  // 300 bar: no pair
  EXPECT_THROW(GetGasProperty(t, GasColumn::cp, 0.0, 300), TableRangeError);
  EXPECT_NO_THROW(GetGasProperty(t, GasColumn::cp, 29.9, 300));  // the pair 200b/300b
  // The temperatures answered for are those common to every table read: a 26-bar table that starts at 250 K
  // narrows the range from 1,2 MPa up (the pairs 12b/26b and 26b/60b), not below.
  ReferenceTables narrow = t;
  std::erase_if(narrow.gas[2].rows, [](const GasPropertyRow& r) { return r.t < 250; });
  EXPECT_EQ(GasTemperatureRange(narrow, 0.1, 1.1)->low, 200);
  EXPECT_EQ(GasTemperatureRange(narrow, 0.5, 5.0)->low, 250);
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
