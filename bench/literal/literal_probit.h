// The thermal probit field computed the straightforward way: for every hot cell every point of the grid
// is examined for the escape distance. Kept as the reference that the fast search must reproduce, and
// as the baseline of the benchmark.
#pragma once

#include "models/calc_state.h"

namespace velaron::models::literal {

// Escape distance, m, from the point (x, y) m of the flux field GridValue.
double EscapeDist(const Grid& GridValue, const CalcSettings& s, double x, double y);

// GridProbit and GridProc of the thermal branch, serially, with the full search above.
void ThermalProbitGrid(CalcState& s, const ReferenceTables& tables);

// The zone radii walked step by step over the 1-based profile P(i) = RadProfile(i, 1), D(i) = RadProfile(i, 2),
// i = 1..N with N = XLimit/(2·CStep) + 1, each search continuing inward from where the previous one stopped;
// an interpolated radius is held to the segment of its search and rounded to 2 decimals.
void ZoneRadii(CalcState& s);

}  // namespace velaron::models::literal
