// The end of every report: the summary row of `tabOtchet` first (it stays whatever happens next), then the
// file name asked through the caller's save dialog, then the document written through a temporary file
// and a rename. The dialog and the message box are the caller's (a window), so that nothing here touches
// a widget.
#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

#include "common/rows.h"
#include "output/report/document.h"
#include "output/report/report_input.h"

namespace velaron::report {

// The 13 fields of the summary row: the moment of writing, the run's duration in minute boundaries, the
// texts the windows showed when the run started and the mean of the two pressures.
db::ReportSummaryRow SummaryRow(const ReportInput& in, const QDateTime& now);

// Save dialog filter, and a name with ".docx" added when it has no suffix of that kind.
inline constexpr const char* kDocxFilter = "Документы (*.docx)";
QString WithDocxSuffix(const QString& path);

// The folder the dialog opens in: the folder of the last report saved, else the user's documents folder.
QString ReportStartFolder();

struct ClosingHooks {
  // Appends the row; an empty text when it was written, else the failure.
  std::function<QString(const db::ReportSummaryRow&)> appendRow;
  // Shows the save dialog in the folder given; the chosen name, or an empty text when cancelled.
  std::function<QString(const QString& startFolder)> askFileName;
  // Shows a critical message titled with the program's name.
  std::function<void(const QString& message)> critical;
};

struct ClosingOutcome {
  bool rowWritten = false;
  QString savedPath;  // empty when nothing was saved
};

// Appends the row (a failed write is told and the document is still offered), asks for the name, writes
// the document. A cancelled dialog writes nothing and says nothing (the row stays); a failed write shows
// "Ошибка в процессе сохранения файла" with the write's cause on a line of its own. Either way any earlier
// file stays as it was.
ClosingOutcome CloseReport(const Document& doc, const ReportInput& in, const QDateTime& now, const ClosingHooks& hooks);

}  // namespace velaron::report
