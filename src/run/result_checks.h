// The last check of a finished run: a result that is not a finite number (an overflow or a division by
// zero at absurd magnitudes of the settings) must never reach a window, a file or the driver's output.
#pragma once

#include <QString>

#include "result/run_snapshot.h"

namespace velaron::run {

// Empty when every number of the run's record is finite; else a message naming the first quantity that
// is not, or, for a grid, the setting that makes it so with its value (a grid itself is never named).
QString NonFiniteResult(const result::RunSnapshot& s);

}  // namespace velaron::run
