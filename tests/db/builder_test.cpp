// Making the database file: all or nothing, and an existing file is kept unless replacing is asked for.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

#include "db_test_util.h"

namespace velaron::db::testing {
namespace {

TEST(SplitStatements, SemicolonsInsideQuotesAndCommentsDoNotSplit) {
  const QStringList s = dbbuild::SplitStatements(
      "-- a comment; with a semicolon and an apostrophe's\n"
      "INSERT INTO abc (VName) VALUES ('a;b''c');\n"
      "CREATE TABLE \"x;y\" (t REAL);  -- trailing; comment\n"
      "SELECT 1");
  ASSERT_EQ(s.size(), 3);
  EXPECT_EQ(s[0], QStringLiteral("INSERT INTO abc (VName) VALUES ('a;b''c')"));
  EXPECT_EQ(s[1], QStringLiteral("CREATE TABLE \"x;y\" (t REAL)"));
  EXPECT_EQ(s[2], QStringLiteral("SELECT 1"));
}

class Builder : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QString Write(const char* name, const QByteArray& text) {
    const QString path = dir_.filePath(QString::fromLatin1(name));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
    return path;
  }
  QStringList Files() const { return QDir(dir_.path()).entryList(QDir::Files); }
  QTemporaryDir dir_;
};

TEST_F(Builder, AFailedBuildLeavesNoFile) {
  const QString bad = Write("bad.sql", "INSERT INTO abc (VName) VALUES ('ok');\nINSERT INTO nowhere VALUES (1);\n");
  const QString out = dir_.filePath(QStringLiteral("data.db"));
  const QString error = dbbuild::MakeDatabase(out, {SourcePath("data/schema.sql"), bad, {}}, false);
  EXPECT_TRUE(error.contains(QStringLiteral("nowhere"))) << error.toStdString();
  EXPECT_EQ(Files(), QStringList{"bad.sql"});  // neither data.db nor a temporary part is left
}

TEST_F(Builder, ABadPropertyFileLeavesNoFile) {
  const QString csv = Write("gas.csv", "table,t,cp,v\n1b,223,2.1,1.1\nTPs,224,2.1,1.1\n");
  const QString out = dir_.filePath(QStringLiteral("data.db"));
  const QString error = dbbuild::MakeDatabase(out, {SourcePath("data/schema.sql"), {}, csv}, false);
  EXPECT_TRUE(error.contains(QStringLiteral("unknown table"))) << error.toStdString();
  EXPECT_FALSE(QFile::exists(out));
}

TEST_F(Builder, AnExistingFileIsKeptUnlessReplacingIsAsked) {
  const QString out = Write("data.db", "the user's file");
  EXPECT_FALSE(dbbuild::MakeDatabase(out, {SourcePath("data/schema.sql"), {}, {}}, false).isEmpty());
  QFile f(out);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("the user's file"));
  f.close();
  EXPECT_TRUE(dbbuild::MakeDatabase(out, {SourcePath("data/schema.sql"), {}, {}}, true).isEmpty());
  ASSERT_TRUE(OpenDatabase(out).isEmpty());
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM sqlite_master WHERE type = 'table'").toInt(), RequiredTables().size());
  CloseDatabase();
}

TEST_F(Builder, PropertyValuesLandBitForBit) {
  // 0.1 + 0.2 is not 0.3 in binary: its 17-digit text must come back as that very double.
  const QString csv = Write("gas.csv", "table,t,cp,v\n300b,250,0.30000000000000004,2.2250738585072014e-308\n");
  const QString out = dir_.filePath(QStringLiteral("data.db"));
  ASSERT_TRUE(dbbuild::MakeDatabase(out, {SourcePath("data/schema.sql"), {}, csv}, false).isEmpty());
  ASSERT_TRUE(OpenDatabase(out).isEmpty());
  models::ReferenceTables t;
  ASSERT_TRUE(LoadReferenceTables(t).isEmpty());
  ASSERT_EQ(t.gas[9].rows.size(), 1u);
  EXPECT_EQ(t.gas[9].rows[0].cp, 0.1 + 0.2);
  EXPECT_EQ(t.gas[9].rows[0].v, 2.2250738585072014e-308);
  CloseDatabase();
}

// The build's own step: run the tool the way the build runs it.
int RunTool(const QString& out) {
  QProcess tool;
  tool.start(QStringLiteral(VELARON_MAKE_DATABASE_TOOL),
             {out, SourcePath("data/schema.sql"), SourcePath("data/reference.sql"),
              SourcePath("data/methane/methane-properties.csv"), QStringLiteral("--keep-existing")});
  if (!tool.waitForFinished(60000)) return -1;
  return tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
}

TEST_F(Builder, TheBuildStepMakesAWorkingFileWhenNoneIsThere) {
  ASSERT_EQ(RunTool(dir_.filePath(QStringLiteral("data.db"))), 0);
  EXPECT_EQ(Files(), QStringList{"data.db"});
  const ProbeResult r = ProbeDatabase(dir_.path());
  ASSERT_TRUE(r.ok) << r.error.toStdString();
  EXPECT_EQ(r.DsnLocal, 1);
}

TEST_F(Builder, TheBuildStepNeverTouchesTheUsersFile) {
  const QString out = Write("data.db", "the user's sections");
  ASSERT_EQ(RunTool(out), 0);
  QFile f(out);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("the user's sections"));
}

TEST_F(Builder, TheBuildStepMakesNoPrimaryBesideTheUsersFallbackFile) {
  // A new data.db would be opened before the user's Data.db and hide it.
  Write("Data.db", "the user's sections");
  ASSERT_EQ(RunTool(dir_.filePath(QStringLiteral("data.db"))), 0);
  EXPECT_EQ(Files(), QStringList{"Data.db"});
}

}  // namespace
}  // namespace velaron::db::testing
