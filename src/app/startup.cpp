#include "app/startup.h"

#include <QDir>

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

StartupResult Fail(const QString& text) {
  ShowCritical(nullptr, text);
  return {false, kStartupFailedStatus, text};
}

}  // namespace

std::shared_ptr<QLockFile> LockDataFolder(const QString& dataFolder, QString& refusal) {
  refusal.clear();
  auto lock = std::make_shared<QLockFile>(QDir(dataFolder).filePath(QString::fromLatin1(kLockFile)));
  // The window runs for days: the lock is never taken for stale by its age, only when its program is gone.
  lock->setStaleLockTime(0);
  if (lock->tryLock(0)) return lock;
  if (lock->error() == QLockFile::LockFailedError) {
    qint64 pid = 0;
    QString host, application;
    lock->getLockInfo(&pid, &host, &application);
    refusal = QString::fromUtf8("Данные программы уже открыты в другом окне программы (процесс %1).\n"
                                "Работайте с ними в том окне или закройте его и запустите программу снова.\n"
                                "Папка данных: %2")
                  .arg(pid)
                  .arg(QDir::toNativeSeparators(dataFolder));
  }
  return nullptr;
}

StartupResult StartUp(const QString& dataFolder, const QString& programFolder, AppContext& context) {
  context.FirstActivate = false;
  context.folder = QDir::cleanPath(dataFolder);
  context.dbPath.clear();
  context.folderLock.reset();

  // The lock comes before anything in the folder is read or written; a folder the first start is still
  // to make holds nothing to protect and is locked once made.
  QString refusal;
  std::shared_ptr<QLockFile> lock = LockDataFolder(context.folder, refusal);
  if (!refusal.isEmpty()) return Fail(refusal);

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

  if (!lock) {
    lock = LockDataFolder(context.folder, refusal);
    if (!refusal.isEmpty()) return Fail(refusal);
  }

  // A write cut short by a kill or a power cut is rolled back before the probe reads the file.
  for (const char* name : {db::kPrimaryFile, db::kFallbackFile})
    db::FinishInterruptedWrite(QDir(context.folder).filePath(QString::fromLatin1(name)));
  const db::ProbeResult probe = db::ProbeDatabase(context.folder);
  if (!probe.ok) return Fail(FailureText(context.folder, probe.error));
  // A database of an earlier version gains the columns it lacks before anything reads it.
  if (const QString error = db::AddMissingColumns(probe.path); !error.isEmpty())
    return Fail(FailureText(context.folder, error));

  if (const QString error = db::OpenDatabase(probe.path); !error.isEmpty())
    return Fail(FailureText(context.folder, error));

  context.folderLock = std::move(lock);
  context.dbPath = probe.path;
  context.DsnLocal = probe.DsnLocal;
  context.FirstActivate = true;
  return {true, 0, {}};
}

}  // namespace velaron::app
