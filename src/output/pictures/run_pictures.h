// The three result pictures of a finished run (damaging factor, probability of injury, risk), drawn into
// its record after the run, for the results tab, the workbook and the report alike.
#pragma once

#include <QSize>

#include "result/run_snapshot.h"

namespace velaron::output {

// Fills imgDiagr1, imgDiagr2 and imgRisk of `record` from its grids at `size` (print resolution by
// default: the workbook and the report take them; the window draws its own at the size of its cells);
// `opt3D` draws the first two as a mesh (the risk picture is always seen from above). The captions are
// the documents' own, so the pictures carry none.
inline constexpr int kPrintPictureWidth = 1600, kPrintPictureHeight = 1200;
void DrawResultPictures(result::RunSnapshot& record, bool opt3D,
                        QSize size = QSize(kPrintPictureWidth, kPrintPictureHeight));

// The PNG bytes of a picture for a workbook or a report (empty when it cannot be encoded). The fastest
// zlib level: the flat colour areas of the pictures compress well at any level, and the writers encode
// dozens of print-size pictures.
QByteArray PngBytes(const QImage& image);

}  // namespace velaron::output
