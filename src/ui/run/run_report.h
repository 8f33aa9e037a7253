// "Сохранить результаты": the report of a finished run, written from its record. The summary row of
// `tabOtchet` is appended first and stays whatever happens next (a failed write of it is told, and the
// document is still offered), then the program's save dialog asks for the file, and the document is
// written through a temporary file and a rename. Cancelling the dialog writes nothing and says nothing; a
// failed write shows "Ошибка в процессе сохранения файла" with its cause and leaves any earlier file as
// it was.
#pragma once

#include <QString>

#include "db/table_rows.h"
#include "output/report/document.h"
#include "result/run_snapshot.h"

class QWidget;

namespace velaron::ui {

inline constexpr const char* kReportFilter = "Документы (*.docx)|*.docx";

// Writes the report of `record`, its messages over `parent`. A run over a year first rewrites its town's
// wind-rose workbook in `roseFolder`; when that fails the user is told and the rose's figure keeps its
// caption alone (never an older town's rose).
void SaveRunReport(QWidget* parent, const result::RunSnapshot& record, const QString& roseFolder);

struct ReportClosing {
  bool rowWritten = false;
  QString savedPath;  // empty when nothing was saved
};

// The end of every report: appends `row`, asks for the file, writes `doc`.
ReportClosing CloseReport(QWidget* parent, const report::Document& doc, const db::ReportSummaryRow& row);

}  // namespace velaron::ui
