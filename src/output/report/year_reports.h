// The reports of the two year-round assessments as data over one builder: all jet fires over a year
// (code 7) and the complex assessment of all scenarios (code 1). They are built from the blocks of the
// single-scenario reports, with the town's wind table among the input data, the dimensions of all three jet
// kinds, six figures (the last the town's wind rose) and the year-round zone table at the end.
#pragma once

#include <QImage>
#include <optional>

#include "db/table_rows.h"
#include "output/report/document.h"
#include "output/report/report_input.h"
#include "output/report/year_zone_table.h"

namespace velaron::report {

// What the year-round reports read of the record besides the common input.
struct YearReportInput {
  std::optional<db::WindRow> town;  // the town row the run used, found by its key when it started
  QImage rose;                      // the town's wind rose; null: the figure's caption alone
  double W2 = 0;                    // frustum width at the tip, m
};

// The year-round part of the record. The rose is drawn from the record's town unless `drawRose` is false
// (no other town's rose ever stands in for it).
YearReportInput YearInputFromRecord(const result::RunSnapshot& record, bool drawRose = true);

struct YearReportRecipe {
  result::Scenario scenario;
  const char* title;
  bool settingsLines = false;  // the fireball and gas-air cloud settings after the fourth ground line
  enum class Flames { AllJets, Complex } flames = Flames::AllJets;
  const char* percentChartCaption = nullptr;
  const char* percentDiagramCaption = nullptr;
  YearTableForm table = YearTableForm::Jets;
};

// The recipe of a scenario whose report is a year-round one, or nothing.
const YearReportRecipe* YearRecipeOf(result::Scenario scenario);

// The whole document of a year-round report; nothing for another code.
std::optional<Document> BuildYearReport(const ReportInput& in, const YearReportInput& year);

}  // namespace velaron::report
