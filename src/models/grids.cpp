// Whole-grid routines with which the run copies, scales and combines the result grids. Each visits the
// points of the calculation grid by their coordinates, y outer and x inner, and finds the cell of a point
// by rounding its coordinate over the step (halves to even), so that settings whose half-width is not a
// multiple of the step behave as they always did.
#include <stdexcept>

#include "common/numtext.h"
#include "models/calc_state.h"

namespace velaron::models {

int GridHalf(int limit, int step) { return ToIntHalfEven(static_cast<double>(limit) / (2.0 * step)); }

int ProfilePoints(const CalcSettings& s) { return ToIntHalfEven(static_cast<double>(s.XLimit) / (2.0 * s.CStep) + 1); }

namespace {

// Calls cell(ix, iy) for every visited point of the grid, y outer, x inner.
template <class F>
void VisitGrid(const CalcSettings& s, F&& cell) {
  const double step = s.CStep;
  const double xHalf = s.XLimit / 2.0;
  const double yHalf = s.YLimit / 2.0;
  for (int j = 0;; ++j) {
    const double y = -yHalf + j * step;
    if (y > yHalf) break;
    const int iy = ToIntHalfEven(y / step);
    for (int i = 0;; ++i) {
      const double x = -xHalf + i * step;
      if (x > xHalf) break;
      cell(ToIntHalfEven(x / step), iy);
    }
  }
}

void RequireBounds(const Grid& g, const CalcSettings& s) {
  if (g.nx() < GridHalf(s.XLimit, s.CStep) || g.ny() < GridHalf(s.YLimit, s.CStep)) {
    throw std::logic_error("grid smaller than the calculation grid");
  }
}

void RequireBounds(const LayeredGrid& g, const CalcSettings& s, int K) {
  if (K < 1 || K > g.count()) throw std::logic_error("layer outside the layered grid");
  RequireBounds(g.layer(K), s);
}

}  // namespace

void ScaleGrid(Grid& Dst, const Grid& Src, double factor, const CalcSettings& s) {
  RequireBounds(Dst, s);
  RequireBounds(Src, s);
  VisitGrid(s, [&](int ix, int iy) { Dst(ix, iy) = Src(ix, iy) * factor; });
}

void CopyGrid(Grid& Dst, const Grid& Src, const CalcSettings& s) {
  RequireBounds(Dst, s);
  RequireBounds(Src, s);
  VisitGrid(s, [&](int ix, int iy) { Dst(ix, iy) = Src(ix, iy); });
}

void GetGridLayer(Grid& Dst, const LayeredGrid& Src, const CalcSettings& s, int K) {
  RequireBounds(Dst, s);
  RequireBounds(Src, s, K);
  const Grid& layer = Src.layer(K);
  VisitGrid(s, [&](int ix, int iy) { Dst(ix, iy) = layer(ix, iy); });
}

void MaxOverLayers(Grid& Dst, const LayeredGrid& Src, const CalcSettings& s, int N) {
  RequireBounds(Dst, s);
  for (int k = 1; k <= N; ++k) RequireBounds(Src, s, k);
  VisitGrid(s, [&](int ix, int iy) {
    double m = 0;  // a cell whose layers are all at most 0 gets 0
    for (int k = 1; k <= N; ++k) {
      const double v = Src(k, ix, iy);
      if (v > m) m = v;
    }
    Dst(ix, iy) = m;
  });
}

void ScaleGridCap100(Grid& G, double factor, const CalcSettings& s) {
  RequireBounds(G, s);
  VisitGrid(s, [&](int ix, int iy) {
    double v = G(ix, iy) * factor;
    if (v > 100) v = 100;
    G(ix, iy) = v;
  });
}

void MaxIntoLayer(LayeredGrid& Dst, const Grid& Src, const CalcSettings& s, int K) {
  RequireBounds(Dst, s, K);
  RequireBounds(Src, s);
  Grid& layer = Dst.layer(K);
  VisitGrid(s, [&](int ix, int iy) {
    if (layer(ix, iy) < Src(ix, iy)) layer(ix, iy) = Src(ix, iy);
  });
}

}  // namespace velaron::models
