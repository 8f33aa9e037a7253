// The stand-alone jet flame: its frustum geometry against the run's and the quantities it derives from
// the window's own inputs.
#include <gtest/gtest.h>

#include <cmath>

#include "run/flame_geometry.h"
#include "run/run_fixtures.h"
#include "run/yearround/jet_flame.h"

namespace velaron::run::yearround {
namespace {

constexpr double kTestPi = 3.14159265358979;

db::AdjustmentRow Settings() {
  db::AdjustmentRow a;
  a.XLimit = 200;
  a.YLimit = 200;
  a.CStep = 20;
  return a;
}

JetFlameInputs Inputs() {
  JetFlameInputs in;
  in.gas = db::GasRow{QString::fromUtf8("Метан"), 16.043, 50000, 21, 0.2, 4};
  in.Diametr = 500;
  in.Davl = 5.5;
  in.Temp = 10.5;
  in.Glubina = 1.2;
  in.WindSpeed = 2;
  in.WindDirPos = 4;  // "Ю"
  in.Azimut = 60;
  in.LiftAngle = 0;
  return in;
}

TEST(JetFlame, GeometryAtTwentyFiveDegreesIsTheRunsAsymmetricGeometry) {
  // The window's frustum is the run's geometry with the typed elevation: given 25° explicitly it must be
  // the run's fixed-elevation geometry, value for value.
  for (double wind : {0.0, 3.0, 8.0}) {
    for (double tilt : {0.0, 0.4, 1.2}) {
      const AsymmetricGeometry run = ComputeAsymmetricGeometry(410, 150, 3.1, 0.025, wind, 30, tilt);
      const AsymmetricGeometry own =
          ComputeAsymmetricGeometry(410, 150, 3.1, 0.025, wind, 30, tilt, 25 / 180.0 * kTestPi);
      EXPECT_DOUBLE_EQ(run.JetAngle, 25 / 180.0 * kTestPi);
      EXPECT_NEAR(own.LTorchWind, run.LTorchWind, 1e-12);
      EXPECT_NEAR(own.LiftOff, run.LiftOff, 1e-12);
      EXPECT_NEAR(own.RL, run.RL, 1e-12);
      EXPECT_NEAR(own.W1, run.W1, 1e-12);
      EXPECT_NEAR(own.W2, run.W2, 1e-12);
      EXPECT_NEAR(own.ConeAngle, run.ConeAngle, 1e-12);
      EXPECT_NEAR(own.Ri, run.Ri, 1e-12);
      EXPECT_DOUBLE_EQ(own.JetDir, run.JetDir);
      EXPECT_DOUBLE_EQ(own.Tilt, run.Tilt);
    }
  }
  // A lower elevation limits the cone angle to just under it.
  const AsymmetricGeometry flat = ComputeAsymmetricGeometry(410, 150, 3.1, 0.025, 3, 30, 0.4, 0.05);
  EXPECT_DOUBLE_EQ(flat.ConeAngle, 0.05 - 0.01);
  EXPECT_DOUBLE_EQ(flat.Tilt, 0.05);
  // The elevation enters the wind-corrected length through (1 − 0.00607·(angle − π/2)): a flat jet is
  // longer than one at 25° by the ratio of the two factors.
  const AsymmetricGeometry at25 = ComputeAsymmetricGeometry(410, 150, 3.1, 0.025, 3, 30, 0.4);
  const AsymmetricGeometry at0 = ComputeAsymmetricGeometry(410, 150, 3.1, 0.025, 3, 30, 0.4, 0.0);
  EXPECT_NEAR(at0.LTorchWind / at25.LTorchWind,
              (1 + 0.00607 * kTestPi / 2) / (1 - 0.00607 * (25 / 180.0 * kTestPi - kTestPi / 2)), 1e-12);
}

TEST(JetFlame, WindowAtTwentyFiveDegreesHasTheFrustumOfTheRunsGeometry) {
  // The window prepares its flame through the run's geometry: with a lift angle of 25° its frustum is
  // the run's fixed-elevation frustum for the same outflow, wind and tilt.
  JetFlameInputs in = Inputs();
  in.LiftAngle = 25;
  PrepareResult r = PrepareJetFlame(in, Settings(), test::SyntheticTables(), {});
  ASSERT_TRUE(r.ok()) << r.error.toStdString();
  const models::DerivedQuantities& d = r.run->state.derived;
  // The tilt the window starts from: the run's tilt rule at 25° with the still-air Richardson term.
  const double ri = std::cbrt(9.81 / std::pow(d.DEquiv * d.SpeedOut, 2)) * d.LTorchBase;
  const double tilt = TiltRadians(25 / 180.0 * kTestPi, d.Rw, ri);
  const AsymmetricGeometry run =
      ComputeAsymmetricGeometry(d.SpeedOut, d.LTorchBase, d.DEquiv, d.SpecVolume, d.WindSpeed, d.Azimut, tilt);
  EXPECT_DOUBLE_EQ(d.LTorchWind, run.LTorchWind);
  EXPECT_DOUBLE_EQ(d.RL, run.RL);
  EXPECT_DOUBLE_EQ(d.W1, run.W1);
  EXPECT_DOUBLE_EQ(d.W2, run.W2);
  EXPECT_DOUBLE_EQ(d.ConeAngle, run.ConeAngle);
  EXPECT_DOUBLE_EQ(d.JetAngle, run.JetAngle);
}

TEST(JetFlame, WindowInputsGiveTheFlameQuantitiesAndLayersOfAFreshState) {
  Probabilities last;
  last.PAsimmTorch = 2e-4;
  PrepareResult r = PrepareJetFlame(Inputs(), Settings(), test::SyntheticTables(), last);
  ASSERT_TRUE(r.ok()) << r.error.toStdString();
  const PreparedRun& run = *r.run;
  const models::DerivedQuantities& d = run.state.derived;
  EXPECT_EQ(run.state.ScenarioCode, 4);
  // South: 180° + 90° in radians.
  EXPECT_DOUBLE_EQ(d.WindAngle, kTestPi + kTestPi / 2);
  // The typed temperature plus 273, not rounded to whole degrees.
  EXPECT_DOUBLE_EQ(d.TempK, 283.5);
  EXPECT_DOUBLE_EQ(d.Dtrub, 0.5);
  EXPECT_DOUBLE_EQ(d.Azimut, 60);
  EXPECT_DOUBLE_EQ(d.JetDir, -60 * kTestPi / 180);
  // Lift angle 0: the jet lies flat and the model starts along it.
  EXPECT_EQ(d.JetAngle, 0.0);
  EXPECT_EQ(d.Tilt, 0.0);
  EXPECT_TRUE(d.asymmetricComputed);
  EXPECT_EQ(d.KEllipse, 1 - 0.1 * 2);
  // Pit length on the line through (0.1 m, 10 m) and (2 m, 60 m) at 0.5 m.
  EXPECT_NEAR(d.PitLength, 10 + (0.5 - 0.1) * (60 - 10) / 1.9, 1e-12);
  EXPECT_EQ(run.state.LayerFlux.count(), 6);
  EXPECT_EQ(run.state.LayerProc.count(), 8);
  EXPECT_EQ(run.state.LayerProc.layer(1).nx(), 5);
  EXPECT_EQ(run.probabilities.PAsimmTorch, 2e-4);
}

TEST(JetFlame, InputsThatCannotMakeAFlameAreRefused) {
  JetFlameInputs storm = Inputs();
  storm.WindSpeed = 10;
  EXPECT_FALSE(PrepareJetFlame(storm, Settings(), test::SyntheticTables(), {}).ok());
  JetFlameInputs cold = Inputs();
  cold.Temp = -150;  // below the gas-property tables
  const PrepareResult c = PrepareJetFlame(cold, Settings(), test::SyntheticTables(), {});
  ASSERT_FALSE(c.ok());
  EXPECT_FALSE(c.error.isEmpty());
  JetFlameInputs noPressure = Inputs();
  noPressure.Davl = 0;
  EXPECT_FALSE(PrepareJetFlame(noPressure, Settings(), test::SyntheticTables(), {}).ok());
  db::AdjustmentRow badGrid = Settings();
  badGrid.CStep = 0;
  EXPECT_FALSE(PrepareJetFlame(Inputs(), badGrid, test::SyntheticTables(), {}).ok());
}

TEST(JetFlame, LiftAngleAboveTheVerticalIsRefused) {
  // The angle box takes any whole number. 200° used to be taken as it stood: sin 200° < 0 puts the
  // axis of the frustum below the horizontal, so the four flames burnt into the ground, and 91°..180°
  // turned them back over the rupture. The pipe end rises at most to the vertical.
  for (double angle : {91.0, 200.0, 270.0}) {
    JetFlameInputs in = Inputs();
    in.LiftAngle = angle;
    const PrepareResult r = PrepareJetFlame(in, Settings(), test::SyntheticTables(), {});
    ASSERT_FALSE(r.ok()) << angle;
    EXPECT_TRUE(r.error.contains(QString::fromUtf8("от 0 до 90°"))) << r.error.toStdString();
  }
  for (double angle : {0.0, 45.0, 90.0}) {
    JetFlameInputs in = Inputs();
    in.LiftAngle = angle;
    const PrepareResult r = PrepareJetFlame(in, Settings(), test::SyntheticTables(), {});
    ASSERT_TRUE(r.ok()) << angle << ": " << r.error.toStdString();
    EXPECT_DOUBLE_EQ(r.run->state.derived.JetAngle, angle / 180 * kTestPi);
  }
}

}  // namespace
}  // namespace velaron::run::yearround
