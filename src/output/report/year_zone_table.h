// The last table of the year-round reports: the radii of the four damage zones and the border of the safe
// zone of every scenario the year-round run computed and of the combined assessment, and each scenario's
// probability of arising within a year. Two forms: the five jet cases (all jet fires over a year) and the
// explosion, fireball and gas-air cloud in front of them (the complex assessment).
#pragma once

#include <array>

#include "output/report/document.h"
#include "result/run_snapshot.h"

namespace velaron::report {

enum class YearTableForm {
  Jets,     // 8 × 7: pit winter, pit summer, symmetric winter, symmetric summer, asymmetric, combined
  Complex,  // 8 × 10: explosion, fireball, gas-air cloud, then the jet columns and combined
};

// Appends an empty line, the table's caption and the table: the rows ZoneR of the scenario kinds, and
// CurZones as the combined assessment's radii; a radius of −1 (not found) prints "уточнить".
void WriteYearZoneTable(Document& doc, YearTableForm form, const models::ZoneTables& zones,
                        const result::Probabilities& p);

}  // namespace velaron::report
