// velaron-calc: a whole calculation without windows, from a JSON request on a database file.
//   velaron-calc --db DATABASE INPUT.json [--threads N] [--grids NAME,NAME,...] [--workbook OUT.xlsx]
//                [--report OUT.docx]
#include <QDate>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QStringList>
#include <QTemporaryDir>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <optional>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/drawing_threads.h"
#include "common/output_file.h"
#include "common/qt_text.h"
#include "output/json/run_json.h"
#include "output/report/docx_writer.h"
#include "output/report/report_of_record.h"
#include "output/workbook/result_workbook.h"
#include "run/headless.h"
#include "run/prepared_run.h"

using velaron::U;

namespace {

// Exit status when the results could not be written to standard output (a full disk, a closed pipe).
constexpr int kOutputFailed = 3;

// Writes the whole of `bytes` to standard output and flushes it: a failure is told on standard error,
// since the output itself can no longer carry it.
bool Print(const QByteArray& bytes) {
  errno = 0;
  if (std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout) ==
          static_cast<size_t>(bytes.size()) &&
      std::fflush(stdout) == 0)
    return true;
  const int error = errno;
  std::fprintf(stderr, "velaron-calc: не удалось вывести результаты: %s\n",
               velaron::FileErrorText(error ? error : EIO).c_str());
  return false;
}

int Refuse(const QString& message) { return Print(velaron::output::ErrorJson(message)) ? 2 : kOutputFailed; }

// A command line the driver cannot take: why, on standard error with the way to call it, and as the refusal.
int Usage(const QString& why) {
  std::fprintf(stderr,
               "velaron-calc: %s\nвызов: velaron-calc --db БАЗА_ДАННЫХ ВХОДНОЙ_ФАЙЛ.json [--threads ЧИСЛО] "
               "[--grids СЕТКА,...] [--workbook КНИГА.xlsx] [--report ОТЧЕТ.docx]\n",
               why.toUtf8().constData());
  return Refuse(QStringLiteral("velaron-calc: ") + why);
}

bool Same(const QString& a, const QString& b) {
  return !a.isEmpty() && !b.isEmpty() &&
         velaron::SameFile(QFile::encodeName(a).toStdString(), QFile::encodeName(b).toStdString());
}

// True when `path` is the file that the stream `fd` goes to or comes from.
bool IsStream(int fd, const QString& path) {
  struct stat stream = {}, file = {};
  return fstat(fd, &stream) == 0 && stat(QFile::encodeName(path).constData(), &file) == 0 &&
         stream.st_dev == file.st_dev && stream.st_ino == file.st_ino;
}

