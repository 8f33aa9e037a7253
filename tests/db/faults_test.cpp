// A database that cannot be read or written: every read and write says why in Russian, with the table it
// read, never in SQLite's English alone, and changes nothing; a failed read is never an empty table.
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <functional>
#include <optional>
#include <tuple>
#include <gtest/gtest.h>

#include "db/db_internal.h"
#include "db/table_checks.h"
#include "db_test_util.h"
#include "output/held_database.h"

namespace velaron::db::testing {
namespace {

using Faults = EmptyDbTest;
const QString kReadGases = QStringLiteral("Ошибка чтения базы данных (таблица \"abc\"): ");
const QString kWrite = QStringLiteral("Ошибка записи в базу данных: ");

// Each way a database fails, through a read and a write of the gas table. The expected texts are the
// messages the user is meant to read, written out here.
TEST_F(Faults, EveryReadAndWriteNamesItsCauseInRussianAndChangesNothing) {
  Exec("INSERT INTO abc VALUES ('Метан', 16.043, 50000, 21, 0.2, 4), ('Пропан', 44.1, 46000, 20, 0.2, 3)");
  Exec("INSERT INTO Statistics VALUES ('Север', 0.5, 2)");
  const auto rows = [] { return Scalar("SELECT group_concat(VName || m, ',') FROM abc").toString(); };
  const QString stored = rows();
  // The read (an empty `readCause`: it goes through) and a write of a name long enough to need pages of its own.
  const auto check = [](const char* failure, const char* readCause, const char* writeCause) {
    SCOPED_TRACE(failure);
    const auto read = LoadGases();
    EXPECT_EQ(read.error, *readCause ? kReadGases + readCause : QString());
    EXPECT_EQ(read.value.size(), *readCause ? 0u : 2u);
    EXPECT_EQ(InsertGas({QString(20000, QChar(u'Г')), 30, 1, 1, 1, 3}), kWrite + writeCause);
  };
  const char* busy = "база данных заблокирована другой программой";
  std::optional<test::HeldDatabase> held(std::in_place, path_);
  check("held by another program", busy, busy);
  held.reset();
  EXPECT_EQ(rows(), stored);
  // A read of another program lets the program read and write, but not finish the write.
  held.emplace(path_, test::HeldDatabase::Hold::Reading);
  check("read by another program", "", busy);
  held.reset();
  EXPECT_EQ(rows(), stored);
  // The file may not grow by another page: what a full disk does to a write.
  Exec("PRAGMA max_page_count = " + Scalar("PRAGMA page_count").toString());
  check("full", "", "нет места на диске, или файл базы данных достиг предельного размера");
  EXPECT_EQ(rows(), stored);
  CloseDatabase();
  ASSERT_EQ(OpenDatabase(path_, /*readOnly=*/true), QString());
  check("read-only connection", "", "база данных открыта только для чтения");
  EXPECT_EQ(rows(), stored);
  // A damaged table, its first page overwritten with bytes no b-tree page starts with: the other tables still
  // read, and the start-up probe's check says so too, without SQLite's report of pages and b-trees.
  const int page = Scalar("SELECT rootpage FROM sqlite_master WHERE name = 'abc'").toInt();
  const int size = Scalar("PRAGMA page_size").toInt();
  CloseDatabase();
  QFile file(path_);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.seek(qint64(page - 1) * size));
  file.write(QByteArray(size, '\x5a'));
  file.close();
  ASSERT_EQ(OpenDatabase(path_), QString());
  const char* damaged = "файл базы данных поврежден";
  check("damaged", damaged, damaged);
  EXPECT_EQ(LoadRegions().value.size(), 1u);
  CloseDatabase();
  EXPECT_EQ(ProbeDatabaseFile(path_, true), QString::fromUtf8(damaged));
}

// A table damaged past its first pages gives its first rows, then fails: its reader gives no rows (it gave a
// short list) and the check of a run's tables says it cannot be read (it passed the rows before the damage).
TEST_F(Faults, ATableThatFailsPartwayIsAFailedReadNeverAShorterOne) {
  const QString damaged = QStringLiteral("файл базы данных поврежден");
  const struct {
    const char* table;
    QString row;  // %1: the row's number
    int rows;
    std::function<QString()> read;
    QString error;
  } cases[] = {
      {"abc", "('" + QString(150, QChar(u'Г')) + " %1', 16, 50000, 21, 0.2, 4)", 600, [] { return LoadGases().error; },
       kReadGases + damaged},
      {"1b", "(%1, 2.2, 1.5)", 4000, [] { return CheckRunTables({}); }, "Таблица \"1b\" не читается: " + damaged},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.table);
    const QString table = QStringLiteral("\"%1\"").arg(c.table);
    CloseDatabase();
    QFile::remove(path_);
    MakeEmptyDatabase(path_);
    ASSERT_EQ(OpenDatabase(path_), QString());
    QStringList rows;
    for (int i = 1; i <= c.rows; ++i) rows << c.row.arg(i);
    Exec("INSERT INTO " + table + " VALUES " + rows.join(','));
    // The table's rows were the last written: the file's last page, overwritten, holds its last rows.
    const int pages = Scalar("PRAGMA page_count").toInt(), size = Scalar("PRAGMA page_size").toInt();
    ASSERT_GT(pages - Scalar("SELECT rootpage FROM sqlite_master WHERE name = '" + QString(c.table) + "'").toInt(), 4);
    CloseDatabase();
    {
      QFile file(path_);
      ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.seek(qint64(pages - 1) * size) &&
                  file.write(QByteArray(size, '\x5a')) == size);
    }
    ASSERT_EQ(OpenDatabase(path_), QString());
    // Partway: some rows, not all, then the failure.
    QSqlQuery scan(Connection());
    scan.setForwardOnly(true);
    ASSERT_TRUE(scan.exec("SELECT rowid FROM " + table + " ORDER BY rowid"));
    int scanned = 0;
    while (scan.next()) ++scanned;
    EXPECT_TRUE(scanned > 0 && scanned < c.rows && scan.lastError().isValid()) << scanned << " of " << c.rows;
    EXPECT_EQ(c.read().toStdString(), c.error.toStdString());
  }
}

