// Start-up probe: which of the two files opens, and why neither does.
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>
#include <unistd.h>

#include "db_test_util.h"

namespace velaron::db::testing {
namespace {

class Probe : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
  void WriteText(const char* name, const QByteArray& bytes) {
    QFile f(Path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  QStringList Files() const { return QDir(dir_.path()).entryList(QDir::Files); }
  // Runs statements on a file through a connection of the test's own (the program's stays closed).
  void Alter(const char* name, std::initializer_list<const char*> statements) {
    {
      QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("probe-test"));
      db.setDatabaseName(Path(name));
      ASSERT_TRUE(db.open());
      QSqlQuery q(db);
      for (const char* sql : statements) EXPECT_TRUE(q.exec(QString::fromUtf8(sql))) << sql;
      db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("probe-test"));
  }
  QTemporaryDir dir_;
};

TEST_F(Probe, PrimaryOnlyOpensWithDsnLocalOne) {
  MakeEmptyDatabase(Path("data.db"));
  const ProbeResult r = ProbeDatabase(dir_.path());
  ASSERT_TRUE(r.ok) << r.error.toStdString();
  EXPECT_EQ(r.DsnLocal, 1);
  EXPECT_EQ(r.path, Path("data.db"));
}

TEST_F(Probe, FallbackOnlyOpensWithDsnLocalZero) {
  MakeEmptyDatabase(Path("Data.db"));
  const ProbeResult r = ProbeDatabase(dir_.path());
  ASSERT_TRUE(r.ok) << r.error.toStdString();
  EXPECT_EQ(r.DsnLocal, 0);
  EXPECT_EQ(r.path, Path("Data.db"));
  EXPECT_EQ(Files(), QStringList{"Data.db"});  // the missing primary was not made by the probe
}

TEST_F(Probe, BothPresentThePrimaryWins) {
  MakeEmptyDatabase(Path("data.db"));
  MakeEmptyDatabase(Path("Data.db"));
  const ProbeResult r = ProbeDatabase(dir_.path());
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.DsnLocal, 1);
}

TEST_F(Probe, NeitherNamesBothPathsAndCreatesNothing) {
  const ProbeResult r = ProbeDatabase(dir_.path());
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.error.contains(QDir::toNativeSeparators(Path("data.db")))) << r.error.toStdString();
  EXPECT_TRUE(r.error.contains(QDir::toNativeSeparators(Path("Data.db")))) << r.error.toStdString();
  EXPECT_EQ(r.error.count(QStringLiteral("файл не найден")), 2) << r.error.toStdString();
  EXPECT_TRUE(Files().isEmpty()) << Files().join(',').toStdString();
  // The probe leaves no connection of its own behind.
  EXPECT_FALSE(QSqlDatabase::connectionNames().contains(QStringLiteral("velaron-probe")));
}

TEST_F(Probe, AFileThatIsNotADatabaseFallsBack) {
  WriteText("data.db", "this is a text file, not a database\n");
  MakeEmptyDatabase(Path("Data.db"));
  const ProbeResult r = ProbeDatabase(dir_.path());
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.DsnLocal, 0);
  // The text file is left as it was.
  QFile f(Path("data.db"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("this is a text file, not a database\n"));
}

TEST_F(Probe, EmptyAndForeignFilesAreRefusedWithTheirReasons) {
  WriteText("data.db", "");                // SQLite would take an empty file for an empty database
  WriteText("Data.db", "SQLite format 2"); // a header that is not SQLite 3's
  const ProbeResult r = ProbeDatabase(dir_.path());
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error.count(QStringLiteral("не является базой данных SQLite")), 2) << r.error.toStdString();
  QFile f(Path("data.db"));
  EXPECT_EQ(f.size(), 0);
}

TEST_F(Probe, AMissingTableIsNamed) {
  MakeEmptyDatabase(Path("data.db"));
  Alter("data.db", {"DROP TABLE Statistics", "DROP TABLE \"70b\""});
  const ProbeResult r = ProbeDatabase(dir_.path());
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.error.contains(QStringLiteral("Statistics"))) << r.error.toStdString();
  EXPECT_TRUE(r.error.contains(QStringLiteral("70b"))) << r.error.toStdString();
  EXPECT_FALSE(r.error.contains(QStringLiteral("TPs"))) << r.error.toStdString();
}

TEST_F(Probe, TableNamesAreMatchedWithoutRegardToCase) {
  MakeEmptyDatabase(Path("data.db"));
  Alter("data.db", {"ALTER TABLE Statistics RENAME TO statistics_tmp", "ALTER TABLE statistics_tmp RENAME TO statistics"});
  EXPECT_TRUE(ProbeDatabase(dir_.path()).ok);
}

TEST_F(Probe, ADirectoryNamedLikeTheFileIsRefused) {
  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("data.db")));
  MakeEmptyDatabase(Path("Data.db"));
  const ProbeResult r = ProbeDatabase(dir_.path());
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.DsnLocal, 0);
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

TEST(OpenDatabase, AMissingFileIsNotCreated) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("data.db"));
  const QString error = OpenDatabase(path);
  EXPECT_FALSE(error.isEmpty());
  EXPECT_FALSE(QFile::exists(path));
  EXPECT_FALSE(IsOpen());
}

}  // namespace
}  // namespace velaron::db::testing
