#include "output/pictures/result_pictures.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <array>
#include <cmath>

#include "common/numtext.h"
#include "output/pictures/chart_picture.h"

namespace velaron::output {

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

// Sequential colours from pale to dark red: the higher the band, the more dangerous, whatever the kind.
constexpr std::array<QRgb, 9> kRamp = {qRgb(255, 247, 188), qRgb(254, 227, 145), qRgb(254, 196, 79),
                                       qRgb(254, 153, 41),  qRgb(236, 112, 20),  qRgb(217, 72, 1),
                                       qRgb(180, 30, 20),   qRgb(140, 10, 40),   qRgb(90, 0, 50)};
const QColor kBackground(246, 248, 250);
const QColor kContour(60, 60, 60);
const QColor kRoute(20, 60, 160);

QColor BandColor(int band, int bands) {
  if (band < 0) return kBackground;
  if (bands <= 1) return QColor(kRamp[4]);
  // Spread the bands over the ramp; with few bands skip the palest colours so each stands out.
  const double first = bands <= 4 ? 1 : 0;
  const double t = first + (static_cast<double>(kRamp.size()) - 1 - first) * band / (bands - 1);
  const int i = std::clamp(static_cast<int>(std::floor(t)), 0, static_cast<int>(kRamp.size()) - 1);
  const int j = std::min(i + 1, static_cast<int>(kRamp.size()) - 1);
  const double f = t - i;
  const QColor a(kRamp[static_cast<size_t>(i)]), b(kRamp[static_cast<size_t>(j)]);
  return QColor::fromRgbF(static_cast<float>(a.redF() * (1 - f) + b.redF() * f),
                          static_cast<float>(a.greenF() * (1 - f) + b.greenF() * f),
                          static_cast<float>(a.blueF() * (1 - f) + b.blueF() * f));
}

QString Plain(double v) { return QString::fromStdString(FormatNumber(v)); }

QString ExpText(double v) {
  // "1,0E-06": one decimal, a signed two-digit exponent, the decimal comma.
  return QString::asprintf("%.1E", v).replace(QLatin1Char('.'), QLatin1Char(','));
}

// Value of the grid at a fractional cell position (bilinear between the four cells around it).
double Sample(const models::Grid& g, double fx, double fy) {
  const int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
  const double tx = fx - x0, ty = fy - y0;
  const double v00 = g.at0(x0, y0), v10 = g.at0(x0 + 1, y0), v01 = g.at0(x0, y0 + 1), v11 = g.at0(x0 + 1, y0 + 1);
  return (v00 * (1 - tx) + v10 * tx) * (1 - ty) + (v01 * (1 - tx) + v11 * tx) * ty;
}

double FieldMax(const models::Grid& g, PictureKind kind) {
  double m = 0;
  if (g.empty()) return m;
  for (int y = -g.ny(); y <= g.ny(); ++y)
    for (int x = -g.nx(); x <= g.nx(); ++x) m = std::max(m, PictureValue(kind, g(x, y)));
  return m;
}

QFont PixelFont(int pixels, bool bold = false) {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPixelSize(std::max(6, pixels));
  f.setBold(bold);
  return f;
}

// Legend: the title's lines, then one swatch and text per band, the top band first.
QStringList LegendTitleLines(PictureKind kind) { return LegendTitle(kind).split(QStringLiteral(", ")); }

int LegendWidth(PictureKind kind, const BandScale& scale, const QFont& font) {
  const QFontMetrics fm(font);
  int w = 0;
  for (const QString& t : LegendTexts(kind, scale)) w = std::max(w, fm.horizontalAdvance(t));
  const int swatch = fm.height() * 3 / 2;
  w += swatch + fm.height() / 2;
  QFont bold = font;
  bold.setBold(true);
  const QFontMetrics bm(bold);
  const QStringList title = LegendTitleLines(kind);
  for (int i = 0; i < title.size(); ++i)
    w = std::max(w, bm.horizontalAdvance(title[i] + (i + 1 < title.size() ? QStringLiteral(",") : QString())));
  return w + fm.height() / 2;
}

// Side legend: the north mark, the title over two lines, one row per band. Legend below the plot (for
// cells taller than wide): the title on one line with the north mark beside it, the rows in two columns.
int LegendRows(PictureKind kind, const BandScale& scale, bool below) {
  const int rows = static_cast<int>(LegendTexts(kind, scale).size());
  return below ? (rows + 1) / 2 : rows;
}

int LegendHeight(PictureKind kind, const BandScale& scale, const QFont& font, bool note, bool below) {
  const QFontMetrics fm(font);
  const int titleLines = below ? 1 : static_cast<int>(LegendTitleLines(kind).size());
  const int rows = LegendRows(kind, scale, below);
  const int head = below ? fm.height() * 2 : fm.height() * 4;  // the north mark's room
  return head + fm.height() * titleLines + rows * (fm.height() + fm.height() / 3) +
         (note ? fm.height() * (below ? 3 : 6) : 0);
}

int LegendBelowWidth(PictureKind kind, const BandScale& scale, const QFont& font) {
  QFont bold = font;
  bold.setBold(true);
  const int title = QFontMetrics(bold).horizontalAdvance(LegendTitle(kind)) + QFontMetrics(font).height() * 3;
  return std::max(title, 2 * LegendWidth(kind, scale, font));
}

struct Frame {
  double x0, x1, y0, y1;  // metres shown
};

Frame FrameOf(const models::Grid& g, int cStep) {
  const double xm = static_cast<double>(g.nx()) * cStep, ym = static_cast<double>(g.ny()) * cStep;
  return {-xm, xm, -ym, ym};
}

void DrawNorth(QPainter& p, const QRect& area, int fontPx) {
  // An arrow pointing up, "С" above it: +y of every picture is north.
  const int cx = area.left() + fontPx;
  const int top = area.top();
  p.setPen(QPen(Qt::black, std::max(1, fontPx / 10)));
  p.setBrush(Qt::black);
  QPolygonF head;
  head << QPointF(cx, top + fontPx * 1.2) << QPointF(cx - fontPx * 0.45, top + fontPx * 2.1)
       << QPointF(cx + fontPx * 0.45, top + fontPx * 2.1);
  p.drawPolygon(head);
  p.drawLine(QPointF(cx, top + fontPx * 2.1), QPointF(cx, top + fontPx * 3.0));
  p.setFont(PixelFont(fontPx, true));
  p.drawText(QRect(cx - fontPx, top, 2 * fontPx, fontPx + 2), Qt::AlignCenter, U("С"));
  p.setBrush(Qt::NoBrush);
}

void DrawLegend(QPainter& p, const QRect& area, PictureKind kind, const BandScale& scale, int fontPx,
                const QString& note, bool north, bool below) {
  const QFont font = PixelFont(fontPx);
  const QFontMetrics fm(font);
  p.setBrush(Qt::NoBrush);
  int y = area.top();
  p.setPen(Qt::black);
  p.setFont(PixelFont(fontPx, true));
  if (below) {
    p.drawText(QPoint(area.left(), y + fm.height() + fm.ascent()), LegendTitle(kind));
    if (north) {
      QFont bold = font;
      bold.setBold(true);
      const int x = area.left() + QFontMetrics(bold).horizontalAdvance(LegendTitle(kind)) + fm.height();
      DrawNorth(p, QRect(x, y, fm.height() * 2, fm.height() * 3), fontPx);
    }
    y += fm.height() * 3;
  } else {
    if (north) DrawNorth(p, area, fontPx);
    y += fm.height() * 4;
    const QStringList title = LegendTitleLines(kind);
    for (int i = 0; i < title.size(); ++i) {
      p.drawText(QPoint(area.left(), y + fm.ascent()),
                 title[i] + (i + 1 < title.size() ? QStringLiteral(",") : QString()));
      y += fm.height();
    }
  }
  y += fm.height() / 3;
  p.setFont(font);
  const std::vector<QString> texts = LegendTexts(kind, scale);
  const int swatch = fm.height() * 3 / 2;
  const int bands = scale.bands();
  const int perColumn = LegendRows(kind, scale, below);
  const int columnWidth = below ? area.width() / 2 : area.width();
  const int rowHeight = fm.height() + fm.height() / 3;
  for (size_t row = 0; row < texts.size(); ++row) {
    const int band = bands - 1 - static_cast<int>(row);  // the background row last: band −1
    const int column = static_cast<int>(row) / perColumn;
    const int x = area.left() + column * columnWidth;
    const int ry = y + (static_cast<int>(row) % perColumn) * rowHeight;
    const QRect box(x, ry, swatch, fm.height());
    p.fillRect(box, BandColor(band, bands));
    p.setPen(QPen(kContour, 1));
    p.drawRect(box.adjusted(0, 0, -1, -1));
    p.setPen(Qt::black);
    p.drawText(QRect(box.right() + fm.height() / 2, ry, columnWidth - swatch - fm.height() / 2, fm.height()),
               Qt::AlignVCenter | Qt::AlignLeft, texts[row]);
  }
  y += perColumn * rowHeight;
  if (!note.isEmpty()) {
    y += fm.height() / 2;
    p.drawText(QRect(area.left(), y, area.width(), area.bottom() - y), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               note);
  }
}

// Axis ticks in metres with the plot's frame: x below, y to the left, their labels kept clear of the corner.
void DrawAxes(QPainter& p, const QRect& plot, const Frame& fr, int fontPx) {
  const QFont font = PixelFont(fontPx);
  const QFontMetrics fm(font);
  p.setFont(font);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(plot.adjusted(0, 0, -1, -1));
  const int tick = std::max(3, fontPx / 3);
  const int maxX = std::max(2, plot.width() / (fm.horizontalAdvance(QStringLiteral("−00000")) + fontPx));
  for (double v : Ticks(fr.x0, fr.x1, std::min(maxX, 9))) {
    const double px = plot.left() + (v - fr.x0) / (fr.x1 - fr.x0) * (plot.width() - 1);
    p.drawLine(QPointF(px, plot.bottom()), QPointF(px, plot.bottom() + tick));
    const QString t = Plain(v);
    const int w = fm.horizontalAdvance(t) + 4;
    p.drawText(QRectF(px - w / 2.0, plot.bottom() + tick + 1, w, fm.height()), Qt::AlignCenter, t);
  }
  const int maxY = std::max(2, plot.height() / (fm.height() * 2));
  for (double v : Ticks(fr.y0, fr.y1, std::min(maxY, 9))) {
    const double py = plot.bottom() - (v - fr.y0) / (fr.y1 - fr.y0) * (plot.height() - 1);
    p.drawLine(QPointF(plot.left() - tick, py), QPointF(plot.left(), py));
    // The bottom corner belongs to the x labels: a y label there would run into the first of them.
    if (py > plot.bottom() - fm.height() * 0.7) continue;
    p.drawText(QRectF(0, py - fm.height() / 2.0, plot.left() - tick - 2, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
               Plain(v));
  }
  // Axis titles: "x, м" right under the x labels' end, "y, м" above the y labels.
  p.drawText(QRect(plot.right() - fm.horizontalAdvance(U("x, м")) - 2, plot.bottom() + tick + fm.height() + 1,
                   fm.horizontalAdvance(U("x, м")) + 4, fm.height()),
             Qt::AlignRight, U("x, м"));
  p.drawText(QRect(0, plot.top() - fm.height() - 2, plot.left() - 2, fm.height()), Qt::AlignRight | Qt::AlignBottom,
             U("y, м"));
}

void DrawRoute(QPainter& p, const QRectF& plot, const Frame& fr, double azimuthDeg, int fontPx) {
  const double a = azimuthDeg * M_PI / 180;
  const double dx = std::sin(a), dy = std::cos(a);  // east, north
  const double reach = std::hypot(fr.x1 - fr.x0, fr.y1 - fr.y0);
  auto toPx = [&](double x, double y) {
    return QPointF(plot.left() + (x - fr.x0) / (fr.x1 - fr.x0) * plot.width(),
                   plot.bottom() - (y - fr.y0) / (fr.y1 - fr.y0) * plot.height());
  };
  p.save();
  p.setClipRect(plot);
  p.setRenderHint(QPainter::Antialiasing, true);
  QPen pen(kRoute, std::max(2.0, fontPx / 6.0), Qt::DashLine);
  p.setPen(pen);
  p.drawLine(toPx(-dx * reach, -dy * reach), toPx(dx * reach, dy * reach));
  // The rupture point: a small ring that leaves the innermost zone visible.
  p.setPen(QPen(kRoute, std::max(1.5, fontPx / 8.0)));
  p.setBrush(Qt::NoBrush);
  const double r = std::max(3.0, fontPx / 4.0);
  p.drawEllipse(toPx(0, 0), r, r);
  p.restore();
}

// Top view: every pixel takes the band of the field there; a band's border is drawn as a contour line.
void DrawTopView(QPainter& p, const QRect& plot, const models::Grid& g, const Frame& fr, int cStep, PictureKind kind,
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

// Height of a value on the mesh, in band units: each band of the scale is one unit high (values below the
// first edge take one more unit from 0), so the field's shape shows in every band however unequal the
// levels (3 … 300 kPa, 1 … 99,99 %); with equal bands this is the value itself, rescaled. Values above the
// top edge are cut there.
double MeshHeight(const BandScale& s, double v) {
  const auto& e = s.edges;
  const double base = e.front() > 0 ? 1 : 0;
  if (!(v > 0)) return 0;
  if (v < e.front()) return base * v / e.front();
  for (size_t i = 0; i + 1 < e.size(); ++i)
    if (v < e[i + 1]) return base + static_cast<double>(i) + (v - e[i]) / (e[i + 1] - e[i]);
  return base + static_cast<double>(e.size() - 1);
}

bool EqualBands(const BandScale& s) {
  if (s.edges.front() != 0) return false;
  for (size_t i = 1; i + 1 < s.edges.size(); ++i)
    if (std::abs((s.edges[i + 1] - s.edges[i]) - (s.edges[1] - s.edges[0])) > 1e-9 * s.edges.back()) return false;
  return true;
}

// Oblique banded mesh over a floor with two back walls, as a spreadsheet's surface chart draws it.
void DrawMesh(QPainter& p, const QRect& plot, const models::Grid& g, int cStep, PictureKind kind,
              const BandScale& scale, int fontPx, const PictureOptions& o) {
  const int nx = g.nx(), ny = g.ny();
  const int cells = std::max(2 * nx, 2 * ny);
  const int stride = std::max(1, (cells + 59) / 60);  // at most about 60 quads a side
  const double top = std::max(1e-9, MeshHeight(scale, scale.edges.back()));
  // The floor is a parallelogram: x to the right, y (north) into the picture, up and to the right.
  const double floorW = plot.width() * 0.62, depthX = plot.width() * 0.38;
  const double depthY = std::min(plot.height() * 0.30, depthX * 0.6);
  const double sz = std::min(plot.height() * 0.58, plot.width() * 0.6);
  const QPointF origin(plot.left(), plot.bottom() - (plot.height() - depthY - sz) / 2);
  auto project = [&](double fx, double fy, double h) {  // fx, fy 0..1 across the grid, h in band units
    return QPointF(origin.x() + fx * floorW + fy * depthX, origin.y() - fy * depthY - std::min(h, top) / top * sz);
  };
  auto gx = [&](int x) { return (x + nx) / static_cast<double>(std::max(1, 2 * nx)); };
  auto gy = [&](int y) { return (y + ny) / static_cast<double>(std::max(1, 2 * ny)); };
  const QFont font = PixelFont(fontPx);
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
  if (EqualBands(scale)) {
    levels = Ticks(0, scale.edges.back(), 6);
  } else {
    if (scale.edges.front() > 0) levels.push_back(0);
    levels.insert(levels.end(), scale.edges.begin(), scale.edges.end());
  }
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
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QPen(QColor(60, 60, 60, stride > 1 ? 50 : 80), 0));
  // The route on the floor through the rupture point (the raised surface hides it where it stands).
  if (o.drawRoute) {
    const double a = o.azimuth * M_PI / 180;
    const double dx = std::sin(a) / std::max(1, 2 * nx), dy = std::cos(a) / std::max(1, 2 * ny);  // per cell
    double reach = 1e9;  // cells from the centre to the floor's edge along the route
    if (std::abs(dx) > 1e-12) reach = std::min(reach, 0.5 / std::abs(dx));
    if (std::abs(dy) > 1e-12) reach = std::min(reach, 0.5 / std::abs(dy));
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kRoute, std::max(2.0, fontPx / 6.0), Qt::DashLine));
    p.drawLine(project(0.5 - dx * reach, 0.5 - dy * reach, 0), project(0.5 + dx * reach, 0.5 + dy * reach, 0));
    p.restore();
  }
  // Far rows first, so nearer quads cover them.
  for (int y = ny - stride; y >= -ny; y -= stride) {
    for (int x = -nx; x + stride <= nx; x += stride) {
      const double v00 = PictureValue(kind, g(x, y)), v10 = PictureValue(kind, g(x + stride, y));
      const double v01 = PictureValue(kind, g(x, y + stride)), v11 = PictureValue(kind, g(x + stride, y + stride));
      QPolygonF quad;
      quad << project(gx(x), gy(y), MeshHeight(scale, v00)) << project(gx(x + stride), gy(y), MeshHeight(scale, v10))
           << project(gx(x + stride), gy(y + stride), MeshHeight(scale, v11))
           << project(gx(x), gy(y + stride), MeshHeight(scale, v01));
      p.setBrush(BandColor(scale.bandOf(std::max({v00, v10, v01, v11})), scale.bands()));
      p.drawPolygon(quad);
    }
  }
  p.setBrush(Qt::NoBrush);
  // Distances along the near edges: x (east) and y (north), in metres.
  p.setPen(Qt::black);
  const double xm = static_cast<double>(nx) * cStep, ym = static_cast<double>(ny) * cStep;
  const QPointF xl = project(0, 0, 0), xr = project(1, 0, 0), yf = project(1, 1, 0);
  p.drawText(QRectF(xl.x(), xl.y() + 2, 80, fm.height()), Qt::AlignLeft, Plain(-xm));
  p.drawText(QRectF(xr.x() - 80, xr.y() + 2, 80, fm.height()), Qt::AlignRight, Plain(xm));
  p.drawText(QRectF((xl.x() + xr.x()) / 2 - 40, xl.y() + 2, 80, fm.height()), Qt::AlignCenter, U("x, м"));
  p.drawText(QRectF(xr.x() + 6, xr.y() - fm.height(), 80, fm.height()), Qt::AlignLeft | Qt::AlignVCenter, Plain(-ym));
  p.drawText(QRectF(yf.x() + 6, yf.y() - fm.height() / 2.0, 80, fm.height()), Qt::AlignLeft | Qt::AlignVCenter,
             Plain(ym));
  p.drawText(QRectF(yf.x() + 6, yf.y() - fm.height() * 1.6, 80, fm.height()), Qt::AlignLeft | Qt::AlignVCenter,
             U("y, м"));
  // North: an arrow beside the floor's right edge, along +y.
  const QPointF shift(fontPx * 1.2, 0);
  const QPointF from = project(1, 0.45, 0) + shift, to = project(1, 0.75, 0) + shift;
  const QPointF along = (to - from) / std::max(1.0, std::hypot(to.x() - from.x(), to.y() - from.y()));
  const QPointF across(-along.y(), along.x());
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(Qt::black, std::max(1, fontPx / 10)));
  p.drawLine(from, to);
  p.setBrush(Qt::black);
  p.drawPolygon(QPolygonF() << to << to - along * fontPx * 0.8 + across * fontPx * 0.35
                            << to - along * fontPx * 0.8 - across * fontPx * 0.35);
  p.setBrush(Qt::NoBrush);
  p.setFont(PixelFont(fontPx, true));
  p.drawText(QRectF(to.x() - fontPx * 0.2, to.y() - fm.height() * 1.1, 2 * fontPx, fm.height()), Qt::AlignLeft,
             U("С"));
  p.setFont(font);
}

}  // namespace

