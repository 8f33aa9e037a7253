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

#include "db/table_rows.h"
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

// Per-year probabilities of the section's rupture and of each scenario, as the run computed them.
using Probabilities = models::ScenarioProbabilities;

struct RunSnapshot {
  // --- Inputs as the run started.
  RunRequest request;               // settings, pipeline, rate, external factors, section, dialog choices
  db::GasRow gas;                   // the gas row of the run
  db::Ground3Row ground;            // the section's ground row
  std::optional<db::WindRow> town;  // codes 1 and 7: the town of the wind rose
  QString regionName;               // the region of the accident rate (ways 1 and 2)

  // --- Derived quantities and probabilities.
  models::DerivedQuantities derived;  // outflow and flame quantities as the model left them
  int WindDir = 0;                    // degrees, where the wind blows from
  Probabilities probabilities;

  // --- Results.
  models::ZoneTables zones;          // as the calculation state left them
  std::array<double, 8> RadiusDP{};  // 300, 100, 70, 50, 30, 20, 10, 3 kPa
  std::array<QString, 2> WorstDir;   // direction number "1".."8" and its dative word
  double RFireBall = 0, TFireBall = 0;
  bool ZoneAtEdge = false;

  models::Grid GridValue, GridImpuls, GridProbit, GridProc, GridRisk;
  models::LayeredGrid LayerFlux, LayerProc;           // codes 1, 4 and 7
  models::ComplexGrids complexGrids;                  // code 1: the risk and percent of each scenario it joins
  std::vector<ProfilePoint> Profile;                  // jet fires and codes 1, 7
  std::vector<std::pair<double, double>> RadProfile;  // (percent, distance) along +x, points 1..N

  // --- Result display (the pictures are drawn from the grids by whoever shows or writes them).
  DistanceSeries graf1, graf2;

  QDateTime start, end;  // when the run started and when its record was made

  // The scenario the run computed.
  Scenario scenario() const { return request.run.scenario; }
  // Heat-flux runs have no impulse grid; overpressure runs (codes 2 and 8) have one.
  bool isOverpressure() const { return FactsOf(scenario()).overpressure; }
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
  for (const auto& [prefix, layers] :
       {std::pair{QLatin1String("LayerFlux"), &s.LayerFlux}, std::pair{QLatin1String("LayerProc"), &s.LayerProc}})
    if (name.startsWith(prefix)) {
      const int k = name.mid(prefix.size()).toInt();
      return k >= 1 && k <= layers->count() ? &layers->layer(k) : nullptr;
    }
  return nullptr;
}

}  // namespace velaron::result
