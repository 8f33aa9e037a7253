// What the main window shows of a run: the zone depths as texts and the two distance charts' points.
#pragma once

#include <QString>

#include "models/calc_state.h"
#include "result/run_snapshot.h"

namespace velaron::run {

struct ZoneTexts {
  QString txtRsm, txtRs, txtRsr, txtRsl, txtRb;
  bool fraMessage = false;  // the note to widen the calculation zone
};

// Zone-depth boxes from the radii of levels 1..4 (result::RadiusText); the safety zone starts beyond the
// weak-damage zone (result::SafeZoneText).
ZoneTexts ZoneDisplayTexts(const models::ZoneRow& zones);

// Overpressure above which the first points of the overpressure chart are replaced by one point at the
// 300-kPa radius, kPa.
inline constexpr double kChartPressureCap = 300;

// `graf1`: the damaging factor by distance of the state of a run of `scenario`. Codes 2, 6, 8 along +x from the grid (overpressure in kPa,
// starting at the 300-kPa radius when there is one); the jet fires along the profile of the largest zone.
result::DistanceSeries BuildDamageChart(const models::CalcState& s, result::Scenario scenario);

// `graf2`: the probability of injury by distance, from the same line as `graf1`.
result::DistanceSeries BuildPercentChart(const models::CalcState& s, result::Scenario scenario);

}  // namespace velaron::run
