#include "app/startup.h"

#include <QDir>

#include "common/drawing_threads.h"
#include "common/texts.h"
#include "db/data_folder.h"
#include "db/database.h"
#include "db/layout.h"
#include "ui/widgets/messages.h"

namespace velaron::app {

using ui::AppContext;
using ui::ShowCritical;
using ui::ShowMessage;

namespace {

// The message of a failed start names both files the program looked for, whatever the database layer
// put into its own text, so that the user knows where to put the database.
QString FailureText(const QString& folder, const QString& reason) {
  const QString primary = QDir(folder).filePath(QString::fromLatin1(db::kPrimaryFile));
  const QString fallback = QDir(folder).filePath(QString::fromLatin1(db::kFallbackFile));
  const QString heading = QString::fromUtf8("Не удалось открыть базу данных программы.");
  // The probe's own text may begin with the same heading: it is said once.
  QString text = heading;
  if (!reason.isEmpty()) text = reason.startsWith(heading) ? reason : heading + QLatin1Char('\n') + reason;
  for (const QString& path : {primary, fallback})
    if (!text.contains(path)) text += QString::fromUtf8("\nФайл: ") + path;
  return text;
}

// The note of a start on the fallback file: which file was skipped and why, and which one is used.
QString SkippedText(const QString& folder, const db::ProbeResult& probe) {
  return QString::fromUtf8(
             "База данных не открыта:\n%1\nПричина: %2.\nПрограмма работает с базой данных:\n%3\nУчастки трассы, "
             "настройки и архив отчетов берутся из нее.")
      .arg(QDir::toNativeSeparators(QDir(folder).filePath(QString::fromLatin1(db::kPrimaryFile))), probe.skipped,
           QDir::toNativeSeparators(probe.path));
}

StartupResult Fail(const QString& text) {
  ShowCritical(nullptr, text);
  return {false, kStartupFailedStatus, text};
}

}  // namespace

std::shared_ptr<db::FolderLock> LockDataFolder(const QString& dataFolder, QString& refusal) {
  refusal.clear();
  const QString lockPath = QDir(dataFolder).filePath(QString::fromLatin1(kLockFile));
  db::LockAttempt attempt = db::TakeFolderLock(lockPath);
  if (attempt.lock) return std::move(attempt.lock);
  if (!attempt.held) {
    refusal = attempt.error;
    return nullptr;
  }
  const QString who = attempt.holder > 0 ? QString::fromUtf8(" (процесс %1)").arg(attempt.holder) : QString();
  refusal = QString::fromUtf8(
                "Данные программы уже открыты в другом окне программы%1.\n"
                "Работайте с ними в том окне или закройте его и запустите программу снова.\n"
                "Папка данных: %2\nФайл блокировки: %3")
                .arg(who, QDir::toNativeSeparators(dataFolder), QDir::toNativeSeparators(lockPath));
  return nullptr;
}

int WindowThreadCount() { return kQtOwnThreads + DrawingThreadCount() + kWorkerThreads; }

QString WindowThreadsRefusal(int started, int wanted) {
  return QString::fromUtf8(
             "Система не дала программе создать потоки, без которых окно программы не работает: создано %1 из %2 "
             "(исчерпан предел числа процессов или не хватает памяти). Закройте ненужные программы или поднимите "
             "предел числа процессов и запустите программу снова.")
      .arg(started)
      .arg(wanted);
}

QString NoDisplayText() {
  const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
  const QString display = qEnvironmentVariable("DISPLAY");
  QString why = display.isEmpty()
                    ? QString::fromUtf8("нет графического дисплея (переменная окружения DISPLAY не задана)")
                    : QString::fromUtf8("дисплей «%1» недоступен").arg(display);
  if (!platform.isEmpty() && platform != QLatin1String("xcb"))
    why = QString::fromUtf8("графическая платформа «%1» не запустилась").arg(platform);
  return QString::fromUtf8("Окно программы не открыто: %1. Запустите программу в графическом сеансе пользователя.")
      .arg(why);
}

bool KeepDrawingThreadsOrRefuse(const std::function<int()>& refusedSoFar) {
  const QString refusal = KeepDrawingThreads(refusedSoFar);
  if (!refusal.isEmpty()) ShowCritical(nullptr, refusal);
  return refusal.isEmpty();
}

StartupResult StartUp(const QString& dataFolder, const QString& programFolder, AppContext& context) {
  context.FirstActivate = false;
  context.folder = QDir::cleanPath(dataFolder);
  context.dbPath.clear();
  context.folderLock.reset();
  // Without a home folder there is no place for the data: the refusal says how to give one, rather than
  // looking for the data in the current or the root folder.
  if (dataFolder.isEmpty())
    return Fail(QString::fromUtf8(
        "Не найдена домашняя папка пользователя, в которой программа хранит свои данные: ее нет ни в переменной "
        "окружения HOME, ни в учетной записи пользователя.\nУкажите папку данных в переменной окружения "
        "VELARON_DATA_DIR или домашнюю папку в переменной HOME и запустите программу снова."));

  // The lock comes before anything in the folder is read or written, the first start's copy of the
  // template and its note included: a second start meanwhile finds the folder taken. A folder that is not
  // there yet is made first, empty.
  if (!QDir().mkpath(context.folder))
    return Fail(FailureText(context.folder,
                            QString::fromUtf8("Не удалось создать папку ") + QDir::toNativeSeparators(context.folder)));
  QString refusal;
  std::shared_ptr<db::FolderLock> lock = LockDataFolder(context.folder, refusal);
  if (!lock) return Fail(refusal);

  const db::SeedResult seed = db::SeedDataFolder(context.folder, programFolder);
  if (!seed.error.isEmpty()) return Fail(FailureText(context.folder, seed.error));
  if (seed.copied) {
    const QString where = QDir::toNativeSeparators(seed.path);
    const QString text = seed.fromEarlier
                             ? QString::fromUtf8("База данных программы скопирована из папки программы\n") +
                                   QDir::toNativeSeparators(seed.source) +
                                   QString::fromUtf8("\nв папку данных пользователя:\n") + where
                             : QString::fromUtf8("Создана база данных программы:\n") + where +
                                   QString::fromUtf8("\nВ ней хранятся участки трассы, настройки и архив отчетов.");
    ShowMessage(nullptr, {QMessageBox::Information, QString::fromUtf8(texts::kProgramTitle), text, QMessageBox::Ok});
  }

  // A write cut short by a kill or a power cut is rolled back before the probe reads the file.
  const db::ProbeResult probe = db::ProbeDatabase(context.folder, true);
  if (!probe.ok) return Fail(FailureText(context.folder, probe.error));
  // A database of an earlier version gains the columns it lacks before anything reads it.
  if (const QString error = db::AddMissingColumns(probe.path); !error.isEmpty())
    return Fail(FailureText(context.folder, error));

  if (const QString error = db::OpenDatabase(probe.path); !error.isEmpty())
    return Fail(FailureText(context.folder, error));

  // The fallback file holds other sections, settings and reports than the primary one: said once, naming
  // the skipped file and why, so that the engineer is not left to find older data without a hint.
  if (!probe.skipped.isEmpty())
    ShowMessage(nullptr, {QMessageBox::Information, QString::fromUtf8(texts::kProgramTitle),
                          SkippedText(context.folder, probe), QMessageBox::Ok});

  context.folderLock = std::move(lock);
  context.dbPath = probe.path;
  context.DsnLocal = probe.DsnLocal;
  context.FirstActivate = true;
  return {true, 0, {}};
}

}  // namespace velaron::app
