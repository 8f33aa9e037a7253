// The grid step a jet flame can be seen with. The flux of a jet flame is computed at the grid points only,
// and its zones are read off the eight lines of points from the rupture point outwards: a step that is
// large against the flame leaves the flame's heat between the points, the zones come out too wide or 0,
// and neither the edge warning nor "уточнить" tells the user. Such a step is refused before the run.
#pragma once

#include <optional>
#include <string>

#include "models/flame_flux.h"

namespace velaron::run {

// The largest step, as a share of the flame's slant length, that a run takes. The zones were measured
// against the step for the pit, symmetric and asymmetric flames and the assessments over a year (pipes of
// 530 to 1420 mm, 2.5 to 7.4 MPa, winds of 0 to 8 m/s): the zone of 1 % lies at 1 to 1.6 slant lengths,
// every zone vanishes from about 1.25 slant lengths on, and at this share the zones still lie within a
// few tens of percent of those of a fine grid.
inline constexpr double kMaxStepPerFlameSlant = 0.65;

// The largest whole step, m, that serves a flame of slant length `slant`, m; 0 when no step of a whole
// metre does.
int LargestStepForFlame(double slant);

// The refusal of the step `cStep`, m, for the smallest flame of a run (slant length `slant`, m), naming the
// largest step that serves it; nothing when the step serves it.
std::optional<std::string> CheckStepForFlame(int cStep, double slant);

// The slant length of the flame of `shape` for the derived quantities of a run and the flame's tilt, m.
double FlameSlant(models::FlameShape shape, const models::DerivedQuantities& d, double tilt);

}  // namespace velaron::run
