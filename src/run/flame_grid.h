// The grid a jet flame can be seen on. The flux of a jet flame is computed at the grid points only, and its
// zones are read off the eight lines of points from the rupture point outwards. A step that is large against
// the flame leaves the flame's heat between the points: the zones come out too wide or 0. A grid that ends
// close to the flame's base, where the flame above sends little heat to the ground, has no hot cell on its
// border: the zones come out 0 and the edge warning stays silent. Either grid is refused before the run.
#pragma once

#include <optional>
#include <string>

#include "models/calc_settings.h"
#include "models/flame_flux.h"

namespace velaron::run {

// The largest step, as a share of the flame's slant length, that a run takes. The zones were measured
// against the step for the pit, symmetric and asymmetric flames and the assessments over a year (pipes of
// 530 to 1420 mm, 2.5 to 7.4 MPa, winds of 0 to 8 m/s): the zone of 1 % lies at 1 to 1.6 slant lengths,
// every zone vanishes from about 1.15 slant lengths on, and up to one slant length no zone comes out more
// than 13 % short (the coarse zones err on the wide side).
inline constexpr double kMaxStepPerFlameSlant = 0.65;
// The smallest width of the grid along x and along y, as a share of the flame's slant length: its border
// then lies 0.2 slant lengths from the rupture point. The border stays below the edge thresholds up to
// 0.085 slant lengths out.
inline constexpr double kMinWidthPerFlameSlant = 0.4;

// The largest whole step, m, that serves a flame of slant length `slant`, m; 0 when no step of a whole
// metre does.
int LargestStepForFlame(double slant);
// The smallest whole width, m, that serves a flame of slant length `slant`, m.
int SmallestWidthForFlame(double slant);

// The refusal of the grid of `s` for the flames of a run, whose slant lengths run from `smallest` to
// `largest`, m: a step too coarse for the smallest flame, or a width too narrow for the largest. It names
// the largest step or the smallest width that serves. Nothing when the grid serves them all.
std::optional<std::string> CheckGridForFlames(const models::CalcSettings& s, double smallest, double largest);

// The slant length of the flame of `shape` for the derived quantities of a run and the flame's tilt, m.
double FlameSlant(models::FlameShape shape, const models::DerivedQuantities& d, double tilt);

}  // namespace velaron::run
