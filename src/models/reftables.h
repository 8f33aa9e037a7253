// Reference tables the models look values up in. They are read from the database once per run and
// passed in as plain data: no model touches the database.
#pragma once

#include <array>
#include <vector>

namespace velaron::models {

// One row of a gas-property table: temperature (K), heat capacity cp (kJ/(kg·K)), specific volume v (m³/kg).
struct GasPropertyRow {
  double t = 0;
  double cp = 0;
  double v = 0;
};

// A gas-property table at one pressure; rows sorted by ascending t.
struct GasPropertyTable {
  double pressureBar = 0;
  std::vector<GasPropertyRow> rows;
};

// The ten pressures of the gas-property tables, in bar, in the order of the tables "1b" .. "300b".
inline constexpr std::array<double, 10> kGasTablePressures = {1, 12, 26, 60, 70, 80, 100, 150, 200, 300};

// Pit-length table row: pipe diameter D (m) and pit length L (m).
struct LpRow {
  double D = 0;
  double L = 0;
};

// Probit table row.
struct ProbitRow {
  double Zn_Probit = 0;
  double Zn_Procent = 0;
};

struct ReferenceTables {
  std::array<GasPropertyTable, 10> gas;  // same order as kGasTablePressures
  std::vector<LpRow> lp;                 // ascending D
  std::vector<ProbitRow> probit;         // ascending Zn_Probit
};

}  // namespace velaron::models
