// The picture of one grid on a picture sheet of the result workbook. The one place where the workbook
// asks the picture renderer for a drawing.
#pragma once

#include <QImage>
#include <QString>

#include "models/calc_state.h"
#include "output/workbook/result_workbook.h"

namespace velaron::output {

// Draws cells −nx..nx × −ny..ny of `grid` at print size with the route at `azimuth` (overpressure in Pa
// shown in kPa); the risk is always seen from above.
QImage DrawSheetPicture(const models::Grid& grid, const QString& title, PictureKind kind, bool view3D, int nx, int ny,
                        int cStep, double azimuth);

}  // namespace velaron::output
