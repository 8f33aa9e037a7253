// Steps that the explosion, fireball and gas-air cloud models share: the field computed row by row in
// parallel with progress and cancel, the zone radii along +x into the model's row of ZoneR, and the
// distances at which a blast's overpressure falls through fixed levels.
#pragma once

#include <array>

#include "models/calc_state.h"
#include "models/parallel.h"

namespace velaron::models {

// Overpressure levels, Pa, whose distances along +x go into RadiusDP(0..7).
inline constexpr std::array<double, 8> kOverpressureLevels = {300000, 100000, 70000, 50000, 30000, 20000, 10000, 3000};

// Calls cell(ix, iy, x, y) for every cell of the calculation grid (x, y in m), one grid row per task,
// reporting each finished row to `progress` under the state's progress title. Throws Cancelled when the
// user stops it.
template <class Cell>
void ComputeField(const CalcState& s, Progress& progress, Cell&& cell) {
  const int nx = s.nx();
  const int ny = s.ny();
  const double step = s.settings.CStep;
  progress.begin(s.progressTitle, 2 * ny + 1);
  ParallelRows(
      -ny, ny,
      [&](int iy) {
        for (int ix = -nx; ix <= nx; ++ix) cell(ix, iy, ix * step, iy * step);
      },
      progress);
}

// The radial profile along +x from GridProc, ZoneRadii, and CurZones into the row ZoneR(kind).
void ZonesIntoRow(CalcState& s, ScenarioKind kind);

// RadiusDP(k): where the overpressure along +x (GridValue row 0) falls through kOverpressureLevels[k],
// interpolated between the two cells that bracket it and rounded to 2 decimals; the outermost crossing
// counts, and a level not crossed within the grid gives 0.
void ThresholdRadii(CalcState& s);

}  // namespace velaron::models
