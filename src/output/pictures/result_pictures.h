// Pictures of the result surfaces, drawn straight from the grids: a banded colour map with contour lines
// seen from above (+x to the right, +y = north up), or a banded mesh seen obliquely for the
// three-dimensional option. Nothing here touches a window; the pictures go out as QImages.
#pragma once

#include <QImage>
#include <QString>
#include <vector>

#include "models/calc_state.h"

namespace velaron::output {

struct PictureOptions {
  QString title;        // drawn above the picture
  bool view3D = false;  // banded mesh instead of the top view
  int width = 560;
  int height = 440;
  double scale = 1;     // every value is divided by it (Pa shown as kPa: 1000)
  // Band width as a fraction of the automatic one (the risk picture halves it).
  double bandFactor = 1;
};

// Band edges for values from 0 to `maxValue`: a round step (1, 2 or 5 × 10ⁿ) giving about eight bands,
// times `bandFactor`. Returns the edges from 0 up to the first edge at or above the maximum.
std::vector<double> BandEdges(double maxValue, double bandFactor = 1);

// Draws the cells −nx..nx × −ny..ny of `grid` (cells outside it read 0); `cStep` in metres labels the axes.
QImage RenderGridPicture(const models::Grid& grid, int nx, int ny, int cStep, const PictureOptions& options);

}  // namespace velaron::output
