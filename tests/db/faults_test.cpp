// A database that cannot be read or written: a file another program holds, a connection that may only
// read, a full file and a damaged one. Every read and write says so in Russian, with the table it read,
// never in SQLite's English alone, and changes nothing; a failed read is never an empty table.
#include <QFile>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <functional>
#include <memory>
#include <gtest/gtest.h>

#include "db/db_internal.h"
#include "db_test_util.h"
#include "output/held_database.h"

namespace velaron::db::testing {
namespace {

// SQLite's own words, in any of its messages: English words of three letters and more. ("SQLite" itself
// is a name the Russian texts use.)
bool HasEnglish(QString text) {
  text.remove(QStringLiteral("SQLite"));
  return text.contains(QRegularExpression(QStringLiteral("[A-Za-z]{3,}")));
}

// Overwrites the first page of the table `table` with bytes no b-tree page starts with.
void DamageTable(const QString& path, const char* table) {
  const int page = Scalar(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = '%1'").arg(table)).toInt();
  const int size = Scalar(QStringLiteral("PRAGMA page_size")).toInt();
  ASSERT_GT(page, 1);
  CloseDatabase();
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  file.seek(qint64(page - 1) * size);
  file.write(QByteArray(size, '\x5a'));
  file.close();
  ASSERT_EQ(OpenDatabase(path), QString());
}

using Faults = EmptyDbTest;

// Each way a database fails, through a read and a write of the gas table. The expected texts are the
// messages the user is meant to read, written out here.
TEST_F(Faults, EveryReadAndWriteNamesItsCauseInRussianAndChangesNothing) {
  Exec("INSERT INTO abc VALUES ('Метан', 16.043, 50000, 21, 0.2, 4), ('Пропан', 44.1, 46000, 20, 0.2, 3)");
  struct Case {
    const char* name;
    std::function<void()> fail;  // makes the database fail; undone by `mend`
    std::function<void()> mend;
    const char* readCause;  // empty: the read goes through
    const char* writeCause;
  };
  std::unique_ptr<test::HeldDatabase> holder;
  const Case cases[] = {
      {"held by another program", [&] { holder = std::make_unique<test::HeldDatabase>(path_); },
       [&] { holder.reset(); }, "база данных заблокирована другой программой",
       "база данных заблокирована другой программой"},
      // A read of another program lets the program read and write, but not finish the write.
      {"read by another program",
       [&] { holder = std::make_unique<test::HeldDatabase>(path_, test::HeldDatabase::Hold::Reading); },
       [&] { holder.reset(); }, "", "база данных заблокирована другой программой"},
      {"read-only connection",
       [&] {
         CloseDatabase();
         ASSERT_EQ(OpenDatabase(path_, true), QString());
       },
       [&] {
         CloseDatabase();
         ASSERT_EQ(OpenDatabase(path_), QString());
       },
       "", "база данных открыта только для чтения"},
      // The file may not grow by another page: what a full disk does to a write.
      {"full", [] { Exec("PRAGMA max_page_count = " + Scalar("PRAGMA page_count").toString()); },
       [] { Exec("PRAGMA max_page_count = 1073741823"); }, "",
       "нет места на диске, или файл базы данных достиг предельного размера"},
  };
  const QString rows = Scalar("SELECT group_concat(VName || m, ',') FROM abc").toString();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.fail();
    const auto read = LoadGases();
    if (*c.readCause) {
      EXPECT_EQ(read.error, QStringLiteral("Ошибка чтения базы данных (таблица \"abc\"): ") + c.readCause);
      EXPECT_TRUE(read.value.empty());
    } else {
      EXPECT_EQ(read.error, QString());
      EXPECT_EQ(read.value.size(), 2u);
    }
    // A name long enough to need pages of its own.
    const QString error = InsertGas({QString(20000, QChar(u'Г')), 30, 1, 1, 1, 3});
    EXPECT_EQ(error, QStringLiteral("Ошибка записи в базу данных: ") + c.writeCause);
    c.mend();
    EXPECT_EQ(Scalar("SELECT group_concat(VName || m, ',') FROM abc").toString(), rows);
  }
}

// A damaged table: the read, a write and the start-up probe's check say the file is damaged, each
// without SQLite's report of pages and b-trees; the other tables still read.
TEST_F(Faults, ADamagedFileIsToldDamagedWithoutSQLitesReport) {
  Exec(
      "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 199) "
      "INSERT INTO abc SELECT 'Газ ' || i, 16, 1, 1, 1, 3 FROM n");
  Exec("INSERT INTO Statistics VALUES ('Север', 0.5, 2)");
  DamageTable(path_, "abc");
  const QString damaged = QStringLiteral("файл базы данных поврежден");
  const auto read = LoadGases();
  EXPECT_EQ(read.error, QStringLiteral("Ошибка чтения базы данных (таблица \"abc\"): ") + damaged);
  EXPECT_TRUE(read.value.empty());
  EXPECT_EQ(DeleteGas(QStringLiteral("Газ 1")), QStringLiteral("Ошибка записи в базу данных: ") + damaged);
  EXPECT_EQ(LoadRegions().value.size(), 1u);
  CloseDatabase();
  const QString probe = ProbeDatabaseFile(path_, true);
  EXPECT_EQ(probe, damaged);
}

// Why a query failed, for each code SQLite gives, and by SQLite's text where Qt drops the code (a
// failed commit of QSqlDatabase). A failure with no words of its own keeps SQLite's text after a Russian
// one, never alone.
TEST(QueryFault, EveryCauseHasItsRussianWords) {
  struct Case {
    const char* code;
    const char* text;
    const char* cause;
  };
  const Case cases[] = {
      {"5", "database is locked", "база данных заблокирована другой программой"},
      {"6", "database table is locked", "таблица базы данных занята другим запросом программы"},
      {"8", "attempt to write a readonly database", "база данных открыта только для чтения"},
      {"11", "database disk image is malformed", "файл базы данных поврежден"},
      {"13", "database or disk is full", "нет места на диске, или файл базы данных достиг предельного размера"},
      {"26", "file is not a database", "файл не является базой данных SQLite"},
      {"266", "disk I/O error", "ошибка чтения или записи файла базы данных на диске"},  // an extended I/O code
      {"", "database is locked", "база данных заблокирована другой программой"},
      {"", "database table is locked", "таблица базы данных занята другим запросом программы"},
      {"", "database or disk is full", "нет места на диске, или файл базы данных достиг предельного размера"},
      {"19", "renumber refused", "запись не допускается правилами таблицы (renumber refused)"},
      {"1", "no such table: abc", "база данных не выполнила запрос (no such table: abc)"},
  };
  for (const Case& c : cases) {
    const QSqlError e(QStringLiteral("Unable to fetch row"), QString::fromLatin1(c.text), QSqlError::StatementError,
                      QString::fromLatin1(c.code));
    EXPECT_EQ(detail::QueryFault(e), QString::fromUtf8(c.cause)) << c.code << " " << c.text;
  }
  EXPECT_EQ(detail::QueryFault(QSqlError()), QStringLiteral("база данных не открыта"));
  EXPECT_FALSE(HasEnglish(detail::QueryFault(QSqlError("", "database is locked", QSqlError::StatementError, "5"))));
}

}  // namespace
}  // namespace velaron::db::testing
