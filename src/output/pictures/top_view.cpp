// The top view of a result picture: the banded map with +x east to the right and north up, the route
// through the rupture point, and the axes in metres.
#include "output/pictures/picture_painters.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "common/azimuth.h"
#include "output/pictures/chart_picture.h"

namespace velaron::output {

namespace {

// Value of the grid at a fractional cell position (bilinear between the four cells around it).
double Sample(const models::Grid& g, double fx, double fy) {
  const int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
  const double tx = fx - x0, ty = fy - y0;
  const double v00 = g.at0(x0, y0), v10 = g.at0(x0 + 1, y0), v01 = g.at0(x0, y0 + 1), v11 = g.at0(x0 + 1, y0 + 1);
  return (v00 * (1 - tx) + v10 * tx) * (1 - ty) + (v01 * (1 - tx) + v11 * tx) * ty;
}

struct Frame {
  double x0, x1, y0, y1;  // metres shown
};

Frame FrameOf(const models::Grid& g, int cStep) {
  const double xm = static_cast<double>(g.nx()) * cStep, ym = static_cast<double>(g.ny()) * cStep;
  return {-xm, xm, -ym, ym};
}

// Axis ticks in metres with the plot's frame: x below, y to the left, their labels kept clear of the corner.
void DrawAxes(QPainter& p, const QRect& plot, const Frame& fr, int fontPx) {
  const QFont font = PictureFont(fontPx);
  const QFontMetrics fm(font);
  p.setFont(font);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(plot.adjusted(0, 0, -1, -1));
  const int tick = std::max(3, fontPx / 3);
  // At least both edges and the rupture point.
  const int maxX = std::max(3, plot.width() / (fm.horizontalAdvance(QStringLiteral("−00000")) + fontPx));
  const int maxY = std::max(3, plot.height() / (fm.height() * 2));
  double xStep = TickStep(fr.x0, fr.x1, std::min(maxX, 9)), yStep = TickStep(fr.y0, fr.y1, std::min(maxY, 9));
  // A square grid gets one step on both axes: the finer one when the x labels stand clear of each other
  // at it (the widest is an edge's), else the coarser.
  if (fr.x1 - fr.x0 == fr.y1 - fr.y0) {
    const double fine = std::min(xStep, yStep);
    const int labelW = std::max(fm.horizontalAdvance(MetresText(fr.x0)), fm.horizontalAdvance(MetresText(fr.x1)));
    xStep = yStep = fine / (fr.x1 - fr.x0) * plot.width() >= labelW + fontPx ? fine : std::max(xStep, yStep);
  }
  for (double v : TicksAt(fr.x0, fr.x1, xStep)) {
    const double px = plot.left() + (v - fr.x0) / (fr.x1 - fr.x0) * (plot.width() - 1);
    p.drawLine(QPointF(px, plot.bottom()), QPointF(px, plot.bottom() + tick));
    const QString t = MetresText(v);
    const int w = fm.horizontalAdvance(t) + 4;
    p.drawText(QRectF(px - w / 2.0, plot.bottom() + tick + 1, w, fm.height()), Qt::AlignCenter, t);
  }
  for (double v : TicksAt(fr.y0, fr.y1, yStep)) {
    const double py = plot.bottom() - (v - fr.y0) / (fr.y1 - fr.y0) * (plot.height() - 1);
    p.drawLine(QPointF(plot.left() - tick, py), QPointF(plot.left(), py));
    // The bottom corner belongs to the x labels: a y label there would run into the first of them.
    if (py > plot.bottom() - fm.height() * 0.7) continue;
    p.drawText(QRectF(0, py - fm.height() / 2.0, plot.left() - tick - 2, fm.height()),
               Qt::AlignRight | Qt::AlignVCenter, MetresText(v));
  }
  // Axis titles: "x, м" right under the x labels' end, "y, м" above the top y label (which reaches half a
  // line above the plot).
  p.drawText(QRect(plot.right() - fm.horizontalAdvance(AxisTitleX()) - 2, plot.bottom() + tick + fm.height() + 1,
                   fm.horizontalAdvance(AxisTitleX()) + 4, fm.height()),
             Qt::AlignRight, AxisTitleX());
  p.drawText(QRect(0, plot.top() - AxisTitleRoom(fm), plot.left() - 2, fm.height()), Qt::AlignRight | Qt::AlignBottom,
             AxisTitleY());
}

void DrawRoute(QPainter& p, const QRectF& plot, const Frame& fr, double azimuthDeg, int fontPx) {
  const double a = AzimuthWithinTurn(azimuthDeg) * std::numbers::pi / 180;
  const double dx = std::sin(a), dy = std::cos(a);  // east, north
  const double reach = std::hypot(fr.x1 - fr.x0, fr.y1 - fr.y0);
  auto toPx = [&](double x, double y) {
    return QPointF(plot.left() + (x - fr.x0) / (fr.x1 - fr.x0) * plot.width(),
                   plot.bottom() - (y - fr.y0) / (fr.y1 - fr.y0) * plot.height());
  };
  p.save();
  p.setClipRect(plot);
  p.setRenderHint(QPainter::Antialiasing, true);
  const QPen pen = RoutePen(fontPx);
  p.setPen(pen);
  p.drawLine(toPx(-dx * reach, -dy * reach), toPx(dx * reach, dy * reach));
  // The rupture point: a small ring that leaves the innermost zone visible.
  p.setPen(QPen(pen.color(), std::max(1.5, fontPx / 8.0)));
  p.setBrush(Qt::NoBrush);
  const double r = std::max(3.0, fontPx / 4.0);
  p.drawEllipse(toPx(0, 0), r, r);
  p.restore();
}

// Every pixel takes the band of the field there; a band's border is drawn as a contour line.
void DrawMap(QPainter& p, const QRect& plot, const models::Grid& g, const Frame& fr, int cStep, PictureKind kind,
             const BandScale& scale) {
  const int w = plot.width(), h = plot.height();
  std::vector<int> band(static_cast<size_t>(w) * h);
  const double mx = (fr.x1 - fr.x0) / cStep, my = (fr.y1 - fr.y0) / cStep;
  for (int py = 0; py < h; ++py) {
    const double fy = fr.y1 / cStep - (py + 0.5) / h * my;  // north up
    for (int px = 0; px < w; ++px) {
      const double fx = fr.x0 / cStep + (px + 0.5) / w * mx;
      band[static_cast<size_t>(py) * w + px] = scale.bandOf(PictureValue(kind, Sample(g, fx, fy)));
    }
  }
  QImage img(w, h, QImage::Format_RGB32);
  std::vector<QRgb> colors(static_cast<size_t>(scale.bands()) + 1);
  for (int b = -1; b < scale.bands(); ++b) colors[static_cast<size_t>(b + 1)] = BandColor(b, scale.bands()).rgb();
  // A border is drawn in a darker shade of the higher band, one pixel wide: narrow rings of small zones
  // keep their colour instead of merging into dark blots.
  std::vector<QRgb> lines(colors.size());
  for (size_t i = 0; i < colors.size(); ++i) lines[i] = QColor(colors[i]).darker(i == 0 ? 200 : 150).rgb();
  for (int py = 0; py < h; ++py) {
    auto* out = reinterpret_cast<QRgb*>(img.scanLine(py));
    for (int px = 0; px < w; ++px) {
      const int b = band[static_cast<size_t>(py) * w + px];
      int higher = b;
      if (px + 1 < w) higher = std::max(higher, band[static_cast<size_t>(py) * w + px + 1]);
      if (py + 1 < h) higher = std::max(higher, band[static_cast<size_t>(py + 1) * w + px]);
      out[px] = higher != b ? lines[static_cast<size_t>(higher + 1)] : colors[static_cast<size_t>(b + 1)];
    }
  }
  p.drawImage(plot.topLeft(), img);
}

}  // namespace

int AxisTitleRoom(const QFontMetrics& fm) { return fm.height() * 3 / 2 + 2; }

void DrawTopView(QPainter& p, const QRect& plot, const models::Grid& grid, int cStep, const BandScale& scale,
                 int fontPx, const PictureOptions& o) {
  const Frame fr = FrameOf(grid, cStep);
  DrawMap(p, plot, grid, fr, cStep, o.kind, scale);
  if (o.drawRoute) DrawRoute(p, QRectF(plot), fr, o.azimuth, fontPx);
  DrawAxes(p, plot, fr, fontPx);
}

}  // namespace velaron::output
