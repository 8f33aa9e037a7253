// Pictures of the result surfaces, drawn straight from the grids: a banded colour map with contour lines
// seen from above (+x to the right, +y = north up), or a banded mesh seen obliquely for the
// three-dimensional option. The bands mean something: the probability at the zone levels, the overpressure
// at the compression-wave levels, the heat flux in a few round bands, the risk in decades. Nothing here
// touches a window; the pictures go out as QImages of the size asked for, so that the window, the
// workbook and the report each take them at their own resolution.
#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <QSize>
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

struct PictureOptions {
  PictureKind kind = PictureKind::HeatFlux;
  bool view3D = false;  // banded mesh instead of the top view (never for the risk)
  QString title;        // drawn above the picture when not empty
  int width = 640;
  int height = 480;
  // The route section's azimuth, degrees clockwise from north: the route is drawn through the rupture
  // point along it, on the map and on the mesh alike. No route line when `drawRoute` is off.
  double azimuth = 0;
  bool drawRoute = true;
  // The frame of the run's grid: cells from the rupture point to its edge along x and y. Every picture of
  // a run is drawn in it, whatever border cells a grid keeps beyond it (the probability grid keeps one);
  // 0 takes the grid's own size.
  int frameNx = 0, frameNy = 0;
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

// Bands for a field whose largest value (in the picture's unit) is `maxValue`:
// - probability: the zone levels 1, 33, 50, 99.99 %, the last band open;
// - overpressure: 3, 10, 20, 30, 50, 70, 100, 300 kPa up to the first level at or above the maximum
//   (300 kPa open at the top);
// - heat flux: 5 to 8 bands of a round step (1, 2, 2.5 or 5 × 10ⁿ) from 0 to the maximum;
// - risk: decades, the top one the first power of ten at or above the maximum, six decades in all.
BandScale PictureBands(PictureKind kind, double maxValue);

// The legend's title with its unit ("Тепловой поток, кВт/м²", "Избыточное давление, кПа",
// "Вероятность поражения, %", "Индивидуальный риск, 1/год").
QString LegendTitle(PictureKind kind);
// A level as the legend writes it: "1,0E-06" for the risk, the plain decimal-comma number otherwise.
QString LevelText(PictureKind kind, double level);
// The legend's lines from the top band down: "50 – 99,99", "≥ 300", and last the background "< 1".
std::vector<QString> LegendTexts(PictureKind kind, const BandScale& scale);

// The pictures' font at a size in pixels.
QFont PictureFont(int pixels, bool bold = false);
// The text size of a picture of width × height pixels (before a legend too wide makes it smaller): about
// the window's own text size on screen, growing with print-size pictures.
int PictureTextPixels(int width, int height);

// Where the parts of a picture go: the plot (the map or the mesh), the north mark, and the box of the
// legend (its title, then one row per band).
struct PictureLayout {
  QRect title, plot, north, legend;
  int fontPixels = 12;
  bool legendBelow = false;  // a cell taller than wide has the legend under the plot
};
PictureLayout LayoutPicture(const models::Grid& grid, int cStep, const PictureOptions& options);

// The picture of `grid` (cells −nx..nx × −ny..ny, cStep metres apart) in the frame of the options (cells
// outside the grid read 0); a null image for an empty grid.
QImage RenderResultPicture(const models::Grid& grid, int cStep, const PictureOptions& options);

}  // namespace velaron::output
