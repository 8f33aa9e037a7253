// The program's one connection, the start-up probe and the checked-query helpers.
#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

#include "common/numtext.h"
#include "db/database.h"
#include "db/db_internal.h"
#include "db/layout.h"

namespace velaron::db {
namespace {

constexpr const char* kConnectionName = "velaron";
constexpr const char* kProbeConnectionName = "velaron-probe";
constexpr const char* kRecoveryConnectionName = "velaron-recovery";

// How long a query waits for a file that another program holds before it fails with that cause. The window
// waits two seconds: a program that writes the file holds it for milliseconds, so its writes and ours both
// go through, while a file held for longer (a backup or sync tool) is told to the user at once instead of
// freezing the window. The driver has no window to freeze and waits longer.
constexpr const char* kWindowBusyWait = "QSQLITE_BUSY_TIMEOUT=2000";
constexpr const char* kDriverBusyWait = "QSQLITE_BUSY_TIMEOUT=5000";

// Qt SQL connections belong to the thread that opened them. The thread that opened the database uses the
// main connection; any other thread gets a clone of its own on first use, dropped when the thread ends
// (thread ids are reused, so clones are named by a counter, not by the id). The generation number tells a
// clone that the main connection was opened again since.
QMutex gMutex;
Qt::HANDLE gOwnerThread = nullptr;
int gGeneration = 0;
QAtomicInt gCloneCounter;

struct ThreadConnection {
  QString name;
  int generation = -1;
  ~ThreadConnection() {
    if (!name.isEmpty()) QSqlDatabase::removeDatabase(name);
  }
};
thread_local ThreadConnection tConnection;

// The first bytes of the file, as far as the database header goes.
QByteArray HeaderOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.read(20) : QByteArray();
}

// The 16-byte header every SQLite 3 database file starts with.
bool HasSqliteHeader(const QString& path) {
  static const QByteArray kHeader("SQLite format 3\0", 16);
  return HeaderOf(path).startsWith(kHeader);
}

// A database in write-ahead logging mode (its header's read and write versions are 2). A connection that
// only reads it still makes the -wal and -shm files beside it and leaves them there, and cannot read it at
// all where it may not make them (a read-only disk).
bool IsWalDatabase(const QString& path) {
  const QByteArray header = HeaderOf(path);
  return header.size() == 20 && (header[18] == 2 || header[19] == 2);
}

QString JournalOf(const QString& path) { return path + QStringLiteral("-journal"); }

// A write that a killed program or a power cut left unfinished: SQLite refuses to read the file read-only,
// since only a connection that may write can roll the journal beside it back.
bool HasUnfinishedWrite(const QString& path, const QSqlError& e) {
  constexpr int kReadOnly = 8;  // SQLITE_READONLY, whose extended codes say "cannot roll back"
  return (e.nativeErrorCode().toInt() & 0xFF) == kReadOnly && QFileInfo(JournalOf(path)).size() > 0;
}

QString UnfinishedWrite(const QString& path, bool window) {
  const QString journal = QFileInfo(JournalOf(path)).fileName();
  if (window)
    return QStringLiteral(
               "запись в базу данных была прервана, и отменить ее не удалось: файл %1 или его папка "
               "закрыты для записи")
        .arg(journal);
  return QStringLiteral(
             "запись в базу данных была прервана (рядом с файлом остался %1); незаконченную запись "
             "отменит следующий запуск программы, после чего базу данных можно читать")
      .arg(journal);
}

// Checks one candidate file without creating or changing anything. Returns an empty text when it will do,
// else why not. A lock held by another program is waited for two seconds at most.
QString ProbeFile(const QString& path, bool needWrite) {
  const QFileInfo info(path);
  if (!info.exists()) return QStringLiteral("файл не найден");
  if (!info.isFile()) return QStringLiteral("это не файл");
  if (!info.isReadable()) return QStringLiteral("нет доступа на чтение");
  if (!HasSqliteHeader(path)) return QString::fromUtf8(detail::kNotDatabase);
  if (!needWrite && IsWalDatabase(path))
    return QStringLiteral(
        "база данных в режиме журнала WAL, в котором ее нельзя прочитать, не оставив рядом с ней "
        "файлов -wal и -shm; переведите ее в обычный режим (PRAGMA journal_mode=DELETE)");

  QString why;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kProbeConnectionName);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=2000"));
    if (!db.open()) {
      why = QStringLiteral("база данных не открывается: %1").arg(detail::QueryFault(db.lastError()));
    } else {
      QSqlQuery query(db);
      if (!query.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"))) {
        why = HasUnfinishedWrite(path, query.lastError()) ? UnfinishedWrite(path, needWrite)
                                                          : detail::QueryFault(query.lastError());
      } else {
        query.finish();
        why = CheckLayout(db).fault;
      }
      // Damaged pages: SQLite's quick check reads every page of the file once.
      if (why.isEmpty()) {
        if (!query.exec(QStringLiteral("PRAGMA quick_check"))) {
          why = detail::QueryFault(query.lastError());
        } else if (query.next() && query.value(0).toString() != QLatin1String("ok")) {
          // SQLite's own report lists pages and b-trees: nothing the user can act on.
          why = QString::fromUtf8(detail::kDamaged);
        }
      }
      query.finish();
      db.close();
    }
  }
  QSqlDatabase::removeDatabase(kProbeConnectionName);
  if (!why.isEmpty() || !needWrite) return why;

  // SQLite writes the file and a journal beside it: both the file and its folder must be writable.
  if (!info.isWritable()) return QStringLiteral("файл открыт только для чтения");
  if (!QFileInfo(info.absolutePath()).isWritable()) return QStringLiteral("папка файла закрыта для записи");
  return {};
}

}  // namespace

