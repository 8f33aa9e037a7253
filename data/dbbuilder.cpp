#include "dbbuilder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace velaron::dbbuild {
namespace {

QString ReadText(const QString& path, QByteArray& out) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return QStringLiteral("cannot read %1: %2").arg(path, f.errorString());
  out = f.readAll();
  return {};
}

}  // namespace

QStringList SplitStatements(const QString& script) {
  QStringList statements;
  QString current;
  const int n = script.size();
  for (int i = 0; i < n; ++i) {
    const QChar c = script[i];
    if (c == '-' && i + 1 < n && script[i + 1] == '-') {  // comment to the end of the line
      while (i < n && script[i] != '\n') ++i;
      current += '\n';
      continue;
    }
    if (c == '\'' || c == '"') {  // a string or a quoted name; a doubled quote stays inside
      current += c;
      for (++i; i < n; ++i) {
        current += script[i];
        if (script[i] == c) {
          if (i + 1 < n && script[i + 1] == c) {
            current += script[++i];
            continue;
          }
          break;
        }
      }
      continue;
    }
    if (c == ';') {
      if (!current.trimmed().isEmpty()) statements << current.trimmed();
      current.clear();
      continue;
    }
    current += c;
  }
  if (!current.trimmed().isEmpty()) statements << current.trimmed();
  return statements;
}

QString RunScript(QSqlDatabase& db, const QString& script) {
  QSqlQuery q(db);
  for (const QString& statement : SplitStatements(script)) {
    if (!q.exec(statement))
      return QStringLiteral("statement failed: %1\n%2").arg(q.lastError().text(), statement.left(200));
  }
  return {};
}

QString LoadGasCsv(QSqlDatabase& db, const QByteArray& csv) {
  static const QStringList kTables = {"1b", "12b", "26b", "60b", "70b", "80b", "100b", "150b", "200b", "300b"};
  const QList<QByteArray> lines = csv.split('\n');
  if (lines.isEmpty() || lines.front().trimmed() != "table,t,cp,v") return QStringLiteral("gas CSV: bad header");
  QSqlQuery q(db);
  QString prepared;
  for (qsizetype i = 1; i < lines.size(); ++i) {
    const QByteArray line = lines[i].trimmed();
    if (line.isEmpty()) continue;
    const QList<QByteArray> f = line.split(',');
    if (f.size() != 4) return QStringLiteral("gas CSV line %1: expected 4 fields").arg(i + 1);
    const QString table = QString::fromLatin1(f[0]);
    if (!kTables.contains(table)) return QStringLiteral("gas CSV line %1: unknown table %2").arg(i + 1).arg(table);
    bool ok[3];
    const double t = f[1].toDouble(&ok[0]), cp = f[2].toDouble(&ok[1]), v = f[3].toDouble(&ok[2]);
    if (!ok[0] || !ok[1] || !ok[2]) return QStringLiteral("gas CSV line %1: not a number").arg(i + 1);
    if (table != prepared) {
      // The name comes from the fixed list above, never from free text.
      if (!q.prepare(QStringLiteral("INSERT INTO \"%1\" (t, cp, v) VALUES (?, ?, ?)").arg(table)))
        return QStringLiteral("gas CSV: %1").arg(q.lastError().text());
      prepared = table;
    }
    q.addBindValue(t);
    q.addBindValue(cp);
    q.addBindValue(v);
    if (!q.exec()) return QStringLiteral("gas CSV line %1: %2").arg(i + 1).arg(q.lastError().text());
  }
  return {};
}

QString MakeDatabase(const QString& path, const Sources& sources, bool overwrite) {
  if (QFileInfo::exists(path) && !overwrite) return QStringLiteral("%1 exists and is kept").arg(path);
  QByteArray schema, reference, gas;
  if (QString e = ReadText(sources.schema, schema); !e.isEmpty()) return e;
  if (!sources.reference.isEmpty())
    if (QString e = ReadText(sources.reference, reference); !e.isEmpty()) return e;
  if (!sources.gasCsv.isEmpty())
    if (QString e = ReadText(sources.gasCsv, gas); !e.isEmpty()) return e;

  // The program's folder may not exist yet when the database is the first thing the build makes.
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) return QStringLiteral("cannot make the folder of %1").arg(path);
  const QString temp = path + QStringLiteral(".part-") + QUuid::createUuid().toString(QUuid::Id128);
  const QString connection = QStringLiteral("velaron-build-") + QUuid::createUuid().toString(QUuid::Id128);
  QString error;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    db.setDatabaseName(temp);
    if (!db.open()) {
      error = QStringLiteral("cannot create %1: %2").arg(temp, db.lastError().text());
    } else {
      db.transaction();
      error = RunScript(db, QString::fromUtf8(schema));
      if (error.isEmpty()) error = RunScript(db, QString::fromUtf8(reference));
      if (error.isEmpty() && !gas.isEmpty()) error = LoadGasCsv(db, gas);
      if (error.isEmpty() && !db.commit()) error = db.lastError().text();
      if (!error.isEmpty()) db.rollback();
      db.close();
    }
  }
  QSqlDatabase::removeDatabase(connection);
  if (error.isEmpty()) {
    if (overwrite && QFileInfo::exists(path) && !QFile::remove(path)) error = QStringLiteral("cannot replace %1").arg(path);
    else if (!QFile::rename(temp, path)) error = QStringLiteral("cannot rename %1 to %2").arg(temp, path);
  }
  if (!error.isEmpty()) QFile::remove(temp);
  return error;
}

}  // namespace velaron::dbbuild
