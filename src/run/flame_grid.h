// The grid a jet flame can be seen on. The flux of a jet flame is computed at the grid points only, and its
// zones are read off the eight lines of points from the rupture point outwards. A step that is large against
// the flame leaves the flame's heat between the points: the zones come out too wide or 0. A grid that ends
// close to the flame's base, where the flame above sends little heat to the ground, has no hot cell on its
// border: the zones come out 0 and the edge warning stays silent. Either grid is refused before the run,
// naming a step or a width that the settings accept, unless the flame gives no zone anywhere on the ground.
// A step the flame's size allows can still let a small zone fall between the points (a small flame, or a
// zone that just reaches its level): once the run's field is computed, and before anything of the run is
// kept, a zone the run shows 0 for that a fine grid shows refuses the run, naming a finer step that shows
// every zone (run/flame_zones.h). A step that refusal names never loses a zone itself; the step a refusal
// before the run names is checked so only where that is cheap (small flames).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "models/calc_settings.h"
#include "models/calc_state.h"
#include "models/flame_flux.h"

namespace velaron::run {

// The largest step, as a share of the flame's slant length, that a run takes. The zones were measured
// against the step for the pit, symmetric and asymmetric flames and the assessments over a year (pipes of
// 530 to 1420 mm, 2.5 to 7.4 MPa, winds of 0 to 8 m/s): the zone of 1 % lies at 1 to 1.6 slant lengths,
// and every zone vanishes from about 1.15 slant lengths on. At this share the zones are seen coarsely, or
// not at all. At the shipped escape speed (5 m/s), against a grid of about a fortieth of the slant length,
// at the largest step of this share that divides 1000 m (pit and symmetric flames of 530 to 1420 mm,
// asymmetric ones of 720 and 1420 mm, 2.5 and 7.4 MPa, winds of 0, 3 and 6 m/s; 54 flames with a zone):
// the zone of 1 % comes out wider by 8 to 125 % (pit flames 16 to 125 %, +102 % for the 1420 mm one in
// calm air at 125 m; symmetric 10 to 80 %; asymmetric 8 to 17 %), those of 33 and 50 % from a fifth
// narrower to two fifths wider (four times one shows where the fine grid has none), that of 99,99 % up to
// 46 % narrower or 4 % wider. A zone the fine grid shows fell between the points 8 times: the asymmetric
// flame's zone of 1 % in 6 of its 10 flames, once each the zones of 50 and of 99,99 %; such a run is
// refused once its field is computed (CheckZonesSeen). Escaping at 1 m/s the zones are wider against the
// flame and the gaps smaller (the zone of 1 % a fifth to four fifths wider). A finer step narrows the gap.
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

// Whether a grid shows every zone of a run's flames that a fine grid shows (see CheckZonesSeen).
using GridShowsZones = std::function<bool(const models::CalcSettings& grid)>;

// The refusal of the grid of `s` for the flames of a run, whose slant lengths run from `smallest` to
// `largest`, m: a step too coarse for the smallest flame, or a width too narrow for the largest. It names
// what serves and what the settings accept with the rest of the grid as it is: the largest such step, or
// the smallest such width, or else a step and a width together; a step it names is one on which `shows`
// (when given) holds. Nothing when the grid serves them all.
std::optional<std::string> CheckGridForFlames(const models::CalcSettings& s, double smallest, double largest,
                                              const GridShowsZones& shows = {});

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
// The flames of a run of one jet flame of `shape`: one of the two above.
FlameField SingleJetField(models::FlameShape shape, const models::DerivedQuantities& d, double depth);

// A jet case of a run: the flames whose flux it joins and the row of the zone tables its zones go to.
struct JetCase {
  models::ScenarioKind kind = models::ScenarioKind::PitWinter;
  FlameField field;
  bool layered = false;  // its flux is kept in its layer of LayerFlux (the assessments over a year)
};

// Whether the field gives a zone anywhere on the ground for an escape speed of `escapeSpeed`, m/s: its
// flux is sampled finely under and around the flames, and a zone begins where the injury probit of a
// person who escapes from there reaches that of 1 %. True too where it cannot tell (a flame that cannot
// be integrated, heat reaching beyond the sampled ground). The flux evaluations it made (points times
// flames) are added to `evaluations` when given.
bool FieldReachesAZone(const FlameField& field, double escapeSpeed, double* evaluations = nullptr);

// The refusal of the grid of `s` for the flames of a run's fields, as above for their smallest and largest
// slant lengths; nothing when the grid serves them, or when no field gives a zone (there is nothing for
// the grid to lose then, whatever its step and width). A step it names shows every zone of every field
// that a fine grid shows where that is cheap to tell (small flames); for larger flames it is the step their
// size allows, and the run on it checks its zones once its field is computed (CheckZonesSeen).
std::optional<std::string> CheckGridForFields(const models::CalcSettings& s, const std::vector<FlameField>& fields,
                                              const models::ReferenceTables& tables);

// After the run, before anything of it is kept: the refusal of a grid whose step shows 0 for a zone of a
// jet case that a fine grid of the same widths shows (a zone that lies between the points of the grid).
// `s` is the state the run left: its settings, the zones of each case's row and the flux each case's zones
// came from (GridValue, or the case's layer of LayerFlux). The refusal names a
// finer step that the settings accept with the widths as they are and on which every case shows every
// zone its fine grid shows, or else a step and a width together. A step of 1 m is never refused.
std::optional<std::string> CheckZonesSeen(const models::CalcState& s, const std::vector<JetCase>& cases,
                                          const models::ReferenceTables& tables,
                                          models::Progress& progress = models::NoProgress());

}  // namespace velaron::run
