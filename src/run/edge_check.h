// Whether the hazard zone of a run reaches the border of the calculation grid: then its zone radii are
// not trustworthy and the user is told to widen the grid.
#pragma once

#include "models/calc_state.h"
#include "result/scenarios.h"

namespace velaron::run {

// A border cell reaches when its probit is above this value (both forms of the test)...
inline constexpr double kEdgeProbit = 2.67;
// ...or, for heat-flux fields, when its flux is above this value, kW/m². A value exactly at a threshold
// does not reach.
inline constexpr double kEdgeFlux = 4.0;

enum class EdgeForm { Probit, Thermal };

// Probit form for the overpressure runs (codes 2, 8), thermal form for the fires.
EdgeForm EdgeFormOf(result::Scenario scenario);

// Walks the left and right columns over the y positions and the bottom and top rows over the x
// positions (from the whole number nearest to −width/2 in steps of CStep, each position rounded to its
// cell) and tests the border cells of GridValue and GridProbit.
bool ZoneReachesEdge(const models::CalcState& s, EdgeForm form);

}  // namespace velaron::run
