// velaron-calc: a whole calculation without windows, from a JSON request on a database file.
//   velaron-calc --db DATABASE INPUT.json [--threads N] [--grids NAME,NAME,...] [--workbook OUT.xlsx]
//                [--report OUT.docx]
#include <QDate>
#include <QFile>
#include <QGuiApplication>
#include <QStringList>
#include <clocale>
#include <cstdio>

#include "output/pictures/run_pictures.h"
#include "output/report/single_reports.h"
#include "output/workbook/result_workbook.h"
#include "run/headless.h"

namespace {

int Refuse(const QString& message) {
  const QByteArray out = velaron::run::ErrorJson(message);
  std::fwrite(out.constData(), 1, static_cast<size_t>(out.size()), stdout);
  return 2;
}

int Usage(const char* why) {
  std::fprintf(stderr, "velaron-calc: %s\nusage: velaron-calc --db DATABASE INPUT.json [--threads N] [--grids NAME,...] [--workbook OUT.xlsx] [--report OUT.docx]\n",
               why);
  return Refuse(QStringLiteral("velaron-calc: ") + QString::fromUtf8(why));
}

}  // namespace

int main(int argc, char** argv) {
  // The pictures are drawn with fonts, which need a GUI application; no window is ever shown.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");

  QString db, input, reportPath;
  int threads = 0;
  QStringList grids;
  QString workbook;
  const QStringList args = app.arguments();
  for (int i = 1; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a == QLatin1String("--db")) {
      if (++i >= args.size()) return Usage("--db needs a file");
      db = args[i];
    } else if (a == QLatin1String("--threads")) {
      if (++i >= args.size()) return Usage("--threads needs a number");
      bool ok = false;
      threads = args[i].toInt(&ok);
      if (!ok || threads < 0) return Usage("--threads needs a whole number, 0 or more");
    } else if (a == QLatin1String("--grids")) {
      if (++i >= args.size()) return Usage("--grids needs names");
      grids = args[i].split(QLatin1Char(','), Qt::SkipEmptyParts);
    } else if (a == QLatin1String("--report")) {
      if (++i >= args.size()) return Usage("--report needs a file");
      reportPath = args[i];
    } else if (a == QLatin1String("--workbook")) {
      if (++i >= args.size()) return Usage("--workbook needs a file");
      workbook = args[i];
    } else if (a.startsWith(QLatin1String("--"))) {
      return Usage("unknown option");
    } else if (input.isEmpty()) {
      input = a;
    } else {
      return Usage("one input file only");
    }
  }
  if (db.isEmpty() || input.isEmpty()) return Usage("--db and the input file are needed");
  QFile file(input);
  if (!file.open(QIODevice::ReadOnly)) return Refuse(QStringLiteral("Не удалось открыть входной файл: ") + input);
  // At most one byte over the limit is read, so that a huge or endless input (a device) is refused.
  const QByteArray json = file.read(velaron::run::kMaxInputBytes + 1);
  const velaron::run::HeadlessResult r = velaron::run::RunHeadless(db, json, threads, grids);
  if (r.exitCode == 0 && r.record && (!workbook.isEmpty() || !reportPath.isEmpty())) {
    // The documents of the run, from the same record and through the same code as the window, with the
    // pictures the results tab shows.
    velaron::output::DrawResultPictures(*r.record, r.record->request.options.Opt3D);
    if (!workbook.isEmpty()) {
      const auto written = velaron::output::WriteResultWorkbook(*r.record, workbook);
      if (!written.ok) {
        std::fprintf(stderr, "velaron-calc: %s: %s\n", qPrintable(workbook), qPrintable(written.detail));
        return Refuse(written.message);
      }
    }
    if (!reportPath.isEmpty()) {
      if (QString e = velaron::report::WriteReportOfRecord(*r.record, reportPath, QDate::currentDate()); !e.isEmpty())
        return Refuse(e);
    }
  }
  std::fwrite(r.output.constData(), 1, static_cast<size_t>(r.output.size()), stdout);
  return r.exitCode;
}
