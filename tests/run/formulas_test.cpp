// Scenario probabilities, section pressure, outflow quantities and flame geometry, against values worked
// by hand (the arithmetic is written out in the comments, or was done separately in double precision);
// then the inputs the stand-alone jet flame refuses.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "run/flame_geometry.h"
#include "run/probabilities.h"
#include "run/yearround/jet_flame.h"
#include "run_fixtures.h"

namespace velaron::run {
namespace {

constexpr double kPiTest = 3.14159265358979;

TEST(Ignition, SoilValuePlusCrossingsCappedAtNinetyFivePercentAboveOne) {
  EXPECT_DOUBLE_EQ(IgnitionProbability(0.25, 0), 0.25);  // no crossings: the soil value
  EXPECT_DOUBLE_EQ(IgnitionProbability(0.6, 1), 0.95);   // 0.6 + 0.6·1 = 1.2 > 1
  EXPECT_DOUBLE_EQ(IgnitionProbability(0.5, 1), 1.0);    // 0.5 + 0.5·1 = 1 exactly stays 1
}

TEST(Rupture, RoundedToSixDecimalsAndATinyRateGivesZeroToEveryScenario) {
  // 1 − exp(−0.1023·5000/10⁶) = 1 − exp(−0.0005115) = 0.00051136920... → 0.000511.
  EXPECT_DOUBLE_EQ(RuptureProbabilityBase(0.1023, 5000), 0.000511);
  // 1 − exp(−1e-4·1000/10⁶) ≈ 1e-7 < 5e-7: rounds to 0.
  ProbabilityInputs in;
  in.AccidentRate = 1e-4;
  in.Length = 1000;
  in.P4 = 0.5;
  in.InversPercent = 30;
  in.shares = result::JetShares{0.3, 0.3, 0.4, 0.3, 0.3, 0.4};
  const result::Probabilities p = ComputeProbabilities(in);
  for (double v : {p.PRuptureBase, p.PRupture, p.PFireBall, p.PGPVS, p.PKotlTorch, p.PSimmTorch, p.PAsimmTorch})
    EXPECT_EQ(v, 0);
}

ProbabilityInputs Base() {
  ProbabilityInputs in;
  in.AccidentRate = 0.1023;
  in.Length = 5000;  // PRuptureBase 0.000511 (above)
  in.P4 = 0.25;
  in.p_v = 0.1;      // PIgnition 0.275
  in.shares = result::JetShares{0.2, 0.3, 0.5, 0.25, 0.35, 0.4};
  return in;
}

TEST(Scenarios, ExternalFactorsInversionAndSeasonShareOutTheRupture) {
  ProbabilityInputs in = Base();
  EXPECT_DOUBLE_EQ(ComputeProbabilities(in).PRupture, 0.000511);
  in.ExtFactors = 0.51;  // 0.000511 · 1.51 = 0.00077161
  EXPECT_NEAR(ComputeProbabilities(in).PRupture, 0.00077161, 1e-15);
  // Inversion 0 % burns it all as a fireball, 100 % all as a cloud.
  in = Base();
  in.InversPercent = 0;
  result::Probabilities p = ComputeProbabilities(in);
  EXPECT_EQ(p.PGPVS, 0);
  EXPECT_DOUBLE_EQ(p.PFireBall, 0.000511 * 0.275);
  in.InversPercent = 100;
  p = ComputeProbabilities(in);
  EXPECT_EQ(p.PFireBall, 0);
  EXPECT_DOUBLE_EQ(p.PGPVS, 0.000511 * 0.275);
  // Each season takes its own three jet shares.
  in.season = 0;
  p = ComputeProbabilities(in);
  EXPECT_DOUBLE_EQ(p.PKotlTorch, 0.2 * 0.000511 * 0.275);
  EXPECT_DOUBLE_EQ(p.PSimmTorch, 0.3 * 0.000511 * 0.275);
  EXPECT_DOUBLE_EQ(p.PAsimmTorch, 0.5 * 0.000511 * 0.275);
  in.season = 1;
  in.shares.Pkw = 0.9;  // an edited winter box does not matter in summer
  p = ComputeProbabilities(in);
  EXPECT_DOUBLE_EQ(p.PKotlTorch, 0.25 * 0.000511 * 0.275);
  EXPECT_DOUBLE_EQ(p.PSimmTorch, 0.35 * 0.000511 * 0.275);
  EXPECT_DOUBLE_EQ(p.PAsimmTorch, 0.4 * 0.000511 * 0.275);
  // The state copies of all six shares are kept for both seasons.
  EXPECT_EQ(p.Pkw, 0.9);
  EXPECT_EQ(p.Pas, 0.4);
}

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
  EXPECT_NEAR(TiltRadians(0, 0, 1.7), kPiTest / 2, 1e-15);
}

// The gas of the hand-worked outflow below, without wind.
OutflowInputs Gas(int code) {
  OutflowInputs in;
  in.Dtrub = 1;
  in.Davl = 5;
  in.cp = 2.5;
  in.v = 0.02;
  in.v0 = 1.5;
  in.m = 16;
  in.a = 21;
  in.b = 0.2;
  in.Azimut = 30;
  in.ScenarioCode = code;
  return in;
}

TEST(Outflow, HandWorkedGas) {
  // cp 2.5, m 16: k = 2.5/(2.5 − 0.519625) = 1.2623871741463106; v 0.02 m³/kg at 5 MPa:
  // w = √(2k·5e6·0.02/(k+1)) = 334.06257126967995 m/s; D 1 m, v0 1.5: G = π/4·w/1.5 = 174.9147532900237 kg/s;
  // DEquiv = √(1/(1.293·0.02)) = 6.218501447092095; L = 21·(w²/9.81)^0.2 = 135.96171093204845;
  // Ri = (9.81/(DEquiv·w)²)^(1/3)·L = 1.7877107458950177; Rw = 3/w = 0.008980353556514354;
  // W2 = (0.18e^(−1.5Rw) + 0.31)(1 − 0.46e^(−25Rw))·L = 41.93095587837835;
  // tilt (first rule) 50.135563275018484°.
  OutflowInputs in = Gas(5);
  in.WindSpeed = 3;
  in.Tfb = 10;
  in.Dola = 0.5;
  in.Tobl = 20;
  in.Dola_obl = 0.3;
  models::DerivedQuantities d;
  ComputeOutflow(in, d);
  EXPECT_NEAR(d.AdiabK, 1.2623871741463106, 1e-13);
  EXPECT_NEAR(d.SpeedOut, 334.06257126967995, 1e-9);
  EXPECT_NEAR(d.MassFlow, 174.9147532900237, 1e-9);
  EXPECT_NEAR(d.MassFireBall, 10 * 174.9147532900237 * 0.5, 1e-8);
  EXPECT_NEAR(d.MassGPVS, 20 * 174.9147532900237 * 0.3, 1e-8);
  EXPECT_NEAR(d.DEquiv, 6.218501447092095, 1e-12);
  EXPECT_NEAR(d.LTorch, 135.96171093204845, 1e-9);
  EXPECT_EQ(d.LTorchBase, d.LTorch);
  EXPECT_NEAR(d.Ri, 1.7877107458950177, 1e-12);
  EXPECT_NEAR(d.Rw, 0.008980353556514354, 1e-15);
  EXPECT_NEAR(d.W2, 41.93095587837835, 1e-9);
  EXPECT_DOUBLE_EQ(d.KEllipse, 0.7);
  EXPECT_EQ(d.JetDir, 0);
  EXPECT_EQ(d.JetAngle, 0);
  EXPECT_NEAR(d.Tilt, 50.135563275018484 * kPiTest / 180, 1e-12);
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
  EXPECT_NEAR(g.Tilt, 25 * kPiTest / 180, 1e-15);  // the model works with the jet's own elevation
  EXPECT_NEAR(g.JetDir, -30 * kPiTest / 180, 1e-15);
  // Tilt π/3: LiftOff = LTorchWind·sin(KLift·π/3)/sin(π/3) = 9.880890428984637,
  // RL = √(LTorchWind² − LiftOff²·sin²) − LiftOff·cos = 43.64923860680944.
  const AsymmetricGeometry t = ComputeAsymmetricGeometry(300, 100, 5, 0.02, 3, 30, kPiTest / 3);
  EXPECT_NEAR(t.LiftOff, 9.880890428984637, 1e-11);
  EXPECT_NEAR(t.RL, 43.64923860680944, 1e-11);
}

// --- The stand-alone jet flame ---------------------------------------------------------------------

using yearround::JetFlameInputs;
using yearround::PrepareJetFlame;

}  // namespace
}  // namespace velaron::run