// Why the documents asked for cannot be written where they are asked: a document never takes the place of
// the database, of the input, of the other document or of a file that a standard stream goes to or comes
// from (standard output's results would go on into a file of no name, and a log of standard error or the
// file read as standard input would be lost), whatever the spelling of their paths, and it is written only
// into a file (a device or a pipe would be replaced by it, not written to).
QString OutputPlaceFault(const QString& db, const QString& input, const QString& workbook, const QString& report) {
  static const std::pair<int, const char*> kStreams[] = {{STDOUT_FILENO, "стандартный вывод"},
                                                         {STDERR_FILENO, "стандартный поток ошибок"},
                                                         {STDIN_FILENO, "стандартный ввод"}};
  for (const QString& out : {workbook, report}) {
    if (out.isEmpty()) continue;
    for (const auto& [fd, stream] : kStreams)
      if (IsStream(fd, out))
        return QStringLiteral("Файл %1 — это %2: результаты в него не записываются")
            .arg(out, QString::fromUtf8(stream));
    struct stat st = {};
    if (stat(QFile::encodeName(out).constData(), &st) == 0 && !S_ISREG(st.st_mode))
      return QStringLiteral("Файл %1 — не обычный файл: результаты в него не записываются").arg(out);
    if (Same(out, db)) return QStringLiteral("Файл %1 — это база данных: результаты в него не записываются").arg(out);
    if (Same(out, input))
      return QStringLiteral("Файл %1 — это входной файл: результаты в него не записываются").arg(out);
  }
  if (Same(workbook, report)) return QStringLiteral("Книга и отчет не могут быть записаны в один файл: %1").arg(report);
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  // The pictures are drawn with fonts, which need a GUI application; no window is ever shown.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Starting the platform looks into the session's runtime folder. Run outside a desktop session (a
  // script, a service) there is none, and Qt would say so on standard error at every run: the driver then
  // has a private one (made for its user alone) for as long as it runs.
  // Only the start of the platform looks there: the folder goes as soon as the application object is made,
  // and a signal that would end the driver meanwhile waits until it is gone.
  std::optional<QTemporaryDir> runtimeFolder;
  sigset_t endings, before;
  sigfillset(&endings);
  for (const int fault : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGSYS, SIGABRT}) sigdelset(&endings, fault);
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    pthread_sigmask(SIG_BLOCK, &endings, &before);
    runtimeFolder.emplace(QDir::tempPath() + QStringLiteral("/velaron-calc-XXXXXX"));
    if (runtimeFolder->isValid()) qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeFolder->path()));
  }
  QGuiApplication app(argc, argv);
  if (runtimeFolder) {
    runtimeFolder.reset();
    qunsetenv("XDG_RUNTIME_DIR");
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
  }
  std::setlocale(LC_NUMERIC, "C");

  QString db, input, reportPath;
  int threads = 0;
  QStringList grids;
  QString workbook;
  // The arguments as the system gave them (Qt's own taken out). A name that is not UTF-8 would reach the
  // files as another name: it is refused.
  QStringList args;
  for (int i = 0; i < argc; ++i) {
    args << QFile::decodeName(argv[i]);
    if (i > 0 && QFile::encodeName(args.back()) != QByteArray(argv[i]))
      return Refuse(QStringLiteral("Имя файла не в кодировке UTF-8: %1").arg(args.back()));
  }
  for (int i = 1; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a == QLatin1String("--db")) {
      if (++i >= args.size() || args[i].isEmpty()) return Usage(U("после --db нужен файл базы данных"));
      db = args[i];
    } else if (a == QLatin1String("--threads")) {
      if (++i >= args.size()) return Usage(U("после --threads нужно число потоков"));
      bool ok = false;
      threads = args[i].toInt(&ok);
      if (!ok || threads < 0)
        return Usage(U("число потоков после --threads должно быть целым, 0 или больше, а задано \"%1\"").arg(args[i]));
    } else if (a == QLatin1String("--grids")) {
      if (++i >= args.size()) return Usage(U("после --grids нужны имена сеток"));
      grids = args[i].split(QLatin1Char(','), Qt::SkipEmptyParts);
    } else if (a == QLatin1String("--report")) {
      if (++i >= args.size() || args[i].isEmpty()) return Usage(U("после --report нужен файл отчета"));
      reportPath = args[i];
    } else if (a == QLatin1String("--workbook")) {
      if (++i >= args.size() || args[i].isEmpty()) return Usage(U("после --workbook нужен файл книги"));
      workbook = args[i];
    } else if (a.startsWith(QLatin1String("--"))) {
      return Usage(U("неизвестный параметр ") + a);
    } else if (input.isEmpty()) {
      input = a;
    } else {
      return Usage(U("входной файл может быть только один"));
    }
  }
  if (db.isEmpty() || input.isEmpty()) return Usage(U("нужны --db с файлом базы данных и входной файл"));
  if (QString e = OutputPlaceFault(db, input, workbook, reportPath); !e.isEmpty()) return Refuse(e);
  // The documents' pictures need Qt's drawing threads: taken now, or refused before the calculation. The
  // driver then ends at once, since the application's end would wait for a thread the system refused. A run
  // without documents draws nothing and needs none.
  if (!workbook.isEmpty() || !reportPath.isEmpty())
    if (const QString refusal = velaron::KeepDrawingThreads(); !refusal.isEmpty()) _exit(Refuse(refusal));
  QFile file(input);
  if (!file.open(QIODevice::ReadOnly)) return Refuse(QStringLiteral("Не удалось открыть входной файл: ") + input);
  // At most one byte over the limit is read, so that a huge or endless input (a device) is refused.
  const QByteArray json = file.read(velaron::run::kMaxInputBytes + 1);
  // A grid the workbook cannot hold is refused before the calculation, not after it.
  velaron::run::RequestCheck workbookFits;
  if (!workbook.isEmpty())
    workbookFits = [](const velaron::result::RunRequest& request) {
      const velaron::models::CalcSettings& s = request.settings;
      const QString fault = velaron::output::SheetGridFault(s.XLimit, s.YLimit, s.CStep);
      return fault.isEmpty() ? fault
                             : velaron::run::WithShownValue(
                                   fault, QStringLiteral("ширина зоны расчета %1 м, по Y %2 м, шаг сетки %3 м")
                                              .arg(s.XLimit)
                                              .arg(s.YLimit)
                                              .arg(s.CStep));
    };
  const velaron::run::HeadlessResult r = velaron::run::RunHeadless(db, json, threads, grids, workbookFits);
  if (r.exitCode != 0 || !r.record) return Refuse(r.error);
  // The documents of the run, from the same record and through the same code as the window.
  if (!workbook.isEmpty()) {
    const auto written = velaron::output::WriteResultWorkbook(*r.record, workbook);
    if (!written.ok) {
      std::fprintf(stderr, "velaron-calc: %s: %s\n", qPrintable(workbook), qPrintable(written.detail));
      return Refuse(written.message);
    }
  }
  if (!reportPath.isEmpty()) {
    const auto doc = velaron::report::ReportOfRecord(*r.record, QDate::currentDate());
    if (!doc) return Refuse(QString::fromUtf8(velaron::report::kNoReportWriter));
    if (QString e = velaron::report::WriteDocx(*doc, reportPath); !e.isEmpty()) return Refuse(e);
  }
  return Print(velaron::output::SnapshotJson(*r.record, grids)) ? 0 : kOutputFailed;
}