int BandScale::bandOf(double v) const {
  if (bands() < 1 || !(v >= edges.front())) return -1;
  const auto it = std::upper_bound(edges.begin(), edges.end(), v);
  const int b = static_cast<int>(it - edges.begin()) - 1;
  return std::min(b, bands() - 1);
}

double PictureValue(PictureKind kind, double v) { return kind == PictureKind::Overpressure ? v / 1000 : v; }

BandScale PictureBands(PictureKind kind, double maxValue) {
  BandScale s;
  const double m = std::isfinite(maxValue) && maxValue > 0 ? maxValue : 0;
  switch (kind) {
    case PictureKind::Probability:
      s.edges = {1, 33, 50, 99.99};
      s.openTop = true;
      break;
    case PictureKind::Overpressure: {
      static constexpr double kLevels[] = {3, 10, 20, 30, 50, 70, 100, 300};
      for (double level : kLevels) {
        s.edges.push_back(level);
        if (level >= m) break;
      }
      if (s.edges.back() == 300 && m > 300) s.openTop = true;
      if (s.edges.size() < 2) s.edges.push_back(10);  // a field below 3 kPa still has its first band
      break;
    }
    case PictureKind::HeatFlux: {
      // Round levels of the 1-2-5 series, the top one the first at or above the maximum, down to
      // 1 kW/m² (what a person bears for long) once there are five bands, and never more than eight.
      // Like the other kinds the levels grow geometrically, so the zones near the flame and the wide
      // weak zones both show.
      const double top = m > 0 ? m : 1;
      double mag = std::pow(10.0, std::floor(std::log10(top)));
      double level = 10 * mag;
      for (double f : {1.0, 2.0, 5.0, 10.0})
        if (f * mag >= top * (1 - 1e-12)) {
          level = f * mag;
          break;
        }
      std::vector<double> down{level};
      auto lower = [](double v) {  // the next smaller value of the series
        const double e = std::pow(10.0, std::floor(std::log10(v) + 1e-9));
        const double f = v / e;
        return f > 4.5 ? 2 * e : f > 1.5 ? e : 0.5 * e;
      };
      while (down.size() < 9 && !(down.size() >= 6 && down.back() <= 1 + 1e-12)) down.push_back(lower(down.back()));
      s.edges.assign(down.rbegin(), down.rend());
      break;
    }
    case PictureKind::Risk: {
      const int top = m > 0 ? static_cast<int>(std::ceil(std::log10(m) - 1e-9)) : -6;
      for (int e = top - 6; e <= top; ++e) s.edges.push_back(std::pow(10.0, e));
      break;
    }
  }
  return s;
}

