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
};

struct RunOutcome {
  std::shared_ptr<const RunSnapshot> snapshot;  // the completed run
  QString error;       // a refusal of the model (nothing of the run is kept)
  bool cancelled = false;
  bool ok() const { return snapshot != nullptr; }
};

// The probability the asymmetric jet's risk field is built with: `PAsimmTorch`, which already holds the
// ignition probability.
double AsymmetricJetRiskProbability(const Probabilities& p);

// Runs the model of the prepared run's scenario (codes 2 to 6 and 8) on the run's own state and returns
// the snapshot. A cancel (the progress says so) or a refusal of the model returns no snapshot; the
// caller's earlier results are not touched in either case.
RunOutcome ExecuteRun(PreparedRun run, models::Progress& progress, const ExecuteOptions& options = {});

// The snapshot of a finished state (used by the year-round assessments too): copies the inputs and
// results, builds the distance charts and draws the pictures.
std::shared_ptr<RunSnapshot> MakeSnapshot(const PreparedRun& run, models::CalcState&& state, bool zoneAtEdge,
                                          const ExecuteOptions& options);

}  // namespace velaron::run
