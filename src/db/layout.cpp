#include "db/layout.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include "db/database.h"
#include "db/db_internal.h"

namespace velaron::db {
namespace {

constexpr const char* kUpgradeConnectionName = "velaron-upgrade";

QStringList ColumnsOf(QSqlDatabase& db, const QString& table) {
  QStringList names;
  QSqlQuery q(db);
  // PRAGMA takes no bound parameters; the table names come from the program's own list.
  if (!q.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table))) return names;
  while (q.next()) names << q.value(1).toString().toLower();
  return names;
}

}  // namespace

QString AddMissingColumns(const QString& path) {
  QString error;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kUpgradeConnectionName);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open()) {
      error = detail::WriteFailed(db.lastError().text());
    } else {
      QStringList statements;
      for (const AddedColumn& c : kAddedColumns) {
        const QString table = QString::fromLatin1(c.table), column = QString::fromLatin1(c.column);
        if (!ColumnsOf(db, table).contains(column.toLower()))
          statements << QStringLiteral("ALTER TABLE \"%1\" ADD COLUMN \"%2\" %3")
                            .arg(table, column, QString::fromLatin1(c.type));
      }
      if (!statements.isEmpty()) {
        if (!db.transaction()) {
          error = detail::WriteFailed(db.lastError().text());
        } else {
          QSqlQuery q(db);
          for (const QString& sql : statements) {
            if (!q.exec(sql)) {
              error = detail::WriteFailed(q);
              break;
            }
          }
          q.finish();
          if (error.isEmpty() && !db.commit()) error = detail::WriteFailed(db.lastError().text());
          if (!error.isEmpty()) db.rollback();
        }
      }
      db.close();
    }
  }
  QSqlDatabase::removeDatabase(kUpgradeConnectionName);
  return error;
}

bool HasColumn(const QString& table, const QString& column) {
  QSqlDatabase db = Connection();
  return ColumnsOf(db, table).contains(column.toLower());
}

}  // namespace velaron::db
