#include "output/pictures/run_pictures.h"

#include "output/pictures/result_pictures.h"

namespace velaron::output {

void DrawResultPictures(result::RunSnapshot& record, bool opt3D) {
  const int nx = record.GridValue.nx(), ny = record.GridValue.ny(), step = record.request.settings.CStep;
  const bool blast = record.isOverpressure();
  PictureOptions o;
  o.view3D = opt3D;
  o.title = QString::fromUtf8(blast ? "Диаграмма избыточного давления" : "Диаграмма теплового потока");
  o.scale = blast ? 1000 : 1;
  record.imgDiagr1 = RenderGridPicture(record.GridValue, nx, ny, step, o);
  o.title = QString::fromUtf8("Диаграмма вероятности поражения");
  o.scale = 1;
  record.imgDiagr2 = RenderGridPicture(record.GridProc, nx, ny, step, o);
  o.title = QString::fromUtf8("Диаграмма риска");
  o.view3D = false;  // the risk picture is always seen from above
  o.bandFactor = 0.5;
  record.imgRisk = RenderGridPicture(record.GridRisk, nx, ny, step, o);
}

}  // namespace velaron::output
