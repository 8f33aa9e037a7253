// Making the database file: all or nothing, and an existing file is kept unless replacing is asked for.
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
  EXPECT_EQ(s, (QStringList{"INSERT INTO abc (VName) VALUES ('a;b''c')", "CREATE TABLE \"x;y\" (t REAL)", "SELECT 1"}));
}

class Builder : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
  QString Make(const char* out, const QString& sql, const QString& csv, bool replace) {
    return dbbuild::MakeDatabase(Path(out), {SourcePath("data/schema.sql"), sql, csv}, replace);
  }
  QTemporaryDir dir_;
};

TEST_F(Builder, AFailedBuildLeavesNoFile) {
  const QString bad = WriteFile(Path("bad.sql"), "INSERT INTO abc (VName) VALUES ('ok');\nINSERT INTO nowhere VALUES (1);\n");
  const QString csv = WriteFile(Path("gas.csv"), "table,t,cp,v\n1b,223,2.1,1.1\nTPs,224,2.1,1.1\n");
  QString error = Make("data.db", bad, {}, false);
  EXPECT_TRUE(error.contains(QStringLiteral("nowhere"))) << error.toStdString();
  error = Make("data.db", {}, csv, false);
  EXPECT_TRUE(error.contains(QStringLiteral("unknown table"))) << error.toStdString();
  EXPECT_EQ(FilesIn(dir_), (QStringList{"bad.sql", "gas.csv"}));  // neither data.db nor a temporary part
}

TEST_F(Builder, AnExistingFileIsKeptUnlessReplacingIsAsked) {
  WriteFile(Path("data.db"), "the user's file");
  EXPECT_FALSE(Make("data.db", {}, {}, false).isEmpty());
  EXPECT_EQ(ReadFile(Path("data.db")), QByteArray("the user's file"));
  EXPECT_TRUE(Make("data.db", {}, {}, true).isEmpty());
  ASSERT_TRUE(OpenDatabase(Path("data.db")).isEmpty());
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM sqlite_master WHERE type = 'table'").toInt(), RequiredTables().size());
  CloseDatabase();
}

TEST_F(Builder, PropertyValuesLandBitForBit) {
  // 0.1 + 0.2 is not 0.3 in binary: its 17-digit text must come back as that very double.
  const QString csv = WriteFile(Path("gas.csv"), "table,t,cp,v\n300b,250,0.30000000000000004,2.2250738585072014e-308\n");
  ASSERT_TRUE(Make("data.db", {}, csv, false).isEmpty());
  ASSERT_TRUE(OpenDatabase(Path("data.db")).isEmpty());
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
  ASSERT_EQ(RunTool(Path("data.db")), 0);
  EXPECT_EQ(FilesIn(dir_), QStringList{"data.db"});
  const ProbeResult r = ProbeDatabase(dir_.path());
  ASSERT_TRUE(r.ok) << r.error.toStdString();
  EXPECT_EQ(r.DsnLocal, 1);
}

TEST_F(Builder, TheBuildStepNeverTouchesNorHidesTheUsersFile) {
  WriteFile(Path("data.db"), "the user's sections");
  ASSERT_EQ(RunTool(Path("data.db")), 0);
  EXPECT_EQ(ReadFile(Path("data.db")), QByteArray("the user's sections"));
  // Beside the user's fallback Data.db a new data.db would be opened first and hide it.
  QTemporaryDir other;
  WriteFile(other.filePath(QStringLiteral("Data.db")), "the user's sections");
  ASSERT_EQ(RunTool(other.filePath(QStringLiteral("data.db"))), 0);
  EXPECT_EQ(FilesIn(other), QStringList{"Data.db"});
}

}  // namespace
}  // namespace velaron::db::testing
