// The one way from a finished run's record to its report document, for the window and the driver alike:
// the scenario table's report form of the record's scenario chooses the builder, and the builder the
// scenario's recipe.
#pragma once

#include <QDate>
#include <optional>

#include "output/report/document.h"
#include "result/run_snapshot.h"

namespace velaron::report {

// The report of `record`, dated `today`, with its figures drawn from the record. `withRose`: the
// year-round reports show the wind rose of the run's town (without it the rose's figure keeps its caption
// alone). Nothing for a record of no scenario.
std::optional<Document> ReportOfRecord(const result::RunSnapshot& record, const QDate& today, bool withRose = true);

// The message for a record without a report.
inline constexpr const char* kNoReportWriter = "Запись отчета по этому сценарию пока недоступна.";

}  // namespace velaron::report
