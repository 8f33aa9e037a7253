// The two distance charts' points of a run, kept in its record.
#pragma once

#include "models/calc_state.h"
#include "result/run_snapshot.h"

namespace velaron::run {

// Overpressure above which the first points of the overpressure chart are replaced by one point at the
// 300-kPa radius, kPa.
inline constexpr double kChartPressureCap = 300;

// `graf1`: the damaging factor by distance. Codes 2, 6, 8 along +x from the grid (overpressure in kPa,
// starting at the 300-kPa radius when there is one); the jet fires along the profile of the largest zone.
result::DistanceSeries BuildDamageChart(const models::CalcState& s, result::Scenario scenario);

// `graf2`: the probability of injury by distance, from the same line as `graf1`.
result::DistanceSeries BuildPercentChart(const models::CalcState& s, result::Scenario scenario);

}  // namespace velaron::run
