#include "output/pictures/wind_rose_picture.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/numtext.h"

namespace velaron::output {

namespace {

constexpr int kDirections = 8;
constexpr int kMostRings = 5;
constexpr int kTextPoints = 9;

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

QImage DrawWindRose(const db::WindRow& town, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QFont font = p.font();
  font.setPointSize(kTextPoints);
  p.setFont(font);
  const QFontMetrics fm(font);
  const int line = fm.height();

  // Title above, legend below, the rose in the square left between them.
  QFont titleFont = font;
  titleFont.setBold(true);
  titleFont.setPointSize(kTextPoints + 2);
  p.setFont(titleFont);
  const int titleHeight = QFontMetrics(titleFont).height() + 6;
  p.setPen(Qt::black);
  p.drawText(QRect(0, 4, size.width(), titleHeight), Qt::AlignHCenter | Qt::AlignTop, town.CityName);
  p.setFont(font);

  const int legendHeight = line + 10;
  const double labelRoom = fm.horizontalAdvance(QStringLiteral("СВ")) + 8;
  const double top = titleHeight + line + 10;
  const double bottom = size.height() - legendHeight - line - 8;
  const double radius = std::max(10.0, std::min((bottom - top) / 2, size.width() / 2.0 - labelRoom));
  const QPointF centre(size.width() / 2.0, (top + bottom) / 2);

  double largest = 0;
  for (int i = 0; i < kDirections; ++i)
    largest = std::max({largest, NonNegative(town.winter[size_t(i)]), NonNegative(town.summer[size_t(i)])});
  const std::vector<double> rings = RoseRings(largest);
  const double outer = rings.back();

  // Grid: rings as octagons, spokes, ring values along the north spoke, direction letters outside.
  p.setPen(QPen(QColor(170, 170, 170), 1));
  p.setBrush(Qt::NoBrush);
  for (double ring : rings) {
    QPolygonF octagon;
    for (int i = 0; i < kDirections; ++i) octagon << Polar(centre, i, radius * ring / outer);
    p.drawPolygon(octagon);
  }
  for (int i = 0; i < kDirections; ++i) p.drawLine(centre, Polar(centre, i, radius));
  p.setPen(QColor(90, 90, 90));
  for (double ring : rings) {
    const QPointF at = Polar(centre, 0, radius * ring / outer);
    p.drawText(QPointF(at.x() + 3, at.y() + fm.ascent() / 2.0), QString::fromStdString(FormatNumber(ring)));
  }
  p.setPen(Qt::black);
  const QStringList letters = RoseDirectionLetters();
  for (int i = 0; i < kDirections; ++i) {
    const QPointF at = Polar(centre, i, radius + line / 2.0 + 6);
    const QRectF box(at.x() - labelRoom / 2, at.y() - line / 2.0, labelRoom, line);
    p.drawText(box, Qt::AlignCenter, letters[i]);
  }

  // The two seasons, each a closed line through its eight values with a marker on every value.
  const Season seasons[] = {{"Зима", &town.winter, QColor(0, 70, 180), false},
                            {"Лето", &town.summer, QColor(200, 60, 0), true}};
  for (const Season& s : seasons) {
    QPolygonF line8;
    for (int i = 0; i < kDirections; ++i)
      line8 << Polar(centre, i, radius * NonNegative((*s.values)[size_t(i)]) / outer);
    p.setPen(QPen(s.color, 2));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(line8);
    p.setBrush(s.color);
    for (const QPointF& pt : line8) {
      const QRectF marker(pt.x() - 3.5, pt.y() - 3.5, 7, 7);
      if (s.squareMarker)
        p.drawRect(marker);
      else
        p.drawEllipse(marker);
    }
  }

  // Legend: a sample of each line and its season, centred under the rose.
  const int sample = 26, gap = 18;
  int width = 0;
  for (const Season& s : seasons) width += sample + 6 + fm.horizontalAdvance(QString::fromUtf8(s.name)) + gap;
  width -= gap;
  double x = (size.width() - width) / 2.0;
  const double y = size.height() - legendHeight / 2.0;
  for (const Season& s : seasons) {
    p.setPen(QPen(s.color, 2));
    p.drawLine(QPointF(x, y), QPointF(x + sample, y));
    p.setBrush(s.color);
    const QRectF marker(x + sample / 2.0 - 3.5, y - 3.5, 7, 7);
    if (s.squareMarker)
      p.drawRect(marker);
    else
      p.drawEllipse(marker);
    p.setPen(Qt::black);
    const QString name = QString::fromUtf8(s.name);
    p.drawText(QPointF(x + sample + 6, y + fm.ascent() / 2.0 - 1), name);
    x += sample + 6 + fm.horizontalAdvance(name) + gap;
  }
  p.end();
  return image;
}

}  // namespace velaron::output
