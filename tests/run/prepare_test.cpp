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

TEST(Prepare, EachCheckRefusesWithItsMessage) {
  using F = std::function<void(result::RunRequest&, RunData&)>;
  const F strongWind = [](result::RunRequest& r, RunData&) { r.run.WindSpeed = 12; };  // refused above 9.9 m/s
  const std::vector<Broken> cases = {
      {"gas row missing", 5, [](result::RunRequest&, RunData& d) { d.gas.reset(); }, U(velaron::texts::kGasDataMissing)},
      {"no ground row", 5, [](result::RunRequest&, RunData& d) { d.ground.reset(); }, U(velaron::texts::kWrongSection)},
      {"diameter 0", 5, [](result::RunRequest& r, RunData&) { r.pipeline.Diametr = 0; }, U(texts::kDiameter)},
      {"pressure 30 MPa", 5, [](result::RunRequest& r, RunData&) { r.pipeline.DavlDown = 30; }, U(texts::kPressureTooHigh)},
      {"wind from 30°", 5, [](result::RunRequest& r, RunData&) { r.run.WindDir = 30; }, U(texts::kWindDirection)},
      {"wind just above 9.9 m/s on a jet", 5, [](result::RunRequest& r, RunData&) { r.run.WindSpeed = 9.900001; },
       U("Скорость ветра 9,900001 м/с больше 9,9 м/с: факел при таком ветре не рассчитывается. Проверте правильность ввода!")},
      {"wind 12 m/s on the pit jet", 3, strongWind, U(models::StrongWindText(12).c_str())},
      {"wind 12 m/s on the asymmetric jet", 4, strongWind, U(models::StrongWindText(12).c_str())},
      {"share above 1", 5, [](result::RunRequest& r, RunData&) { r.run.shares = result::JetShares{1.5, 0, 0, 0, 0, 0}; },
       U(texts::kBadShare)},
      {"section pressure 0", 5,
       [](result::RunRequest& r, RunData& d) {
         r.pipeline.DavlUp = 0;
         r.pipeline.DavlDown = 0.001;
         d.section->Udal = 100000;
       },
       U(texts::kPressureNotPositive)},
      {"cloud without a flame speed class", 8, [](result::RunRequest&, RunData& d) { d.gas->DangerClass = 2; },
       U(texts::kNoFlameSpeed)},
      {"fireball of no mass", 6, [](result::RunRequest& r, RunData&) { r.settings.Tfb = 0; }, U(texts::kFireBallMass)},
      {"cloud of no mass", 8, [](result::RunRequest& r, RunData&) { r.settings.Dola_obl = 0; }, U(texts::kCloudMass)},
      {"473 K, the tables end at 400 K", 2, [](result::RunRequest& r, RunData&) { r.pipeline.Temp = 200; }, QString()},
      {"year-round without a town", 7, [](result::RunRequest&, RunData&) {}, U(texts::kNoTown)},
      // The complex assessment burns a fireball and a cloud too: both masses must be there.
      {"complex without a cloud mass", 1,
       [](result::RunRequest& r, RunData& d) {
         d.town = test::GoodTown();
         r.settings.Tobl = 0;
       },
       U(texts::kCloudMass)},
  };
  for (const Broken& c : cases) {
    result::RunRequest r = GoodRequest(c.code);
    RunData d = GoodData();
    c.breakIt(r, d);
    const PrepareResult res = PrepareRun(r, d, kNow);
    EXPECT_FALSE(res.ok()) << c.what;
    if (!c.message.isEmpty()) EXPECT_EQ(res.error, c.message) << c.what;
    else EXPECT_FALSE(res.error.isEmpty()) << c.what;
  }
  // What only stops some scenarios lets the others through: a strong wind an explosion, a gas without a
  // flame speed class anything but the cloud; a town with wind the assessments over a year.
  result::RunRequest r = GoodRequest(2);
  r.run.WindSpeed = 12;
  RunData d = GoodData();
  d.gas->DangerClass = 2;
  EXPECT_TRUE(PrepareRun(r, d, kNow).ok());
  d = GoodData();
  d.town = test::GoodTown();
  EXPECT_TRUE(PrepareRun(GoodRequest(7), d, kNow).ok()) << Prepare(GoodRequest(7), d).toStdString();
}

}  // namespace
}  // namespace velaron::run
