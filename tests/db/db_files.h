// Database files changed behind the program's back: statements run on a file through a connection of
// the test's own, and a database as a program killed in the middle of a write leaves it.
#pragma once

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace velaron::test {

// Runs the statements of `sql` (separated by ";") on the database file at `path`.
inline void ExecOnFile(const QString& path, const QString& sql) {
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("exec-on-file"));
    db.setDatabaseName(path);
    ASSERT_TRUE(db.open());
    QSqlQuery q(db);
    for (const QString& statement : sql.split(QLatin1Char(';'), Qt::SkipEmptyParts))
      ASSERT_TRUE(q.exec(statement)) << statement.toStdString() << " " << q.lastError().text().toStdString();
  }
  QSqlDatabase::removeDatabase(QStringLiteral("exec-on-file"));
}

// The file holds part of the new pages and the journal beside it the old ones (a "hot" journal): made by
// copying both while a write runs whose pages no longer fit the cache.

// `source` copied to `target` and `target`-journal as they are in the middle of a write that sets
// `Adjustment`.`XLimit` to 4444 and appends 3000 rows to `tabOtchet`.
inline void MakeInterruptedWrite(const QString& source, const QString& target) {
  const QString scratch = target + QStringLiteral(".scratch");
  ASSERT_TRUE(QFile::copy(source, scratch) && QFile::setPermissions(scratch, QFile::ReadOwner | QFile::WriteOwner));
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("interrupted-write"));
    db.setDatabaseName(scratch);
    QSqlQuery q(db.open() ? db : QSqlDatabase());
    // A cache of one page spills the changed pages into the file before the commit.
    ASSERT_TRUE(q.exec("PRAGMA cache_size = 1") && q.exec("BEGIN") && q.exec("UPDATE Adjustment SET XLimit = 4444"));
    for (int i = 0; i < 3000; ++i) ASSERT_TRUE(q.exec("INSERT INTO tabOtchet (Mestn) VALUES (printf('%200s', 'x'))"));
    for (const QString suffix : {"", "-journal"}) {
      QFile::remove(target + suffix);
      ASSERT_TRUE(QFile::copy(scratch + suffix, target + suffix));
    }
    q.exec("ROLLBACK");
  }
  QSqlDatabase::removeDatabase(QStringLiteral("interrupted-write"));
  QFile::remove(scratch);
}

}  // namespace velaron::test
