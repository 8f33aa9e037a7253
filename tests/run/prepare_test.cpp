// Preparation of a run: the checks, their messages and their order, the notes on capped sums, and what
// a prepared run hands to the model.
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

TEST(Prepare, GoodRequestPasses) {
  const PrepareResult res = PrepareRun(GoodRequest(5), GoodData(), kNow);
  ASSERT_TRUE(res.ok()) << res.error.toStdString();
  const PreparedRun& run = *res.run;
  EXPECT_EQ(run.ScenarioName, U("Факел (симметр.горение)"));
  EXPECT_EQ(run.state.progressTitle, "Сценарий \"Факел-симметричный\"");
  EXPECT_EQ(run.start, kNow);
  EXPECT_TRUE(run.notes.isEmpty());
  // Shares from the ground row when none are given.
  EXPECT_EQ(run.request.run.shares->Pkw, 0.2);
  EXPECT_EQ(run.request.run.shares->Pas, 0.4);
  // Winter: PSimmTorch = Psw · PRupture · PIgnition, PIgnition = 0.25 + 0.25·0 = 0.25.
  EXPECT_DOUBLE_EQ(run.probabilities.PIgnition, 0.25);
  EXPECT_DOUBLE_EQ(run.state.probabilities.PSimmTorch, 0.3 * run.probabilities.PRupture * 0.25);
  // The grid: 200 m at 10 m gives −10..10; the layers are only made for the assessments that keep them.
  EXPECT_EQ(std::make_pair(run.state.GridValue.nx(), run.state.GridValue.ny()), std::make_pair(10, 10));
  EXPECT_TRUE(run.state.LayerFlux.empty());
  EXPECT_EQ(run.texts.DavlText, U("5,00"));
  EXPECT_EQ(run.MeteoText, (std::array<QString, 3>{U("Зима"), U("3"), U("С")}));
}

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

TEST(Prepare, WholeDegreesHalveToEvenAndTheWindGetsItsAngle) {
  result::RunRequest r = GoodRequest(5);
  r.pipeline.Temp = 10.5;
  EXPECT_EQ(PrepareRun(r, GoodData(), kNow).run->state.derived.TempK, 283);
  r.pipeline.Temp = 11.5;
  EXPECT_EQ(PrepareRun(r, GoodData(), kNow).run->state.derived.TempK, 285);
  r.run.WindDir = 225;
  const PrepareResult res = PrepareRun(r, GoodData(), kNow);
  ASSERT_TRUE(res.ok());
  // 225/180·π + π/2 with π = 3.14159265358979.
  EXPECT_NEAR(res.run->state.derived.WindAngle, 225.0 / 180 * 3.14159265358979 + 3.14159265358979 / 2, 1e-14);
  EXPECT_EQ(res.run->MeteoText[2], U("Ю-З"));
}

TEST(Prepare, SumsAboveOneAreCappedWithANote) {
  RunData d = GoodData();
  d.section->p_v = 1.3;
  PrepareResult res = PrepareRun(GoodRequest(2), d, kNow);
  ASSERT_TRUE(res.ok());
  EXPECT_EQ(res.run->notes, QStringList{U(texts::kCrossingSumNote)});
  EXPECT_EQ(res.run->state.derived.p_v, 1.0);
  d.section->p_v = 1.0;  // exactly 1: no note
  EXPECT_TRUE(PrepareRun(GoodRequest(2), d, kNow).run->notes.isEmpty());
  result::RunRequest r = GoodRequest(2);
  r.external = result::ExternalInputs{1, 1, 1, 1, 0.5, 0.3, 0.2, 0.2};  // 1.2
  res = PrepareRun(r, GoodData(), kNow);
  ASSERT_TRUE(res.ok());
  EXPECT_EQ(res.run->notes, QStringList{U(texts::kExternalSumNote)});
  EXPECT_EQ(res.run->state.derived.ExtFactors, 1.0);
}

