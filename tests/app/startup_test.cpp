// The program's start-up as the entry runs it, on data folders of the test's own: one program per data
// folder, what a killed program leaves behind, databases of another layout and damaged data folders.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <optional>
#include <sqlite3.h>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/startup.h"
#include "common/qt_text.h"
#include "db/database.h"
#include "db/db_files.h"
#include "message_catcher.h"

namespace velaron::app {
namespace {

void WriteText(const QString& path, const char* text) {
  QFile f(path);
  if (f.open(QIODevice::WriteOnly)) f.write(text);
}
QByteArray ReadText(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class Startup : public ::testing::Test {
 protected:
  void TearDown() override { db::CloseDatabase(); }
  QString DbPath() const { return dir.filePath(QStringLiteral("data.db")); }
  QString LockPath() const { return dir.filePath(QString::fromLatin1(kLockFile)); }
  StartupResult Start(AppContext& context) { return StartUp(dir.path(), QStringLiteral(VELARON_BIN_DIR), context); }
  // The database file as an earlier or damaged version of the program left it: the template with `sql`.
  void OlderDatabase(const QString& sql) {
    QFile::remove(DbPath());
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELARON_PRISTINE_DB), DbPath()));
    QFile::setPermissions(DbPath(), QFile::ReadOwner | QFile::WriteOwner);
    test::ExecOnFile(DbPath(), sql);
  }
  QTemporaryDir dir;
  test::MessageCatcher messages;
};

// A second program on the same folder is refused with the first one's process number and the lock file,
// and touches nothing; so is one started while the first start's note of the new database is shown (before,
// that one opened the folder and the first was refused once its note was closed). The first one then dies in
// the middle of a write, leaving its lock and the journal of the write behind (after which neither program
// used to open the database again): the next start takes the lock over, rolls the write back and shows the
// values stored before it began.
TEST_F(Startup, OneProgramPerDataFolderAndTheNextStartAfterAKill) {
  AppContext first, second, next;
  StartupResult meanwhile;
  ui::SetMessageSink([&](const ui::MessageRequest& r) {
    messages.requests.push_back(r);
    if (r.icon == QMessageBox::Information) meanwhile = Start(next);
    return QMessageBox::Ok;
  });
  ASSERT_TRUE(Start(first).ok);  // the first start makes data.db and says so
  EXPECT_TRUE(meanwhile.message.startsWith(
      U("Данные программы уже открыты в другом окне программы (процесс %1).").arg(getpid())))
      << meanwhile.message.toStdString();
  messages.requests.clear();
  db::CloseDatabase();
  test::MakeInterruptedWrite(QStringLiteral(VELARON_PRISTINE_DB), DbPath());
  const StartupResult refused = Start(second);
  EXPECT_EQ(refused.exitStatus, kStartupFailedStatus);
  EXPECT_TRUE(
      refused.message.startsWith(U("Данные программы уже открыты в другом окне программы (процесс %1).").arg(getpid())))
      << refused.message.toStdString();
  EXPECT_TRUE(refused.message.contains(LockPath())) << "the lock file is named";
  EXPECT_EQ(messages.texts(), QStringList{refused.message});
  EXPECT_TRUE(!second.FirstActivate && second.dbPath.isEmpty() && QFile::exists(DbPath() + "-journal"));

  // The killed program's lock: taken by a process that ended without letting it go.
  first.folderLock.reset();
  const pid_t killed = fork();
  if (killed == 0) {
    QString refusal;
    _exit(LockDataFolder(dir.path(), refusal) ? 0 : 1);  // no destructor runs, as in a crash
  }
  int status = 0;
  ASSERT_TRUE(waitpid(killed, &status, 0) == killed && WEXITSTATUS(status) == 0);
  ASSERT_TRUE(QFile::exists(dir.filePath(QString::fromLatin1(kLockFile))));
  messages.requests.clear();
  const StartupResult r = Start(next);
  ASSERT_TRUE(r.ok) << r.message.toStdString();
  EXPECT_TRUE(messages.requests.empty()) << messages.texts().join('|').toStdString();
  EXPECT_EQ(db::LoadAdjustment().value->XLimit, 1000);  // the template's, not the 4444 of the unfinished write
  EXPECT_FALSE(QFile::exists(DbPath() + "-journal"));
}

