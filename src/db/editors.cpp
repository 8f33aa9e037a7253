// Writes of the reference editors (gases, regions, towns). Rows are found by their key, never by list
// position; a name already held by another row is refused, so the editors' lists stay unambiguous.
#include <QSqlQuery>

#include "db/database.h"
#include "db/db_internal.h"

namespace velaron::db {
using detail::Run;

namespace {

// A reference table whose rows are told apart by a name column.
struct NamedTable {
  const char* table;
  const char* nameColumn;
  const char* columns;  // every column, name first, as written by Insert
  const char* duplicate;
  const char* empty;
};

const NamedTable kGases = {"abc", "VName", "VName, m, qg, a, b, DangerClass",
                           "Газ с таким названием уже есть в базе данных!", "Не указано название газа!"};
const NamedTable kRegions = {"Statistics", "Region", "Region, lambda, Kreg",
                             "Регион с таким названием уже есть в базе данных!", "Не указано название региона!"};

// Counts rows of `table` whose trimmed name equals `name`, leaving out the row `exceptRowid` (0: none).
// Returns -1 when the query fails, with the cause in `why`.
int CountNamed(const NamedTable& t, const QString& name, qint64 exceptRowid, QString& why) {
  QSqlQuery q(Connection());
  if (!Run(q, QStringLiteral("SELECT COUNT(*) FROM %1 WHERE trim(%2) = ? AND rowid <> ?").arg(t.table, t.nameColumn),
           {name.trimmed(), exceptRowid}) ||
      !q.next()) {
    why = detail::QueryFault(q.lastError());
    return -1;
  }
  return q.value(0).toInt();
}

// The rowid of the first row (stored order) called `keyName`; 0 when there is none, -1 on failure (the
// cause in `why`).
qint64 FindNamed(const NamedTable& t, const QString& keyName, QString& why) {
  QSqlQuery q(Connection());
  if (!Run(q, QStringLiteral("SELECT rowid FROM %1 WHERE %2 = ? ORDER BY rowid LIMIT 1").arg(t.table, t.nameColumn),
           {keyName})) {
    why = detail::QueryFault(q.lastError());
    return -1;
  }
  if (q.next()) return q.value(0).toLongLong();
  if (q.lastError().isValid()) {
    why = detail::QueryFault(q.lastError());
    return -1;
  }
  return 0;
}

QString Placeholders(int n) {
  QStringList marks;
  for (int i = 0; i < n; ++i) marks << QStringLiteral("?");
  return marks.join(QStringLiteral(", "));
}

WriteError InsertNamed(const NamedTable& t, const QVariantList& values) {
  const QString name = values.front().toString();
  if (name.trimmed().isEmpty()) return QString::fromUtf8(t.empty);
  return detail::InTransaction([&]() -> WriteError {
    QString why;
    const int same = CountNamed(t, name, 0, why);
    if (same < 0) return detail::WriteFailed(why);
    if (same > 0) return QString::fromUtf8(t.duplicate);
    QSqlQuery q(Connection());
    if (!q.prepare(
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(t.table, t.columns, Placeholders(values.size()))))
      return detail::WriteFailed(q);
    for (const QVariant& v : values) q.addBindValue(v);
    if (!q.exec()) return detail::WriteFailed(q);
    return {};
  });
}

WriteError UpdateNamed(const NamedTable& t, const QString& keyName, const QVariantList& values) {
  const QString name = values.front().toString();
  if (name.trimmed().isEmpty()) return QString::fromUtf8(t.empty);
  return detail::InTransaction([&]() -> WriteError {
    QString why;
    const qint64 rowid = FindNamed(t, keyName, why);
    if (rowid < 0) return detail::WriteFailed(why);
    if (rowid == 0) return detail::kNotFound;
    const int same = CountNamed(t, name, rowid, why);
    if (same < 0) return detail::WriteFailed(why);
    if (same > 0) return QString::fromUtf8(t.duplicate);
    QStringList sets;
    for (const QString& c : QString::fromLatin1(t.columns).split(QStringLiteral(", ")))
      sets << c + QStringLiteral(" = ?");
    QSqlQuery q(Connection());
    if (!q.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(t.table, sets.join(QStringLiteral(", ")))))
      return detail::WriteFailed(q);
    for (const QVariant& v : values) q.addBindValue(v);
    q.addBindValue(rowid);
    if (!q.exec()) return detail::WriteFailed(q);
    return {};
  });
}

WriteError DeleteNamed(const NamedTable& t, const QString& keyName) {
  return detail::InTransaction([&]() -> WriteError {
    QString why;
    const qint64 rowid = FindNamed(t, keyName, why);
    if (rowid < 0) return detail::WriteFailed(why);
    if (rowid == 0) return detail::kNotFound;
    QSqlQuery q(Connection());
    if (!Run(q, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(t.table), {rowid})) return detail::WriteFailed(q);
    return {};
  });
}

QVariantList GasValues(const GasRow& r) { return {r.VName, r.m, r.qg, r.a, r.b, r.DangerClass}; }
QVariantList RegionValues(const RegionRow& r) { return {r.Region, r.lambda, r.Kreg}; }

// Every Wind column but idCity, in table order, with its value.
QVariantList WindValues(const WindRow& w) {
  QVariantList values = {w.CityName};
  for (double x : w.winter) values << x;
  for (double x : w.summer) values << x;
  for (double x : w.speedWinter) values << x;
  for (double x : w.speedSummer) values << x;
  values << w.Tmedium;
  return values;
}

// Rows of Wind named `name` other than the town `exceptId`; -1 on failure, with the cause in `why`.
int CountTowns(const QString& name, int exceptId, bool except, QString& why) {
  QSqlQuery q(Connection());
  const bool ok =
      except ? Run(q, "SELECT COUNT(*) FROM Wind WHERE trim(CityName) = ? AND idCity <> ?", {name.trimmed(), exceptId})
             : Run(q, "SELECT COUNT(*) FROM Wind WHERE trim(CityName) = ?", {name.trimmed()});
  if (!ok || !q.next()) {
    why = detail::QueryFault(q.lastError());
    return -1;
  }
  return q.value(0).toInt();
}

}  // namespace

