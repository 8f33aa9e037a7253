// Execution of a prepared run: the scenario model by code, the grid-edge test, the final zone radii,
// the distance charts and the pictures, gathered into the snapshot of the completed run.
#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "models/progress.h"
#include "run/prepared_run.h"
#include "run/run_snapshot.h"

namespace velaron::run {

struct ExecuteOptions {
  bool opt3D = true;      // three-dimensional pictures of the damaging factor and the probability
  bool pictures = true;   // draw the three pictures
  // Called on the worker once the model is done, before the results are gathered (the note window).
  std::function<void()> onModelDone;
  // Codes 1 and 7: the folder the town's wind-rose workbook is written to (the program's folder); empty
  // writes none (the headless driver).
  QString windRoseFolder;
};

struct RunOutcome {
  std::shared_ptr<const RunSnapshot> snapshot;  // the completed run
  QString error;       // a refusal of the model (nothing of the run is kept)
  bool cancelled = false;
  bool ok() const { return snapshot != nullptr; }
};

// What the year-round assessments (codes 1 and 7) refuse of a prepared run, checked before anything is
// computed, so that the run dialog can say so while it is still open: the town's wind data, a flame of
// no size in some wind state, and the like. Empty for a run that can go on (and for the other codes,
// whose checks are part of the preparation).
QString CheckBeforeRun(const PreparedRun& run);

// Runs the model of the prepared run's scenario (codes 2 to 6 and 8), or the year-round jet-fire
// assessment (code 7) or the complex assessment of all scenarios (code 1), on the run's own state and
// returns the snapshot. A cancel (the progress says so) or a refusal of the model returns no snapshot; the
// caller's earlier results are not touched in either case.
RunOutcome ExecuteRun(PreparedRun run, models::Progress& progress, const ExecuteOptions& options = {});

// The snapshot of a finished state (used by the year-round assessments too): copies the inputs and
// results, builds the distance charts and draws the pictures.
std::shared_ptr<RunSnapshot> MakeSnapshot(const PreparedRun& run, models::CalcState&& state, bool zoneAtEdge,
                                          const ExecuteOptions& options);

}  // namespace velaron::run
