// The record of one completed run: everything the run started from and everything it produced, taken
// when the run completed. The main window shows it, and the report and workbook writers write from it,
// so that later edits of the windows never change what a finished run reports. Once made it is not
// changed: it is handed on as a const value, and pictures and files are made from it, never into it.
// It keeps numbers, the rows the run read and the texts the user typed; every text that a window or a
// document prints of the run is made from it by PrintedTextsOf (result/printed_texts.h).
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "common/rows.h"
#include "models/calc_state.h"
#include "result/run_request.h"
#include "result/scenarios.h"

namespace velaron::result {

// Axis titles of the distance charts: the distance, and the values of `graf1` (overpressure or heat flux)
// and of `graf2`.
inline constexpr const char* kDistanceAxisTitle = "Расстояние от газопровода, м";
inline constexpr const char* kOverpressureAxisTitle = "Избыточное давление, кПа";
inline constexpr const char* kFluxAxisTitle = "Плотность тепл. потока, кВт/кв.м";
inline constexpr const char* kPercentAxisTitle = "Вероятность поражения, %";

// One line of a distance chart (`graf1` or `graf2`): one point per grid step, distance in m (already
// rounded where the chart labels it with a whole number) and the value. Its titles are among the printed
// texts of the record (result/printed_texts.h).
struct DistanceSeries {
  std::vector<std::pair<double, double>> points;  // (distance, value)
};

// Point of the profile along the direction of the largest zone (jet fires, year-round assessment).
struct ProfilePoint {
  double value = 0;     // damaging factor
  double distance = 0;  // m
  double percent = 0;   // probability of injury, %
};

// The zone tables. Zone levels (1..4: 99.99, 50, 33, 1 %), scenario kinds (ScenarioKind 1..9; the jet
// cases are the kinds 1..5) and compass directions (1..8, north first, clockwise) are numbered from 1
// everywhere, as the calculation state numbers them. The state's tables keep an unused element 0 in each
// such dimension; the record stores the same tables without it, from index 0. Whoever reads or fills a
// zone table of the record (or a copy of one) by those numbers goes through Zone, ZoneRowOf and
// DirectionsOf below, which make the one shift.
inline constexpr int kZoneLevels = 4, kZoneKinds = 9, kJetCases = 5, kDirections = 8;
using ZoneRow = std::array<double, kZoneLevels>;  // radii of zone levels 1..4; -1 not found
using ZoneRRows = std::array<ZoneRow, kZoneKinds>;                                  // by scenario kind
using ZoneRDirRows = std::array<std::array<ZoneRow, kDirections>, kJetCases>;        // by jet case, direction

// The scenario kinds of the record are the state's.
static_assert(static_cast<int>(ScenarioKind::PitWinter) == models::kKindPitWinter &&
              static_cast<int>(ScenarioKind::PitSummer) == models::kKindPitSummer &&
              static_cast<int>(ScenarioKind::SymmetricWinter) == models::kKindSymmetricWinter &&
              static_cast<int>(ScenarioKind::SymmetricSummer) == models::kKindSymmetricSummer &&
              static_cast<int>(ScenarioKind::Asymmetric) == models::kKindAsymmetric &&
              static_cast<int>(ScenarioKind::FireBall) == models::kKindFireBall &&
              static_cast<int>(ScenarioKind::Explosion) == models::kKindExplosion &&
              static_cast<int>(ScenarioKind::GasCloud) == models::kKindGPVS);

// A number counted from 1 as an index of a record table; 0 and below fall outside every table, so that
// the checked accessors below throw std::out_of_range.
constexpr size_t ZoneIndex(int number) { return number >= 1 ? static_cast<size_t>(number - 1) : SIZE_MAX; }
inline double& Zone(ZoneRow& row, int level) { return row.at(ZoneIndex(level)); }
inline double Zone(const ZoneRow& row, int level) { return row.at(ZoneIndex(level)); }
inline ZoneRow& ZoneRowOf(ZoneRRows& t, ScenarioKind kind) { return t.at(ZoneIndex(static_cast<int>(kind))); }
inline const ZoneRow& ZoneRowOf(const ZoneRRows& t, ScenarioKind kind) {
  return t.at(ZoneIndex(static_cast<int>(kind)));
}
inline std::array<ZoneRow, kDirections>& DirectionsOf(ZoneRDirRows& t, ScenarioKind jetCase) {
  return t.at(ZoneIndex(static_cast<int>(jetCase)));
}
inline const std::array<ZoneRow, kDirections>& DirectionsOf(const ZoneRDirRows& t, ScenarioKind jetCase) {
  return t.at(ZoneIndex(static_cast<int>(jetCase)));
}

// Per-year probabilities of the section's rupture and of each scenario, as the run computed them.
using Probabilities = models::ScenarioProbabilities;

struct RunSnapshot {
  // --- Inputs as the run started.
  RunRequest request;           // settings, pipeline, rate, external factors, section, dialog choices
  db::GasRow gas;               // the gas row of the run
  db::Ground3Row ground;        // the section's ground row
  std::optional<db::WindRow> town;  // codes 1 and 7: the town of the wind rose
  QString regionName;           // the region of the accident rate (ways 1 and 2)
  int ScenarioCode = 0;

