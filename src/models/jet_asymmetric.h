// The asymmetric jet fire: four inclined jets leave the rupture, two at ±20° about the direction
// −Azimut and two at ±20° about the opposite direction; the heat flux at every cell is the largest of
// the four. The model itself is RaschetAsimmTorch (declared with the other models in calc_state.h).
#pragma once

#include <array>

#include "common/pi.h"
#include "models/calc_state.h"

namespace velaron::models {

// Scenario probability, per year, that the asymmetric jet's risk field is built from. PAsimmTorch is
// already the product of the rupture, the ignition and the jet-kind share, so it is taken as it is; it
// must not be multiplied by PIgnition a second time.
double AsimmTorchRiskProbability(const ScenarioProbabilities& p);

// The angle of the frame in which the four jets are drawn, rad. The flux routine turns the grid by
// (frame angle − jet direction), and the directions below lie along the route only when the frame angle
// is 90°. The wind's angle (its direction + 90°) used to be taken here, which turned the four jets with
// the wind: an east wind laid the jets of a north-south pipe east-west. A ruptured pipe blows out along
// its own axis whichever way the wind blows (the year-round assessment, too, computes the jets once for
// every wind); the wind acts on the flame through its speed only.
inline constexpr double kAsimmJetFrameAngle = kPi / 2;

// Horizontal directions, rad, of the four jets for the route azimuth in degrees, in the order in which
// they are computed: −A + 20°, −A − 20°, −A − 160°, −A − 200°.
std::array<double, 4> AsimmJetDirections(double azimuthDeg);

// Where the four flames stand against the rupture point.
struct AsimmFlameBase {
  double Z0 = 0;  // height of the flame base, m (negative below ground)
  int Shift = 0;  // twice the displacement of the base along x: half the pit length, whole grid steps, m
  double X0 = 0;  // offset of the base along the flame's direction, m
};

// Flame-base offsets from the jet elevation (rad), the lift-off (m), the pit length (m), the burial
// depth (m) and the grid step (m).
AsimmFlameBase AsimmFlameBaseFor(double jetAngle, double liftOff, double pitLength, double depth, int cStep);

// The flux arguments of one of the four jets: its base, the tilt (the jet's elevation) and its direction.
TorchFluxArgs AsimmJetArgs(const AsimmFlameBase& base, double tilt, double dir);

}  // namespace velaron::models
