// Route sections. Sections are numbered 1..n in the order of the route with no gaps; the main window
// relies on TPID being the section's position, so deleting renumbers the rest in the same transaction.
#include <QSqlQuery>

#include "common/texts.h"
#include "db/database.h"
#include "db/db_internal.h"
#include "db/layout.h"

namespace velaron::db {
using detail::Int;
using detail::Run;

namespace {

constexpr const char* kColumns =
    "TPID, Length, Udal, Azimut, dpp1, dpp2, dpp3, dpp4, p_v, G1, G2, G3, G4, Ground, P_avto, P_LEP, P_tr, P_kab";
// The columns to read: a database of an earlier layout, opened read-only, lacks the columns added since
// (the crossing probabilities), which then read as NULL. The table's columns that cannot be read end the
// read of its rows at once.
Read<QString> ReadColumns() {
  const Read<QStringList> present = ColumnNames(QStringLiteral("TPs"));
  Read<QString> columns{QString::fromLatin1(kColumns), present.error};
  for (const AddedColumn& c : kAddedColumns)
    if (QLatin1String(c.table) == QLatin1String("TPs") &&
        !present.value.contains(QString::fromLatin1(c.column), Qt::CaseInsensitive))
      columns.value.replace(QString::fromLatin1(c.column),
                            QStringLiteral("NULL AS %1").arg(QString::fromLatin1(c.column)));
  return columns;
}

std::optional<double> OptionalReal(const QVariant& v) {
  if (v.isNull()) return std::nullopt;
  return v.toDouble();
}

QVariant NullableReal(const std::optional<double>& v) {
  return v ? QVariant(*v) : QVariant(QMetaType(QMetaType::Double));
}

SectionRow ReadSection(const QSqlQuery& q) {
  SectionRow s;
  s.TPID = Int(q.value(0));
  s.Length = q.value(1).toDouble();
  s.Udal = q.value(2).toDouble();
  s.Azimut = q.value(3).toDouble();
  s.dpp1 = Int(q.value(4));
  s.dpp2 = Int(q.value(5));
  s.dpp3 = Int(q.value(6));
  s.dpp4 = Int(q.value(7));
  s.p_v = q.value(8).toDouble();
  s.G1 = Int(q.value(9));
  s.G2 = Int(q.value(10));
  s.G3 = Int(q.value(11));
  s.G4 = Int(q.value(12));
  s.Ground = q.value(13).toString();
  s.P_avto = OptionalReal(q.value(14));
  s.P_LEP = OptionalReal(q.value(15));
  s.P_tr = OptionalReal(q.value(16));
  s.P_kab = OptionalReal(q.value(17));
  return s;
}

QVariantList Values(const SectionRow& s) {
  return {s.TPID,
          s.Length,
          s.Udal,
          s.Azimut,
          s.dpp1,
          s.dpp2,
          s.dpp3,
          s.dpp4,
          s.p_v,
          s.G1,
          s.G2,
          s.G3,
          s.G4,
          s.Ground,
          NullableReal(s.P_avto),
          NullableReal(s.P_LEP),
          NullableReal(s.P_tr),
          NullableReal(s.P_kab)};
}

}  // namespace

Read<std::vector<SectionRow>> LoadSections() {
  const Read<QString> columns = ReadColumns();
  if (!columns.ok()) return {{}, columns.error};
  return detail::ReadRows<SectionRow>(QStringLiteral("TPs"),
                                      QStringLiteral("SELECT %1 FROM TPs ORDER BY TPID, rowid").arg(columns.value), {},
                                      ReadSection);
}

Read<std::optional<SectionRow>> LoadSection(int tpid) {
  const Read<QString> columns = ReadColumns();
  if (!columns.ok()) return {{}, columns.error};
  return detail::ReadFirst<SectionRow>(
      QStringLiteral("TPs"),
      QStringLiteral("SELECT %1 FROM TPs WHERE TPID = ? ORDER BY rowid LIMIT 1").arg(columns.value), {tpid},
      ReadSection);
}

WriteError AppendSection(SectionRow& row) {
  int number = 0;
  WriteError error = detail::InTransaction([&]() -> WriteError {
    QSqlQuery q(Connection());
    if (!Run(q, "SELECT COALESCE(MAX(TPID), 0) FROM TPs") || !q.next()) return detail::WriteFailed(q);
    number = q.value(0).toInt() + 1;
    SectionRow numbered = row;
    numbered.TPID = number;
    const QVariantList values = Values(numbered);
    QSqlQuery ins(Connection());
    if (!ins.prepare(QStringLiteral("INSERT INTO TPs (%1) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)").arg(kColumns)))
      return detail::WriteFailed(ins);
    for (const QVariant& v : values) ins.addBindValue(v);
    if (!ins.exec()) return detail::WriteFailed(ins);
    return {};
  });
  if (error.isEmpty()) row.TPID = number;
  return error;
}

WriteError UpdateSection(const SectionRow& row) {
  return detail::InTransaction([&]() -> WriteError {
    QSqlQuery q(Connection());
    if (!q.prepare(
            "UPDATE TPs SET Length = ?, Udal = ?, Azimut = ?, dpp1 = ?, dpp2 = ?, dpp3 = ?, dpp4 = ?, p_v = ?, "
            "G1 = ?, G2 = ?, G3 = ?, G4 = ?, Ground = ?, P_avto = ?, P_LEP = ?, P_tr = ?, P_kab = ? WHERE TPID = ?"))
      return detail::WriteFailed(q);
    QVariantList values = Values(row);
    values.removeFirst();
    for (const QVariant& v : values) q.addBindValue(v);
    q.addBindValue(row.TPID);
    if (!q.exec()) return detail::WriteFailed(q);
    if (q.numRowsAffected() < 1) return QString::fromUtf8(texts::kWrongSection);
    return {};
  });
}

WriteError DeleteSectionRenumber(int tpid) {
  return detail::InTransaction([&]() -> WriteError {
    QSqlQuery q(Connection());
    if (!Run(q, "DELETE FROM TPs WHERE TPID = ?", {tpid})) return detail::WriteFailed(q);
    if (q.numRowsAffected() < 1) return QString::fromUtf8(texts::kWrongSection);
    if (!Run(q, "UPDATE TPs SET TPID = TPID - 1 WHERE TPID > ?", {tpid})) return detail::WriteFailed(q);
    return {};
  });
}

}  // namespace velaron::db
