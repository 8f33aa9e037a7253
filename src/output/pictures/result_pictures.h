// Pictures of the result surfaces, drawn straight from the grids: a banded colour map with contour lines
// seen from above (+x to the right, +y = north up), or a banded mesh seen obliquely for the
// three-dimensional option, each with a north mark and the legend of its bands (picture_bands.h). Nothing
// here touches a window; the pictures go out as QImages of the size asked for, so that the window, the
// workbook and the report each take them at their own resolution.
#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

#include "models/calc_state.h"
#include "output/pictures/picture_bands.h"

namespace velaron::output {

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
