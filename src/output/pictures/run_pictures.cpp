#include "output/pictures/run_pictures.h"

#include "output/pictures/result_pictures.h"

namespace velaron::output {

void DrawResultPictures(result::RunSnapshot& record, bool opt3D, QSize size) {
  const int step = record.request.settings.CStep;
  const bool blast = record.isOverpressure();
  PictureOptions o;
  o.width = size.width();
  o.height = size.height();
  o.azimuth = record.request.section.Azimut;
  o.view3D = opt3D;
  o.kind = blast ? PictureKind::Overpressure : PictureKind::HeatFlux;
  record.imgDiagr1 = RenderResultPicture(record.GridValue, step, o);
  o.kind = PictureKind::Probability;
  record.imgDiagr2 = RenderResultPicture(record.GridProc, step, o);
  o.kind = PictureKind::Risk;  // always seen from above
  record.imgRisk = RenderResultPicture(record.GridRisk, step, o);
}

}  // namespace velaron::output
