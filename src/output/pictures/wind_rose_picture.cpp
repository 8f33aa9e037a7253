#include "output/pictures/wind_rose_picture.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/numtext.h"
#include "common/qt_text.h"
#include "output/pictures/result_pictures.h"

namespace velaron::output {

namespace {

constexpr int kDirections = 8;
constexpr int kMostRings = 5;

struct Season {
  const char* name;
  const std::array<double, 9>* values;
  QColor color;
  bool squareMarker;
};

// Point of direction `i` (0 = north, clockwise) at radius `r` pixels around `centre`; north is up.
QPointF Polar(const QPointF& centre, int i, double r) {
  const double a = i * std::numbers::pi / 4;
  return {centre.x() + r * std::sin(a), centre.y() - r * std::cos(a)};
}

double NonNegative(double v) { return std::isfinite(v) && v > 0 ? v : 0; }

}  // namespace

QStringList RoseDirectionLetters() {
  return {QStringLiteral("С"), QStringLiteral("СВ"), QStringLiteral("В"), QStringLiteral("ЮВ"),
          QStringLiteral("Ю"), QStringLiteral("ЮЗ"), QStringLiteral("З"), QStringLiteral("СЗ")};
}

std::vector<double> RoseRings(double largest) {
  largest = NonNegative(largest);
  if (largest == 0) return {1};
  // The smallest round step that needs no more rings than allowed, one ring above the largest value.
  double step = std::pow(10.0, std::floor(std::log10(largest / kMostRings)));
  // A value a hair below a ring (0.3 stored as 0.29999...) counts as on it.
  const auto ringsFor = [&](double s) { return static_cast<int>(std::floor(largest / s + 1e-9)) + 1; };
  for (int k = 0;; k = (k + 1) % 3) {
    const int rings = ringsFor(step);
    if (rings <= kMostRings) break;
    step *= (k == 1) ? 2.5 : 2;  // 1 → 2 → 5 → 10
  }
  std::vector<double> edges;
  const int rings = ringsFor(step);
  for (int i = 1; i <= rings; ++i) edges.push_back(RoundHalfEven(i * step, 10));
  return edges;
}

QString RoseRingText(double ring) { return NumberText(ring) + QStringLiteral(" %"); }

QImage DrawWindRose(const db::WindRow& town, QSize size) {
  const int w = std::max(size.width(), 160), h = std::max(size.height(), 120);
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  // The text size of the other pictures at the same size.
  const int fontPx = PictureTextPixels(w, h);
  const QFont font = PictureFont(fontPx), titleFont = PictureFont(fontPx + 2, true);
  const QFontMetrics fm(font);
  const int line = fm.height();

  // The title above; the legend at the right of the rose, or under it when the picture is too narrow.
  const int titleHeight = QFontMetrics(titleFont).height() + fontPx / 2;

  const Season seasons[] = {{"Зима", &town.winter, QColor(0, 70, 180), false},
                            {"Лето", &town.summer, QColor(200, 60, 0), true}};
  const int sample = fontPx * 2, gap = fontPx / 2;
  int legendWidth = 0;
  for (const Season& s : seasons)
    legendWidth = std::max(legendWidth, sample + gap + fm.horizontalAdvance(QString::fromUtf8(s.name)));
  const double labelRoom = fm.horizontalAdvance(QStringLiteral("СВ")) + fontPx;
  const double legendRoom = legendWidth + 2 * fontPx;  // beside the rose
  const double top = titleHeight + line + fontPx;
  double bottom = h - line - fontPx / 2.0;
  double radius = std::min((bottom - top) / 2, (w - legendRoom) / 2.0 - labelRoom);
  const bool legendBelow = radius < (bottom - top) / 2 * 0.8;
  if (legendBelow) {
    bottom -= 2 * line;
    radius = std::min((bottom - top) / 2, w / 2.0 - labelRoom);
  }
  radius = std::max(10.0, radius);
  // The rose and the legend beside it make one block in the middle of the picture.
  const double blockLeft = legendBelow ? 0 : (w - 2 * (radius + labelRoom) - legendRoom) / 2;
  const QPointF centre(legendBelow ? w / 2.0 : blockLeft + radius + labelRoom, (top + bottom) / 2);
  p.setFont(titleFont);
  p.setPen(Qt::black);
  p.drawText(QRectF(centre.x() - w / 2.0, fontPx / 3.0, w, titleHeight), Qt::AlignHCenter | Qt::AlignTop,
             town.CityName);
  p.setFont(font);

  double largest = 0;
  for (int i = 0; i < kDirections; ++i)
    largest = std::max({largest, NonNegative(town.winter[size_t(i)]), NonNegative(town.summer[size_t(i)])});
  const std::vector<double> rings = RoseRings(largest);
  const double outer = rings.back();

  // Grid: rings as octagons, spokes, direction letters outside; the ring values with their unit just
  // inside each ring, right of the north spoke, clear of the letter "С" above the rim.
  p.setPen(QPen(QColor(170, 170, 170), std::max(1, fontPx / 12)));
  p.setBrush(Qt::NoBrush);
  for (double ring : rings) {
    QPolygonF octagon;
    for (int i = 0; i < kDirections; ++i) octagon << Polar(centre, i, radius * ring / outer);
    p.drawPolygon(octagon);
  }
  for (int i = 0; i < kDirections; ++i) p.drawLine(centre, Polar(centre, i, radius));
  p.setPen(QColor(90, 90, 90));
  for (double ring : rings) {
    // On a white ground: the ring's own line runs down through its label.
    const QPointF at = Polar(centre, 0, radius * ring / outer);
    const QString text = RoseRingText(ring);
    const QRectF box(at.x() + fontPx / 4.0, at.y() + 1, fm.horizontalAdvance(text) + fontPx / 4.0, line);
    p.fillRect(box, Qt::white);
    p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, text);
  }
  p.setPen(Qt::black);
  const QStringList letters = RoseDirectionLetters();
  for (int i = 0; i < kDirections; ++i) {
    const QPointF at = Polar(centre, i, radius + line / 2.0 + fontPx / 2.0);
    p.drawText(QRectF(at.x() - labelRoom / 2, at.y() - line / 2.0, labelRoom, line), Qt::AlignCenter, letters[i]);
  }

