#include "ui/mainwindow/report_saving.h"

#include <QApplication>
#include <QCursor>
#include <QDate>
#include <QFileDialog>
#include <QFileInfo>

#include "db/data_folder.h"
#include "db/database.h"
#include "ui/mainwindow/form1.h"
#include "output/report/report_closing.h"
#include "output/report/single_reports.h"
#include "output/report/year_reports.h"
#include "output/pictures/wind_rose_picture.h"
#include "output/workbook/wind_rose.h"
#include "common/texts.h"
#include "ui/widgets/messages.h"

namespace velaron::ui {

namespace {

QString AskWithDialog(QWidget* parent, const QString& startFolder) {
  return QFileDialog::getSaveFileName(parent, QString(), startFolder, QString::fromUtf8(report::kDocxFilter));
}

ReportFileDialog& FileDialog() {
  static ReportFileDialog dialog = AskWithDialog;
  return dialog;
}

// The closing of a report built in the window: the summary row in the open database, the save dialog, and
// the messages in boxes over `parent`.
void CloseInWindow(QWidget* parent, const report::Document& doc, const report::ReportInput& in, const QDateTime& now) {
  report::ClosingHooks hooks;
  hooks.appendRow = [](const db::ReportSummaryRow& row) { return db::AppendReportSummary(row); };
  hooks.askFileName = [parent](const QString& folder) { return FileDialog()(parent, folder); };
  hooks.critical = [parent](const QString& message) { ShowCritical(parent, message); };
  report::CloseReport(doc, in, now, hooks);
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
  CloseInWindow(parent, *doc, in, now);
}

void SaveYearReport(QWidget* parent, const result::RunSnapshot& record) {
  const QDateTime now = QDateTime::currentDateTime();
  report::YearReportInput year = report::YearInputFromRecord(record, false);
  // The town's wind-rose workbook is rewritten where the run wrote it, and the figure shows the rose of
  // the run's town; when the rewrite fails the user is told and the figure keeps its caption alone, never
  // an older town's rose.
  if (record.town) {
    const QString folder = record.windRoseFile.isEmpty() ? db::DataFolder()
                                                          : QFileInfo(record.windRoseFile).absolutePath();
    if (output::SaveWindRose(*record.town, folder).ok)
      year.rose = output::DrawWindRose(*record.town);
    else
      ShowCritical(parent, QString::fromUtf8(texts::kWriteFailed));
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const report::ReportInput in = report::InputFromRecord(record, now.date());
  const std::optional<report::Document> doc = report::BuildYearReport(in, year);
  QApplication::restoreOverrideCursor();
  if (!doc) return;
  CloseInWindow(parent, *doc, in, now);
}

void RegisterReportWriters(Form1& window) {
  for (const result::ScenarioFacts& f : result::kScenarios)
    window.setReportWriter(result::CodeOf(f.scenario),
                           f.report == result::ReportForm::YearRound ? SaveYearReport : SaveSingleScenarioReport);
}

}  // namespace velaron::ui
