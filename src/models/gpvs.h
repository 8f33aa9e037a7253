// Combustion of the gas-air cloud: the parts of the model that tests and reports use on their own.
#pragma once

#include "models/calc_state.h"

namespace velaron::models {

inline constexpr double kAmbientPressure = 101300;  // P0, Pa
inline constexpr double kSoundSpeed = 343;          // C0, m/s

// Flame-front speed, m/s, of a cloud of mass M (kg) for the gas's hazard class: 3 → 250, 4 → 175,
// 5 → 43·M^(1/6), 6 → 26·M^(1/6); 0 for a class that has no flame speed.
double FlameSpeed(int DangerClass, double M);

struct CloudBlast {
  double dP = 0;  // overpressure, Pa
  double I = 0;   // impulse, Pa·s
};

// Overpressure and impulse at the distance r (m) from a cloud of energy E (J) burning with the flame
// speed V (m/s): each the smaller of the detonation and the deflagration estimate.
CloudBlast GPVSBlast(double E, double V, double r);

}  // namespace velaron::models
