// The three-dimensional view of a result picture: the banded mesh of the field seen obliquely, its heights
// by the levels of the scale, with the route laid on its surface.
#include "output/pictures/picture_painters.h"

#include <QColor>
#include <QFont>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "common/azimuth.h"

namespace velaron::output {

namespace {

// Height of a value on the mesh, in band units: each band of the scale is one unit high (values below the
// first edge take one more unit from 0), so the field's shape shows in every band however unequal the
// levels (3 … 300 kPa, 1 … 99,99 %). Values above the top edge are cut there.
double MeshHeight(const BandScale& s, double v) {
  const auto& e = s.edges;
  const double base = e.front() > 0 ? 1 : 0;
  if (!(v > 0)) return 0;
  if (v < e.front()) return base * v / e.front();
  for (size_t i = 0; i + 1 < e.size(); ++i)
    if (v < e[i + 1]) return base + static_cast<double>(i) + (v - e[i]) / (e[i + 1] - e[i]);
  return base + static_cast<double>(e.size() - 1);
}

// The mesh seen obliquely: the floor is a parallelogram, x to the right, y (north) into the picture, up and
// to the right; heights in band units (MeshHeight), cut at the scale's top.
struct MeshView {
  QPointF origin;
  double floorW, depthX, depthY, sz, top;
  int nx, ny;
  QPointF Project(double fx, double fy, double h) const {  // fx, fy 0..1 across the grid
    return QPointF(origin.x() + fx * floorW + fy * depthX, origin.y() - fy * depthY - std::min(h, top) / top * sz);
  }
  // A cell position (−nx..nx, −ny..ny) at a height.
  QPointF At(double x, double y, double h) const {
    return Project((x + nx) / std::max(1, 2 * nx), (y + ny) / std::max(1, 2 * ny), h);
  }
  // The direction of north on the picture: along the floor's depth.
  QPointF North() const {
    const double l = std::hypot(depthX, depthY);
    return l > 0 ? QPointF(depthX / l, -depthY / l) : QPointF(0, -1);
  }
};

MeshView MeshViewOf(const QRect& plot, const models::Grid& g, const BandScale& scale) {
  MeshView v;
  v.floorW = plot.width() * 0.62;
  v.depthX = plot.width() * 0.38;
  v.depthY = std::min(plot.height() * 0.30, v.depthX * 0.6);
  v.sz = std::min(plot.height() * 0.58, plot.width() * 0.6);
  v.origin = QPointF(plot.left(), plot.bottom() - (plot.height() - v.depthY - v.sz) / 2);
  v.top = std::max(1e-9, MeshHeight(scale, scale.edges.back()));
  v.nx = g.nx();
  v.ny = g.ny();
  return v;
}

// The route on the mesh: the line along the azimuth through the rupture point, laid on the surface. It is
// drawn in pieces, each right after the row of quads it crosses, so that nearer rises of the surface
// cover it as they cover the quads behind them.
class MeshRoute {
 public:
  MeshRoute(const MeshView& view, const models::Grid& g, PictureKind kind, const BandScale& scale, int stride,
            double azimuthDeg)
      : view_(view), g_(g), kind_(kind), scale_(scale), stride_(stride) {
    const double a = AzimuthWithinTurn(azimuthDeg) * std::numbers::pi / 180;
    dx_ = std::sin(a);
    dy_ = std::cos(a);
    // From the rupture point to the frame's edge along the route, in cells.
    reach_ = 1e9;
    if (std::abs(dx_) > 1e-12) reach_ = std::min(reach_, g.nx() / std::abs(dx_));
    if (std::abs(dy_) > 1e-12) reach_ = std::min(reach_, g.ny() / std::abs(dy_));
  }

