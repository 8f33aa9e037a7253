// The program's database: one SQLite file in the user's data folder (db/data_folder.h), reached through
// Qt SQL over one connection with bound parameters. Every write is checked; a failed write leaves the rows
// as they were and comes back as an error text for the window to show. A failed read comes back the same
// way (Read below), never as an empty table. Every such text names its cause in Russian.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "db/rows.h"
#include "models/reftables.h"

namespace velaron::db {

// The two file names tried in order at start-up, and which one worked (`DsnLocal`: 1 first, 0 fallback).
inline constexpr const char* kPrimaryFile = "data.db";
inline constexpr const char* kFallbackFile = "Data.db";

struct ProbeResult {
  bool ok = false;
  QString path;      // the file that opened
  int DsnLocal = 0;  // 1 when the primary name opened, 0 for the fallback
  QString error;     // when !ok: a message naming both paths and why each failed
  // When the fallback file opened: why the primary file was skipped (missing, damaged, of another layout,
  // locked, read-only), so that the user learns which data the program works with. Empty otherwise.
  QString skipped;
};

// Start-up probe: tries `folder`/data.db, then `folder`/Data.db. Creates no file. A file passes when it is
// an SQLite database of the program's layout (db/layout.h) and can be written. With `finishInterrupted` a
// write cut short in a file is rolled back first (FinishInterruptedWrite).
ProbeResult ProbeDatabase(const QString& folder, bool finishInterrupted = false);
// The probe of one file: an SQLite database (not damaged, by SQLite's quick check) of the program's
// layout, bar the columns that may be added, with no write left unfinished, not locked by another
// program, and writable when `needWrite`. Empty when it passes, else why not.
QString ProbeDatabaseFile(const QString& path, bool needWrite);

// Completes the recovery from a write that was cut short (a journal left beside the file): a connection
// that may write opens the file once, and SQLite rolls the unfinished write back. Only a file that exists
// and is an SQLite database is opened; nothing is created. Empty when done or nothing was to do, else the
// driver's text (the probe then tells the user).
QString FinishInterruptedWrite(const QString& path);

// Opens the program's one connection on `path` (read-only for the headless driver). Returns an error text
// or an empty string.
QString OpenDatabase(const QString& path, bool readOnly = false);
void CloseDatabase();
QSqlDatabase Connection();  // the open connection
// True while the program's connection is open.
bool IsOpen();

// Error of a write: empty when it succeeded. (A read gives a Read, db/table_rows.h.)
using WriteError = QString;

// --- Settings and stored pipeline inputs (`Adjustment`, first row).
Read<std::optional<AdjustmentRow>> LoadAdjustment();      // nothing when the table has no row
WriteError SaveSettings(const AdjustmentRow& row);        // XLimit .. Skor_chel only
WriteError SavePipelineInputs(const AdjustmentRow& row);  // Gas .. Lkr only
WriteError WriteStartTime(const QDateTime& when);         // `tab_time`.`Time_nast`

// --- Reference rows, in stored order (rowid).
Read<std::vector<GasRow>> LoadGases();
Read<std::vector<RegionRow>> LoadRegions();
Read<std::vector<KoefDyRow>> LoadKoefDy();  // descending Dy
Read<std::vector<GroundTypeRow>> LoadGroundTypes();
Read<std::vector<GroundTypeRow>> LoadGroundChildren(int parentGid);  // grParent = parentGid
Read<std::optional<GroundTypeRow>> LoadGroundType(int gid);
Read<std::optional<Ground3Row>> LoadGround3(const QString& groundCode);
Read<std::vector<WindRow>> LoadWinds();  // ordered by CityName
Read<std::optional<WindRow>> LoadWind(int idCity);

// The gas-property tables, `Lp` and `TProbit`, loaded once for a run; all of them, or why one could not
// be read.
Read<models::ReferenceTables> LoadReferenceTables();
// Name of the gas-property table at kGasTablePressures[index]: "1b" .. "300b".
QString GasTableName(std::size_t index);

// --- Reference editors. Names must be unique; a duplicate is refused with an error text.
WriteError InsertGas(const GasRow& row);
WriteError UpdateGas(const QString& keyName, const GasRow& row);
WriteError DeleteGas(const QString& keyName);
WriteError InsertRegion(const RegionRow& row);
WriteError UpdateRegion(const QString& keyName, const RegionRow& row);
WriteError DeleteRegion(const QString& keyName);
WriteError InsertWind(WindRow& row);  // gives the town a fresh non-zero idCity
WriteError UpdateWind(const WindRow& row);
WriteError DeleteWind(int idCity);

// --- Route sections (`TPs`), ordered by TPID.
Read<std::vector<SectionRow>> LoadSections();
Read<std::optional<SectionRow>> LoadSection(int tpid);
WriteError AppendSection(SectionRow& row);        // numbered n+1
WriteError UpdateSection(const SectionRow& row);  // by TPID
WriteError DeleteSectionRenumber(int tpid);       // one transaction: delete, then TPID-1 for the rows after it

// --- Archive of report summaries.
WriteError AppendReportSummary(const ReportSummaryRow& row);

}  // namespace velaron::db
