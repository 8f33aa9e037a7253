// Small reference tables built in the tests, with values given by simple formulas so that expected
// results can be worked out by hand (never the shipped database).
#pragma once

#include <cmath>

#include "models/reftables.h"

namespace velaron::models::testing {

// Specific gas constant of the synthetic gas, J/(kg·K): v = R·t/p as for an ideal gas.
inline constexpr double kGasR = 518.3;

// cp of the synthetic tables: linear in t and in p, so any linear interpolation of it is exact.
inline double SyntheticCp(double t, double pBar) { return 2.0 + 0.001 * t + 0.0005 * pBar; }
// v of the synthetic tables: ideal gas, m³/kg.
inline double SyntheticV(double t, double pBar) { return kGasR * t / (pBar * 1e5); }
// Pit length of the synthetic Lp table: L = 10·D + 5 (m).
inline double SyntheticLp(double D) { return 10 * D + 5; }
// Percent of the synthetic probit table: 100·Φ(pr − 5), the normal distribution the probit is built on.
inline double SyntheticPercent(double pr) { return 50 * std::erfc(-(pr - 5) / std::sqrt(2.0)); }

// Gas tables at 200..400 K every 10 K; Lp at D = 0.1..1.5 every 0.1 m; probit 2.60..7.40 every 0.01.
inline ReferenceTables SyntheticTables() {
  ReferenceTables t;
  for (std::size_t k = 0; k < kGasTablePressures.size(); ++k) {
    t.gas[k].pressureBar = kGasTablePressures[k];
    for (int temp = 200; temp <= 400; temp += 10) {
      t.gas[k].rows.push_back(
          {double(temp), SyntheticCp(temp, kGasTablePressures[k]), SyntheticV(temp, kGasTablePressures[k])});
    }
  }
  for (int i = 1; i <= 15; ++i) t.lp.push_back({i / 10.0, SyntheticLp(i / 10.0)});
  for (int i = 260; i <= 740; ++i) t.probit.push_back({i / 100.0, SyntheticPercent(i / 100.0)});
  return t;
}

}  // namespace velaron::models::testing