// The reference tables of a run load whole or not at all: a table that cannot be read (the first gas table,
// the last one, the pit lengths, the probits) is named, and none of the rows read before it is kept.
TEST_F(Faults, AReferenceTableThatCannotBeReadLoadsNoneOfThem) {
  for (const char* table : {"1b", "300b"}) Exec(QStringLiteral("INSERT INTO \"%1\" VALUES (300, 2.2, 1.5)").arg(table));
  Exec("INSERT INTO Lp VALUES (1.42, 40)");
  Exec("INSERT INTO TProbit VALUES (5, 50)");
  const auto whole = LoadReferenceTables();
  ASSERT_EQ(whole.error, QString());
  EXPECT_EQ(std::tuple(whole.value.gas[0].pressureBar, whole.value.gas[9].pressureBar), std::tuple(1.0, 300.0));
  EXPECT_EQ(std::tuple(whole.value.gas[0].rows.size(), whole.value.gas[9].rows.size(), whole.value.lp.size(),
                       whole.value.probit.size()),
            std::tuple(1u, 1u, 1u, 1u));
  for (const char* table : {"1b", "300b", "Lp", "TProbit"}) {
    SCOPED_TRACE(table);
    Exec(QStringLiteral("ALTER TABLE \"%1\" RENAME TO gone").arg(table));
    const auto read = LoadReferenceTables();
    EXPECT_EQ(read.error, QStringLiteral("Ошибка чтения базы данных (таблица \"%1\"): база данных не выполнила "
                                         "запрос (no such table: %1)")
                              .arg(table));
    std::size_t kept = read.value.lp.size() + read.value.probit.size();
    for (const auto& gas : read.value.gas) kept += gas.rows.size();
    EXPECT_EQ(kept, 0u);
    Exec(QStringLiteral("ALTER TABLE gone RENAME TO \"%1\"").arg(table));
  }
}

// Why a query failed, for each code SQLite gives, and by SQLite's text where Qt drops the code (a
// failed commit of QSqlDatabase). A failure with no words of its own keeps SQLite's text after a Russian
// one, never alone.
TEST(QueryFault, EveryCauseHasItsRussianWords) {
  const struct {
    const char *code, *text, *cause;
  } cases[] = {
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
  for (const auto& c : cases) {
    const QSqlError e("Unable to fetch row", c.text, QSqlError::StatementError, c.code);
    EXPECT_EQ(detail::QueryFault(e), QString::fromUtf8(c.cause)) << c.code << " " << c.text;
  }
  EXPECT_EQ(detail::QueryFault(QSqlError()), QStringLiteral("база данных не открыта"));
}

}  // namespace
}  // namespace velaron::db::testing
