// Accident rate of the pipeline by its three ways, the diameter coefficient, and the two probability sums
// of the main window. Expected values are worked by hand from the rows given in each test.
#include <gtest/gtest.h>

#include "run/accident_rate.h"

using namespace velaron;
using run::ComputeAccidentRate;
using run::KoefDy;

namespace {
// A diameter table in its stored order, from the largest diameter down.
std::vector<db::KoefDyRow> Table() { return {{1420, 0.31}, {1220, 0.5}, {1020, 0.7}, {529, 1.43}}; }
std::vector<db::RegionRow> Regions() { return {{"Север", 0.5, 2.0}, {"Юг", 0.2, 1.5}}; }
}  // namespace

TEST(KoefDy, EndsAreConstantsAndTheTableIsNotRead) {
  const std::vector<db::KoefDyRow> none;
  // Up to 529 mm and from 1420 mm on the coefficient needs no table at all.
  EXPECT_DOUBLE_EQ(*KoefDy(529, none), 1.43);
  EXPECT_DOUBLE_EQ(*KoefDy(100, none), 1.43);
  EXPECT_DOUBLE_EQ(*KoefDy(1420, none), 0.31);
  EXPECT_DOUBLE_EQ(*KoefDy(1500, none), 0.31);
  // Just inside both ends the table is needed.
  EXPECT_FALSE(KoefDy(530, none).has_value());
  EXPECT_FALSE(KoefDy(1419, none).has_value());
}

TEST(KoefDy, AtARowGivesThatRowAndBetweenRowsTheStraightLine) {
  // At a stored diameter: the row's own value.
  EXPECT_DOUBLE_EQ(*KoefDy(1220, Table()), 0.5);
  EXPECT_DOUBLE_EQ(*KoefDy(1020, Table()), 0.7);
  // Halfway between 1220 (0.5) and 1020 (0.7): 0.6.
  EXPECT_NEAR(*KoefDy(1120, Table()), 0.6, 1e-12);
  // 1320 lies halfway between 1420 (0.31) and 1220 (0.5): 0.405.
  EXPECT_NEAR(*KoefDy(1320, Table()), 0.405, 1e-12);
  // 530 lies 1/491 of the way from 529 (1.43) up to 1020 (0.7): 1.43 - 0.73/491.
  EXPECT_NEAR(*KoefDy(530, Table()), 1.43 - 0.73 / 491, 1e-12);
  // 1419: 1/200 of the way from 1420 (0.31) down to 1220 (0.5): 0.31 + 0.19/200.
  EXPECT_NEAR(*KoefDy(1419, Table()), 0.31 + 0.19 / 200, 1e-12);
}

TEST(KoefDy, ATableThatDoesNotBracketTheDiameterIsRefused) {
  // Starts below the diameter: no row above it to draw the line from.
  EXPECT_FALSE(KoefDy(1300, {{1220, 0.5}, {529, 1.43}}).has_value());
  // Ends above the diameter: the scan would run off the table.
  EXPECT_FALSE(KoefDy(800, {{1420, 0.31}, {1020, 0.7}}).has_value());
}

TEST(AccidentRate, WayOneIsTheRegionsLambdaTimesKoefDy) {
  run::RateInputs rate;
  rate.way = 1;
  rate.RegionPos = 1;
  // lambda 0.5 of the first region, D = 1120 gives 0.6: 0.3.
  const auto r = ComputeAccidentRate(rate, 1120, Regions(), Table());
  ASSERT_TRUE(r.ok());
  EXPECT_NEAR(r.AccidentRate, 0.3, 1e-12);
  EXPECT_NEAR(r.KoefDy, 0.6, 1e-12);
  EXPECT_DOUBLE_EQ(r.Kreg, 2.0);
  EXPECT_EQ(r.regionName, QString::fromUtf8("Север"));
  // The second region at D = 500 (1.43): 0.2 x 1.43 = 0.286.
  rate.RegionPos = 2;
  EXPECT_NEAR(ComputeAccidentRate(rate, 500, Regions(), Table()).AccidentRate, 0.286, 1e-12);
}

