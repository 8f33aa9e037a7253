#include "output/report/report_closing.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "common/numtext.h"
#include "common/save_folder.h"
#include "common/texts.h"
#include "output/report/docx_writer.h"
#include "output/report/report_numbers.h"

namespace velaron::report {

db::ReportSummaryRow SummaryRow(const ReportInput& in, const QDateTime& now) {
  db::ReportSummaryRow row;
  row.Date = now;
  row.dlit = static_cast<int>(MinuteCount(in.start, in.end));
  row.Mestn = in.Mestn;
  row.scen = in.ScenarioName;
  row.Grunt = in.groundNames[0];
  row.Gr_grunt = in.groundNames[1];
  row.Type_grunt = in.groundNames[2];
  row.Vid_grunt = in.groundNames[3];
  // The table keeps the diameter as a number: the text as typed, read with the decimal comma.
  row.Dtr = ParseNumberLoose(in.diameterText.toStdString()).value_or(in.Diametr);
  row.Davl_sr = (in.DavlUp + in.DavlDown) / 2;
  row.Vid_gaz = in.gasName;
  row.City = in.cityName;
  row.Region = in.regionName;
  return row;
}

QString WithDocxSuffix(const QString& path) {
  if (path.isEmpty() || path.endsWith(QStringLiteral(".docx"), Qt::CaseInsensitive)) return path;
  return path + QStringLiteral(".docx");
}

QString ReportStartFolder() {
  // The folder of the last save, a workbook's as well as a report's.
  const QString last = QString::fromStdString(LastSaveFolder());
  if (!last.isEmpty() && QDir(last).exists()) return last;
  return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

ClosingOutcome CloseReport(const Document& doc, const ReportInput& in, const QDateTime& now, const ClosingHooks& hooks) {
  ClosingOutcome out;
  const QString rowError = hooks.appendRow ? hooks.appendRow(SummaryRow(in, now)) : QString();
  out.rowWritten = hooks.appendRow && rowError.isEmpty();
  if (!rowError.isEmpty() && hooks.critical) hooks.critical(rowError);

  const QString chosen = hooks.askFileName ? hooks.askFileName(ReportStartFolder()) : QString();
  // A cancelled dialog is the user's choice: nothing is written and nothing is said (the row stays).
  if (chosen.isEmpty()) return out;
  const QString path = WithDocxSuffix(chosen);
  if (const QString why = WriteDocx(doc, path); !why.isEmpty()) {
    if (hooks.critical) hooks.critical(QString::fromUtf8(velaron::texts::kSaveFailed) + QLatin1Char('\n') + why);
    return out;
  }
  out.savedPath = path;
  SetLastSaveFolder(QFileInfo(path).absolutePath().toStdString());
  return out;
}

}  // namespace velaron::report
