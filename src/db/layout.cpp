#include "db/layout.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <map>

#include "db/database.h"
#include "db/db_internal.h"
#include "db/schema_text.h"
#include "dbbuilder.h"

namespace velaron::db {
namespace {

constexpr const char* kLayoutConnectionName = "velaron-layout";
constexpr const char* kUpgradeConnectionName = "velaron-upgrade";

// The columns of `table` with their declared types, or why they could not be read. PRAGMA takes no bound
// parameters; the table names come from the database's own catalogue or the program's layout, quoted.
Read<std::vector<LayoutColumn>> ColumnsOf(QSqlDatabase& db, const QString& table) {
  Read<std::vector<LayoutColumn>> columns;
  QSqlQuery q(db);
  if (q.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(QString(table).replace('"', QStringLiteral("\"\"")))))
    while (q.next()) columns.value.push_back({q.value(1).toString(), q.value(2).toString()});
  if (q.lastError().isValid()) {
    columns.value.clear();
    columns.error = detail::ReadFailed(table, q);
  }
  return columns;
}

// SQLite's affinity of a declared type: what a value written into the column turns into.
enum class Affinity { Integer, Text, Blob, Real, Numeric };

Affinity AffinityOf(const QString& declared) {
  const QString t = declared.toUpper();
  if (t.contains(QLatin1String("INT"))) return Affinity::Integer;
  if (t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("CLOB")) || t.contains(QLatin1String("TEXT")))
    return Affinity::Text;
  if (t.isEmpty() || t.contains(QLatin1String("BLOB"))) return Affinity::Blob;
  if (t.contains(QLatin1String("REAL")) || t.contains(QLatin1String("FLOA")) || t.contains(QLatin1String("DOUB")))
    return Affinity::Real;
  return Affinity::Numeric;
}

// A number column takes any numeric type (a whole number in a REAL column reads the same); a text column
// must keep texts as texts.
bool TypeFits(const QString& expected, const QString& actual) {
  const Affinity want = AffinityOf(expected), have = AffinityOf(actual);
  if (want == Affinity::Text) return have == Affinity::Text;
  return have == Affinity::Integer || have == Affinity::Real || have == Affinity::Numeric;
}

bool MayBeAdded(const QString& table, const QString& column) {
  for (const AddedColumn& c : kAddedColumns)
    if (table.compare(QLatin1String(c.table), Qt::CaseInsensitive) == 0 &&
        column.compare(QLatin1String(c.column), Qt::CaseInsensitive) == 0)
      return true;
  return false;
}

}  // namespace

const std::vector<LayoutTable>& ProgramLayout() {
  static const std::vector<LayoutTable> layout = [] {
    std::vector<LayoutTable> tables;
    {
      QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kLayoutConnectionName);
      db.setDatabaseName(QStringLiteral(":memory:"));
      if (db.open() && dbbuild::RunScript(db, QString::fromUtf8(kSchemaSql)).isEmpty()) {
        QStringList names;
        QSqlQuery q(db);
        if (q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY rowid")))
          while (q.next()) names << q.value(0).toString();
        q.finish();
        for (const QString& name : names) tables.push_back({name, ColumnsOf(db, name).value});
      }
      db.close();
    }
    QSqlDatabase::removeDatabase(kLayoutConnectionName);
    return tables;
  }();
  return layout;
}

LayoutCheck CheckLayout(QSqlDatabase& db) {
  LayoutCheck check;
  const std::vector<LayoutTable>& layout = ProgramLayout();
  if (layout.empty()) {
    check.fault = QStringLiteral("описание таблиц программы не прочитано");
    return check;
  }
  // The database's tables and columns by their names in lower case, with the declared types. One statement
  // reads them all under one read lock: a database another program is writing fails it as a whole, with the
  // cause of every other query, instead of showing tables without columns.
  std::map<QString, std::map<QString, QString>> present;
  {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    const bool read =
        q.exec(QStringLiteral("SELECT m.name, c.name, c.type FROM sqlite_master AS m "
                              "JOIN pragma_table_info(m.name) AS c WHERE m.type = 'table'"));
    while (read && q.next())
      present[q.value(0).toString().toLower()][q.value(1).toString().toLower()] = q.value(2).toString();
    if (!read || q.lastError().isValid()) {
      check.read = false;
      check.fault = detail::QueryFault(q.lastError());
      return check;
    }
  }
  QStringList missingTables, faults;
  for (const LayoutTable& table : layout) {
    const auto found = present.find(table.name.toLower());
    if (found == present.end()) {
      missingTables << table.name;
      continue;
    }
    for (const LayoutColumn& column : table.columns) {
      const auto have = found->second.find(column.name.toLower());
      if (have == found->second.end()) {
        if (MayBeAdded(table.name, column.name)) check.missing.push_back({table.name, column});
        else faults << QStringLiteral("в таблице \"%1\" нет столбца \"%2\"").arg(table.name, column.name);
      } else if (!TypeFits(column.type, have->second)) {
        const QString is =
            have->second.isEmpty() ? QStringLiteral("не имеет типа") : QStringLiteral("имеет тип %1").arg(have->second);
        faults << QStringLiteral("в таблице \"%1\" столбец \"%2\" %3, а должен иметь тип %4")
                      .arg(table.name, column.name, is, column.type);
      }
    }
  }
  if (!missingTables.isEmpty())
    faults.prepend(QStringLiteral("в базе данных нет таблиц: %1").arg(missingTables.join(QStringLiteral(", "))));
  check.fault = faults.join(QStringLiteral("; "));
  return check;
}

QString AddMissingColumns(const QString& path) {
  QString error;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kUpgradeConnectionName);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open()) {
      error = detail::WriteFailed(detail::QueryFault(db.lastError()));
    } else {
      // Each added column gets the type the program's own layout gives it.
      QStringList statements;
      const LayoutCheck layout = CheckLayout(db);
      if (!layout.read) error = detail::WriteFailed(layout.fault);
      for (const MissingColumn& m : layout.missing)
        statements
            << QStringLiteral("ALTER TABLE \"%1\" ADD COLUMN \"%2\" %3").arg(m.table, m.column.name, m.column.type);
      if (error.isEmpty() && !statements.isEmpty()) {
        if (!db.transaction()) {
          error = detail::WriteFailed(detail::QueryFault(db.lastError()));
        } else {
          QSqlQuery q(db);
          for (const QString& sql : statements) {
            if (!q.exec(sql)) {
              error = detail::WriteFailed(detail::QueryFault(q.lastError()));
              break;
            }
          }
          q.finish();
          if (error.isEmpty() && !db.commit()) error = detail::WriteFailed(detail::QueryFault(db.lastError()));
          if (!error.isEmpty()) db.rollback();
        }
      }
      db.close();
    }
  }
  QSqlDatabase::removeDatabase(kUpgradeConnectionName);
  return error;
}

Read<QStringList> ColumnNames(const QString& table) {
  QSqlDatabase db = Connection();
  const Read<std::vector<LayoutColumn>> columns = ColumnsOf(db, table);
  Read<QStringList> names{{}, columns.error};
  for (const LayoutColumn& c : columns.value) names.value << c.name;
  return names;
}

}  // namespace velaron::db