  // Draws the part of the route over the rows y0 .. y1 (cells).
  void DrawOver(QPainter& p, double y0, double y1, const QPen& pen) {
    double t0 = -reach_, t1 = reach_;
    if (std::abs(dy_) > 1e-12) {
      t0 = std::max(t0, std::min(y0 / dy_, y1 / dy_));
      t1 = std::min(t1, std::max(y0 / dy_, y1 / dy_));
    } else if (!(y0 <= 0 && 0 < y1)) {
      return;  // an east-west route lies on the row of the rupture point only
    }
    if (!(t1 > t0)) return;
    QPolygonF line;
    const int steps = std::max(1, static_cast<int>(std::ceil((t1 - t0) * 4)));
    for (int k = 0; k <= steps; ++k) {
      const double t = t0 + (t1 - t0) * k / steps;
      line << view_.At(t * dx_, t * dy_, Height(t * dx_, t * dy_));
    }
    // The dashes run on from piece to piece.
    QPen dashed = pen;
    dashed.setDashOffset(length_ / std::max(1.0, pen.widthF()));
    p.setPen(dashed);
    p.drawPolyline(line);
    for (int k = 1; k < line.size(); ++k)
      length_ += std::hypot(line[k].x() - line[k - 1].x(), line[k].y() - line[k - 1].y());
  }

 private:
  // The surface's height at a cell position: between the four corners of the quad drawn there.
  double Height(double x, double y) const {
    const int nx = g_.nx(), ny = g_.ny();
    const int x0 =
        std::clamp(-nx + static_cast<int>(std::floor((x + nx) / stride_)) * stride_, -nx, std::max(-nx, nx - stride_));
    const int y0 =
        std::clamp(-ny + static_cast<int>(std::floor((y + ny) / stride_)) * stride_, -ny, std::max(-ny, ny - stride_));
    const double tx = std::clamp((x - x0) / stride_, 0.0, 1.0), ty = std::clamp((y - y0) / stride_, 0.0, 1.0);
    auto h = [&](int cx, int cy) { return MeshHeight(scale_, PictureValue(kind_, g_.at0(cx, cy))); };
    return (h(x0, y0) * (1 - tx) + h(x0 + stride_, y0) * tx) * (1 - ty) +
           (h(x0, y0 + stride_) * (1 - tx) + h(x0 + stride_, y0 + stride_) * tx) * ty;
  }

