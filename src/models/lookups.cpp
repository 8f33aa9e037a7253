// Table lookups over the reference tables loaded for the run: a key is bracketed between the nearest
// stored rows at or below and at or above it and interpolated linearly. A key equal to a stored row gives
// that row's value; a key outside the stored range is refused with a message, never extrapolated.
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "common/numtext.h"
#include "models/calc_state.h"

namespace velaron::models {

namespace {

// Values of the two rows that bracket `key` in a table sorted by ascending key; `exact` when a row holds
// the key itself (then lo is that row). Returns false when the key is outside the stored range.
struct Bracket {
  std::size_t lo = 0, hi = 0;
  bool exact = false;
};

template <class Row, class KeyOf>
bool FindBracket(const std::vector<Row>& rows, double key, KeyOf keyOf, Bracket& out) {
  if (rows.empty() || !(key >= keyOf(rows.front())) || !(key <= keyOf(rows.back()))) return false;
  auto it = std::lower_bound(rows.begin(), rows.end(), key, [&](const Row& r, double k) { return keyOf(r) < k; });
  std::size_t hi = static_cast<std::size_t>(it - rows.begin());
  if (keyOf(rows[hi]) == key) {
    out = {hi, hi, true};
  } else {
    out = {hi - 1, hi, false};
  }
  return true;
}

// The property `column` of one gas-property table at the temperature t, or throws.
double TableValue(const GasPropertyTable& table, GasColumn column, double t) {
  auto valueOf = [column](const GasPropertyRow& r) { return column == GasColumn::cp ? r.cp : r.v; };
  Bracket b;
  if (!FindBracket(
          table.rows, t, [](const GasPropertyRow& r) { return r.t; }, b)) {
    // Said in the units of the main window: degrees Celsius (t − 273, as the run adds 273) and MPa.
    throw TableRangeError("Температура газа " + FormatNumber(t - 273) + " °С вне таблицы свойств газа при давлении " +
                          FormatNumber(table.pressureBar / 10) + " МПа");
  }
  const GasPropertyRow& lo = table.rows[b.lo];
  const GasPropertyRow& hi = table.rows[b.hi];
  if (b.exact) return valueOf(lo);
  return RowInterp(valueOf(lo), valueOf(hi), t, lo.t, hi.t - lo.t);
}

// The first of the two tables whose pressures bracket P, bar; each lower bound inclusive; below the first
// table's pressure the first pair.
std::size_t TablePair(double P) {
  std::size_t k = 0;
  while (k + 2 < kGasTablePressures.size() && P >= kGasTablePressures[k + 1]) ++k;
  return k;
}

bool PressureInTables(double P) { return P > 0 && P < kGasTablePressures.back(); }

}  // namespace

double RowInterp(double y0, double y1, double x, double x0, double dx) {
  if (dx == 0) dx = 0.001;  // a local copy: the caller's value stays as it was
  return y0 + (x - x0) * (y1 - y0) / dx;
}

double LinInterp(double x, double x1, double x2, double y1, double y2) {
  // Two points at one abscissa: the second point's value (what the formula tends to as x1 → x2 from x).
  if (x2 == x1) return y2;
  return y1 + (x - x1) * (y2 - y1) / (x2 - x1);
}

// The specific volume falls roughly as 1/p, so between two pressure tables it is p·v that varies almost
// linearly; interpolating v itself overestimates it badly between widely spaced tables (1 and 12 bar).
double InterpolateSpecificVolume(double v1, double v2, double P, double P1, double P2) {
  if (P == P1) return v1;
  if (P == P2) return v2;
  return RowInterp(P1 * v1, P2 * v2, P, P1, P2 - P1) / P;
}

double GetGasProperty(const ReferenceTables& tables, GasColumn column, double Davl, double TempK) {
  const double P = Davl * 10;  // bar
  if (!PressureInTables(P)) {
    throw TableRangeError("Давление газа " + FormatBeyond(Davl, Davl > 0 ? kGasTablePressures.back() / 10 : 0) +
                          " МПа вне диапазона таблиц свойств газа (больше 0 и меньше 30 МПа)");
  }
  const std::size_t k = TablePair(P);
  const GasPropertyTable& t1 = tables.gas[k];
  const GasPropertyTable& t2 = tables.gas[k + 1];
  const double P1 = kGasTablePressures[k];
  const double P2 = kGasTablePressures[k + 1];
  const double y1 = TableValue(t1, column, TempK);
  const double y2 = TableValue(t2, column, TempK);
  if (column == GasColumn::v) return InterpolateSpecificVolume(y1, y2, P, P1, P2);
  return RowInterp(y1, y2, P, P1, P2 - P1);
}

std::optional<TemperatureRange> GasTemperatureRange(const ReferenceTables& tables, double pLowMPa, double pHighMPa) {
  if (pLowMPa > pHighMPa) std::swap(pLowMPa, pHighMPa);
  if (!PressureInTables(pLowMPa * 10) || !PressureInTables(pHighMPa * 10)) return std::nullopt;
  TemperatureRange r{-std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()};
  for (std::size_t k = TablePair(pLowMPa * 10); k <= TablePair(pHighMPa * 10) + 1; ++k) {
    const auto& rows = tables.gas[k].rows;
    if (rows.empty()) return std::nullopt;
    r.low = std::max(r.low, rows.front().t);
    r.high = std::min(r.high, rows.back().t);
  }
  if (!(r.low <= r.high)) return std::nullopt;
  return r;
}

double GetLp(const ReferenceTables& tables, double D, std::optional<double> typedMm) {
  Bracket b;
  if (!FindBracket(
          tables.lp, D, [](const LpRow& r) { return r.D; }, b)) {
    // In millimetres, as the main window takes the diameter.
    std::string range;
    if (!tables.lp.empty())
      range = " (от " + FormatNumber(tables.lp.front().D * 1000) + " до " + FormatNumber(tables.lp.back().D * 1000) +
              " мм)";
    const double nearest = tables.lp.empty() ? D : D < tables.lp.front().D ? tables.lp.front().D : tables.lp.back().D;
    throw TableRangeError("Диаметр трубы " + FormatBeyond(typedMm.value_or(D * 1000), nearest * 1000) +
                          " мм вне таблицы длин котлована" + range);
  }
  const LpRow& lo = tables.lp[b.lo];
  const LpRow& hi = tables.lp[b.hi];
  if (b.exact) return lo.L;
  return RowInterp(lo.L, hi.L, D, lo.D, hi.D - lo.D);
}

double ProbitToPercent(const ReferenceTables& tables, double pr) {
  if (pr > kSureInjuryProbit) return 99.99;
  if (pr < kNoInjuryProbit) return 0;
  Bracket b;
  if (!FindBracket(
          tables.probit, pr, [](const ProbitRow& r) { return r.Zn_Probit; }, b)) {
    throw TableRangeError("Значение пробит-функции " + FormatNumber(pr) + " вне таблицы пробит-функции");
  }
  const ProbitRow& lo = tables.probit[b.lo];
  const ProbitRow& hi = tables.probit[b.hi];
  if (b.exact) return lo.Zn_Procent;
  return lo.Zn_Procent + (pr - lo.Zn_Probit) * (hi.Zn_Procent - lo.Zn_Procent) / (hi.Zn_Probit - lo.Zn_Probit);
}

}  // namespace velaron::models
