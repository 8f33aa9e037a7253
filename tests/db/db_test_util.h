// Temporary database files for the tests: the pristine shipped file or an empty one made from the schema.
#pragma once

#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "db/database.h"
#include "dbbuilder.h"

namespace velaron::db::testing {

inline QString SourcePath(const char* relative) { return QStringLiteral(VELARON_SOURCE_DIR "/") + relative; }

// Makes a database with every table and no rows at `path`.
inline void MakeEmptyDatabase(const QString& path) {
  const QString error = dbbuild::MakeDatabase(path, {SourcePath("data/schema.sql"), {}, {}}, true);
  ASSERT_TRUE(error.isEmpty()) << error.toStdString();
}

// Copies the pristine shipped database to `path`.
inline void CopyPristine(const QString& path) {
  QFile::remove(path);
  ASSERT_TRUE(QFile::copy(QStringLiteral(VELARON_PRISTINE_DB), path)) << VELARON_PRISTINE_DB;
  QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
}

// Writes `bytes` to `path`, returning the path; the whole content of a file (empty when it cannot be read).
inline QString WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
  f.write(bytes);
  return path;
}
inline QByteArray ReadFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
inline QStringList FilesIn(const QTemporaryDir& dir) { return QDir(dir.path()).entryList(QDir::Files); }

// Runs a statement on the program's connection and fails the test if it does not go through.
inline void Exec(const QString& sql) {
  QSqlQuery q(Connection());
  ASSERT_TRUE(q.exec(sql)) << sql.toStdString() << ": " << q.lastError().text().toStdString();
}

// One value of a query on the program's connection.
inline QVariant Scalar(const QString& sql) {
  QSqlQuery q(Connection());
  if (!q.exec(sql) || !q.next()) return {};
  return q.value(0);
}

// A test that works on an empty database (every table, no rows) opened as the program's connection.
class EmptyDbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    path_ = dir_.filePath(QStringLiteral("data.db"));
    MakeEmptyDatabase(path_);
    const QString error = OpenDatabase(path_);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
  }
  void TearDown() override { CloseDatabase(); }

  QTemporaryDir dir_;
  QString path_;
};

}  // namespace velaron::db::testing
