// A database file held by another program (a backup or sync tool): a second connection in an exclusive
// transaction, so that every read and write of the program's connection fails as busy, or in the middle of a
// read, which lets the program read but not finish a write. The program's connection waits 0.1 s, not 2 s.
#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

#include "db/database.h"

namespace velaron::test {

class HeldDatabase {
 public:
  enum class Hold { Exclusive, Reading };
  explicit HeldDatabase(const QString& path, Hold hold = Hold::Exclusive) {
    EXPECT_TRUE(QSqlQuery(db::Connection()).exec("PRAGMA busy_timeout = 100"));
    QSqlDatabase holder = QSqlDatabase::addDatabase("QSQLITE", kName);
    holder.setDatabaseName(path);
    EXPECT_TRUE(holder.open());
    QSqlQuery q(holder);
    EXPECT_TRUE(hold == Hold::Exclusive ? q.exec("BEGIN EXCLUSIVE")
                                        : q.exec("BEGIN") && q.exec("SELECT COUNT(*) FROM sqlite_master") && q.next());
  }
  ~HeldDatabase() { release(); }

  // The other program lets the file go: its transaction ends without a change as its connection closes.
  void release() { QSqlDatabase::removeDatabase(kName); }

 private:
  static constexpr const char* kName = "held-by-another-program";
};

}  // namespace velaron::test
