// Columns that later versions of the program added to its tables. A database made by an earlier version
// lacks them; since each one's absence means only "not typed yet" (NULL), the window adds them when it
// opens such a database, and the read-only driver reads NULL in their place.
#pragma once

#include <QString>
#include <array>

namespace velaron::db {

struct AddedColumn {
  const char* table;
  const char* column;
  const char* type;
};

inline constexpr std::array<AddedColumn, 4> kAddedColumns = {{
    {"TPs", "P_avto", "REAL"},  // probability of a road crossing as typed
    {"TPs", "P_LEP", "REAL"},   // power line
    {"TPs", "P_tr", "REAL"},    // another pipeline
    {"TPs", "P_kab", "REAL"},   // cable line
}};

// Adds to the database file at `path` the columns of kAddedColumns it lacks, in one transaction; the rows
// and every other column stay as they are. Empty when done (or nothing was missing), else why not.
QString AddMissingColumns(const QString& path);

// True when `table` of the program's open connection has `column`.
bool HasColumn(const QString& table, const QString& column);

}  // namespace velaron::db