ProbeResult ProbeDatabase(const QString& folder, bool finishInterrupted) {
  // A file another program holds is waited for once: when the roll-back of a write cut short found it held, the
  // probe would only wait for it again to say the same.
  const auto probe = [finishInterrupted](const QString& path) {
    if (finishInterrupted) {
      if (QString why = FinishInterruptedWrite(path); why == QString::fromUtf8(detail::kBusy)) return why;
    }
    return ProbeFile(path, true);
  };
  ProbeResult result;
  const QString primary = QDir(folder).filePath(kPrimaryFile);
  const QString fallback = QDir(folder).filePath(kFallbackFile);
  const QString whyPrimary = probe(primary);
  if (whyPrimary.isEmpty()) {
    result.ok = true;
    result.path = primary;
    result.DsnLocal = 1;
    return result;
  }
  const QString whyFallback = probe(fallback);
  if (whyFallback.isEmpty()) {
    result.ok = true;
    result.path = fallback;
    result.DsnLocal = 0;
    result.skipped = whyPrimary;
    return result;
  }
  result.error =
      QStringLiteral("Не удалось открыть базу данных программы.\n%1: %2\n%3: %4")
          .arg(QDir::toNativeSeparators(primary), whyPrimary, QDir::toNativeSeparators(fallback), whyFallback);
  return result;
}

QString ProbeDatabaseFile(const QString& path, bool needWrite) { return ProbeFile(path, needWrite); }

QString FinishInterruptedWrite(const QString& path) {
  const QFileInfo info(path);
  if (!QFileInfo(JournalOf(path)).exists() || !info.isFile() || !HasSqliteHeader(path)) return {};
  QString error;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kRecoveryConnectionName);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
    if (!db.open()) {
      error = detail::QueryFault(db.lastError());
    } else {
      // The first read of a connection that may write rolls the unfinished write back.
      QSqlQuery query(db);
      if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master")))
        error = detail::QueryFault(query.lastError());
      query.finish();
      db.close();
    }
  }
  QSqlDatabase::removeDatabase(kRecoveryConnectionName);
  return error;
}

QString OpenDatabase(const QString& path, bool readOnly) {
  CloseDatabase();
  // QSQLITE would make an empty database of a missing file: refuse first.
  if (!QFileInfo(path).isFile())
    return QStringLiteral("Файл базы данных не найден: %1").arg(QDir::toNativeSeparators(path));
  QString error;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnectionName);
    db.setDatabaseName(path);
    db.setConnectOptions(readOnly ? QStringLiteral("QSQLITE_OPEN_READONLY;") + QLatin1String(kDriverBusyWait)
                                  : QString::fromLatin1(kWindowBusyWait));
    if (!db.open()) error = QStringLiteral("База данных не открывается: %1").arg(detail::QueryFault(db.lastError()));
  }
  if (!error.isEmpty()) {
    QSqlDatabase::removeDatabase(kConnectionName);
    return error;
  }
  QMutexLocker lock(&gMutex);
  gOwnerThread = QThread::currentThreadId();
  ++gGeneration;
  return {};
}

void CloseDatabase() {
  QMutexLocker lock(&gMutex);
  // Clones held by other threads are left to them: each notices the new generation or ends with its thread.
  if (QSqlDatabase::contains(kConnectionName)) QSqlDatabase::removeDatabase(kConnectionName);
  if (!tConnection.name.isEmpty()) {
    QSqlDatabase::removeDatabase(tConnection.name);
    tConnection = {};
  }
  gOwnerThread = nullptr;
}

QSqlDatabase Connection() {
  QMutexLocker lock(&gMutex);
  if (!QSqlDatabase::contains(kConnectionName)) return {};
  if (gOwnerThread == QThread::currentThreadId()) return QSqlDatabase::database(kConnectionName, false);
  if (tConnection.generation != gGeneration) {
    if (!tConnection.name.isEmpty()) QSqlDatabase::removeDatabase(tConnection.name);
    tConnection.name = QStringLiteral("velaron-worker-%1").arg(gCloneCounter.fetchAndAddRelaxed(1) + 1);
    tConnection.generation = gGeneration;
    QSqlDatabase::cloneDatabase(QString::fromLatin1(kConnectionName), tConnection.name);
  }
  QSqlDatabase db = QSqlDatabase::database(tConnection.name, false);
  if (!db.isOpen()) db.open();
  return db;
}

namespace detail {

bool Run(QSqlQuery& query, const QString& sql, std::initializer_list<QVariant> values) {
  if (query.driver() == nullptr || !query.driver()->isOpen()) return false;
  if (!query.prepare(sql)) return false;
  for (const QVariant& v : values) query.addBindValue(v);
  return query.exec();
}

int Int(const QVariant& v) { return ToIntHalfEven(v.toDouble()); }

}  // namespace detail
}  // namespace velaron::db

namespace velaron::db {
bool IsOpen() { return Connection().isOpen(); }
}  // namespace velaron::db
