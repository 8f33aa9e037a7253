// Quantities a run derives before it calls a scenario model besides the outflow quantities of the
// calculation state: the scenario probabilities of the section with their inputs, the asymmetric flame
// geometry and the report texts. Plain values, filled once per run.
#pragma once

#include <QString>

namespace velaron::run {

// Per-year probabilities of the section's rupture and of each scenario; PIgnition is conditional on a
// rupture. The six shares are the numbers the run dialog's boxes held when the run started.
struct Probabilities {
  double PIgnition = 0;
  double PRuptureBase = 0;
  double PRupture = 0;
  double PFireBall = 0;
  double PGPVS = 0;
  double PKotlTorch = 0;
  double PSimmTorch = 0;
  double PAsimmTorch = 0;
  double Pkw = 0, Pks = 0, Psw = 0, Pss = 0, Paw = 0, Pas = 0;
};

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

// Report texts of the run: section pressure with two decimals, section length, gas temperature as typed.
struct RunTexts {
  QString DavlText, LengthText, TempText;
};

}  // namespace velaron::run
