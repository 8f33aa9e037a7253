// The calculation settings: the extent and step of the calculation grid and the constants of the
// fireball, the gas-air cloud and a person's escape. The database keeps them in the `Adjustment` row
// (db::AdjustmentRow is these settings plus the stored pipeline inputs).
#pragma once

namespace velaron::models {

struct CalcSettings {
  int XLimit = 1000;      // full width of the zone along x, m
  int YLimit = 1000;      // full width along y, m
  int CStep = 10;         // grid step, m
  double Skor_chel = 5;   // escape speed of a person, m/s
  double Tfb = 10;        // outflow time before the fireball forms, s
  double Dola = 0.5;      // mass fraction in the fireball
  double Tobl = 20;       // outflow time forming the gas-air cloud, s
  double Dola_obl = 0.3;  // mass fraction of the cloud that burns
};

}  // namespace velaron::models