  const MeshView& view_;
  const models::Grid& g_;
  PictureKind kind_;
  const BandScale& scale_;
  int stride_;
  double dx_ = 0, dy_ = 1, reach_ = 0, length_ = 0;
};

}  // namespace

// Over a floor with two back walls, as a spreadsheet's surface chart draws it.
QPointF DrawMesh(QPainter& p, const QRect& plot, const models::Grid& g, int cStep, const BandScale& scale, int fontPx,
                 const PictureOptions& o) {
  const PictureKind kind = o.kind;
  const int nx = g.nx(), ny = g.ny();
  const int cells = std::max(2 * nx, 2 * ny);
  const int stride = std::max(1, (cells + 59) / 60);  // at most about 60 quads a side
  const MeshView view = MeshViewOf(plot, g, scale);
  const double top = view.top;
  auto project = [&view](double fx, double fy, double h) { return view.Project(fx, fy, h); };
  const QFont font = PictureFont(fontPx);
  const QFontMetrics fm(font);
  p.setFont(font);
  // Floor and back walls, a line along the walls at every level, the levels on the front left edge.
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(QColor(150, 150, 150), 1));
  p.setBrush(QColor(250, 250, 250));
  QPolygonF floor, leftWall, backWall;
  floor << project(0, 0, 0) << project(1, 0, 0) << project(1, 1, 0) << project(0, 1, 0);
  leftWall << project(0, 0, 0) << project(0, 1, 0) << project(0, 1, top) << project(0, 0, top);
  backWall << project(0, 1, 0) << project(1, 1, 0) << project(1, 1, top) << project(0, 1, top);
  p.drawPolygon(floor);
  p.drawPolygon(leftWall);
  p.drawPolygon(backWall);
  p.setBrush(Qt::NoBrush);
  std::vector<double> levels;
  if (scale.edges.front() > 0) levels.push_back(0);
  levels.insert(levels.end(), scale.edges.begin(), scale.edges.end());
  double lastLabel = -1e9;
  for (double v : levels) {
    const double h = MeshHeight(scale, v);
    p.setPen(QPen(QColor(200, 200, 200), 1));
    p.drawPolyline(QPolygonF() << project(0, 0, h) << project(0, 1, h) << project(1, 1, h));
    const QPointF at = project(0, 0, h);
    p.setPen(Qt::black);
    p.drawLine(at, at + QPointF(-4, 0));
    if (std::abs(at.y() - lastLabel) < fm.height()) continue;  // labels never overlap
    lastLabel = at.y();
    const QString t = LevelText(kind, v);
    p.drawText(QRectF(at.x() - fm.horizontalAdvance(t) - 8, at.y() - fm.height() / 2.0, fm.horizontalAdvance(t) + 2,
                      fm.height()),
               Qt::AlignRight | Qt::AlignVCenter, t);
  }
  const QPen meshPen(QColor(60, 60, 60, stride > 1 ? 50 : 80), 0);
  const QPen routePen = RoutePen(fontPx);
  MeshRoute route(view, g, kind, scale, stride, o.azimuth);
  // Far rows first, so nearer quads cover them; the route over each row right after it.
  for (int y = ny - stride; y >= -ny; y -= stride) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(meshPen);
    for (int x = -nx; x + stride <= nx; x += stride) {
      const double v00 = PictureValue(kind, g(x, y)), v10 = PictureValue(kind, g(x + stride, y));
      const double v01 = PictureValue(kind, g(x, y + stride)), v11 = PictureValue(kind, g(x + stride, y + stride));
      QPolygonF quad;
      quad << view.At(x, y, MeshHeight(scale, v00)) << view.At(x + stride, y, MeshHeight(scale, v10))
           << view.At(x + stride, y + stride, MeshHeight(scale, v11)) << view.At(x, y + stride, MeshHeight(scale, v01));
      p.setBrush(BandColor(scale.bandOf(std::max({v00, v10, v01, v11})), scale.bands()));
      p.drawPolygon(quad);
    }
    if (o.drawRoute) {
      p.setRenderHint(QPainter::Antialiasing, true);
      p.setBrush(Qt::NoBrush);
      route.DrawOver(p, y, y + stride, routePen);
      // In front of the nearest row, when the grid's side is no multiple of the stride: no quads there.
      if (y - stride < -ny && y > -ny) route.DrawOver(p, -ny, y, routePen);
    }
  }
  p.setBrush(Qt::NoBrush);
  // Distances along the near edges: x (east) and y (north), in metres.
  p.setPen(Qt::black);
  const double xm = static_cast<double>(nx) * cStep, ym = static_cast<double>(ny) * cStep;
  const QPointF xl = project(0, 0, 0), xr = project(1, 0, 0), yf = project(1, 1, 0);
  p.drawText(QRectF(xl.x(), xl.y() + 2, 80, fm.height()), Qt::AlignLeft, MetresText(-xm));
  p.drawText(QRectF(xr.x() - 80, xr.y() + 2, 80, fm.height()), Qt::AlignRight, MetresText(xm));
  p.drawText(QRectF((xl.x() + xr.x()) / 2 - 40, xl.y() + 2, 80, fm.height()), Qt::AlignCenter, AxisTitleX());
  p.drawText(QRectF(xr.x() + 6, xr.y() - fm.height(), 80, fm.height()), Qt::AlignLeft | Qt::AlignVCenter,
             MetresText(-ym));
  p.drawText(QRectF(yf.x() + 6, yf.y() - fm.height() / 2.0, 80, fm.height()), Qt::AlignLeft | Qt::AlignVCenter,
             MetresText(ym));
  p.drawText(QRectF(yf.x() + 6, yf.y() - fm.height() * 1.6, 80, fm.height()), Qt::AlignLeft | Qt::AlignVCenter,
             AxisTitleY());
  return view.North();
}

}  // namespace velaron::output
