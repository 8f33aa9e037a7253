// Checks of the reference data a run reads, made when it is loaded: every value that the calculation takes
// as a number must be a number (never NULL or text, which would read as 0) within its physical range, and
// the keys of the tables that are looked up by interpolation must be unique. A failure names the table,
// the column and the row.
#pragma once

#include <QString>
#include <optional>

namespace velaron::db {

// The rows of a run: the tables of values looked up by interpolation are checked whole, the others only
// at the row the run takes.
struct RunTableKeys {
  int gasPosition = 0;        // `abc` row, counted from 1 in stored order (0: none)
  int regionPosition = 0;     // `Statistics` row likewise (0: none); with it the whole of `tabKoef_Dy`
  QString groundCode;         // `Ground3` row (empty: none)
  std::optional<int> idCity;  // `Wind` row
  std::optional<int> tpid;    // `TPs` row, when the section is read from the database
};

// Empty when the values pass; else the first fault as a message for the user.
QString CheckRunTables(const RunTableKeys& keys);

// The same for the calculation settings of the first `Adjustment` row (the numbers only; their rules are
// models::CheckSettings').
QString CheckAdjustmentNumbers();

}  // namespace velaron::db