// A missing table, or a missing or mistyped column other than the ones the start adds (the database's tests),
// stops the start naming table and column, instead of running on defaults (500 mm, a 1000 m grid) unsaid.
TEST_F(Startup, AnotherLayoutIsRefusedNamingTableAndColumn) {
  const std::pair<const char*, const char*> cases[] = {
      {"ALTER TABLE Adjustment DROP COLUMN Skor_chel", "в таблице \"Adjustment\" нет столбца \"Skor_chel\""},
      {"ALTER TABLE TPs DROP COLUMN Ground; ALTER TABLE TPs ADD COLUMN Ground REAL",
       "в таблице \"TPs\" столбец \"Ground\" имеет тип REAL, а должен иметь тип TEXT"},
      // Names in another letter case are the same names: only the dropped table is named.
      {"ALTER TABLE Statistics RENAME TO s; ALTER TABLE s RENAME TO statistics; DROP TABLE \"70b\"",
       "в базе данных нет таблиц: 70b"},
  };
  for (const auto& [sql, refusal] : cases) {
    OlderDatabase(U(sql));
    messages.requests.clear();
    AppContext context;
    const StartupResult r = Start(context);
    EXPECT_FALSE(r.ok) << sql;
    EXPECT_TRUE(r.message.contains(U(refusal))) << r.message.toStdString();
    EXPECT_EQ(messages.texts(), QStringList{r.message});
  }
}

// A damaged data folder stops the start with one message naming what is wrong where, and leaves what lies
// there as it was: a data.db that is no database, a folder in its place, a data folder that is a file.
TEST_F(Startup, ADamagedDataFolderStopsTheStartAndKeepsWhatIsThere) {
  const QString file = dir.filePath(U("файл"));
  const struct {
    std::function<void()> damage;
    QString folder;
    QString told;
    std::function<bool()> kept;
  } cases[] = {
      {[&] { WriteText(DbPath(), "не база данных"); }, dir.path(),
       DbPath() + U(": файл не является базой данных SQLite"), [&] { return ReadText(DbPath()) == "не база данных"; }},
      {[&] { QDir().mkpath(DbPath()); }, dir.path(), DbPath() + U(": это не файл"),
       [&] { return QFileInfo(DbPath()).isDir() && QDir(DbPath()).isEmpty(); }},
      {[&] { WriteText(file, "файл"); }, file, U("Не удалось создать папку ") + file,
       [&] { return ReadText(file) == "файл"; }},
      // No home folder known: the start says how to name one (it said it could not make the folder "", and
      // a folder of the current one could have been taken for the data).
      {[] {}, QString(), U("Не найдена домашняя папка пользователя"),
       [] { return !QFile::exists(kLockFile) && !QFile::exists("data.db"); }},
  };
  for (const auto& c : cases) {
    QDir(dir.path()).removeRecursively();
    QDir().mkpath(dir.path());
    c.damage();
    messages.requests.clear();
    AppContext context;
    const StartupResult r = StartUp(c.folder, QStringLiteral(VELARON_BIN_DIR), context);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.exitStatus, kStartupFailedStatus);
    EXPECT_TRUE(r.message.contains(c.told)) << r.message.toStdString();
    EXPECT_EQ(messages.texts(), QStringList{r.message});
    EXPECT_TRUE(c.kept()) << c.told.toStdString();
  }
}

