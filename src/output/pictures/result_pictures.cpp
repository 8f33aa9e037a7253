#include "output/pictures/result_pictures.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "common/numtext.h"

namespace velaron::output {

namespace {

// Band colours from low (cool) to high (hot).
const QColor kPalette[] = {QColor(49, 54, 149),   QColor(69, 117, 180), QColor(116, 173, 209),
                           QColor(171, 217, 233), QColor(224, 243, 248), QColor(254, 224, 144),
                           QColor(253, 174, 97),  QColor(244, 109, 67),  QColor(215, 48, 39),
                           QColor(165, 0, 38)};
constexpr int kPaletteSize = sizeof kPalette / sizeof kPalette[0];
// The windows show the pictures at about three quarters of their size: smaller text would be unreadable.
constexpr int kLegendPoints = 9;

QColor BandColor(int band, int bands) {
  if (bands <= 1) return kPalette[0];
  const int i = static_cast<int>(std::lround(static_cast<double>(band) * (kPaletteSize - 1) / (bands - 1)));
  return kPalette[std::clamp(i, 0, kPaletteSize - 1)];
}

double NiceStep(double raw) {
  if (!(raw > 0) || !std::isfinite(raw)) return 1;
  const double mag = std::pow(10.0, std::floor(std::log10(raw)));
  const double f = raw / mag;
  const double nice = f <= 1 ? 1 : f <= 2 ? 2 : f <= 5 ? 5 : 10;
  return nice * mag;
}

QString Label(double v) { return QString::fromStdString(FormatNumber(v)); }

// Value of the grid at a fractional cell position (bilinear between the four cells around it).
double Sample(const models::Grid& g, double fx, double fy, double scale) {
  const int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
  const double tx = fx - x0, ty = fy - y0;
  const double v00 = g.at0(x0, y0), v10 = g.at0(x0 + 1, y0), v01 = g.at0(x0, y0 + 1), v11 = g.at0(x0 + 1, y0 + 1);
  return ((v00 * (1 - tx) + v10 * tx) * (1 - ty) + (v01 * (1 - tx) + v11 * tx) * ty) / scale;
}

int BandOf(double v, const std::vector<double>& edges) {
  const int bands = static_cast<int>(edges.size()) - 1;
  if (bands <= 0) return 0;
  const double step = edges[1] - edges[0];
  int b = static_cast<int>(std::floor(v / step));
  return std::clamp(b, 0, bands - 1);
}

void DrawLegend(QPainter& p, const QRect& area, const std::vector<double>& edges) {
  const int bands = static_cast<int>(edges.size()) - 1;
  if (bands <= 0) return;
  const int h = std::min(22, area.height() / bands);
  QFont f = p.font();
  f.setPointSize(kLegendPoints);
  p.setFont(f);
  for (int b = bands - 1, row = 0; b >= 0; --b, ++row) {
    const QRect box(area.left(), area.top() + row * h, 14, h - 2);
    p.fillRect(box, BandColor(b, bands));
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(box);
    p.drawText(QRect(box.right() + 4, box.top(), area.width() - 20, h), Qt::AlignVCenter | Qt::AlignLeft,
               Label(edges[static_cast<size_t>(b)]) + QStringLiteral("–") + Label(edges[static_cast<size_t>(b) + 1]));
  }
}

double GridMax(const models::Grid& g, int nx, int ny, double scale) {
  double m = 0;
  for (int y = -ny; y <= ny; ++y)
    for (int x = -nx; x <= nx; ++x) m = std::max(m, g.at0(x, y) / scale);
  return m;
}

void DrawTopView(QPainter& p, const QRect& plot, const models::Grid& g, int nx, int ny, int cStep,
                 const std::vector<double>& edges, double scale) {
  const int w = plot.width(), h = plot.height();
  const int bands = static_cast<int>(edges.size()) - 1;
  std::vector<int> band(static_cast<size_t>(w) * h);
  for (int py = 0; py < h; ++py) {
    const double fy = ny - (py + 0.5) / h * 2 * ny;  // north up
    for (int px = 0; px < w; ++px) {
      const double fx = -nx + (px + 0.5) / w * 2 * nx;
      band[static_cast<size_t>(py) * w + px] = BandOf(Sample(g, fx, fy, scale), edges);
    }
  }
  QImage img(w, h, QImage::Format_RGB32);
  std::vector<QRgb> colors(static_cast<size_t>(std::max(bands, 1)));
  for (int b = 0; b < std::max(bands, 1); ++b) colors[static_cast<size_t>(b)] = BandColor(b, bands).rgb();
  const QRgb line = qRgb(40, 40, 40);
  for (int py = 0; py < h; ++py) {
    auto* out = reinterpret_cast<QRgb*>(img.scanLine(py));
    for (int px = 0; px < w; ++px) {
      const int b = band[static_cast<size_t>(py) * w + px];
      const bool edge = (px + 1 < w && band[static_cast<size_t>(py) * w + px + 1] != b) ||
                        (py + 1 < h && band[static_cast<size_t>(py + 1) * w + px] != b);
      out[px] = edge ? line : colors[static_cast<size_t>(b)];
    }
  }
  p.drawImage(plot.topLeft(), img);
  p.setPen(Qt::black);
  p.drawRect(plot.adjusted(0, 0, -1, -1));
  QFont f = p.font();
  f.setPointSize(kLegendPoints);
  p.setFont(f);
  const double xm = static_cast<double>(nx) * cStep, ym = static_cast<double>(ny) * cStep;
  p.drawText(QRect(plot.left() - 30, plot.bottom() + 2, 60, 14), Qt::AlignCenter, Label(-xm));
  p.drawText(QRect(plot.center().x() - 30, plot.bottom() + 2, 60, 14), Qt::AlignCenter, QStringLiteral("0"));
  p.drawText(QRect(plot.right() - 30, plot.bottom() + 2, 60, 14), Qt::AlignCenter, Label(xm) + QStringLiteral(" м"));
  p.drawText(QRect(plot.left() - 44, plot.top() - 7, 40, 14), Qt::AlignRight | Qt::AlignVCenter, Label(ym));
  p.drawText(QRect(plot.left() - 44, plot.center().y() - 7, 40, 14), Qt::AlignRight | Qt::AlignVCenter,
             QStringLiteral("0"));
  p.drawText(QRect(plot.left() - 44, plot.bottom() - 7, 40, 14), Qt::AlignRight | Qt::AlignVCenter, Label(-ym));
  p.drawText(QRect(plot.center().x() - 10, plot.top() - 16, 20, 14), Qt::AlignCenter, QStringLiteral("С"));
}

void DrawMesh(QPainter& p, const QRect& plot, const models::Grid& g, int nx, int ny, const std::vector<double>& edges,
              double scale) {
  const int bands = static_cast<int>(edges.size()) - 1;
  const double top = edges.back() > 0 ? edges.back() : 1;
  // At most about 60 quads a side: coarser grids are sampled.
  const int cells = std::max(2 * nx, 2 * ny);
  const int stride = std::max(1, (cells + 59) / 60);
  // Oblique view: x to the right and up a little, y into the picture, z up.
  const double sx = plot.width() * 0.62 / std::max(1, 2 * nx);
  const double sy = plot.width() * 0.30 / std::max(1, 2 * ny);
  const double sz = plot.height() * 0.45;
  const double ox = plot.left() + plot.width() * 0.08, oy = plot.bottom() - plot.height() * 0.08;
  auto project = [&](int x, int y, double z) {
    const double u = (x + nx) * sx + (y + ny) * sy;
    const double v = -(y + ny) * sy * 0.9 - (x + nx) * sx * 0.12 - z / top * sz;
    return QPointF(ox + u, oy + v);
  };
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QPen(QColor(60, 60, 60), 0));
  // Far rows first, so nearer quads cover them.
  for (int y = ny - stride; y >= -ny; y -= stride) {
    for (int x = -nx; x + stride <= nx; x += stride) {
      const double z00 = g.at0(x, y) / scale, z10 = g.at0(x + stride, y) / scale;
      const double z01 = g.at0(x, y + stride) / scale, z11 = g.at0(x + stride, y + stride) / scale;
      QPolygonF quad;
      quad << project(x, y, z00) << project(x + stride, y, z10) << project(x + stride, y + stride, z11)
           << project(x, y + stride, z01);
      p.setBrush(BandColor(BandOf((z00 + z10 + z01 + z11) / 4, edges), bands));
      p.drawPolygon(quad);
    }
  }
}

}  // namespace

