#include "models/grid_reading.h"

#include <array>
#include <cmath>

#include "common/numtext.h"

namespace velaron::models {

namespace {
// A grid cell at a position in metres; cells outside the grid read 0.
double Cell(const Grid& g, double xm, double ym, int step) {
  const int ix = ToIntHalfEven(xm / step), iy = ToIntHalfEven(ym / step);
  return g.at0(ix, iy);
}
}  // namespace

std::optional<GridMax> GridMaximum(const Grid& grid, int XLimit, int YLimit, int CStep) {
  if (grid.empty() || CStep <= 0) return std::nullopt;
  GridMax m;
  m.value = Cell(grid, -XLimit / 2.0, -YLimit / 2.0, CStep);
  m.x = -XLimit / 2.0 / CStep;
  m.y = -YLimit / 2.0 / CStep;
  const int y0 = ToIntHalfEven(-YLimit / 2.0), y1 = ToIntHalfEven(YLimit / 2.0);
  const int x0 = ToIntHalfEven(-XLimit / 2.0), x1 = ToIntHalfEven(XLimit / 2.0);
  for (int y = y0; y <= y1; y += CStep)
    for (int x = x0; x <= x1; x += CStep) {
      const double v = Cell(grid, x, y, CStep);
      if (v > m.value) {
        m.value = v;
        m.x = static_cast<double>(x) / CStep;
        m.y = static_cast<double>(y) / CStep;
      }
    }
  return m;
}

std::optional<double> GridValueAt(const Grid& grid, int XLimit, int YLimit, int CStep, double px, double py) {
  const double hx = XLimit / 2.0, hy = YLimit / 2.0;
  if (!(px > -hx && px < hx && py > -hy && py < hy) || CStep <= 0) return std::nullopt;
  double x1 = -hx, y1 = -hy;
  while (px > x1) x1 += CStep;
  while (py > y1) y1 += CStep;
  const double x0 = x1 - CStep, y0 = y1 - CStep;
  const std::array<double, 4> f = {Cell(grid, x0, y0, CStep), Cell(grid, x1, y0, CStep), Cell(grid, x0, y1, CStep),
                                   Cell(grid, x1, y1, CStep)};
  const std::array<double, 4> d = {std::hypot(px - x0, py - y0), std::hypot(px - x1, py - y0),
                                   std::hypot(px - x0, py - y1), std::hypot(px - x1, py - y1)};
  for (size_t i = 0; i < 4; ++i)
    if (d[i] == 0) return f[i];
  double inv = 0;
  for (double di : d) inv += 1 / di;
  double v = 0;
  for (size_t i = 0; i < 4; ++i) v += (1 / d[i]) / inv * f[i];
  return v;
}

}  // namespace velaron::models
