#include "output/report/report_of_record.h"

#include "output/report/single_reports.h"
#include "output/report/year_reports.h"
#include "result/scenarios.h"

namespace velaron::report {

std::optional<Document> ReportOfRecord(const result::RunSnapshot& record, const QDate& today, bool withRose) {
  const ReportInput in = InputFromRecord(record, today);
  switch (result::FactsOf(record.scenario()).report) {
    case result::ReportForm::Single: return BuildSingleReport(in);
    case result::ReportForm::YearRound: return BuildYearReport(in, YearInputFromRecord(record, withRose));
  }
  return std::nullopt;
}

}  // namespace velaron::report
