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
// Heat-flux levels at most: seven bands and the background below them.
constexpr size_t kMostFluxLevels = 8;
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

// The north mark: the letter above an arrow, in a box of three by three and a fifth font heights.
QSize NorthSize(int fontPx) { return QSize(3 * fontPx, fontPx * 16 / 5); }

// The legend: its title, then one swatch and text per band (the top band first, the background last),
// then the note of the mesh. Beside the plot the title wraps between words to the width of the rows (or
// of its longest word); under the plot (cells taller than wide) the title takes one line beside the north
// mark and the rows go in two columns.
struct LegendBox {
  QStringList title;
  int width = 0, height = 0;
  int rowsPerColumn = 0;
};

LegendBox MeasureLegend(PictureKind kind, const BandScale& scale, int fontPx, const QString& note, bool below,
                        int widest) {
  const QFontMetrics fm(PictureFont(fontPx)), bm(PictureFont(fontPx, true));
  const int h = fm.height();
  LegendBox box;
  int rowWidth = 0;
  const std::vector<QString> rows = LegendTexts(kind, scale);
  for (const QString& t : rows) rowWidth = std::max(rowWidth, fm.horizontalAdvance(t));
  rowWidth += h * 3 / 2 + h / 2 + h / 2;  // swatch, gap, room on the right
  const int count = static_cast<int>(rows.size());
  box.rowsPerColumn = below ? (count + 1) / 2 : count;
  if (below) {
    box.title = QStringList{LegendTitle(kind)};
    box.width = std::max(bm.horizontalAdvance(LegendTitle(kind)) + h + NorthSize(fontPx).width(), 2 * rowWidth);
  } else {
    // The quantity on one line and its unit on the next where that fits the room; else the words wrapped
    // to the rows' width.
    const QString title = LegendTitle(kind);
    const int comma = static_cast<int>(title.lastIndexOf(QStringLiteral(", ")));
    const QStringList twoLines = {title.left(comma + 1), title.mid(comma + 2)};
    const int twoLinesWidth = std::max(bm.horizontalAdvance(twoLines[0]), bm.horizontalAdvance(twoLines[1]));
    box.width = rowWidth;
    for (const QString& word : note.split(QLatin1Char(' '))) box.width = std::max(box.width, fm.horizontalAdvance(word));
    if (comma > 0 && std::max(box.width, twoLinesWidth) <= widest) {
      box.title = twoLines;
      box.width = std::max(box.width, twoLinesWidth);
    } else {
      const QStringList words = title.split(QLatin1Char(' '));
      for (const QString& word : words) box.width = std::max(box.width, bm.horizontalAdvance(word));
      for (const QString& word : words) {
        if (!box.title.isEmpty() && bm.horizontalAdvance(box.title.back() + QLatin1Char(' ') + word) <= box.width)
          box.title.back() += QLatin1Char(' ') + word;
        else
          box.title << word;
      }
    }
  }
  const int head = below ? NorthSize(fontPx).height() : h * static_cast<int>(box.title.size());
  box.height = head + h / 3 + box.rowsPerColumn * (h + h / 3);
  if (!note.isEmpty())
    box.height += h / 2 + fm.boundingRect(QRect(0, 0, box.width, 100000), Qt::TextWordWrap, note).height();
  return box;
}

struct Frame {
  double x0, x1, y0, y1;  // metres shown
};

Frame FrameOf(const models::Grid& g, int cStep) {
  const double xm = static_cast<double>(g.nx()) * cStep, ym = static_cast<double>(g.ny()) * cStep;
  return {-xm, xm, -ym, ym};
}

