// The layout of the program's database: every table with its columns and their types, as the program
// makes the database (data/schema.sql, built into the program). The start-up probe and the driver check a
// database against it, so that a database of another layout is refused with the table and the column
// named instead of running on values that read as nothing; columns that later versions added and whose
// absence means only "not typed yet" are added by the window and read as NULL by the read-only driver.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

#include "db/table_rows.h"

namespace velaron::db {

struct LayoutColumn {
  QString name;
  QString type;  // as declared: INTEGER, REAL, TEXT
};

struct LayoutTable {
  QString name;
  std::vector<LayoutColumn> columns;
};

// Every table of the program's database, in the order the schema makes them.
const std::vector<LayoutTable>& ProgramLayout();

// Columns that later versions of the program added to its tables and that a database made by an earlier
// version may lack: the window adds them (with the layout's type), the read-only driver reads NULL.
struct AddedColumn {
  const char* table;
  const char* column;
};

inline constexpr std::array<AddedColumn, 4> kAddedColumns = {{
    {"TPs", "P_avto"},  // probability of a road crossing as typed
    {"TPs", "P_LEP"},   // power line
    {"TPs", "P_tr"},    // another pipeline
    {"TPs", "P_kab"},   // cable line
}};

struct MissingColumn {
  QString table;
  LayoutColumn column;
};

struct LayoutCheck {
  // Empty when the database holds every table and column of the layout with a type that reads as the
  // program reads it, bar the columns that may be added; else the faults, each naming table and column.
  QString fault;
  bool read = true;  // false: the database's tables could not be read at all (busy, damaged); `fault` says why
  std::vector<MissingColumn> missing;  // the columns of kAddedColumns the database lacks
};

// Compares the database open on `db` with the program's layout (names regardless of letter case).
LayoutCheck CheckLayout(QSqlDatabase& db);

// Adds to the database file at `path` the columns of kAddedColumns it lacks, in one transaction; the rows
// and every other column stay as they are. Empty when done (or nothing was missing), else why not.
QString AddMissingColumns(const QString& path);

// The names of the columns of `table` in the program's open connection. Reading them is a read of the table:
// when it fails (a busy database) the work that needed them ends with its message, and no read after it waits.
Read<QStringList> ColumnNames(const QString& table);

}  // namespace velaron::db
