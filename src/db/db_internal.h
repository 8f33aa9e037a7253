// Helpers shared by the database sources: the connection of the calling thread, checked queries, reads that
// tell a failure from an empty table, and transactions that roll back on the first failed step.
#pragma once

#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <initializer_list>
#include <optional>
#include <vector>

#include "db/database.h"

namespace velaron::db::detail {

// Messages of the database layer (the writers' failures end in WriteFailed below).
inline constexpr const char* kNotOpen = "База данных не открыта";
inline constexpr const char* kNotFound = "Запись не найдена в базе данных";
inline constexpr const char* kTownDuplicate = "Город с таким названием уже есть в базе данных!";
inline constexpr const char* kTownEmpty = "Не указано название города!";

// The causes of a failed query, in the user's words; the start-up probe says the same of a file it refuses.
inline constexpr const char* kBusy = "база данных заблокирована другой программой";
inline constexpr const char* kDamaged = "файл базы данных поврежден";
inline constexpr const char* kNotDatabase = "файл не является базой данных SQLite";

// Why a query failed, in the user's words: a file another program holds, a table another query of the
// program holds, a full disk, a connection or file that may only be read, a damaged file, a file that is no
// database, ... SQLite's own text follows in brackets only where the cause has no words of its own here.
QString QueryFault(const QSqlError& e);

// "Ошибка записи в базу данных: " + the cause.
QString WriteFailed(const QSqlQuery& query);
QString WriteFailed(const QString& why);
// "Ошибка чтения базы данных (таблица "T"): " + the cause.
QString ReadFailed(const QString& table, const QSqlQuery& query);

// Prepares `sql` on the connection, binds `values` in order and runs it. False on any failure.
bool Run(QSqlQuery& query, const QString& sql, std::initializer_list<QVariant> values = {});

// Every row of `sql` (on `table`) through `read`. A query that fails, at its start or midway, is a failed
// read of the table, never a shorter list.
template <class Row, class Reader>
Read<std::vector<Row>> ReadRows(const QString& table, const QString& sql, std::initializer_list<QVariant> values,
                                Reader read) {
  Read<std::vector<Row>> out;
  QSqlQuery q(Connection());
  q.setForwardOnly(true);
  if (!Run(q, sql, values)) {
    out.error = ReadFailed(table, q);
    return out;
  }
  while (q.next()) out.value.push_back(read(q));
  if (q.lastError().isValid()) {
    out.value.clear();
    out.error = ReadFailed(table, q);
  }
  return out;
}

// The first row of `sql` (on `table`, a query of at most one row) through `read`; nothing when there is none.
template <class Row, class Reader>
Read<std::optional<Row>> ReadFirst(const QString& table, const QString& sql, std::initializer_list<QVariant> values,
                                   Reader read) {
  Read<std::vector<Row>> rows = ReadRows<Row>(table, sql, values, read);
  Read<std::optional<Row>> out;
  out.error = std::move(rows.error);
  if (!rows.value.empty()) out.value = std::move(rows.value.front());
  return out;
}

// A whole number read from a column that may hold a double: rounded half to even.
int Int(const QVariant& v);

// The 39 columns of Wind in their table order, and one row read from them.
QString WindColumns();
WindRow ReadWind(const QSqlQuery& query);

// Runs one statement of transaction control ("BEGIN IMMEDIATE", "COMMIT", "ROLLBACK"); empty when it went
// through, else the cause.
QString Control(const char* statement);

// Runs `body` inside one transaction: commits when it returns an empty text, else rolls back and passes
// its error on. A commit that fails is rolled back too. The transaction takes the write lock at its start,
// so a file another program holds is waited for (up to the connection's busy wait) before anything is
// read, and two writers never wait on each other half-way.
template <class Body>
WriteError InTransaction(Body&& body) {
  if (!Connection().isOpen()) return kNotOpen;
  if (QString why = Control("BEGIN IMMEDIATE"); !why.isEmpty()) return WriteFailed(why);
  WriteError error = body();
  if (!error.isEmpty()) {
    Control("ROLLBACK");
    return error;
  }
  if (QString why = Control("COMMIT"); !why.isEmpty()) {
    Control("ROLLBACK");
    return WriteFailed(why);
  }
  return {};
}

}  // namespace velaron::db::detail
