// The three result pictures of a finished run (damaging factor, probability of injury, risk), drawn from
// its record whenever a document needs them: the record holds the grids, never the pictures.
#pragma once

#include <QSize>

#include "output/pictures/result_pictures.h"
#include "result/run_snapshot.h"

namespace velaron::output {

// How a picture of `record`'s grids is drawn wherever it appears (the results tab, the workbook, the
// report): in the frame of the run's grid, with the route along the section's azimuth, as a mesh when
// `view3D` (never the risk). The size is the caller's.
PictureOptions RunPictureOptions(const result::RunSnapshot& record, PictureKind kind, bool view3D);
// The kind of the damaging-factor picture: overpressure for the blast codes, else heat flux.
PictureKind DamageKindOf(const result::RunSnapshot& record);

// The pictures of the damaging factor (imgDiagr1), the probability of injury (imgDiagr2) and the risk
// (imgRisk); a grid the run did not fill gives a null picture.
struct RunPictures {
  QImage imgDiagr1, imgDiagr2, imgRisk;
};

// Draws the three pictures of `record` from its grids at `size` (print resolution by default: the report
// takes them; the window draws its own at the size of its cells), the first two as a mesh when the run's
// options ask for three dimensions (the risk picture is always seen from above). The captions are the
// documents' own, so the pictures carry none.
inline constexpr int kPrintPictureWidth = 1600, kPrintPictureHeight = 1200;
RunPictures DrawResultPictures(const result::RunSnapshot& record,
                               QSize size = QSize(kPrintPictureWidth, kPrintPictureHeight));

// The PNG bytes of a picture for a workbook or a report (empty when it cannot be encoded). The fastest
// zlib level: the flat colour areas of the pictures compress well at any level, and the writers encode
// dozens of print-size pictures.
QByteArray PngBytes(const QImage& image);

}  // namespace velaron::output
