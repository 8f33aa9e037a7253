// The reports of the six single scenarios (codes 2, 3, 4, 5, 6, 8) as data over one builder: each recipe
// is the report's title, its extra lines, its tables and its captions.
#pragma once

#include <optional>

#include "output/report/document.h"
#include "output/report/report_input.h"
#include "result/scenarios.h"

namespace velaron::report {

struct SingleReportRecipe {
  result::Scenario scenario;
  const char* title;
  double inputHeadingSize = 12;  // "Исходные данные": 14 in the explosion report
  enum class Settings { None, FireBall, Cloud } settings = Settings::None;  // lines after the fourth ground line
  bool escapeSpeed = false;                                                 // escape-speed line after the grid step
  bool weather = false;                                                     // entered-weather lines (jet fires)
  bool emptyLineBeforeResults = false;
  bool emptyLineAfterMassFlow = false;
  // JetCone: the flame as the scenario table's cone of the scenario.
  enum class Results { None, FireBall, Cloud, JetCone, JetAsymmetric } results = Results::None;
  const char* waveTitle = nullptr;     // compression-wave table title, or nullptr
  bool waveTitleInResults = false;     // the title follows the result lines in the same paragraph step
  const char* graf1Caption = nullptr;  // nullptr: the jet caption with the direction word
  const char* diagram1Caption = nullptr;
  const char* zoneTitle = nullptr;
  bool directionTables = false;
  bool weatherNote = false;
};

// The recipe of a scenario whose report is a single scenario's, or nothing.
const SingleReportRecipe* SingleRecipeOf(result::Scenario scenario);

// The whole document of a single-scenario report; nothing for a code without a recipe.
std::optional<Document> BuildSingleReport(const ReportInput& in);

}  // namespace velaron::report