TEST(AccidentRate, WayTwoIsTheTypedRateTimesKregTimesKoefDy) {
  run::RateInputs rate;
  rate.way = 2;
  rate.RegionPos = 1;
  rate.Text8 = 0.33;
  // 0.33 x Kreg 2 x 0.31 (D >= 1420) = 0.2046.
  EXPECT_NEAR(ComputeAccidentRate(rate, 1420, Regions(), Table()).AccidentRate, 0.2046, 1e-12);
  // The region's lambda plays no part: region 2 (Kreg 1.5) at 1220 (0.5): 0.33 x 1.5 x 0.5 = 0.2475.
  rate.RegionPos = 2;
  EXPECT_NEAR(ComputeAccidentRate(rate, 1220, Regions(), Table()).AccidentRate, 0.2475, 1e-12);
}

TEST(AccidentRate, WayThreeStoresTheTypedProbabilityUnchanged) {
  run::RateInputs rate;
  rate.way = 3;
  rate.alfa_tr = 0.0123;
  rate.RegionPos = -1;  // no region chosen: not required and not read
  const auto r = ComputeAccidentRate(rate, 1120, {}, {});
  ASSERT_TRUE(r.ok());
  EXPECT_DOUBLE_EQ(r.AccidentRate, 0.0123);
  EXPECT_DOUBLE_EQ(r.KoefDy, 0);
}

TEST(AccidentRate, RegionWaysWithoutARegionOrWithABrokenTableAreRefused) {
  run::RateInputs rate;
  rate.way = 1;
  rate.RegionPos = -1;
  EXPECT_EQ(ComputeAccidentRate(rate, 1120, Regions(), Table()).error, QString::fromUtf8("Необходимо выбрать регион!"));
  rate.RegionPos = 3;  // beyond the table's rows
  EXPECT_FALSE(ComputeAccidentRate(rate, 1120, Regions(), Table()).ok());
  rate.RegionPos = 1;
  const auto r = ComputeAccidentRate(rate, 800, Regions(), {{1420, 0.31}, {1020, 0.7}});
  EXPECT_FALSE(r.ok());
  EXPECT_TRUE(r.error.contains("800"));
}

TEST(ProbabilitySums, ExternalFactorsCountOnlyWhenTicked) {
  run::ExternalInputs e;  // defaults 0.2, 0.01, 0.2, 0.1, nothing ticked
  EXPECT_DOUBLE_EQ(run::ExternalFactorSum(e), 0);
  e.Check6 = 1;
  EXPECT_DOUBLE_EQ(run::ExternalFactorSum(e), 0.01);
  e.Check5 = e.Check7 = e.Check8 = 1;
  // 0.2 + 0.01 + 0.2 + 0.1 = 0.51, not capped here.
  EXPECT_NEAR(run::ExternalFactorSum(e), 0.51, 1e-12);
  e.Eroz = 0.9;
  EXPECT_NEAR(run::ExternalFactorSum(e), 1.21, 1e-12);
}

TEST(ProbabilitySums, CrossingSumAndItsStoredCap) {
  run::Crossings c;
  c.probability = {0.1, 0.05, 0.2, 0.08};  // road, power line, pipeline, cable
  c.ticked = {0, 0, 0, 1};
  EXPECT_DOUBLE_EQ(run::StoredCrossingSum(c), 0.08);
  c.ticked = {0, 1, 0, 1};
  EXPECT_NEAR(run::StoredCrossingSum(c), 0.13, 1e-12);
  // 0.5 + 0.5 + 0.2 + 0.08 = 1.28: the sum keeps it, the row gets 1.
  c.probability = {0.5, 0.5, 0.2, 0.08};
  c.ticked = {1, 1, 1, 1};
  EXPECT_NEAR(run::CrossingSum(c), 1.28, 1e-12);
  EXPECT_DOUBLE_EQ(run::StoredCrossingSum(c), 1.0);
}