// A lock file that no running program holds is taken over, whatever was left in its place: an empty file
// (a power cut), one naming a process that runs but does not hold it, one this user cannot read, an empty
// folder, a link (dangling, or to a file that stays as it was), a pipe (which hung the start); before, each
// was said to be open in "процесс 0" or another process, or the start waited for ever. What cannot be
// replaced is refused naming the lock file, and kept; so is a lock file that cannot be written.
TEST_F(Startup, ALockFileNoProgramHoldsIsTakenOverAndOneThatCannotBeWrittenIsRefused) {
  AppContext first;
  ASSERT_TRUE(Start(first).ok);  // the folder and its database, as a later start finds them
  db::CloseDatabase();
  first = {};
  const QByteArray database = ReadText(DbPath());

  messages.requests.clear();
  const QString elsewhere = dir.filePath(U("чужой.txt"));
  const std::pair<const char*, std::function<void()>> cases[] = {
      {"empty file", [&] { WriteText(LockPath(), ""); }},
      {"a running process's number", [&] { WriteText(LockPath(), "1\nvelaron\nhost\n"); }},
      {"unreadable file", [&] { WriteText(LockPath(), "77\n"), QFile::setPermissions(LockPath(), {}); }},
      {"empty folder", [&] { QDir().mkpath(LockPath()); }},
      {"dangling link", [&] { QFile::link(dir.filePath(U("нет")), LockPath()); }},
      {"link to a file", [&] { WriteText(elsewhere, "чужое"), QFile::link(elsewhere, LockPath()); }},
      {"pipe", [&] { ASSERT_EQ(mkfifo(QFile::encodeName(LockPath()).constData(), 0644), 0); }},
  };
  for (const auto& [left, leave] : cases) {
    leave();
    AppContext context;
    const StartupResult r = Start(context);
    ASSERT_TRUE(r.ok) << left << ": " << r.message.toStdString();
    EXPECT_TRUE(QFileInfo(LockPath()).isFile() && !QFileInfo(LockPath()).isSymLink()) << left;
    EXPECT_EQ(ReadText(LockPath()), QByteArray::number(getpid()) + "\n") << left;
    db::CloseDatabase();
    context.folderLock.reset();
    EXPECT_FALSE(QFileInfo(LockPath()).exists()) << left << ": let go and removed";
  }
  EXPECT_TRUE(messages.requests.empty()) << messages.texts().join('|').toStdString();
  EXPECT_EQ(ReadText(elsewhere), QByteArray("чужое"));

  ASSERT_TRUE(QDir().mkpath(LockPath() + U("/внутри")));
  AppContext context;
  const StartupResult r = Start(context);
  EXPECT_TRUE(!r.ok && r.message.contains(LockPath() + U(": это папка, и в ней есть файлы")))
      << r.message.toStdString();
  EXPECT_EQ(messages.texts(), QStringList{r.message});
  EXPECT_TRUE(QFileInfo(LockPath() + U("/внутри")).isDir());
  QDir(LockPath()).removeRecursively();

  // A lock file that cannot be written refuses the start with its cause and leaves nothing behind: a write
  // the system refuses (a file size limit of 0 stands in for a full disk), a folder closed for writing.
  // Before, the start went on unlocked, and two windows could open one folder.
  rlimit before{};
  getrlimit(RLIMIT_FSIZE, &before);
  const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
  const rlimit none{0, before.rlim_max};
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &none), 0);
  messages.requests.clear();
  const StartupResult full = Start(first);
  setrlimit(RLIMIT_FSIZE, &before);
  std::signal(SIGXFSZ, oldSignal);
  EXPECT_TRUE(!full.ok && full.message.contains(LockPath() + U(": файл слишком велик"))) << full.message.toStdString();
  EXPECT_EQ(messages.texts(), QStringList{full.message});
  EXPECT_TRUE(first.dbPath.isEmpty() && !first.folderLock && !QFile::exists(LockPath()));

  // Permissions stop everyone but the super-user, whom the immutable attribute stops where it can be set.
  QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
  const bool immutable = geteuid() == 0 && QProcess::execute("chattr", {"+i", dir.path()}) == 0;
  const bool closed = !QFile(dir.filePath(U("проба"))).open(QIODevice::WriteOnly);
  const StartupResult readOnly = closed ? Start(first) : StartupResult{};
  if (immutable) QProcess::execute("chattr", {"-i", dir.path()});
  QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  if (!closed) GTEST_SKIP() << "no way to close a folder for writing here";
  EXPECT_TRUE(!readOnly.ok && readOnly.message.contains(LockPath() + U(": нет прав на запись")))
      << readOnly.message.toStdString();
  EXPECT_EQ(ReadText(DbPath()), database);
}

