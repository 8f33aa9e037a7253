// The reports of the six single scenarios (codes 2, 3, 4, 5, 6, 8) as data over one builder: each recipe
// is the report's title, its extra lines, its tables and its captions.
#pragma once

#include <optional>

#include "output/report/document.h"
#include "output/report/report_input.h"

namespace velaron::report {

struct SingleReportRecipe {
  int code;
  const char* title;
  double inputHeadingSize;     // "Исходные данные": 14 in the explosion report, 12 elsewhere
  enum class Settings { None, FireBall, Cloud } settings;  // lines after the fourth ground line
  bool escapeSpeed;            // escape-speed line after the grid step
  bool weather;                // entered-weather lines (jet fires)
  bool emptyLineBeforeResults;
  bool emptyLineAfterMassFlow;
  enum class Results { None, FireBall, Cloud, JetCone, JetAsymmetric } results;
  double flameDiameterFactor, flameConeFactor;  // JetCone: diameter = k·H, cone = k·H
  const char* waveTitle;       // compression-wave table title, or nullptr
  bool waveTitleInResults;     // the title follows the result lines in the same paragraph step
  const char* graf1Caption;    // nullptr: the jet caption with the direction word
  const char* diagram1Caption;
  const char* zoneTitle;
  bool directionTables;
  bool weatherNote;
};

// The recipe of a single-scenario code, or nothing (codes 1 and 7 and codes outside 1..8).
const SingleReportRecipe* SingleRecipeOf(int scenarioCode);

// The whole document of a single-scenario report; nothing for a code without a recipe.
std::optional<Document> BuildSingleReport(const ReportInput& in);

// Builds the report of a finished run and writes it to `path` (no summary row, no dialog): the driver's
// "--report". An empty text when written, else the message.
QString WriteReportOfRecord(const result::RunSnapshot& record, const QString& path, const QDate& today);

// The message for a code whose report is not written here.
inline constexpr const char* kNoReportWriter = "Запись отчета по этому сценарию пока недоступна.";

}  // namespace velaron::report
