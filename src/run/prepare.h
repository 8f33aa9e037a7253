// Preparation of a run in three steps: every check of the request first, then the derivation of the
// accident rate, the probabilities and the outflow and flame quantities (with the checks that need
// them), then the filling of a fresh calculation state. A refused run computes nothing and changes nothing.
#pragma once

#include <QDateTime>

#include "db/table_checks.h"
#include "run/prepared_run.h"

namespace velaron::run {

// The season's jet-kind shares as the section's ground row gives them.
result::JetShares SharesFromGround(const db::Ground3Row& ground);

// Reads the rows a run needs from the open database. With `sectionInline` the request's section row is
// used as it stands; otherwise the section is read by its TPID.
// The data are checked as they are loaded: a fault is left in RunData::error, which refuses the run.
RunData LoadRunData(const result::RunRequest& request, bool sectionInline);

// Which rows of the reference tables the run reads (for their check).
db::RunTableKeys RunTableKeysOf(const result::RunRequest& request, const RunData& data, bool sectionInline);

// Builds the run's site (run_site.h), checks the request against it and the rows, and derives from the
// site everything the scenario model needs. `now` becomes the run's start time. The jet-flame window's pipe
// (request.jetFlame) needs of `data` only its gas, a section holding the typed azimuth and the tables.
PrepareResult PrepareRun(const result::RunRequest& request, const RunData& data, const QDateTime& now);

}  // namespace velaron::run
