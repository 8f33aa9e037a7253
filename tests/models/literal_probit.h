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

}  // namespace velaron::models::literal