QString LegendTitle(PictureKind kind) {
  switch (kind) {
    case PictureKind::HeatFlux: return U("Тепловой поток, кВт/м²");
    case PictureKind::Overpressure: return U("Избыточное давление, кПа");
    case PictureKind::Probability: return U("Вероятность поражения, %");
    case PictureKind::Risk: return U("Индивидуальный риск, 1/год");
  }
  return {};
}

QString LevelText(PictureKind kind, double level) {
  return kind == PictureKind::Risk ? ExpText(level) : Plain(level);
}

std::vector<QString> LegendTexts(PictureKind kind, const BandScale& s) {
  std::vector<QString> t;
  const int n = s.bands();
  const QString dash = U(" – ");
  for (int b = n - 1; b >= 0; --b) {
    const auto lo = static_cast<size_t>(b);
    if (lo + 1 >= s.edges.size())
      t.push_back(U("≥ ") + LevelText(kind, s.edges[lo]));
    else
      t.push_back(LevelText(kind, s.edges[lo]) + dash + LevelText(kind, s.edges[lo + 1]));
  }
  if (!s.edges.empty() && s.edges.front() > 0) t.push_back(U("< ") + LevelText(kind, s.edges.front()));
  return t;
}

namespace {
BandScale ScaleFor(const models::Grid& grid, PictureKind kind) { return PictureBands(kind, FieldMax(grid, kind)); }
}  // namespace

