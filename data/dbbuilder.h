// Making the program's database file from the text kept in this folder: the schema, the reference rows
// and the methane property tables (CSV). Used by the build tool and by the tests.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace velaron::dbbuild {

// Splits an SQL script into statements at the semicolons that stand outside quotes and comments.
QStringList SplitStatements(const QString& script);

// Runs every statement of `script` on `db`. Returns an error text, empty on success.
QString RunScript(QSqlDatabase& db, const QString& script);

// Loads the property-table CSV ("table,t,cp,v" lines) into the tables it names, binding the parsed
// doubles so that every value lands bit for bit. Only the ten gas-property tables are accepted.
QString LoadGasCsv(QSqlDatabase& db, const QByteArray& csv);

struct Sources {
  QString schema;     // schema.sql
  QString reference;  // reference.sql (may be empty: a database with the tables and no rows)
  QString gasCsv;     // methane-properties.csv (may be empty)
};

// Writes the database to a temporary file beside `path` in one transaction and renames it into place, so
// that a failure leaves no half-made file. An existing `path` is replaced only when `overwrite` is set.
QString MakeDatabase(const QString& path, const Sources& sources, bool overwrite);

}  // namespace velaron::dbbuild
