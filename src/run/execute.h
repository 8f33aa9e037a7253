// Execution of a prepared run: the scenario model by code, the grid-edge test, the final zone radii and
// the distance charts, gathered into the record of the completed run. Pictures and files are drawn and
// written from that record afterwards, by the window or the driver; the record itself is not changed.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "models/progress.h"
#include "run/flame_grid.h"
#include "run/prepared_run.h"
#include "result/run_snapshot.h"

namespace velaron::run {

struct ExecuteOptions {
  // Called on the worker once the model is done, before the results are gathered (the note window).
  std::function<void()> onModelDone;
  // Whether the zones the field shows are checked against a fine grid (off only to measure that check).
  bool checkZones = true;
};

struct RunOutcome {
  std::shared_ptr<const result::RunSnapshot> snapshot;  // the completed run, as it stays
  QString error;                                        // a refusal of the model (nothing of the run is kept)
  QString shown;                                        // the value refused, for the driver (RunRefusal)
  bool cancelled = false;
  bool ok() const { return snapshot != nullptr; }
};

// What the year-round assessments (codes 1 and 7) refuse of a prepared run, checked before anything is
// computed, so that the run dialog can say so while it is still open: the town's wind data, a flame of
// no size in some wind state, and the like. Empty for a run that can go on (and for the other codes,
// whose checks are part of the preparation).
QString CheckBeforeRun(const PreparedRun& run);

// The jet cases of a prepared run (codes 1, 3, 4, 5 and 7; none for the others) with the flames each joins,
// as the run will draw them from its flame quantities.
std::vector<JetCase> JetCasesOf(const PreparedRun& run);

// Runs the model of the prepared run's scenario (codes 2 to 6 and 8; the jet-flame window's calculation is
// a code-4 run whose zone depths are then found along +x, as for the explosion), or the year-round jet-fire
// assessment (code 7) or the complex assessment of all scenarios (code 1), on the run's own state and
// returns the snapshot. A cancel (the progress says so) or a refusal of the model returns no snapshot; the
// caller's earlier results are not touched in either case. A jet run whose grid shows 0 for a zone that a
// fine grid shows is refused once its model is done (CheckZonesSeen).
RunOutcome ExecuteRun(PreparedRun run, models::Progress& progress, const ExecuteOptions& options = {});

// The record of a finished state, the last step of ExecuteRun: copies the inputs and results and builds
// the distance charts.
std::shared_ptr<const result::RunSnapshot> MakeSnapshot(const PreparedRun& run, models::CalcState&& state,
                                                        bool zoneAtEdge);

}  // namespace velaron::run
