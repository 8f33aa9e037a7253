// A database file held by another program, as a backup or sync tool holds it: a second connection in an
// exclusive transaction, so that every read and write of the program's connection waits and then fails as
// busy; or one in the middle of a read, which lets the program read but not finish a write. The program's
// connection is told to wait a tenth of a second instead of its two, so that the tests do not wait.
#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <gtest/gtest.h>

#include "db/database.h"

namespace velaron::test {

class HeldDatabase {
 public:
  enum class Hold { Exclusive, Reading };
  explicit HeldDatabase(const QString& path, Hold hold = Hold::Exclusive) {
    EXPECT_TRUE(QSqlQuery(db::Connection()).exec("PRAGMA busy_timeout = 100"));
    {
      QSqlDatabase holder = QSqlDatabase::addDatabase("QSQLITE", kName);
      holder.setDatabaseName(path);
      EXPECT_TRUE(holder.open());
      QSqlQuery q(holder);
      if (hold == Hold::Exclusive) {
        EXPECT_TRUE(q.exec("BEGIN EXCLUSIVE"));
      } else {
        EXPECT_TRUE(q.exec("BEGIN") && q.exec("SELECT COUNT(*) FROM sqlite_master") && q.next());
      }
    }
  }
  ~HeldDatabase() { release(); }
  HeldDatabase(const HeldDatabase&) = delete;
  HeldDatabase& operator=(const HeldDatabase&) = delete;

  // The other program lets the file go (its transaction ends without a change).
  void release() {
    if (!QSqlDatabase::contains(kName)) return;
    {
      QSqlDatabase holder = QSqlDatabase::database(kName, false);
      QSqlQuery(holder).exec("ROLLBACK");
      holder.close();
    }
    QSqlDatabase::removeDatabase(kName);
  }

 private:
  static constexpr const char* kName = "held-by-another-program";
};

}  // namespace velaron::test