WriteError InsertGas(const GasRow& row) { return InsertNamed(kGases, GasValues(row)); }
WriteError UpdateGas(const QString& keyName, const GasRow& row) { return UpdateNamed(kGases, keyName, GasValues(row)); }
WriteError DeleteGas(const QString& keyName) { return DeleteNamed(kGases, keyName); }
WriteError InsertRegion(const RegionRow& row) { return InsertNamed(kRegions, RegionValues(row)); }
WriteError UpdateRegion(const QString& keyName, const RegionRow& row) {
  return UpdateNamed(kRegions, keyName, RegionValues(row));
}
WriteError DeleteRegion(const QString& keyName) { return DeleteNamed(kRegions, keyName); }

WriteError InsertWind(WindRow& row) {
  if (row.CityName.trimmed().isEmpty()) return QString::fromUtf8(detail::kTownEmpty);
  int newId = 0;
  WriteError error = detail::InTransaction([&]() -> WriteError {
    QString why;
    const int same = CountTowns(row.CityName, 0, false, why);
    if (same < 0) return detail::WriteFailed(why);
    if (same > 0) return QString::fromUtf8(detail::kTownDuplicate);
    // A town key is never 0: the town lists skip rows keyed 0.
    QSqlQuery q(Connection());
    if (!Run(q, "SELECT COALESCE(MAX(idCity), 0) FROM Wind") || !q.next()) return detail::WriteFailed(q);
    newId = std::max(q.value(0).toInt(), 0) + 1;
    QVariantList values = WindValues(row);
    values.prepend(newId);
    QSqlQuery ins(Connection());
    if (!ins.prepare(QStringLiteral("INSERT INTO Wind (%1) VALUES (%2)")
                         .arg(detail::WindColumns(), Placeholders(values.size()))))
      return detail::WriteFailed(ins);
    for (const QVariant& v : values) ins.addBindValue(v);
    if (!ins.exec()) return detail::WriteFailed(ins);
    return {};
  });
  if (error.isEmpty()) row.idCity = newId;
  return error;
}

WriteError UpdateWind(const WindRow& row) {
  if (row.CityName.trimmed().isEmpty()) return QString::fromUtf8(detail::kTownEmpty);
  return detail::InTransaction([&]() -> WriteError {
    QString why;
    const int same = CountTowns(row.CityName, row.idCity, true, why);
    if (same < 0) return detail::WriteFailed(why);
    if (same > 0) return QString::fromUtf8(detail::kTownDuplicate);
    QStringList sets;
    const QStringList cols = detail::WindColumns().split(QStringLiteral(", "));
    for (int i = 1; i < cols.size(); ++i) sets << cols[i] + QStringLiteral(" = ?");
    QSqlQuery q(Connection());
    if (!q.prepare(QStringLiteral("UPDATE Wind SET %1 WHERE idCity = ?").arg(sets.join(QStringLiteral(", ")))))
      return detail::WriteFailed(q);
    for (const QVariant& v : WindValues(row)) q.addBindValue(v);
    q.addBindValue(row.idCity);
    if (!q.exec()) return detail::WriteFailed(q);
    if (q.numRowsAffected() < 1) return detail::kNotFound;
    return {};
  });
}

WriteError DeleteWind(int idCity) {
  return detail::InTransaction([&]() -> WriteError {
    QSqlQuery q(Connection());
    if (!Run(q, "DELETE FROM Wind WHERE idCity = ?", {idCity})) return detail::WriteFailed(q);
    if (q.numRowsAffected() < 1) return detail::kNotFound;
    return {};
  });
}

}  // namespace velaron::db