  // --- Derived quantities and probabilities.
  models::DerivedQuantities derived;  // outflow and flame quantities as the model left them
  int WindDir = 0;                     // degrees, where the wind blows from
  Probabilities probabilities;

  // --- Results.
  ZoneRow CurZones{};    // the run's zones: zone(level)
  ZoneRRows ZoneR{};     // per scenario kind: zoneR(kind, level)
  ZoneRDirRows ZoneRDir{};  // per jet case and direction: zoneRDir(jetCase, direction, level)
  std::array<double, 8> RadiusDP{};         // 300, 100, 70, 50, 30, 20, 10, 3 kPa
  std::array<QString, 2> WorstDir;          // direction number "1".."8" and its dative word
  double RFireBall = 0, TFireBall = 0;
  bool ZoneAtEdge = false;

  models::Grid GridValue, GridImpuls, GridProbit, GridProc, GridRisk;
  models::LayeredGrid LayerFlux, LayerProc;  // codes 1, 4 and 7
  models::ComplexGrids complexGrids;        // code 1: the risk and percent of each scenario it joins
  std::vector<ProfilePoint> Profile;        // jet fires and codes 1, 7
  std::vector<std::pair<double, double>> RadProfile;  // (percent, distance) along +x, points 1..N

  // --- Result display (the pictures are drawn from the grids by whoever shows or writes them).
  DistanceSeries graf1, graf2;

  QDateTime start, end;  // when the run started and when its record was made

  // The zone tables by the numbers of the calculation state (all from 1); out of range throws.
  double& zone(int level) { return Zone(CurZones, level); }
  double zone(int level) const { return Zone(CurZones, level); }
  double& zoneR(int kind, int level) { return Zone(ZoneR.at(ZoneIndex(kind)), level); }
  double zoneR(int kind, int level) const { return Zone(ZoneR.at(ZoneIndex(kind)), level); }
  double& zoneRDir(int jetCase, int direction, int level) {
    return Zone(ZoneRDir.at(ZoneIndex(jetCase)).at(ZoneIndex(direction)), level);
  }
  double zoneRDir(int jetCase, int direction, int level) const {
    return Zone(ZoneRDir.at(ZoneIndex(jetCase)).at(ZoneIndex(direction)), level);
  }

  // Heat-flux runs have no impulse grid; overpressure runs (codes 2 and 8) have one.
  bool isOverpressure() const { return IsScenarioCode(ScenarioCode) && FactsOf(ScenarioCode).overpressure; }
};

// The record's grids by the names the driver prints them under: GridValue, GridImpuls, GridProbit,
// GridProc, GridRisk, and the layers LayerFlux1..6 and LayerProc1..8 of the assessments over a year.
inline QStringList GridNames() {
  QStringList names{"GridValue", "GridImpuls", "GridProbit", "GridProc", "GridRisk"};
  for (int k = 1; k <= 6; ++k) names << QStringLiteral("LayerFlux%1").arg(k);
  for (int k = 1; k <= 8; ++k) names << QStringLiteral("LayerProc%1").arg(k);
  return names;
}

// The grid of that name; null for a name not among GridNames and for a layer the run did not make.
inline const models::Grid* GridNamed(const RunSnapshot& s, const QString& name) {
  if (name == QLatin1String("GridValue")) return &s.GridValue;
  if (name == QLatin1String("GridImpuls")) return &s.GridImpuls;
  if (name == QLatin1String("GridProbit")) return &s.GridProbit;
  if (name == QLatin1String("GridProc")) return &s.GridProc;
  if (name == QLatin1String("GridRisk")) return &s.GridRisk;
  for (const auto& [prefix, layers] : {std::pair{QLatin1String("LayerFlux"), &s.LayerFlux},
                                       std::pair{QLatin1String("LayerProc"), &s.LayerProc}})
    if (name.startsWith(prefix)) {
      const int k = name.mid(prefix.size()).toInt();
      return k >= 1 && k <= layers->count() ? &layers->layer(k) : nullptr;
    }
  return nullptr;
}

}  // namespace velaron::result
