// Accident rate of the pipeline by its three ways, as the main window computes it. Expected values are
// worked by hand from the rows given in the test.
#include <cmath>
#include <gtest/gtest.h>

#include "run/accident_rate.h"
#include "run/run_texts.h"

using namespace velaron;
using run::ComputeAccidentRate;

namespace {
// A diameter table in its stored order, from the largest diameter down.
const std::vector<db::KoefDyRow> kTable = {{1420, 0.31}, {1220, 0.5}, {1020, 0.7}, {529, 1.43}};
const std::vector<db::RegionRow> kRegions = {{"Север", 0.5, 2.0}, {"Юг", 0.2, 1.5}};
}  // namespace

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
