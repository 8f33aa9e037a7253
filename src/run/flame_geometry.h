// Outflow quantities of a full-bore rupture and the geometry of its jet flame in the wind.
// Pure formulas: the gas-property lookups are done by the caller and passed in.
#pragma once

#include "common/pi.h"
#include "models/calc_state.h"
#include "result/scenarios.h"

namespace velaron::run {

// The frustum geometry of the asymmetric jet, present only when a run computed it (code 4).
struct AsymmetricGeometry {
  double LTorchWind = 0;  // wind-corrected flame length, m
  double KLift = 0;       // lift-off factor
  double LiftOff = 0;     // lift-off distance, m
  double RL = 0;          // frustum length, m
  double C1 = 0;          // width factor
  double W1 = 0;          // frustum width at its base, m
  double W2 = 0;          // frustum width at its tip, m
  double ConeAngle = 0;   // half-angle of the frustum, rad
  double Ri = 0;          // Richardson term on the still-air flame length
  double JetDir = 0;      // rad
  double JetAngle = 0;    // rad
  double Tilt = 0;        // rad, equal to JetAngle when the model starts
};

// The constants of the formulas, as the method states them.
inline constexpr double kG = 9.81;
inline constexpr double kGasConstant = 8.314;
inline constexpr double kAirDensity = 1.293;  // kg/m³, used for the equivalent jet diameter
// Elevation of the asymmetric jet's axis above the ground, degrees (a fixed value of the method).
inline constexpr double kAsymmetricJetElevationDeg = 25;
// Below this ratio of wind to outflow speed the flame stands nearly upright (first tilt rule).
inline constexpr double kTiltBranchRw = 0.05;

// Gas pressure in the middle of the section, MPa: it falls linearly from `davlDown` at the start of the
// pipeline to `davlUp` at its end. `udal` and `length` in m, the pipeline length `ltrubKm` in km.
double SectionPressure(double davlDown, double davlUp, double udal, double length, double ltrubKm);

// Flame tilt from the horizontal, in degrees, before the conversion to radians. The jet-angle term
// (jetAngle − π/2) is in radians and is combined with degree values unchanged, as the method has it.
// Rw ≤ 0.05 takes the near-still-air rule, Rw > 0.05 the strong-wind rule; a negative result (a flame
// pressed down by the wind) is taken as horizontal, 0°, since a flame cannot point into the ground.
double TiltDegrees(double jetAngle, double Rw, double Ri);
// The same in radians.
double TiltRadians(double jetAngle, double Rw, double Ri);

// The elevation of the run's asymmetric jet in radians.
inline constexpr double kAsymmetricJetElevation = kAsymmetricJetElevationDeg / 180 * kPi;

// Inputs of the outflow sequence.
struct OutflowInputs {
  double Dtrub = 0;      // m
  double Davl = 0;       // MPa
  double cp = 0;         // kJ/(kg·K) at Davl, TempK
  double v = 0;          // m³/kg at Davl, TempK
  double v0 = 0;         // m³/kg at 0.1 MPa, TempK
  double m = 0;          // molar mass of the gas
  double a = 0, b = 0;   // flame-length coefficients of the gas
  double WindSpeed = 0;  // m/s
  double Tfb = 0, Dola = 0, Tobl = 0, Dola_obl = 0;
  result::Scenario scenario = result::Scenario::SymmetricJet;
  double Azimut = 0;                          // degrees, as stored: taken modulo a full turn
  double JetAngle = kAsymmetricJetElevation;  // the asymmetric jet's elevation, rad (code 4)
};

// Fills the outflow and flame quantities of `d` (AdiabK .. Tilt, JetDir, JetAngle) from `in`: the
// asymmetric jet (code 4) points along the pipeline at its elevation, every other jet has angles 0.
void ComputeOutflow(const OutflowInputs& in, models::DerivedQuantities& d);

// Writes the asymmetric geometry into the derived quantities as the asymmetric model reads them
// (LTorchWind .. ConeAngle, Ri, W2, JetDir, JetAngle, Tilt).
void ApplyAsymmetricGeometry(const AsymmetricGeometry& g, models::DerivedQuantities& d);

// The frustum may not open wider than the jet rises: a half-angle at or above the elevation becomes the
// elevation less 0.01 rad.
double LimitConeAngle(double coneAngle, double jetAngle);

// Frustum geometry of the asymmetric jet from the still-air flame and the wind tilt of the run (`tilt`,
// radians). The jet points along the pipeline (azimuth, degrees) and its axis rises at `jetAngle`
// (radians): the run's fixed 25°, or the lift angle typed in the jet-flame window.
AsymmetricGeometry ComputeAsymmetricGeometry(double SpeedOut, double LTorchBase, double DEquiv, double SpecVolume,
                                             double WindSpeed, double Azimut, double tilt,
                                             double jetAngle = kAsymmetricJetElevation);

}  // namespace velaron::run
