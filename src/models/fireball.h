// Fireball: the parts of the model that tests and reports use on their own.
#pragma once

#include "models/calc_state.h"

namespace velaron::models {

// Surface emissive power of the fireball, kW/m² (whatever the caller once passed, the model used this).
inline constexpr double kFireBallEmissivePower = 450.0;

// Atmospheric transmissivity per metre of path beyond the ball's surface: exp(−7.0e-4·(√(H² + r²) − Ds/2)).
// It was once written 7e-5, a tenth of the published coefficient, which left the air almost transparent
// and the flux 500 m from a large ball about a quarter too high.
inline constexpr double kFireBallAttenuation = 7.0e-4;

struct FireBallSize {
  double Ds = 0;  // diameter, m
  double ts = 0;  // lifetime, s
};

// Diameter 5.33·M^0.327 and lifetime 0.92·M^0.303 of a fireball of mass M (kg).
FireBallSize FireBallOf(double M);

// Heat flux, kW/m², at the horizontal distance r (m) from the point under a ball of diameter Ds whose
// centre is at the height Ds/2.
double FireBallFlux(double Ds, double r);

}  // namespace velaron::models
