// Counts the statements of the program's connection that find the database file held by another program
// (held_database.h), each of which would wait the connection's busy time once. While counting none waits:
// each gives up at once, as after its wait. The binary links SQLite itself, the library under Qt's driver.
#pragma once

#include <QSqlDriver>
#include <QSqlQuery>
#include <QVariant>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "db/database.h"

namespace velaron::test {

class BusyWaits {
 public:
  BusyWaits() {
    QSqlQuery q(db::Connection());
    if (q.exec("PRAGMA busy_timeout") && q.next()) timeoutMs_ = q.value(0).toInt();
    const QVariant handle = db::Connection().driver()->handle();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
      connection_ = *static_cast<sqlite3* const*>(handle.constData());
    EXPECT_NE(connection_, nullptr) << "the program's connection is no SQLite connection";
    const auto onBusy = [](void* self, int attempt) {
      if (attempt == 0) ++static_cast<BusyWaits*>(self)->count_;
      return 0;  // the wait is over: the statement fails as busy
    };
    if (connection_) sqlite3_busy_handler(connection_, onBusy, this);
  }
  ~BusyWaits() {
    if (connection_) sqlite3_busy_timeout(connection_, timeoutMs_);
  }
  BusyWaits(const BusyWaits&) = delete;
  BusyWaits& operator=(const BusyWaits&) = delete;

  int count() const { return count_; }  // the statements that found the file held since the counting began

 private:
  sqlite3* connection_ = nullptr;
  int timeoutMs_ = 0, count_ = 0;
};

}  // namespace velaron::test
