// Physical explosion of the compressed gas: the parts of the model that tests and reports use on their own.
#pragma once

#include "models/calc_state.h"

namespace velaron::models {

// Exponent of the expansion energy for the adiabatic index k: (k − 1)/k. It was once written k − 1/k
// (the index minus its reciprocal), which is not the adiabatic expansion work and overstates the energy.
double ExpansionExponent(double k);

// TNT-equivalent mass, kg, of the gas of a pipe of diameter D (m) over the pit length L (m) at the
// pressure Davl (MPa) with the adiabatic index k.
double TntMass(double Davl, double k, double D, double L);

struct BlastAtDistance {
  double dP = 0;  // overpressure, Pa
  double I = 0;   // impulse, Pa·s
};

// Overpressure and impulse of the TNT mass m (kg) at the horizontal distance r (m).
BlastAtDistance ExplosionBlast(double m, double r);

}  // namespace velaron::models