// The waits of the connections opened meanwhile for a file another program holds, counted through SQLite's default
// way to the system, whose sleep each wait calls, first for a millisecond; none sleeps (a wait still gives up after
// as many tries as its time would allow).
class BusyWaitsOfAllConnections {
 public:
  BusyWaitsOfAllConnections() {
    count_ = 0;
    shim_ = *sqlite3_vfs_find(nullptr);
    shim_.zName = "velaron-counting";
    shim_.xSleep = [](sqlite3_vfs*, int microseconds) {
      count_ += microseconds == 1000;
      return microseconds;
    };
    sqlite3_vfs_register(&shim_, 1);
  }
  ~BusyWaitsOfAllConnections() { sqlite3_vfs_unregister(&shim_); }
  int count() const { return count_; }

 private:
  sqlite3_vfs shim_{};
  static inline int count_ = 0;
};

// A start that cannot use data.db and opens Data.db used to say nothing, and the engineer whose working file
// was damaged or gone found older sections and reports. It says so once, naming the skipped file and why and
// the file now used, beside a damaged data.db, without one and beside one another program holds in the middle of
// a write (waited for once: the roll-back of a write cut short found it held, and the probe waited again); a good
// data.db opens without a note.
TEST_F(Startup, AStartOnTheFallbackFileSaysOnceWhichFileWasSkippedAndWhy) {
  const QString fallback = dir.filePath("Data.db");
  const char* const kHeld = "held";
  const struct {
    const char *primary, *why;  // data.db's text (nullptr: no data.db, "": a good one); why: empty for no note
  } cases[] = {{"не база данных", "файл не является базой данных SQLite"},
               {nullptr, "файл не найден"},
               {kHeld, "база данных заблокирована другой программой"},
               {"", ""}};
  for (const auto& [primary, why] : cases) {
    SCOPED_TRACE(why);
    db::CloseDatabase();
    QDir(dir.path()).removeRecursively();
    QDir().mkpath(dir.path());
    for (const QString& file : {DbPath(), fallback})
      ASSERT_TRUE(QFile::copy(VELARON_PRISTINE_DB, file) &&
                  QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner));
    if (!primary) QFile::remove(DbPath());
    else if (*primary && primary != kHeld) WriteText(DbPath(), primary);
    const QByteArray primaryBefore = ReadText(DbPath());
    // Another program writes into data.db: its journal lies beside the file while it holds it.
    std::optional<QSqlDatabase> holder;
    if (primary == kHeld) {
      holder = QSqlDatabase::addDatabase("QSQLITE", "another-program");
      holder->setDatabaseName(DbPath());
      ASSERT_TRUE(holder->open());
      QSqlQuery q(*holder);
      // A cache of one page spills the changed pages into the file, and the journal is written, before the commit.
      ASSERT_TRUE(q.exec("PRAGMA cache_size = 1") && q.exec("BEGIN EXCLUSIVE"));
      for (int i = 0; i < 100; ++i) ASSERT_TRUE(q.exec("INSERT INTO tabOtchet (Mestn) VALUES (printf('%200s', 'x'))"));
    }
    messages.requests.clear();
    AppContext context;
    std::optional<BusyWaitsOfAllConnections> waits;
    if (holder) waits.emplace();
    const StartupResult r = Start(context);
    if (waits) {
      EXPECT_EQ(waits->count(), 1) << "statements that waited for the held data.db";
    }
    waits.reset();
    if (holder) {
      holder->close();
      holder.reset();
      QSqlDatabase::removeDatabase("another-program");
    }
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(context.dbPath, *why ? fallback : DbPath());
    EXPECT_EQ(context.DsnLocal, *why ? 0 : 1);
    EXPECT_EQ(ReadText(DbPath()), primaryBefore) << "the skipped file stays as it was (once the other program let go)";
    QStringList shown;
    for (const auto& m : messages.requests) shown << QStringLiteral("%1|%2|%3").arg(m.icon).arg(m.title, m.text);
    const QString note =
        U("%1|Веларон|База данных не открыта:\n%2\nПричина: %3.\nПрограмма работает с базой данных:\n%4\n"
          "Участки трассы, настройки и архив отчетов берутся из нее.")
            .arg(QMessageBox::Information)
            .arg(DbPath(), U(why), fallback);
    EXPECT_EQ(shown, *why ? QStringList{note} : QStringList());
  }
}

}  // namespace
}  // namespace velaron::app
