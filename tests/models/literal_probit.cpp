#include "models/literal_probit.h"

#include <cmath>

#include "common/numtext.h"

namespace velaron::models::literal {

double EscapeDist(const Grid& GridValue, const CalcSettings& s, double x, double y) {
  const double XLimit = s.XLimit, YLimit = s.YLimit, CStep = s.CStep;
  // Start from the distance to the nearest edge of the grid.
  double d = std::fabs(x - XLimit / 2);
  if (std::fabs(x + XLimit / 2) < d) d = std::fabs(x + XLimit / 2);
  if (std::fabs(y - YLimit / 2) < d) d = std::fabs(y - YLimit / 2);
  if (std::fabs(y + YLimit / 2) < d) d = std::fabs(y + YLimit / 2);
  // Then every point of the whole grid.
  for (double y2 = -YLimit / 2; y2 <= YLimit / 2; y2 += CStep) {
    for (double x2 = -XLimit / 2; x2 <= XLimit / 2; x2 += CStep) {
      const double q2 = GridValue(ToIntHalfEven(x2 / CStep), ToIntHalfEven(y2 / CStep));
      if (q2 <= 4 && std::fabs(x2) > std::fabs(x) && std::fabs(y2) > std::fabs(y)) {
        const double dist = std::sqrt((x - x2) * (x - x2) + (y - y2) * (y - y2));
        if (dist < d) d = dist;
      }
    }
  }
  return d;
}

void ThermalProbitGrid(CalcState& s, const ReferenceTables& tables) {
  const double XLimit = s.settings.XLimit, YLimit = s.settings.YLimit, CStep = s.settings.CStep;
  s.dimension(s.GridProbit);
  for (double y = -YLimit / 2; y <= YLimit / 2; y += CStep) {
    for (double x = -XLimit / 2; x <= XLimit / 2; x += CStep) {
      const int ix = ToIntHalfEven(x / CStep), iy = ToIntHalfEven(y / CStep);
      const double q = s.GridValue(ix, iy);
      double pr = 0;
      if (q > 4) {
        const double d = EscapeDist(s.GridValue, s.settings, x, y);
        const double t = 5 + d / s.settings.Skor_chel;
        pr = -14.9 + 2.56 * std::log(t * std::pow(q, 1.33));
      }
      s.GridProbit(ix, iy) = pr;
    }
  }
  s.GridProc.resize(s.nx() + 1, s.ny() + 1);
  for (double y = -YLimit / 2; y <= YLimit / 2; y += CStep) {
    for (double x = -XLimit / 2; x <= XLimit / 2; x += CStep) {
      const int ix = ToIntHalfEven(x / CStep), iy = ToIntHalfEven(y / CStep);
      const double pr = s.GridProbit(ix, iy);
      double pc;
      if (pr < 2.67) pc = 0;
      else if (pr >= 7.33) pc = 99.99;
      else pc = ProbitToPercent(tables, pr);
      s.GridProc(ix, iy) = pc;
    }
  }
}

}  // namespace velaron::models::literal
