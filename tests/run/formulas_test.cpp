// The flame's tilt and the asymmetric flame's geometry against values worked by hand (the arithmetic is
// written out in the comments, or was done separately in double precision).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

#include "run/flame_geometry.h"
#include "run/prepare.h"
#include "run/run_texts.h"
#include "run/probabilities.h"
#include "run_fixtures.h"

namespace velaron::run {
namespace {

TEST(Tilt, RulesByTheWindRatioAndNeverIntoTheGround) {
  const struct {
    double Rw, Ri, degrees;
    const char* how;
  } cases[] = {
      {0, 1.7, 90, "still air, first rule: 90 − (−π/2·0 + 0)"},
      {0.05, 400, 90.13405635653105,
       "Rw of exactly 5 % takes the first rule: 90 − ((0 − π/2)(1 − e^−1.28) + 8000·0.05/400) = 90 + 1.1340563565 "
       "− 1; the second rule would give 87.86246671791355"},
      {0.06, 20, 66.1543686803479, "above 5 %, second rule: (0 − π/2)(1 − e^−1.536) + 90 − (134 + 1726·√0.034)/20"},
      // Rw = 0.6 had no rule at all (the value of an earlier run was converted again); the second rule now
      // applies.
      {0.6, 40, 52.38756111611008, "Rw 0.6: (−π/2)(1 − e^−15.36) + 90 − (134 + 1726·√0.574)/40"},
      {0.6, 2, 0, "the second rule gives −632.4°: the flame is taken as horizontal"},
      {0.05, 2, 0, "first rule with a strong Richardson term, 90 + 1.134 − 8000·0.05/2 < 0: horizontal"},
  };
  for (const auto& c : cases) EXPECT_NEAR(TiltDegrees(0, c.Rw, c.Ri), c.degrees, 1e-11) << c.how;
  EXPECT_NEAR(TiltRadians(0, 0, 1.7), kPi / 2, 1e-15);
}

TEST(AsymmetricGeometry, FlatFlameLiftsOffATenthATiltedOneMore) {
  // SpeedOut 300, base length 100, DEquiv 5, v 0.02, wind 3, tilt 0:
  // LTorchWind = (0.51e^−120 + 0.49)·100·(1 − 0.00607(25° − π/2)) = 49.33742363162344;
  // LiftOff = LTorchWind/10; RL = LTorchWind − LiftOff = 44.40368126846109; W1 = 5·√(1.293·0.02) =
  // 0.8040522371090076; W2 = 15.429712097463476; ConeAngle = atan(((W2 − W1)/2)/RL) = 0.1632245493489347.
  const AsymmetricGeometry g = ComputeAsymmetricGeometry(300, 100, 5, 0.02, 3, 30, 0);
  EXPECT_NEAR(g.LTorchWind, 49.33742363162344, 1e-11);
  EXPECT_NEAR(g.KLift, 0.1664651893194266, 1e-14);
  EXPECT_NEAR(g.LiftOff, 4.933742363162343, 1e-12);
  EXPECT_NEAR(g.RL, 44.40368126846109, 1e-11);
  EXPECT_NEAR(g.W1, 0.8040522371090076, 1e-12);
  EXPECT_NEAR(g.W2, 15.429712097463476, 1e-11);
  EXPECT_NEAR(g.ConeAngle, 0.1632245493489347, 1e-13);
  EXPECT_NEAR(g.Tilt, 25 * kPi / 180, 1e-15);  // the model works with the jet's own elevation
  EXPECT_NEAR(g.JetDir, -30 * kPi / 180, 1e-15);
  // Tilt π/3: LiftOff = LTorchWind·sin(KLift·π/3)/sin(π/3) = 9.880890428984637,
  // RL = √(LTorchWind² − LiftOff²·sin²) − LiftOff·cos = 43.64923860680944.
  const AsymmetricGeometry t = ComputeAsymmetricGeometry(300, 100, 5, 0.02, 3, 30, kPi / 3);
  EXPECT_NEAR(t.LiftOff, 9.880890428984637, 1e-11);
  EXPECT_NEAR(t.RL, 43.64923860680944, 1e-11);
}

// The jet-flame window's pipe is prepared by the run's own preparation, with the window's rules: no section,
// ground or accident rate, the last run's probabilities, the typed temperature as it stands, the typed lift
// angle as the jet's elevation, no fireball or cloud.
TEST(JetFlamePipe, IsPreparedWithTheWindowsOwnRules) {
  result::RunRequest r = test::GoodRequest(4);
  r.pipeline.Temp = 10.4;
  r.section = {};
  r.section.Azimut = 40;
  result::JetFlamePipe pipe{10, {}};
  pipe.last.PAsimmTorch = 1e-3;
  r.jetFlame = pipe;
  RunData data = test::GoodData();
  data.section = r.section;
  data.ground.reset();
  const PrepareResult p = PrepareRun(r, data, QDateTime::currentDateTime());
  ASSERT_TRUE(p.ok()) << p.error.toStdString();
  const models::DerivedQuantities& d = p.run->state.derived;
  EXPECT_DOUBLE_EQ(d.TempK, 283.4);  // a dialog run reads the tables at whole degrees: 283
  EXPECT_NEAR(d.JetAngle, 10 * kPi / 180, 1e-15);
  EXPECT_NEAR(d.JetDir, -40 * kPi / 180, 1e-15);
  EXPECT_EQ(std::tuple(d.AccidentRate, d.MassFireBall, d.MassGPVS, p.run->probabilities.PAsimmTorch),
            std::tuple(0.0, 0.0, 0.0, 1e-3));
  r.jetFlame->LiftAngle = 95;
  EXPECT_EQ(PrepareRun(r, data, QDateTime::currentDateTime()).error, QString::fromUtf8(texts::kLiftAngle));
}

// The section's crossing sum enters the ignition as P4 + P4·p_v (P4 = 0.25 in the good data). A sum up to 1
// is taken as it is; above 1 and up to 4 (four crossings of at most 1 each) as 1 with a note; anything else
// is refused naming the sum (5 was capped at 1 like a sum four crossings can make).
TEST(CrossingSum, IsCappedAtOneWithItsNoteUpToFourAndRefusedBeyond) {
  const struct {
    double p_v;
    bool note;
    double PIgnition;  // 0: refused
  } cases[] = {{0.5, false, 0.375}, {1, false, 0.5}, {1.5, true, 0.5}, {5, false, 0}, {-0.1, false, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.p_v);
    RunData data = test::GoodData();
    data.section->p_v = c.p_v;
    const PrepareResult p = PrepareRun(test::GoodRequest(5), data, QDateTime::currentDateTime());
    if (c.PIgnition == 0) {
      EXPECT_TRUE(p.error.startsWith(QString::fromUtf8("Сумма вероятностей влияния пересечений на возгорание")) &&
                  p.error.contains(QString::fromUtf8("должно быть от 0 до 4")))
          << p.error.toStdString();
      continue;
    }
    ASSERT_TRUE(p.ok()) << p.error.toStdString();
    EXPECT_EQ(p.run->notes.contains(QString::fromUtf8(texts::kCrossingSumNote)), c.note);
    EXPECT_DOUBLE_EQ(p.run->state.derived.p_v, std::min(c.p_v, 1.0));
    EXPECT_DOUBLE_EQ(p.run->probabilities.PIgnition, c.PIgnition);
  }
}

}  // namespace
}  // namespace velaron::run
