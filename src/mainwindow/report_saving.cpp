#include "mainwindow/report_saving.h"

#include <QApplication>
#include <QCursor>
#include <QDate>
#include <QFileDialog>

#include "db/database.h"
#include "mainwindow/form1.h"
#include "output/report/report_closing.h"
#include "output/report/single_reports.h"
#include "widgets/messages.h"

namespace velaron::ui {

namespace {

QString AskWithDialog(QWidget* parent, const QString& startFolder) {
  return QFileDialog::getSaveFileName(parent, QString(), startFolder, QString::fromUtf8(report::kDocxFilter));
}

ReportFileDialog& FileDialog() {
  static ReportFileDialog dialog = AskWithDialog;
  return dialog;
}

}  // namespace

void SetReportFileDialog(ReportFileDialog dialog) { FileDialog() = dialog ? std::move(dialog) : AskWithDialog; }

void SaveSingleScenarioReport(QWidget* parent, const result::RunSnapshot& record) {
  const QDateTime now = QDateTime::currentDateTime();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const report::ReportInput in = report::InputFromRecord(record, now.date());
  const std::optional<report::Document> doc = report::BuildSingleReport(in);
  QApplication::restoreOverrideCursor();
  if (!doc) return;
  report::ClosingHooks hooks;
  hooks.appendRow = [](const db::ReportSummaryRow& row) { return db::AppendReportSummary(row); };
  hooks.askFileName = [parent](const QString& folder) { return FileDialog()(parent, folder); };
  hooks.critical = [parent](const QString& message) { ShowCritical(parent, message); };
  report::CloseReport(*doc, in, now, hooks);
}

void RegisterReportWriters(Form1& window) {
  for (int code : {2, 3, 4, 5, 6, 8})
    if (report::SingleRecipeOf(code)) window.setReportWriter(code, SaveSingleScenarioReport);
}

}  // namespace velaron::ui
