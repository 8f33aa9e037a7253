// What a report prints, gathered from the record of a finished run: the texts as the windows showed them
// when the run started, the run's numbers and its five figures. The blocks read only this, so a report is
// a function of the record, and the tests can set every value by hand.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QImage>
#include <QString>
#include <array>

#include "db/table_rows.h"
#include "result/run_snapshot.h"

namespace velaron::report {

struct ReportInput {
  result::Scenario scenario = result::Scenario::SymmetricJet;
  bool ZoneAtEdge = false;

  // Input data.
  QString Mestn;         // pipeline location
  QDate today;           // the date the report is written
  QDateTime start, end;  // RunTime(1), RunTime(2)
  int TPID = 0;          // section number
  QString gasName;
  double Dtrub = 0;  // m
  QString DavlText, TempText, LengthText;
  double Azimut = 0;  // degrees
  std::array<QString, 4> groundNames;
  // Boxes of the settings dialog as texts.
  QString XLimitText, CStepText, SkorChelText, TfbText, DolaText, ToblText, DolaOblText;
  int CStep = 10;
  // The section's crossing flags in the order of result::kCrossings (dpp1..dpp4), and the external
  // factors' check boxes: erosion, natural disasters, shut-off valves, river crossings (Check5..Check8).
  std::array<int, 4> crossings{};
  std::array<int, 4> external{};

  // Results.
  double PitLength = 0, SpeedOut = 0, MassFlow = 0;
  double LTorch = 0, LTorchWind = 0;
  QString liftAngleText = QStringLiteral("25");
  double MassFireBall = 0, RFireBall = 0, TFireBall = 0;
  double Dola_obl = 0, MassGPVS = 0;
  std::array<double, 8> RadiusDP{};
  result::Probabilities probabilities;
  std::array<QString, 3> MeteoText;
  QString WorstDirWord;  // WorstDir(2), dative
  models::ZoneTables zones;

  // Figures: risk zoning, graf1, diagram 1, graf2, diagram 2 (a null image: the run did not make it).
  QImage imgRisk, graf1, imgDiagr1, graf2, imgDiagr2;

  // Summary row.
  QString ScenarioName, cityName, regionName, diameterText;
  double DavlDown = 0, DavlUp = 0, Diametr = 0;
};

// Size of the distance-chart pictures, pixels: print resolution at the page's text width.
inline constexpr int kChartWidth = 1600, kChartHeight = 1000;

// Gathers the report's input from the record; `today` is the date line's date. The figures (the three
// result pictures from the grids, the two distance charts from their series) are drawn by the pictures
// layer unless `drawFigures` is false.
ReportInput InputFromRecord(const result::RunSnapshot& record, const QDate& today, bool drawFigures = true);

// The summary row of `tabOtchet` for a report written at `now`: the run's duration in minute boundaries,
// the texts the windows showed when the run started and the mean of the two pressures.
db::ReportSummaryRow SummaryRow(const ReportInput& in, const QDateTime& now);

}  // namespace velaron::report