// An arrow along `north` (a unit vector on the picture: straight up on the map, into the picture on the
// mesh) with the letter "С" above its tip, inside `area`.
void DrawNorth(QPainter& p, const QRect& area, int fontPx, QPointF north) {
  const QPointF centre(area.left() + fontPx * 1.2, area.top() + fontPx * 2.1);
  const QPointF tip = centre + north * (fontPx * 0.9), tail = centre - north * (fontPx * 0.9);
  const QPointF across(-north.y(), north.x());
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(Qt::black, std::max(1, fontPx / 10)));
  p.drawLine(tail, tip - north * (fontPx * 0.5));
  p.setBrush(Qt::black);
  p.drawPolygon(QPolygonF() << tip << tip - north * (fontPx * 0.9) + across * (fontPx * 0.45)
                            << tip - north * (fontPx * 0.9) - across * (fontPx * 0.45));
  p.setFont(PictureFont(fontPx, true));
  p.drawText(QRectF(tip.x() - fontPx, area.top(), 2 * fontPx, fontPx + 2), Qt::AlignCenter, U("С"));
  p.restore();
}

void DrawLegend(QPainter& p, const QRect& area, PictureKind kind, const BandScale& scale, int fontPx,
                const QString& note, bool below) {
  const LegendBox box = MeasureLegend(kind, scale, fontPx, note, below, area.width());
  const QFont font = PictureFont(fontPx);
  const QFontMetrics fm(font);
  p.setBrush(Qt::NoBrush);
  int y = area.top();
  p.setPen(Qt::black);
  p.setFont(PictureFont(fontPx, true));
  if (below) {
    // The title on the middle of the north mark beside it.
    const int head = NorthSize(fontPx).height();
    p.drawText(QPoint(area.left(), y + (head - fm.height()) / 2 + fm.ascent()), box.title.value(0));
    y += head;
  } else {
    for (const QString& line : box.title) {
      p.drawText(QPoint(area.left(), y + fm.ascent()), line);
      y += fm.height();
    }
  }
  y += fm.height() / 3;
  p.setFont(font);
  const std::vector<QString> texts = LegendTexts(kind, scale);
  const int swatch = fm.height() * 3 / 2;
  const int bands = scale.bands();
  const int perColumn = box.rowsPerColumn;
  const int columnWidth = below ? area.width() / 2 : area.width();
  const int rowHeight = fm.height() + fm.height() / 3;
  for (size_t row = 0; row < texts.size(); ++row) {
    const int band = bands - 1 - static_cast<int>(row);  // the background row last: band −1
    const int column = static_cast<int>(row) / perColumn;
    const int x = area.left() + column * columnWidth;
    const int ry = y + (static_cast<int>(row) % perColumn) * rowHeight;
    const QRect swatchBox(x, ry, swatch, fm.height());
    p.fillRect(swatchBox, BandColor(band, bands));
    p.setPen(QPen(kContour, 1));
    p.drawRect(swatchBox.adjusted(0, 0, -1, -1));
    p.setPen(Qt::black);
    p.drawText(QRect(swatchBox.right() + fm.height() / 2, ry, columnWidth - swatch - fm.height() / 2, fm.height()),
               Qt::AlignVCenter | Qt::AlignLeft, texts[row]);
  }
  y += perColumn * rowHeight;
  if (!note.isEmpty()) {
    y += fm.height() / 2;
    p.drawText(QRect(area.left(), y, area.width(), area.bottom() - y + 1), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               note);
  }
}