PictureLayout LayoutPicture(const models::Grid& grid, int cStep, const PictureOptions& o) {
  PictureLayout l;
  const int w = std::max(o.width, 120), h = std::max(o.height, 90);
  const PictureKind kind = o.kind;
  const bool mesh = o.view3D && kind != PictureKind::Risk;
  const BandScale scale = ScaleFor(grid, kind);
  // A cell taller than wide takes the legend below the plot, else beside it.
  l.legendBelow = h > w;
  // About the window's own text size on screen, growing with print-size pictures; it shrinks until the
  // legend fits beside (or under) a usable plot.
  const int titleRoom = o.title.isEmpty() ? 0 : QFontMetrics(PixelFont(std::clamp(w / 48, 11, 40) + 2, true)).height() + 6;
  int fontPx = std::clamp(std::min(w, h * 4 / 3) / 48, 11, 40);
  for (; fontPx > 6; --fontPx) {
    const QFont f = PixelFont(fontPx);
    const int lh = LegendHeight(kind, scale, f, mesh, l.legendBelow);
    if (l.legendBelow ? LegendBelowWidth(kind, scale, f) <= w - fontPx && lh <= (h - titleRoom) * 0.45
                      : LegendWidth(kind, scale, f) <= w * 0.36 && lh <= h - 6 - titleRoom)
      break;
  }
  l.fontPixels = fontPx;
  const QFont font = PixelFont(fontPx);
  const QFontMetrics fm(font);
  int top = 4;
  if (!o.title.isEmpty()) {
    l.title = QRect(0, 2, w, QFontMetrics(PixelFont(fontPx + 2, true)).height() + 2);
    top = l.title.bottom() + 4;
  }
  const int legendH = std::min(LegendHeight(kind, scale, font, mesh, l.legendBelow), h - top - 2);
  int right = w, bottomEdge = h;
  if (l.legendBelow) {
    const int legendW = std::min(LegendBelowWidth(kind, scale, font), w - fontPx);
    l.legend = QRect((w - legendW) / 2, h - legendH - 2, legendW, legendH);
    bottomEdge = l.legend.top() - fontPx / 2;
  } else {
    const int legendW = LegendWidth(kind, scale, font);
    l.legend = QRect(w - legendW - fontPx / 2, top, legendW, legendH);
    right = l.legend.left() - fontPx;
  }
  QRect plot;
  if (mesh) {
    const int labels = fm.horizontalAdvance(QStringLiteral("99,99")) + fontPx;
    plot = QRect(labels, top + fm.height(), right - labels - fm.horizontalAdvance(QStringLiteral("-5000")) - 8,
                 bottomEdge - top - fm.height() * 3);
  } else {
    // Room for the y labels on the left, the x labels and the axis title below; the cells stay square.
    const int left = fm.horizontalAdvance(QStringLiteral("−00000")) + fontPx / 2 + 4;
    const int below = fm.height() * 2 + fontPx / 2 + 4;
    plot = QRect(left, top + fm.height() + 2, right - left, bottomEdge - top - fm.height() - 2 - below);
    const double aspect = static_cast<double>(std::max(grid.ny(), 1)) / std::max(grid.nx(), 1);
    const int side = std::max(10, std::min(plot.width(), static_cast<int>(plot.height() / aspect)));
    const int height = std::max(10, static_cast<int>(side * aspect));
    const int x = l.legendBelow ? plot.left() + (plot.width() - side) / 2 : plot.left();
    plot = QRect(x, plot.top() + (plot.height() - height) / 2, side, height);
  }
  l.plot = plot;
  (void)cStep;
  return l;
}

