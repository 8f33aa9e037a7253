#include "db/settings_rules.h"

#include <cmath>

namespace velaron::db {
namespace {

// The grid runs from -width/2 to +width/2 in steps of CStep, so width must be an even number of steps.
// Counted in 64 bits: twice a step near the int limit must not wrap round to a small or negative number.
QString CheckWidth(int width, int step, const QString& name) {
  const long long twoSteps = 2LL * step;
  if (width < twoSteps || width > kMaxGridWidth)
    return QStringLiteral("%1 должна быть от двух шагов сетки (%2 м) до %3 м!").arg(name).arg(twoSteps).arg(kMaxGridWidth);
  if (width % twoSteps != 0)
    return QStringLiteral("%1 должна быть кратна двум шагам сетки (%2 м)!").arg(name).arg(twoSteps);
  return {};
}

bool IsFraction(double x) { return x >= 0 && x <= 1; }  // false for NaN

}  // namespace

QString CheckSettings(const models::CalcSettings& row) {
  if (row.CStep < 1) return QStringLiteral("Шаг сетки должен быть не меньше 1 м!");
  if (QString e = CheckWidth(row.XLimit, row.CStep, QStringLiteral("Ширина зоны расчета")); !e.isEmpty()) return e;
  if (QString e = CheckWidth(row.YLimit, row.CStep, QStringLiteral("Ширина зоны расчета по Y")); !e.isEmpty()) return e;
  const long long nx = static_cast<long long>(row.XLimit) / row.CStep + 1;
  const long long ny = static_cast<long long>(row.YLimit) / row.CStep + 1;
  if (nx * ny > kMaxGridPoints)
    return QStringLiteral("Слишком большая сетка расчета (%1 x %2 точек): увеличьте шаг сетки или уменьшите ширину зоны расчета!")
        .arg(nx)
        .arg(ny);
  if (!(row.Skor_chel > 0) || !std::isfinite(row.Skor_chel))
    return QStringLiteral("Скорость выхода человека из опасной зоны должна быть больше 0!");
  if (!(row.Tfb >= 0) || !std::isfinite(row.Tfb))
    return QStringLiteral("Время истечения до образования ОШ не может быть отрицательным!");
  if (!IsFraction(row.Dola)) return QStringLiteral("Доля массы, участвующей в образовании ОШ, должна быть от 0 до 1!");
  if (!(row.Tobl >= 0) || !std::isfinite(row.Tobl))
    return QStringLiteral("Время истечения при образовании облака ГПВС не может быть отрицательным!");
  if (!IsFraction(row.Dola_obl)) return QStringLiteral("Доля массы, участвующей в горении ГПВС, должна быть от 0 до 1!");
  return {};
}

}  // namespace velaron::db
