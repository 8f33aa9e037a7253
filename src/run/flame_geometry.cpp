#include "run/flame_geometry.h"

#include <cmath>

#include "common/azimuth.h"
#include "result/scenarios.h"

namespace velaron::run {

double SectionPressure(double davlDown, double davlUp, double udal, double length, double ltrubKm) {
  return davlDown - (davlDown - davlUp) * (udal + length / 2) / ltrubKm / 1000;
}

double TiltDegrees(double jetAngle, double Rw, double Ri) {
  const double jetTerm = (jetAngle - kPi / 2) * (1 - std::exp(-25.6 * Rw));
  double tilt;
  if (Rw <= kTiltBranchRw) tilt = 90 - (jetTerm + 8000 * Rw / Ri);
  else tilt = jetTerm + 90 - (134 + 1726 * std::sqrt(Rw - 0.026)) / Ri;
  return tilt < 0 ? 0 : tilt;
}

double LimitConeAngle(double coneAngle, double jetAngle) { return coneAngle < jetAngle ? coneAngle : jetAngle - 0.01; }

double TiltRadians(double jetAngle, double Rw, double Ri) { return TiltDegrees(jetAngle, Rw, Ri) * kPi / 180; }

void ComputeOutflow(const OutflowInputs& in, models::DerivedQuantities& d) {
  d.Dtrub = in.Dtrub;
  d.Davl = in.Davl;
  d.WindSpeed = in.WindSpeed;
  d.Azimut = AzimuthWithinTurn(in.Azimut);
  d.AdiabK = in.cp / (in.cp - kGasConstant / in.m);
  d.SpecVolume = in.v;
  // Critical outflow; the pressure in MPa becomes Pa.
  d.SpeedOut = std::sqrt(2 * d.AdiabK * in.Davl * 1000000 * d.SpecVolume / (d.AdiabK + 1));
  d.SpecVolume0 = in.v0;
  // The mass flow goes through the specific volume at 0.1 MPa, as the method states it.
  d.MassFlow = in.Dtrub * in.Dtrub * kPi / 4 * d.SpeedOut / d.SpecVolume0;
  d.MassFireBall = in.Tfb * d.MassFlow * in.Dola;
  d.MassGPVS = in.Tobl * d.MassFlow * in.Dola_obl;
  d.DEquiv = in.Dtrub * std::sqrt(1 / (kAirDensity * d.SpecVolume));
  d.LTorch = in.Dtrub * in.a * std::exp(in.b * std::log(d.SpeedOut * d.SpeedOut / (kG * in.Dtrub)));
  d.LTorchBase = d.LTorch;
  d.Ri = std::cbrt(kG / std::pow(d.DEquiv * d.SpeedOut, 2)) * d.LTorch;
  d.Rw = in.WindSpeed / d.SpeedOut;
  // The 0.46 of the tip width is the method's own.
  d.W2 = (0.18 * std::exp(-1.5 * d.Rw) + 0.31) * (1 - 0.46 * std::exp(-25 * d.Rw)) * d.LTorch;
  d.KEllipse = 1 - 0.1 * in.WindSpeed;
  if (in.scenario == result::Scenario::AsymmetricJet) {
    d.JetDir = -d.Azimut * kPi / 180;
    d.JetAngle = in.JetAngle;
  } else {
    d.JetDir = 0;
    d.JetAngle = 0;
  }
  d.Tilt = TiltRadians(d.JetAngle, d.Rw, d.Ri);
}

AsymmetricGeometry ComputeAsymmetricGeometry(double SpeedOut, double LTorchBase, double DEquiv, double SpecVolume,
                                             double WindSpeed, double Azimut, double tilt, double jetAngle) {
  AsymmetricGeometry g;
  g.JetDir = -AzimuthWithinTurn(Azimut) * kPi / 180;
  g.JetAngle = jetAngle;
  const double Rw = WindSpeed / SpeedOut;
  // The wind correction of the length goes with the outflow speed, as the method states it.
  g.LTorchWind = (0.51 * std::exp(-0.4 * SpeedOut) + 0.49) * LTorchBase * (1 - 0.00607 * (g.JetAngle - kPi / 2));
  g.KLift = 0.185 * std::exp(-20 * Rw) + 0.015;
  if (tilt == 0) g.LiftOff = g.LTorchWind / 10;
  else g.LiftOff = g.LTorchWind * std::sin(g.KLift * tilt) / std::sin(tilt);
  const double s = std::sin(tilt);
  g.RL = std::sqrt(g.LTorchWind * g.LTorchWind - g.LiftOff * g.LiftOff * s * s) - g.LiftOff * std::cos(tilt);
  g.C1 = 1000 * std::exp(-100 * Rw) + 0.8;
  g.Ri = std::cbrt(kG / std::pow(DEquiv * SpeedOut, 2)) * LTorchBase;
  // The base width is taken in still air (wind ratio 0), so the last exponential is 1.
  const double rw0 = 0;
  g.W1 = DEquiv * (13.5 * std::exp(0.0) + 1.5) *
         (1 - (1 - std::sqrt(kAirDensity * SpecVolume) / 15) * std::exp(-70 * g.Ri * DEquiv * g.C1 * rw0));
  g.W2 = (0.18 * std::exp(-1.5 * Rw) + 0.31) * (1 - 0.46 * std::exp(-25 * Rw)) * g.LTorchWind;
  g.ConeAngle = std::atan(((g.W2 - g.W1) / 2) / g.RL);
  g.Tilt = g.JetAngle;
  g.ConeAngle = LimitConeAngle(g.ConeAngle, g.JetAngle);
  return g;
}

void ApplyAsymmetricGeometry(const AsymmetricGeometry& g, models::DerivedQuantities& d) {
  d.asymmetricComputed = true;
  d.LTorchWind = g.LTorchWind;
  d.KLift = g.KLift;
  d.LiftOff = g.LiftOff;
  d.RL = g.RL;
  d.C1 = g.C1;
  d.W1 = g.W1;
  d.W2 = g.W2;
  d.ConeAngle = g.ConeAngle;
  d.Ri = g.Ri;
  d.JetDir = g.JetDir;
  d.JetAngle = g.JetAngle;
  d.Tilt = g.Tilt;
}

}  // namespace velaron::run
