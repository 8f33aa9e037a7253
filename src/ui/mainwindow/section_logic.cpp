#include "ui/mainwindow/section_logic.h"

#include <algorithm>
#include <cmath>

#include "common/numtext.h"
#include "common/pi.h"

namespace velaron::ui {

namespace {
// A grid cell at a position in metres; cells outside the grid read 0.
double Cell(const models::Grid& g, double xm, double ym, int step) {
  const int ix = ToIntHalfEven(xm / step), iy = ToIntHalfEven(ym / step);
  return g.at0(ix, iy);
}
}  // namespace

QString SectionItemText(int tpid) { return QString::fromUtf8("Участок №") + QString::number(tpid); }

int SectionNumberFromItem(const QString& itemText) {
  if (itemText.isEmpty()) return 1;
  const int sign = itemText.lastIndexOf(QChar(0x2116));  // №
  const QString digits = (sign >= 0 ? itemText.mid(sign + 1) : itemText.mid(itemText.lastIndexOf(' ') + 1)).trimmed();
  bool ok = false;
  const int n = digits.toInt(&ok);
  return ok ? n : 1;
}

CompassGeometry Compass(double width, double height, double azimuthDeg) {
  CompassGeometry g;
  g.cx = ToIntHalfEven(width / 2);
  g.cy = ToIntHalfEven(height / 2);
  g.R = ToIntHalfEven(std::min(width / 3, height / 3));
  const double a = azimuthDeg * kPi / 180;
  g.x1 = g.cx + g.R * std::cos(a + kPi / 2 + kPi);
  g.y1 = g.cy + g.R * std::sin(a + kPi / 2 + kPi);
  g.x2 = g.cx + g.R * std::cos(a + kPi / 2);
  g.y2 = g.cy + g.R * std::sin(a + kPi / 2);
  return g;
}

QString ComposeGroundCode(const std::array<QString, 4>& levelCodes) {
  for (const QString& c : levelCodes)
    if (c.isEmpty()) return {};
  return levelCodes[0] + '.' + levelCodes[1] + '.' + levelCodes[2] + '.' + levelCodes[3];
}

db::SectionRow SectionAfter(const db::SectionRow& last) {
  db::SectionRow row;
  row.TPID = last.TPID + 1;
  row.Length = last.Length;
  row.Udal = last.Udal + last.Length;
  row.Azimut = last.Azimut;
  row.G1 = last.G1;
  row.G2 = last.G2;
  row.G3 = last.G3;
  row.G4 = last.G4;
  row.Ground = last.Ground;
  return row;
}

std::optional<GridMax> GridMaximum(const models::Grid& grid, int XLimit, int YLimit, int CStep) {
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

std::optional<double> GridValueAt(const models::Grid& grid, int XLimit, int YLimit, int CStep, double px,
                                  double py) {
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

}  // namespace velaron::ui
