#include "ui/mainwindow/section_logic.h"

#include <algorithm>
#include <cmath>

#include "common/azimuth.h"
#include "common/numtext.h"
#include "common/pi.h"

namespace velaron::ui {

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
  const double a = AzimuthWithinTurn(azimuthDeg) * kPi / 180;
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

}  // namespace velaron::ui
