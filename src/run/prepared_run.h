// A run after its preparation: the request, the rows it read, the derived quantities and probabilities,
// and the calculation state filled with them, ready for a scenario model. Preparing checks everything
// first; a refused run produces nothing and changes nothing.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "db/rows.h"
#include "models/calc_state.h"
#include "models/reftables.h"
#include "result/run_snapshot.h"
#include "result/run_request.h"

namespace velaron::run {

// The database rows a run needs, read once before it starts (the database is not read again).
struct RunData {
  std::optional<db::GasRow> gas;          // the row at position Gas of `abc`
  std::optional<db::SectionRow> section;  // the section of the run (read by TPID, or given whole)
  std::optional<db::Ground3Row> ground;   // the section's ground row
  std::array<QString, 4> groundNames;     // the names of the section's four soil levels
  std::vector<db::RegionRow> regions;     // `Statistics` in stored order (RegionPos counts from 1)
  std::vector<db::KoefDyRow> koefDy;      // the diameter coefficients, descending Dy
  std::optional<db::WindRow> town;        // the town of idCity (codes 1 and 7)
  std::shared_ptr<const models::ReferenceTables> tables;
  QString error;  // a fault of the reference data found while loading (the run is then refused)
};

struct PreparedRun {
  result::RunRequest request;  // with the section row filled in and the shares the run uses
  db::GasRow gas;
  db::Ground3Row ground;
  std::optional<db::WindRow> town;
  QString regionName;
  std::shared_ptr<const models::ReferenceTables> tables;

  result::Probabilities probabilities;
  int WindDir = 0;    // degrees
  QDateTime start;    // when the run started
  QStringList notes;  // messages to show before the run goes on (sums taken as 1)

  models::CalcState state;  // settings, derived quantities, probabilities, empty grids
};

// The result of preparing: a run, or the message of the refusal.
struct PrepareResult {
  std::optional<PreparedRun> run;
  QString error;
  bool ok() const { return run.has_value(); }
};

}  // namespace velaron::run