QImage RenderResultPicture(const models::Grid& grid, int cStep, const PictureOptions& o) {
  // A grid the run did not fill gives no picture (a document then leaves the caption alone).
  if (grid.empty()) return {};
  const int w = std::max(o.width, 120), h = std::max(o.height, 90);
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::white);
  const PictureKind kind = o.kind;
  const bool mesh = o.view3D && kind != PictureKind::Risk;
  const PictureLayout l = LayoutPicture(grid, cStep, o);
  const BandScale scale = ScaleFor(grid, kind);
  const int step = cStep > 0 ? cStep : 1;
  QPainter p(&image);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  if (!o.title.isEmpty()) {
    p.setFont(PixelFont(l.fontPixels + 2, true));
    p.setPen(Qt::black);
    p.drawText(l.title, Qt::AlignCenter, o.title);
  }
  QString note;
  if (mesh) {
    DrawMesh(p, l.plot, grid, step, kind, scale, l.fontPixels, o);
    if (!EqualBands(scale)) note = U("Высота: уровни шкалы через равные промежутки.");
    if (FieldMax(grid, kind) > scale.edges.back())
      note += U(" Поверхность срезана на уровне ") + LevelText(kind, scale.edges.back()) + QStringLiteral(".");
  } else {
    const Frame fr = FrameOf(grid, step);
    DrawTopView(p, l.plot, grid, fr, step, kind, scale);
    if (o.drawRoute) DrawRoute(p, QRectF(l.plot), fr, o.azimuth, l.fontPixels);
    DrawAxes(p, l.plot, fr, l.fontPixels);
  }
  DrawLegend(p, l.legend, kind, scale, l.fontPixels, note, !mesh, l.legendBelow);
  p.end();
  return image;
}

QImage RenderGridPicture(const models::Grid& grid, int nx, int ny, int cStep, const PictureOptions& options) {
  if (grid.nx() == nx && grid.ny() == ny) return RenderResultPicture(grid, cStep, options);
  models::Grid g(nx, ny);
  for (int y = -ny; y <= ny; ++y)
    for (int x = -nx; x <= nx; ++x) g(x, y) = grid.at0(x, y);
  return RenderResultPicture(g, cStep, options);
}

}  // namespace velaron::output
