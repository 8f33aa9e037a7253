// Preparation of a run: the rupture probability from the accident rate, and the checks with their messages.
#include <gtest/gtest.h>

#include <cmath>

#include "common/texts.h"
#include "db/settings_rules.h"
#include "models/flame_flux.h"
#include "run/prepare.h"
#include "run/run_texts.h"
#include "run_fixtures.h"

namespace velaron::run {
namespace {

using test::GoodData;
using test::GoodRequest;

const QDateTime kNow(QDate(2026, 1, 2), QTime(3, 4, 5));

QString Prepare(const result::RunRequest& r, const RunData& d) { return PrepareRun(r, d, kNow).error; }
QString U(const char* s) { return QString::fromUtf8(s); }

TEST(Prepare, RuptureFromTheTypedRateOrTheRegionWithTheDiameterCoefficient) {
  // Way 3 keeps the typed 0.5; 1 − exp(−0.5·1000/10⁶) = 0.00049988 → 0.0005 after rounding.
  PrepareResult res = PrepareRun(GoodRequest(2), GoodData(), kNow);
  ASSERT_TRUE(res.ok());
  EXPECT_DOUBLE_EQ(res.run->probabilities.PRuptureBase, 0.0005);
  EXPECT_DOUBLE_EQ(res.run->state.derived.AccidentRate, 0.5);
  // Way 1: lambda 0.33 × KoefDy; D = 1120 mm lies between 1220 (0.5) and 1020 (0.7): 0.6.
  result::RunRequest r = GoodRequest(2);
  r.rate.way = 1;
  r.rate.RegionPos = 1;
  r.pipeline.Diametr = 1120;
  res = PrepareRun(r, GoodData(), kNow);
  ASSERT_TRUE(res.ok()) << res.error.toStdString();
  EXPECT_NEAR(res.run->state.derived.KoefDy, 0.6, 1e-12);
  EXPECT_NEAR(res.run->state.derived.AccidentRate, 0.33 * 0.6, 1e-12);
  r.rate.RegionPos = 2;  // no such region
  EXPECT_EQ(Prepare(r, GoodData()), U("Необходимо выбрать регион!"));
}

// Each case breaks one input of a good request of its scenario code; the message is the one the user sees
// (an empty one: any message). The town without wind is refused by the year-round assessment's own check.
struct Broken {
  const char* what;
  int code;
  std::function<void(result::RunRequest&, RunData&)> breakIt;
  QString message;
};

}  // namespace
}  // namespace velaron::run