  // The two seasons, each a closed line through its eight values with a marker on every value.
  const double pen = std::max(2.0, fontPx / 6.0), marker = std::max(3.5, fontPx / 4.0);
  auto drawMarker = [&](const Season& s, const QPointF& pt) {
    const QRectF box(pt.x() - marker, pt.y() - marker, 2 * marker, 2 * marker);
    if (s.squareMarker) p.drawRect(box);
    else p.drawEllipse(box);
  };
  for (const Season& s : seasons) {
    QPolygonF line8;
    for (int i = 0; i < kDirections; ++i)
      line8 << Polar(centre, i, radius * NonNegative((*s.values)[size_t(i)]) / outer);
    p.setPen(QPen(s.color, pen));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(line8);
    p.setBrush(s.color);
    for (const QPointF& pt : line8) drawMarker(s, pt);
  }

  // Legend: a sample of each line and its season, beside the rose or centred under it.
  double x = legendBelow ? (w - 2 * legendWidth - 2 * fontPx) / 2.0 : centre.x() + radius + labelRoom + fontPx;
  double y = legendBelow ? h - line * 1.5 : centre.y() - line;
  for (const Season& s : seasons) {
    p.setPen(QPen(s.color, pen));
    p.drawLine(QPointF(x, y), QPointF(x + sample, y));
    p.setBrush(s.color);
    drawMarker(s, QPointF(x + sample / 2.0, y));
    p.setPen(Qt::black);
    p.drawText(QPointF(x + sample + gap, y + fm.ascent() / 2.0 - 1), QString::fromUtf8(s.name));
    if (legendBelow) x += legendWidth + 2 * fontPx;
    else y += 2 * line;
  }
  p.end();
  return image;
}

}  // namespace velaron::output
