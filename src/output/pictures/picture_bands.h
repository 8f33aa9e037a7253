// The bands of a result picture and its legend: which bands a field's largest value gives for each kind
// of picture, the colour of each band, and the legend's texts. Plain rules; nothing is drawn here.
#pragma once

#include <QColor>
#include <QString>
#include <vector>

#include "models/calc_state.h"

namespace velaron::output {

// What a picture shows; it fixes the unit, the bands and the number format of the legend.
enum class PictureKind {
  HeatFlux,      // kW/m², the grid as it stands
  Overpressure,  // the grid holds Pa; drawn in kPa
  Probability,   // probability of injury, %
  Risk,          // individual risk, 1/year; always seen from above
};

// The bands of a picture: edges[0] < edges[1] < … ; band i runs from edges[i] to edges[i + 1]. Values
// below edges[0] are the background (no band); with `openTop` one more band starts at the last edge and
// has no upper bound ("≥ 99,99").
struct BandScale {
  std::vector<double> edges;
  bool openTop = false;
  int bands() const { return static_cast<int>(edges.size()) - (openTop ? 0 : 1); }
  // Band of a value: −1 below the first edge, else 0..bands() − 1 (values above the top fall in the last).
  int bandOf(double v) const;
};

// The value the picture draws for a grid value (Pa → kPa for the overpressure).
double PictureValue(PictureKind kind, double gridValue);
// The largest value of a grid in the picture's unit (0 for an empty grid or a field of no positive value).
double PictureMax(const models::Grid& grid, PictureKind kind);

// Bands for a field whose largest value (in the picture's unit) is `maxValue`:
// - probability: the zone levels 1, 33, 50, 99.99 %, the last band open;
// - overpressure: 3, 10, 20, 30, 50, 70, 100, 300 kPa up to the first level at or above the maximum
//   (300 kPa open at the top);
// - heat flux: round levels of the 1-2-5 series, the top one the first at or above the maximum, down to
//   1 kW/m² once there are five bands, never more than seven;
// - risk: decades, the top one the first power of ten at or above the maximum, six decades in all.
BandScale PictureBands(PictureKind kind, double maxValue);
// The bands of a grid's picture: those of its largest value.
BandScale GridBands(const models::Grid& grid, PictureKind kind);

// The colour of band `band` of `bands` (−1: the background): from pale to dark red, the higher the band
// the more dangerous, whatever the kind.
QColor BandColor(int band, int bands);

// The legend's title with its unit ("Тепловой поток, кВт/м²", "Избыточное давление, кПа",
// "Вероятность поражения, %", "Индивидуальный риск, 1/год").
QString LegendTitle(PictureKind kind);
// A level as the legend writes it: "1,0E-06" for the risk, the plain decimal-comma number otherwise.
QString LevelText(PictureKind kind, double level);
// The legend's lines from the top band down: "50 – 99,99", "≥ 300", and last the background "< 1".
std::vector<QString> LegendTexts(PictureKind kind, const BandScale& scale);
// The note under the legend of the three-dimensional view: the mesh's heights go by the levels of the
// scale, and a field above the top level is cut there ("… срезана на уровне 300.").
QString MeshNote(const models::Grid& grid, PictureKind kind, const BandScale& scale);

}  // namespace velaron::output