TEST(Prepare, AsymmetricJetGetsItsGeometryAndLayers) {
  const PrepareResult res = PrepareRun(GoodRequest(4), GoodData(), kNow);
  ASSERT_TRUE(res.ok()) << res.error.toStdString();
  const models::DerivedQuantities& d = res.run->state.derived;
  EXPECT_TRUE(d.asymmetricComputed);
  EXPECT_NEAR(d.Tilt, 25 * 3.14159265358979 / 180, 1e-15);
  EXPECT_GT(d.W2, 2 * d.W1);
  EXPECT_EQ(res.run->state.LayerFlux.count(), 6);
  EXPECT_EQ(res.run->state.LayerProc.count(), 8);
}

// Each case breaks one input of a good request of its scenario code; the message is the one the user sees
// (an empty one: any message). The checks whose order is pinned below are not repeated here, nor the town
// without wind, whose message the whole-run tests pin.
struct Broken {
  const char* what;
  int code;
  std::function<void(result::RunRequest&, RunData&)> breakIt;
  QString message;
};

TEST(Prepare, EachCheckRefusesWithItsMessage) {
  using F = std::function<void(result::RunRequest&, RunData&)>;
  const F strongWind = [](result::RunRequest& r, RunData&) { r.run.WindSpeed = 12; };  // refused from 10 m/s
  const std::vector<Broken> cases = {
      {"gas row missing", 5, [](result::RunRequest&, RunData& d) { d.gas.reset(); }, U(velaron::texts::kGasDataMissing)},
      {"no ground row", 5, [](result::RunRequest&, RunData& d) { d.ground.reset(); }, U(velaron::texts::kWrongSection)},
      {"diameter 0", 5, [](result::RunRequest& r, RunData&) { r.pipeline.Diametr = 0; }, U(texts::kDiameter)},
      {"pressure 30 MPa", 5, [](result::RunRequest& r, RunData&) { r.pipeline.DavlDown = 30; }, U(texts::kPressureTooHigh)},
      {"wind from 30°", 5, [](result::RunRequest& r, RunData&) { r.run.WindDir = 30; }, U(texts::kWindDirection)},
      {"wind 10 m/s on a jet", 5, [](result::RunRequest& r, RunData&) { r.run.WindSpeed = 10; },
       U(models::kStrongWindMessage)},
      {"wind 12 m/s on the pit jet", 3, strongWind, U(models::kStrongWindMessage)},
      {"wind 12 m/s on the asymmetric jet", 4, strongWind, U(models::kStrongWindMessage)},
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

TEST(Prepare, ChecksComeInOrder) {
  // Settings before the gas, the gas before the section, the section before the gas's own data, the
  // pipeline before the weather.
  result::RunRequest r = GoodRequest(5);
  RunData d = GoodData();
  r.settings.CStep = 0;
  r.pipeline.Gas = 0;
  d.section.reset();
  d.gas->m = 0;
  r.pipeline.Ltrub = 0;
  r.run.WindSpeed = -1;
  ASSERT_FALSE(db::CheckSettings(r.settings).isEmpty());
  EXPECT_EQ(Prepare(r, d), db::CheckSettings(r.settings));
  r.settings.CStep = 10;
  EXPECT_EQ(Prepare(r, d), U(velaron::texts::kGasDataMissing));
  r.pipeline.Gas = 1;
  EXPECT_EQ(Prepare(r, d), U(velaron::texts::kWrongSection));
  d.section = GoodData().section;
  EXPECT_EQ(Prepare(r, d), U(texts::kBadMolarMass));
  d.gas->m = 16;
  EXPECT_EQ(Prepare(r, d), U(texts::kPipelineLength));
  r.pipeline.Ltrub = 100;
  EXPECT_EQ(Prepare(r, d), U(texts::kNegativeWind));
}

TEST(Prepare, EveryCodeOfTheDialogListIsAvailable) {
  // The list offers codes 1 to 8; the assessments over a year (1 and 7) run like the single scenarios.
  for (int code = 1; code <= 8; ++code) EXPECT_TRUE(ScenarioAvailable(code)) << code;
  EXPECT_FALSE(ScenarioAvailable(0));
  EXPECT_FALSE(ScenarioAvailable(9));
}

}  // namespace
}  // namespace velaron::run