std::vector<double> BandEdges(double maxValue, double bandFactor) {
  std::vector<double> edges{0};
  if (!(maxValue > 0) || !std::isfinite(maxValue)) {
    edges.push_back(1);
    return edges;
  }
  const double step = NiceStep(maxValue / 8) * bandFactor;
  for (int i = 1; i <= 200; ++i) {
    edges.push_back(step * i);
    if (step * i >= maxValue) break;
  }
  return edges;
}

QImage RenderGridPicture(const models::Grid& grid, int nx, int ny, int cStep, const PictureOptions& o) {
  QImage image(o.width, o.height, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  QFont f = p.font();
  f.setPointSize(9);
  f.setBold(true);
  p.setFont(f);
  p.setPen(Qt::black);
  p.drawText(QRect(0, 2, o.width, 18), Qt::AlignCenter, o.title);
  f.setBold(false);
  p.setFont(f);
  const double scale = o.scale > 0 ? o.scale : 1;
  const std::vector<double> edges = BandEdges(GridMax(grid, nx, ny, scale), o.bandFactor);
  const int legendWidth = 120;
  QRect plot(50, 38, o.width - 50 - legendWidth - 16, o.height - 38 - 24);
  if (!o.view3D) {
    // Keep the cells square.
    const double aspect = static_cast<double>(std::max(ny, 1)) / std::max(nx, 1);
    const int side = std::min(plot.width(), static_cast<int>(plot.height() / aspect));
    plot.setSize(QSize(side, std::max(1, static_cast<int>(side * aspect))));
    DrawTopView(p, plot, grid, nx, ny, cStep, edges, scale);
  } else {
    DrawMesh(p, plot, grid, nx, ny, edges, scale);
  }
  DrawLegend(p, QRect(o.width - legendWidth - 8, 38, legendWidth, o.height - 60), edges);
  p.end();
  return image;
}

}  // namespace velaron::output
