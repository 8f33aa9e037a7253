// Start-up probe: which of the two files opens, and why neither does.
#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>
#include <unistd.h>

#include "db/layout.h"
#include "db_test_util.h"

namespace velaron::db::testing {
namespace {

class Probe : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
  QTemporaryDir dir_;
};

// data.db opens with DsnLocal 1, Data.db with DsnLocal 0; with both the primary wins; whatever is in the
// place of the primary that is no usable database (a text file, a directory) falls back to Data.db and is
// left as it was; the probe makes no missing file.
TEST_F(Probe, PrimaryFirstThenTheFallback) {
  struct Case {
    const char* primary;  // "db": an empty database, "text": a text file, "dir": a directory, "": none
    bool fallback;
    int DsnLocal;
  };
  for (const Case c :
       {Case{"db", false, 1}, Case{"", true, 0}, Case{"db", true, 1}, Case{"text", true, 0}, Case{"dir", true, 0}}) {
    QTemporaryDir dir;
    const QString primary = dir.filePath(QStringLiteral("data.db")), fallback = dir.filePath(QStringLiteral("Data.db"));
    const std::string primaryKind = c.primary;
    if (primaryKind == "db") MakeEmptyDatabase(primary);
    if (primaryKind == "text") WriteFile(primary, "this is a text file, not a database\n");
    if (primaryKind == "dir") {
      ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("data.db")));
    }
    if (c.fallback) MakeEmptyDatabase(fallback);
    const QStringList before = FilesIn(dir);
    const ProbeResult r = ProbeDatabase(dir.path());
    ASSERT_TRUE(r.ok) << c.primary << ": " << r.error.toStdString();
    EXPECT_EQ(r.DsnLocal, c.DsnLocal) << c.primary;
    EXPECT_EQ(r.path, c.DsnLocal ? primary : fallback) << c.primary;
    EXPECT_EQ(FilesIn(dir), before) << c.primary;
    if (primaryKind == "text") {
      EXPECT_EQ(ReadFile(primary), QByteArray("this is a text file, not a database\n"));
    }
  }
}

TEST_F(Probe, NeitherNamesBothPathsAndCreatesNothing) {
  const ProbeResult r = ProbeDatabase(dir_.path());
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.error.contains(QDir::toNativeSeparators(Path("data.db")))) << r.error.toStdString();
  EXPECT_TRUE(r.error.contains(QDir::toNativeSeparators(Path("Data.db")))) << r.error.toStdString();
  EXPECT_EQ(r.error.count(QStringLiteral("файл не найден")), 2) << r.error.toStdString();
  EXPECT_TRUE(FilesIn(dir_).isEmpty()) << FilesIn(dir_).join(',').toStdString();
  // The probe leaves no connection of its own behind.
  EXPECT_FALSE(QSqlDatabase::connectionNames().contains(QStringLiteral("velaron-probe")));
  // Nor does opening a missing file make it.
  EXPECT_FALSE(OpenDatabase(Path("data.db")).isEmpty());
  EXPECT_FALSE(QFile::exists(Path("data.db")));
  EXPECT_FALSE(IsOpen());
}

TEST_F(Probe, EmptyAndForeignFilesAreRefusedWithTheirReasons) {
  WriteFile(Path("data.db"), "");                 // SQLite would take an empty file for an empty database
  WriteFile(Path("Data.db"), "SQLite format 2");  // a header that is not SQLite 3's
  const ProbeResult r = ProbeDatabase(dir_.path());
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error.count(QStringLiteral("не является базой данных SQLite")), 2) << r.error.toStdString();
  EXPECT_EQ(QFile(Path("data.db")).size(), 0);
}

TEST_F(Probe, AReadOnlyFileIsRefused) {
  // The superuser writes whatever the permissions say, so the check can only be seen by another user.
  if (geteuid() == 0) GTEST_SKIP() << "running as root: file permissions do not bind";
  MakeEmptyDatabase(Path("data.db"));
  ASSERT_TRUE(QFile(Path("data.db")).setPermissions(QFile::ReadOwner | QFile::ReadGroup));
  const ProbeResult r = ProbeDatabase(dir_.path());
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.error.contains(QStringLiteral("только для чтения"))) << r.error.toStdString();
}

// While another program wrote the database, the probe read tables without columns and said "в таблице
// "TPs" нет столбца "TPID"", and the upgrade of an older layout went on as if nothing lacked: both say busy.
TEST_F(Probe, ABusyDatabaseIsReportedBusyNeverAsLackingColumns) {
  const QString path = Path("data.db");
  MakeEmptyDatabase(path);
  QSqlDatabase writer = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("writer"));
  QSqlDatabase reader = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("reader"));
  writer.setDatabaseName(path);
  reader.setDatabaseName(path);
  reader.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=1"));
  ASSERT_TRUE(writer.open() && reader.open());
  QSqlQuery w(writer);
  ASSERT_TRUE(w.exec("ALTER TABLE TPs DROP COLUMN P_kab") && w.exec("BEGIN EXCLUSIVE"));
  const LayoutCheck busy = CheckLayout(reader);
  const QString upgrade = AddMissingColumns(path);
  ASSERT_TRUE(w.exec("ROLLBACK"));
  for (const QString& fault : {busy.fault, upgrade})
    EXPECT_TRUE(fault.contains(QStringLiteral("заблокирована другой программой")) && !fault.contains("нет столбца"))
        << fault.toStdString();
  EXPECT_EQ(CheckLayout(reader).missing.size(), 1u);  // once the writer is done
  w.finish(), writer.close(), reader.close();
  writer = reader = {};
  QSqlDatabase::removeDatabase("writer"), QSqlDatabase::removeDatabase("reader");
}

}  // namespace
}  // namespace velaron::db::testing
