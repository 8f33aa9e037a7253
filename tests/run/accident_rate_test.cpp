// Accident rate of the pipeline by its three ways, the diameter coefficient, and the two probability sums
// of the main window. Expected values are worked by hand from the rows given in each test.
#include <cmath>
#include <gtest/gtest.h>

#include "run/accident_rate.h"
#include "run/run_texts.h"

using namespace velaron;
using run::ComputeAccidentRate;
using run::KoefDy;

namespace {
// A diameter table in its stored order, from the largest diameter down.
const std::vector<db::KoefDyRow> kTable = {{1420, 0.31}, {1220, 0.5}, {1020, 0.7}, {529, 1.43}};
const std::vector<db::RegionRow> kRegions = {{"Север", 0.5, 2.0}, {"Юг", 0.2, 1.5}};
}  // namespace

TEST(KoefDy, EndsAreConstantsRowsAreReadAndBetweenThemTheStraightLine) {
  // Up to 529 mm and from 1420 mm on the coefficient needs no table at all; just inside both ends it does.
  for (const auto& [d, k] : {std::pair{529.0, 1.43}, {100.0, 1.43}, {1420.0, 0.31}, {1500.0, 0.31}})
    EXPECT_DOUBLE_EQ(*KoefDy(d, {}), k) << d;
  EXPECT_FALSE(KoefDy(530, {}).has_value());
  EXPECT_FALSE(KoefDy(1419, {}).has_value());
  const std::pair<double, double> cases[] = {
      {1220, 0.5}, {1020, 0.7},       // at a stored diameter: the row's own value
      {1120, 0.6},                    // halfway between 1220 (0.5) and 1020 (0.7)
      {1320, 0.405},                  // halfway between 1420 (0.31) and 1220 (0.5)
      {530, 1.43 - 0.73 / 491},       // 1/491 of the way from 529 (1.43) up to 1020 (0.7)
      {1419, 0.31 + 0.19 / 200}};     // 1/200 of the way from 1420 (0.31) down to 1220 (0.5)
  for (const auto& [d, k] : cases) EXPECT_NEAR(*KoefDy(d, kTable), k, 1e-12) << d;
  // A table that does not bracket the diameter: starting below it there is no row above to draw the line
  // from; ending above it the scan would run off the table.
  EXPECT_FALSE(KoefDy(1300, {{1220, 0.5}, {529, 1.43}}).has_value());
  EXPECT_FALSE(KoefDy(800, {{1420, 0.31}, {1020, 0.7}}).has_value());
}

TEST(AccidentRate, TheThreeWays) {
  result::RateInputs rate;
  rate.way = 1;
  rate.RegionPos = 1;
  // Way 1, the region's lambda times KoefDy: 0.5 of the first region at D = 1120 (0.6) gives 0.3.
  const auto r = ComputeAccidentRate(rate, 1120, kRegions, kTable);
  ASSERT_TRUE(r.ok());
  EXPECT_NEAR(r.AccidentRate, 0.3, 1e-12);
  EXPECT_NEAR(r.KoefDy, 0.6, 1e-12);
  EXPECT_DOUBLE_EQ(r.Kreg, 2.0);
  EXPECT_EQ(r.regionName, QString::fromUtf8("Север"));
  // The second region at D = 500 (1.43): 0.2 x 1.43 = 0.286.
  rate.RegionPos = 2;
  EXPECT_NEAR(ComputeAccidentRate(rate, 500, kRegions, kTable).AccidentRate, 0.286, 1e-12);
  // Way 2, the typed rate times Kreg times KoefDy; the region's lambda plays no part.
  // Region 2 (Kreg 1.5) at 1220 (0.5): 0.33 x 1.5 x 0.5 = 0.2475; region 1 (Kreg 2) at 1420 (0.31): 0.2046.
  rate.way = 2;
  rate.Text8 = 0.33;
  EXPECT_NEAR(ComputeAccidentRate(rate, 1220, kRegions, kTable).AccidentRate, 0.2475, 1e-12);
  rate.RegionPos = 1;
  EXPECT_NEAR(ComputeAccidentRate(rate, 1420, kRegions, kTable).AccidentRate, 0.2046, 1e-12);
  // Way 3 stores the typed probability unchanged; no region is required or read.
  rate.way = 3;
  rate.alfa_tr = 0.0123;
  rate.RegionPos = -1;
  const auto typed = ComputeAccidentRate(rate, 1120, {}, {});
  ASSERT_TRUE(typed.ok());
  EXPECT_DOUBLE_EQ(typed.AccidentRate, 0.0123);
  EXPECT_DOUBLE_EQ(typed.KoefDy, 0);
  // A probability is 0 to 1: anything else is refused before a run, with its message.
  for (double wrong : {-0.1, 1.5, std::nan("")}) {
    rate.alfa_tr = wrong;
    EXPECT_EQ(ComputeAccidentRate(rate, 1120, {}, {}).error, QString::fromUtf8(run::texts::kAccidentProbabilityRange));
  }
  for (double edge : {0.0, 1.0}) {
    rate.alfa_tr = edge;
    EXPECT_TRUE(ComputeAccidentRate(rate, 1120, {}, {}).ok());
  }
}

TEST(AccidentRate, RegionWaysWithoutARegionOrWithABrokenTableAreRefused) {
  result::RateInputs rate;
  rate.way = 1;
  rate.RegionPos = -1;
  EXPECT_EQ(ComputeAccidentRate(rate, 1120, kRegions, kTable).error, QString::fromUtf8("Необходимо выбрать регион!"));
  rate.RegionPos = 3;  // beyond the table's rows
  EXPECT_FALSE(ComputeAccidentRate(rate, 1120, kRegions, kTable).ok());
  rate.RegionPos = 1;
  const auto r = ComputeAccidentRate(rate, 800, kRegions, {{1420, 0.31}, {1020, 0.7}});
  EXPECT_FALSE(r.ok());
  EXPECT_TRUE(r.error.contains("800"));
}

TEST(ProbabilitySums, ExternalFactorsCountOnlyWhenTickedAndCrossingsAreCappedWhenStored) {
  result::ExternalInputs e;  // defaults 0.2, 0.01, 0.2, 0.1, nothing ticked
  EXPECT_DOUBLE_EQ(run::ExternalFactorSum(e), 0);
  e.Check6 = 1;
  EXPECT_DOUBLE_EQ(run::ExternalFactorSum(e), 0.01);
  e.Check5 = e.Check7 = e.Check8 = 1;
  // 0.2 + 0.01 + 0.2 + 0.1 = 0.51, and with erosion 0.9: 1.21, not capped here.
  EXPECT_NEAR(run::ExternalFactorSum(e), 0.51, 1e-12);
  e.Eroz = 0.9;
  EXPECT_NEAR(run::ExternalFactorSum(e), 1.21, 1e-12);

  run::Crossings c;
  c.probability = {0.1, 0.05, 0.2, 0.08};  // road, power line, pipeline, cable
  c.ticked = {0, 1, 0, 1};
  EXPECT_NEAR(run::StoredCrossingSum(c), 0.13, 1e-12);
  // 0.5 + 0.5 + 0.2 + 0.08 = 1.28: the sum keeps it, the row gets 1.
  c.probability = {0.5, 0.5, 0.2, 0.08};
  c.ticked = {1, 1, 1, 1};
  EXPECT_NEAR(run::CrossingSum(c), 1.28, 1e-12);
  EXPECT_DOUBLE_EQ(run::StoredCrossingSum(c), 1.0);
}
