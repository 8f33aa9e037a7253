#include "ui/run/run_report.h"

#include <QApplication>
#include <QDateTime>

#include "common/qt_text.h"
#include "common/texts.h"
#include "db/database.h"
#include "output/report/docx_writer.h"
#include "output/report/report_input.h"
#include "output/report/report_of_record.h"
#include "output/workbook/wind_rose.h"
#include "result/scenarios.h"
#include "ui/widgets/messages.h"
#include "ui/widgets/save_dialog.h"

namespace velaron::ui {

ReportClosing CloseReport(QWidget* parent, const report::Document& doc, const db::ReportSummaryRow& row) {
  ReportClosing out;
  const QString rowError = db::AppendReportSummary(row);
  out.rowWritten = rowError.isEmpty();
  if (!out.rowWritten) ShowCritical(parent, rowError);

  const QString path = AskSaveFileName(parent, QString(), U(kReportFilter));
  // A cancelled dialog is the user's choice: nothing is written and nothing is said (the row stays).
  if (path.isEmpty()) return out;
  if (const QString why = report::WriteDocx(doc, path); !why.isEmpty()) {
    ShowCritical(parent, U(texts::kSaveFailed) + QLatin1Char('\n') + why);
    return out;
  }
  out.savedPath = path;
  RememberSaveFolder(path);
  return out;
}

void SaveRunReport(QWidget* parent, const result::RunSnapshot& record, const QString& roseFolder) {
  const QDateTime now = QDateTime::currentDateTime();
  // The town's wind-rose workbook is rewritten where the runs write it, and the figure shows the rose of
  // the run's town.
  bool withRose = true;
  if (result::FactsOf(record.scenario()).yearRound && record.town) {
    const output::WindRoseResult rose = output::SaveWindRose(*record.town, roseFolder);
    withRose = rose.ok;
    if (!withRose) ShowCritical(parent, rose.message());
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const std::optional<report::Document> doc = report::ReportOfRecord(record, now.date(), withRose);
  QApplication::restoreOverrideCursor();
  if (!doc) {
    ShowMessage(parent,
                {QMessageBox::Information, U(texts::kProgramTitle), U(report::kNoReportWriter), QMessageBox::Ok});
    return;
  }
  CloseReport(parent, *doc, report::SummaryRow(report::InputFromRecord(record, now.date(), false), now));
}

}  // namespace velaron::ui
