// Helpers shared by the database sources: the connection of the calling thread, checked queries and
// transactions that roll back on the first failed step.
#pragma once

#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <initializer_list>

#include "db/database.h"

namespace velaron::db::detail {

// Messages of the database layer (the writers' failures end in WriteFailed below).
inline constexpr const char* kNotOpen = "База данных не открыта";
inline constexpr const char* kNotFound = "Запись не найдена в базе данных";
inline constexpr const char* kTownDuplicate = "Город с таким названием уже есть в базе данных!";
inline constexpr const char* kTownEmpty = "Не указано название города!";
// What WriteFailed says of a table that could not be read: "не прочитана таблица " + the table's name.
inline QString TableNotRead(const QString& table) { return QStringLiteral("не прочитана таблица %1").arg(table); }

// Why a query failed, in the user's words: a file another program holds locked, a damaged file and a file
// that is no database each have their own.
QString QueryFault(const QSqlError& e);

// "Ошибка записи в базу данных: " + the driver's text.
QString WriteFailed(const QSqlQuery& query);
QString WriteFailed(const QString& why);

// Prepares `sql` on the connection, binds `values` in order and runs it. False on any failure.
bool Run(QSqlQuery& query, const QString& sql, std::initializer_list<QVariant> values = {});

// A whole number read from a column that may hold a double: rounded half to even.
int Int(const QVariant& v);

// The 39 columns of Wind in their table order, and one row read from them.
QString WindColumns();
WindRow ReadWind(const QSqlQuery& query);

// Runs `body` inside one transaction: commits when it returns an empty text, else rolls back and passes
// its error on. A commit that fails is rolled back too.
template <class Body>
WriteError InTransaction(Body&& body) {
  QSqlDatabase db = Connection();
  if (!db.isOpen()) return kNotOpen;
  if (!db.transaction()) return WriteFailed(db.lastError().text());
  WriteError error = body();
  if (!error.isEmpty()) {
    db.rollback();
    return error;
  }
  if (!db.commit()) {
    const QString why = db.lastError().text();
    db.rollback();
    return WriteFailed(why);
  }
  return {};
}

}  // namespace velaron::db::detail
