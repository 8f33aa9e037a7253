#include "output/workbook/sheet_picture.h"

#include "output/pictures/result_pictures.h"

namespace velaron::output {

QImage DrawSheetPicture(const models::Grid& grid, const QString& title, PictureQuantity quantity, bool view3D,
                        int nx, int ny, int cStep) {
  PictureOptions o;
  o.title = title;
  o.view3D = view3D && quantity != PictureQuantity::Risk;
  if (quantity == PictureQuantity::Overpressure) o.scale = 1000;
  if (quantity == PictureQuantity::Risk) o.bandFactor = 0.5;
  return RenderGridPicture(grid, nx, ny, cStep, o);
}

}  // namespace velaron::output
