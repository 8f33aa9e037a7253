// The grid a jet flame can be seen on. The flux of a jet flame is computed at the grid points only, and its
// zones are read off the eight lines of points from the rupture point outwards. A step that is large against
// the flame leaves the flame's heat between the points: the zones come out too wide or 0. A grid that ends
// close to the flame's base, where the flame above sends little heat to the ground, has no hot cell on its
// border: the zones come out 0 and the edge warning stays silent. Either grid is refused before the run,
// naming a step or a width that the settings accept, unless the flame gives no zone anywhere on the ground.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "models/calc_settings.h"
#include "models/flame_flux.h"

namespace velaron::run {

// The largest step, as a share of the flame's slant length, that a run takes. The zones were measured
// against the step for the pit, symmetric and asymmetric flames and the assessments over a year (pipes of
// 530 to 1420 mm, 2.5 to 7.4 MPa, winds of 0 to 8 m/s): the zone of 1 % lies at 1 to 1.6 slant lengths,
// and every zone vanishes from about 1.15 slant lengths on. At this share every zone is still seen, but
// coarsely. Against a grid of a fortieth of the slant length (the same flames at winds of 0, 3 and 6 m/s,
// escape at 1 m/s) the outer zones come out wider: that of 1 % by a fifth to four fifths, those of 33 and
// 50 % by up to three fifths (once 4 % narrower). The zone of 99,99 % comes out from nearly half narrower
// to an eighth wider, or one step wide where the fine grid has none. A finer step narrows the gap.
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
// what serves and what the settings accept with the rest of the grid as it is: the largest such step, or
// the smallest such width, or else a step and a width together. Nothing when the grid serves them all.
std::optional<std::string> CheckGridForFlames(const models::CalcSettings& s, double smallest, double largest);

// One flame of a run as the flux integration draws it on the ground.
struct GroundFlame {
  models::FlameShape shape = models::FlameShape::Pit;
  models::FlameGeometryInputs geometry;
  models::TorchFluxArgs args;
};
// The flames whose fluxes a run joins, cell by cell, by their maximum into one field before it reads the
// zones off that field: one flame, the four jets of the asymmetric flame, or the wind states of a season.
using FlameField = std::vector<GroundFlame>;

// The field of the pit or the symmetric flame of the flame quantities `d` (its tilt and wind angle).
GroundFlame PitOrSymmetricFlame(models::FlameShape shape, const models::DerivedQuantities& d);
// The four jets of the asymmetric flame of `d` over its pit, above a pipe at `depth`, m. The base stands
// where a grid of 1 m puts it.
FlameField AsymmetricJets(const models::DerivedQuantities& d, double depth);

// Whether the field gives a zone anywhere on the ground for an escape speed of `escapeSpeed`, m/s: its
// flux is sampled finely under and around the flames, and a zone begins where the injury probit of a
// person who escapes from there reaches that of 1 %. True too where it cannot tell (a flame that cannot
// be integrated, heat reaching beyond the sampled ground).
bool FieldReachesAZone(const FlameField& field, double escapeSpeed);

// The refusal of the grid of `s` for the flames of a run's fields, as above for their smallest and largest
// slant lengths; nothing when the grid serves them, or when no field gives a zone (there is nothing for
// the grid to lose then, whatever its step and width).
std::optional<std::string> CheckGridForFields(const models::CalcSettings& s, const std::vector<FlameField>& fields);

}  // namespace velaron::run
