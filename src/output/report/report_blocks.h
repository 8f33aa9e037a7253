// The blocks every report is made of, each as the report writers append it to the document: the
// grid-edge warning, the title, the input data, the result head, the scenario probabilities, a figure with
// its caption, the compression-wave table, the damage-zone table, the zone tables by compass direction and
// the jet-fire blocks (escape speed, weather, flame lines, closing weather note). The year-round reports
// use the same blocks.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include "output/report/document.h"
#include "output/report/report_input.h"

namespace velaron::report {

// Whether `recipes` hold one recipe of each scenario whose report has `form` and none of the others.
template <class Recipes>
constexpr bool OneRecipeEach(const Recipes& recipes, result::ReportForm form) {
  for (const result::ScenarioFacts& f : result::kScenarios) {
    int found = 0;
    for (const auto& r : recipes) found += r.scenario == f.scenario;
    if (found != (f.report == form ? 1 : 0)) return false;
  }
  return true;
}

// A report line: the label, the value's text and CR LF.
QString Line(const char* label, const QString& value = QString());

// Grid-edge warning and two empty lines, only when the zone reached the grid's edge.
void EdgeWarningBlock(Document& doc, bool zoneAtEdge);
// Title: 12 pt, centred, bold.
void TitleBlock(Document& doc, const QString& title);

// What a report adds to the input data: lines after the fourth ground line, the escape-speed line
// (followed by an empty line) after the grid step, and the weather lines of the jet reports.
struct InputAdditions {
  double headingSize = 12;
  QStringList afterGround;  // complete lines, each ending in CR LF
  bool escapeSpeed = false;
  bool weather = false;
  bool yearWeather = false;  // the year-round reports' weather lines instead of the entered weather
};
void InputDataBlock(Document& doc, const ReportInput& in, const InputAdditions& add);

// Heading "Результаты расчета" (14 pt, bold; an empty line before it when asked) and the three lines of
// pit length, outflow speed and mass flow in a 12-pt paragraph step that the caller may go on appending to.
void ResultHead(Document& doc, const ReportInput& in, bool emptyLineBefore);

// The scenario-probability block: an empty line, the heading, seven lines and an empty line.
void ProbabilityBlock(Document& doc, const result::Probabilities& p);

// A figure: a centred paragraph with the picture (nothing when the run did not make it), then CR LF, the
// caption, the grid step (with the sign blank or plain), " м)" and CR LF.
void FigureBlock(Document& doc, const QImage& picture, const QString& caption, int cStep, bool stepWithBlank);

// The 2 × 8 compression-wave table at the end of the document (10 pt, fixed widths 100 / 50 pt).
void WaveTable(Document& doc, const std::array<double, 8>& RadiusDP);

// Title (an empty line before it, 12 pt centred) and the 6 × 2 damage-zone table of the run's radii;
// `noteFollows`: the table stays on one page with the note written after it.
void ZoneTableBlock(Document& doc, const QString& title, const models::ZoneRow& zones, bool noteFollows = false);

// Zone tables by compass direction (ZoneRDir) for the scenario: one table for codes 3, 4, 5, three for
// codes 1 and 7, none for the others.
void DirectionTables(Document& doc, result::Scenario scenario, const models::ZoneTables& zones);

// Jet blocks.
QStringList WeatherLines(const std::array<QString, 3>& meteo);  // W1..W3, each ending in CR LF
// The flame of length H as a cone followed by a cylinder: the diameter, cone and cylinder lines.
QString ConeLines(double H, const result::FlameCone& cone);
// The flame length line and the cone lines.
void FlameConeLines(Document& doc, double LTorch, const result::FlameCone& cone);
void AsymmetricFlameLines(Document& doc, double LTorch, double LTorchWind, const QString& liftAngle, double azimut);
// The closing weather note, its four lines kept on one page.
void WeatherNoteBlock(Document& doc, const std::array<QString, 3>& meteo);

}  // namespace velaron::report
