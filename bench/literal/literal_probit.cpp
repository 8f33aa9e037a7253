#include "literal/literal_probit.h"

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

void ZoneRadii(CalcState& s) {
  const double XLimit = s.settings.XLimit, CStep = s.settings.CStep;
  const int N = ToIntHalfEven(XLimit / (2 * CStep) + 1);
  const RadProfileTable& RP = s.RadProfile;
  auto P = [&](int i) { return RP[i][1]; };
  auto D = [&](int i) { return RP[i][2]; };
  // The radius of `level` where a search stopped at i: D(N) at the last point, else interpolated in (i, i + 1).
  auto radius = [&](int i, double level) {
    if (i == N) return D(N);
    const double x1 = P(i), x2 = P(i + 1), y1 = D(i), y2 = D(i + 1);
    double r = x2 == x1 ? y2 : y1 + (level - x1) * (y2 - y1) / (x2 - x1);
    if (r < D(i)) r = D(i);
    if (r > D(i + 1)) r = D(i + 1);
    return Round2(r);
  };
  double M = 0;
  int m = 0;
  for (int i = 1; i <= N; i++) {
    if (P(i) >= M) {
      M = P(i);
      m = i;
    }
  }
  if (M == 0) {
    for (int z = 1; z <= 4; z++) s.zones.CurZones()(z) = 0;
    return;
  }
  // Row 0 of the profile exists, so reading P(m − 1) in a test is harmless, as it was.
  int i = N;
  while (P(i) <= 1 && i >= m) i = i - 1;
  if (i == m - 1) {
    for (int z = 1; z <= 4; z++) s.zones.CurZones()(z) = 0;
    return;
  }
  s.zones.CurZones()(4) = radius(i, 1);
  while (P(i) <= 33 && P(i) > 1 && i >= m) i = i - 1;
  if (i == m - 1) {
    s.zones.CurZones()(3) = 0;
    s.zones.CurZones()(2) = 0;
    s.zones.CurZones()(1) = 0;
    return;
  }
  s.zones.CurZones()(3) = radius(i, 33);
  while (P(i) <= 50 && P(i) > 33 && i >= m) i = i - 1;
  if (i == m - 1) {
    s.zones.CurZones()(2) = 0;
    s.zones.CurZones()(1) = 0;
    return;
  }
  s.zones.CurZones()(2) = radius(i, 50);
  while (P(i) <= 99 && P(i) > 50 && i >= m) i = i - 1;
  if (i != m - 1 && P(i) >= 99) {
    s.zones.CurZones()(1) = radius(i, 99.99);
  } else {
    s.zones.CurZones()(1) = 0;
  }
}

}  // namespace velaron::models::literal
