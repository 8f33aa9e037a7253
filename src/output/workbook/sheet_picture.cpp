#include "output/workbook/sheet_picture.h"

#include "output/pictures/result_pictures.h"
#include "output/pictures/run_pictures.h"

namespace velaron::output {

QImage DrawSheetPicture(const models::Grid& grid, const QString& title, PictureKind kind, bool view3D, int nx, int ny,
                        int cStep, double azimuth) {
  PictureOptions o;
  o.kind = kind;
  o.title = title;
  o.view3D = view3D && kind != PictureKind::Risk;
  o.width = kPrintPictureWidth;
  o.height = kPrintPictureHeight;
  o.azimuth = azimuth;
  o.frameNx = nx;
  o.frameNy = ny;
  return RenderResultPicture(grid, cStep, o);
}

}  // namespace velaron::output