// Room above the map for the title "y, м" over the top y label, which stands half a line above the plot.
int AxisTitleRoom(const QFontMetrics& fm) { return fm.height() * 3 / 2 + 2; }

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
  for (double v : Ticks(fr.x0, fr.x1, std::min(maxX, 9))) {
    const double px = plot.left() + (v - fr.x0) / (fr.x1 - fr.x0) * (plot.width() - 1);
    p.drawLine(QPointF(px, plot.bottom()), QPointF(px, plot.bottom() + tick));
    const QString t = Plain(v);
    const int w = fm.horizontalAdvance(t) + 4;
    p.drawText(QRectF(px - w / 2.0, plot.bottom() + tick + 1, w, fm.height()), Qt::AlignCenter, t);
  }
  const int maxY = std::max(3, plot.height() / (fm.height() * 2));
  for (double v : Ticks(fr.y0, fr.y1, std::min(maxY, 9))) {
    const double py = plot.bottom() - (v - fr.y0) / (fr.y1 - fr.y0) * (plot.height() - 1);
    p.drawLine(QPointF(plot.left() - tick, py), QPointF(plot.left(), py));
    // The bottom corner belongs to the x labels: a y label there would run into the first of them.
    if (py > plot.bottom() - fm.height() * 0.7) continue;
    p.drawText(QRectF(0, py - fm.height() / 2.0, plot.left() - tick - 2, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
               Plain(v));
  }
  // Axis titles: "x, м" right under the x labels' end, "y, м" above the top y label (which reaches half a
  // line above the plot).
  p.drawText(QRect(plot.right() - fm.horizontalAdvance(U("x, м")) - 2, plot.bottom() + tick + fm.height() + 1,
                   fm.horizontalAdvance(U("x, м")) + 4, fm.height()),
             Qt::AlignRight, U("x, м"));
  p.drawText(QRect(0, plot.top() - AxisTitleRoom(fm), plot.left() - 2, fm.height()), Qt::AlignRight | Qt::AlignBottom,
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
// cover it as they cover the quads behind them. `pieces[k]` is the route over rows y .. y + stride of
// the k-th row drawn.
class MeshRoute {
 public:
  MeshRoute(const MeshView& view, const models::Grid& g, PictureKind kind, const BandScale& scale, int stride,
            double azimuthDeg)
      : view_(view), g_(g), kind_(kind), scale_(scale), stride_(stride) {
    const double a = azimuthDeg * M_PI / 180;
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
    for (int k = 1; k < line.size(); ++k) length_ += std::hypot(line[k].x() - line[k - 1].x(), line[k].y() - line[k - 1].y());
  }

 private:
  // The surface's height at a cell position: between the four corners of the quad drawn there.
  double Height(double x, double y) const {
    const int nx = g_.nx(), ny = g_.ny();
    const int x0 = std::clamp(-nx + static_cast<int>(std::floor((x + nx) / stride_)) * stride_, -nx, std::max(-nx, nx - stride_));
    const int y0 = std::clamp(-ny + static_cast<int>(std::floor((y + ny) / stride_)) * stride_, -ny, std::max(-ny, ny - stride_));
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

// Oblique banded mesh over a floor with two back walls, as a spreadsheet's surface chart draws it.
void DrawMesh(QPainter& p, const QRect& plot, const models::Grid& g, int cStep, PictureKind kind,
              const BandScale& scale, int fontPx, const PictureOptions& o) {
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
  const QPen meshPen(QColor(60, 60, 60, stride > 1 ? 50 : 80), 0);
  const QPen routePen(kRoute, std::max(2.0, fontPx / 6.0), Qt::DashLine);
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
  p.drawText(QRectF(xl.x(), xl.y() + 2, 80, fm.height()), Qt::AlignLeft, Plain(-xm));
  p.drawText(QRectF(xr.x() - 80, xr.y() + 2, 80, fm.height()), Qt::AlignRight, Plain(xm));
  p.drawText(QRectF((xl.x() + xr.x()) / 2 - 40, xl.y() + 2, 80, fm.height()), Qt::AlignCenter, U("x, м"));
  p.drawText(QRectF(xr.x() + 6, xr.y() - fm.height(), 80, fm.height()), Qt::AlignLeft | Qt::AlignVCenter, Plain(-ym));
  p.drawText(QRectF(yf.x() + 6, yf.y() - fm.height() / 2.0, 80, fm.height()), Qt::AlignLeft | Qt::AlignVCenter,
             Plain(ym));
  p.drawText(QRectF(yf.x() + 6, yf.y() - fm.height() * 1.6, 80, fm.height()), Qt::AlignLeft | Qt::AlignVCenter,
             U("y, м"));
}

}  // namespace

QFont PictureFont(int pixels, bool bold) {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPixelSize(std::max(6, pixels));
  f.setBold(bold);
  return f;
}

int PictureTextPixels(int width, int height) { return std::clamp(std::min(width, height * 4 / 3) / 48, 11, 40); }

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
      // 1 kW/m² (what a person bears for long) once there are five bands, and never more than seven, so
      // that with the background below the lowest level the legend holds at most eight rows.
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
      while (down.size() < kMostFluxLevels && !(down.size() >= 6 && down.back() <= 1 + 1e-12))
        down.push_back(lower(down.back()));
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

// The grid in the picture's frame: the grid itself, or a copy cut (or widened with zeros) to the frame.
const models::Grid& Framed(const models::Grid& grid, const PictureOptions& o, models::Grid& copy) {
  if (o.frameNx <= 0 || o.frameNy <= 0 || (grid.nx() == o.frameNx && grid.ny() == o.frameNy)) return grid;
  copy.resize(o.frameNx, o.frameNy);
  for (int y = -o.frameNy; y <= o.frameNy; ++y)
    for (int x = -o.frameNx; x <= o.frameNx; ++x) copy(x, y) = grid.at0(x, y);
  return copy;
}

// The note of the mesh: how its heights are scaled, and where the surface is cut.
QString MeshNote(const models::Grid& grid, PictureKind kind, const BandScale& scale) {
  QString note;
  if (!EqualBands(scale)) note = U("Высота: уровни шкалы через равные промежутки.");
  if (FieldMax(grid, kind) > scale.edges.back())
    note += U(" Поверхность срезана на уровне ") + LevelText(kind, scale.edges.back()) + QStringLiteral(".");
  return note.trimmed();
}

PictureLayout LayoutFramed(const models::Grid& grid, const PictureOptions& o) {
  PictureLayout l;
  const int w = std::max(o.width, 120), h = std::max(o.height, 90);
  const PictureKind kind = o.kind;
  const bool mesh = o.view3D && kind != PictureKind::Risk;
  const BandScale scale = ScaleFor(grid, kind);
  const QString note = mesh ? MeshNote(grid, kind, scale) : QString();
  // A cell taller than wide takes the legend below the plot, else beside it.
  l.legendBelow = h > w;
  // About the window's own text size on screen, growing with print-size pictures; it shrinks until the
  // legend (with the north mark above it) fits beside, or under, a usable plot.
  const int titleRoom = o.title.isEmpty() ? 0 : QFontMetrics(PictureFont(std::clamp(w / 48, 11, 40) + 2, true)).height() + 6;
  const auto northRoom = [](int fontPx) { return NorthSize(fontPx).height() + fontPx * 3 / 5; };
  int fontPx = PictureTextPixels(w, h);
  LegendBox legend;
  const int widest = static_cast<int>(w * 0.36);
  for (; fontPx > 6; --fontPx) {
    legend = MeasureLegend(kind, scale, fontPx, note, l.legendBelow, widest);
    if (l.legendBelow ? legend.width <= w - fontPx && legend.height <= (h - titleRoom) * 0.45
                      : legend.width <= widest && legend.height + northRoom(fontPx) <= h - 6 - titleRoom)
      break;
  }
  if (fontPx == 6) legend = MeasureLegend(kind, scale, fontPx, note, l.legendBelow, widest);
  l.fontPixels = fontPx;
  const QFont font = PictureFont(fontPx);
  const QFontMetrics fm(font);
  int top = 4;
  if (!o.title.isEmpty()) {
    l.title = QRect(0, 2, w, QFontMetrics(PictureFont(fontPx + 2, true)).height() + 2);
    top = l.title.bottom() + 4;
  }
  int right = w, bottomEdge = h;
  if (l.legendBelow) {
    // The north mark beside the legend's title, on the legend's first line.
    const int legendH = std::min(legend.height, h - top - 2);
    const int legendW = std::min(legend.width, w - fontPx);
    l.legend = QRect((w - legendW) / 2, h - legendH - 2, legendW, legendH);
    l.north = QRect(QPoint(l.legend.left() + QFontMetrics(PictureFont(fontPx, true)).horizontalAdvance(LegendTitle(kind)) +
                               fm.height(),
                           l.legend.top()),
                    NorthSize(fontPx));
    bottomEdge = l.legend.top() - fontPx / 2;
  } else {
    // The north mark at the top, the legend under it.
    const int legendW = std::max(legend.width, NorthSize(fontPx).width());
    const int left = w - legendW - fontPx / 2;
    l.north = QRect(QPoint(left, top), NorthSize(fontPx));
    const int legendTop = top + northRoom(fontPx);
    l.legend = QRect(left, legendTop, legendW, std::min(legend.height, h - legendTop - 2));
    right = left - fontPx;
  }
  QRect plot;
  if (mesh) {
    const int labels = fm.horizontalAdvance(QStringLiteral("99,99")) + fontPx;
    plot = QRect(labels, top + fm.height(), right - labels - fm.horizontalAdvance(QStringLiteral("-5000")) - 8,
                 bottomEdge - top - fm.height() * 3);
  } else {
    // Room for the y labels on the left and their title above, the x labels and their title below; the
    // cells stay square.
    const int left = fm.horizontalAdvance(QStringLiteral("−00000")) + fontPx / 2 + 4;
    right = std::min(right, w - fm.horizontalAdvance(QStringLiteral("−00000")) / 2 - 2);  // the last x label
    const int above = AxisTitleRoom(fm);
    const int below = fm.height() * 2 + fontPx / 2 + 4;
    plot = QRect(left, top + above, right - left, bottomEdge - top - above - below);
    const double aspect = static_cast<double>(std::max(grid.ny(), 1)) / std::max(grid.nx(), 1);
    const int side = std::max(10, std::min(plot.width(), static_cast<int>(plot.height() / aspect)));
    const int height = std::max(10, static_cast<int>(side * aspect));
    const int x = l.legendBelow ? plot.left() + (plot.width() - side) / 2 : plot.left();
    plot = QRect(x, plot.top() + (plot.height() - height) / 2, side, height);
  }
  l.plot = plot;
  return l;
}

}  // namespace

PictureLayout LayoutPicture(const models::Grid& grid, int /*cStep*/, const PictureOptions& o) {
  models::Grid copy;
  return LayoutFramed(Framed(grid, o, copy), o);
}

QImage RenderResultPicture(const models::Grid& source, int cStep, const PictureOptions& o) {
  // A grid the run did not fill gives no picture (a document then leaves the caption alone).
  if (source.empty()) return {};
  models::Grid copy;
  const models::Grid& grid = Framed(source, o, copy);
  const int w = std::max(o.width, 120), h = std::max(o.height, 90);
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::white);
  const PictureKind kind = o.kind;
  const bool mesh = o.view3D && kind != PictureKind::Risk;
  const PictureLayout l = LayoutFramed(grid, o);
  const BandScale scale = ScaleFor(grid, kind);
  const int step = cStep > 0 ? cStep : 1;
  QPainter p(&image);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  if (!o.title.isEmpty()) {
    p.setFont(PictureFont(l.fontPixels + 2, true));
    p.setPen(Qt::black);
    p.drawText(l.title, Qt::AlignCenter, o.title);
  }
  QString note;
  QPointF north(0, -1);
  if (mesh) {
    DrawMesh(p, l.plot, grid, step, kind, scale, l.fontPixels, o);
    north = MeshViewOf(l.plot, grid, scale).North();
    note = MeshNote(grid, kind, scale);
  } else {
    const Frame fr = FrameOf(grid, step);
    DrawTopView(p, l.plot, grid, fr, step, kind, scale);
    if (o.drawRoute) DrawRoute(p, QRectF(l.plot), fr, o.azimuth, l.fontPixels);
    DrawAxes(p, l.plot, fr, l.fontPixels);
  }
  DrawNorth(p, l.north, l.fontPixels, north);
  DrawLegend(p, l.legend, kind, scale, l.fontPixels, note, l.legendBelow);
  p.end();
  return image;
}

}  // namespace velaron::output
