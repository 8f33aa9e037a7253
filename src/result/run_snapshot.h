// The record of one completed run: everything the run started from and everything it produced, taken
// when the run completed. The main window shows it, and the report and workbook writers write from it,
// so that later edits of the windows never change what a finished run reports.
#pragma once

#include <QDateTime>
#include <QImage>
#include <QString>
#include <array>
#include <optional>
#include <utility>
#include <vector>

#include "db/rows.h"
#include "models/calc_state.h"
#include "result/run_request.h"
#include "result/scenarios.h"

namespace velaron::result {

// One line of a distance chart (`graf1` or `graf2`): one point per grid step, distance in m (already
// rounded where the chart labels it with a whole number) and the value.
struct DistanceSeries {
  QString xTitle;  // "Расстояние от газопровода, м" (graf1), empty for graf2
  QString yTitle;  // axis title of the values (graf1), empty for graf2
  std::vector<std::pair<double, double>> points;  // (distance, value)
};

// Point of the profile along the direction of the largest zone (jet fires, year-round assessment).
struct ProfilePoint {
  double value = 0;     // damaging factor
  double distance = 0;  // m
  double percent = 0;   // probability of injury, %
};

using ZoneRow = std::array<double, 4>;  // radii of zone levels 1..4 (99.99, 50, 33, 1 %); -1 not found

// Per-year probabilities of the section's rupture and of each scenario, as the run computed them.
using Probabilities = models::ScenarioProbabilities;

// Report texts of the run: section pressure with two decimals, section length, gas temperature as typed.
struct RunTexts {
  QString DavlText, LengthText, TempText;
};

struct RunSnapshot {
  // --- Inputs as the run started.
  RunRequest request;           // settings, pipeline, rate, external factors, section, dialog choices
  db::GasRow gas;               // the gas row of the run
  db::Ground3Row ground;        // the section's ground row
  std::optional<db::WindRow> town;  // codes 1 and 7: the town of the wind rose
  QString regionName;           // the region of the accident rate (ways 1 and 2)
  int ScenarioCode = 0;
  QString ScenarioName;         // the run dialog's scenario text
  std::array<QString, 3> MeteoText;  // season text, wind-speed text, wind-direction text
  QString liftAngleText = "25";      // the dialog's lift angle box, printed by the reports

  // --- Derived quantities and probabilities.
  models::DerivedQuantities derived;  // outflow and flame quantities as the model left them
  int WindDir = 0;                     // degrees, where the wind blows from
  RunTexts texts;
  Probabilities probabilities;

  // --- Results.
  ZoneRow CurZones{};                       // levels 1..4
  std::array<ZoneRow, 9> ZoneR{};           // ScenarioKind 1..9 at index 0..8
  std::array<std::array<ZoneRow, 8>, 5> ZoneRDir{};  // jet case 1..5, direction 1..8 (north first)
  std::array<double, 8> RadiusDP{};         // 300, 100, 70, 50, 30, 20, 10, 3 kPa
  std::array<QString, 2> WorstDir;          // direction number "1".."8" and its dative word
  double RFireBall = 0, TFireBall = 0;
  bool ZoneAtEdge = false;
  // Codes 1 and 7: the town's wind-rose workbook this run wrote, for the reports' rose; empty when none
  // was written. `windRoseFailed`: writing it failed, so the user is told and no rose is shown.
  QString windRoseFile;
  bool windRoseFailed = false;

  models::Grid GridValue, GridImpuls, GridProbit, GridProc, GridRisk;
  models::LayeredGrid LayerFlux, LayerProc;  // codes 1, 4 and 7
  std::vector<std::pair<QString, models::Grid>> extraGrids;  // further named grids of codes 1 and 7
  std::vector<ProfilePoint> Profile;        // jet fires and codes 1, 7
  std::vector<std::pair<double, double>> RadProfile;  // (percent, distance) along +x, points 1..N

  // --- Result display.
  DistanceSeries graf1, graf2;
  QImage imgDiagr1, imgDiagr2, imgRisk;

  QDateTime start, end;  // RunTime(1), RunTime(2)

  // Heat-flux runs have no impulse grid; overpressure runs (codes 2 and 8) have one.
  bool isOverpressure() const { return IsScenarioCode(ScenarioCode) && FactsOf(ScenarioCode).overpressure; }
};

}  // namespace velaron::result
