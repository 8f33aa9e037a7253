// The three result pictures of a finished run (damaging factor, probability of injury, risk), drawn into
// its record after the run, for the results tab, the workbook and the report alike.
#pragma once

#include "result/run_snapshot.h"

namespace velaron::output {

// Fills imgDiagr1, imgDiagr2 and imgRisk of `record` from its grids; `opt3D` draws the first two as a
// mesh (the risk picture is always seen from above).
void DrawResultPictures(result::RunSnapshot& record, bool opt3D);

}  // namespace velaron::output
