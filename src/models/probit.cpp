// Probit and percent fields, the risk field and the radii of the four damage zones.
#include "models/probit.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "common/numtext.h"
#include "models/parallel.h"

namespace velaron::models {

double BlastProbit(double dP, double I) {
  // No overpressure or no impulse is no blast: probit 0 (no injury) rather than an infinite logarithm.
  if (!(dP > 0) || !(I > 0)) return 0;
  const double V = std::pow(17500 / dP, 8.4) + std::pow(290 / I, 9.3);
  return 5 - kBlastProbitSlope * std::log(V);
}

double ThermalProbit(double q, double t) { return -14.9 + 2.56 * std::log(t * std::pow(q, 1.33)); }

// ---------------------------------------------------------------------------------------------------
// Escape distances

EscapeSearch::EscapeSearch(const Grid& flux, const CalcSettings& s)
    : EscapeSearch(flux, GridHalf(s.XLimit, s.CStep), GridHalf(s.YLimit, s.CStep), s.CStep, s.XLimit / 2.0,
                   s.YLimit / 2.0) {}

EscapeSearch::EscapeSearch(const Grid& flux, int step, double xHalf, double yHalf)
    : EscapeSearch(flux, flux.nx(), flux.ny(), step, xHalf, yHalf) {}

EscapeSearch::EscapeSearch(const Grid& flux, int nx, int ny, int step, double xHalf, double yHalf)
    : nx_(nx), ny_(ny), w_(2 * nx_ + 1), h_(2 * ny_ + 1), step_(step), xHalf_(xHalf), yHalf_(yHalf) {
  if (flux.nx() < nx_ || flux.ny() < ny_) throw std::logic_error("flux grid smaller than the calculation grid");
  const std::size_t n = static_cast<std::size_t>(w_) * static_cast<std::size_t>(h_);
  up_.assign(n, kNone);
  down_.assign(n, kNone);
  for (int ix = -nx_; ix <= nx_; ++ix) {
    std::int32_t next = kNone;
    for (int iy = ny_; iy >= -ny_; --iy) {
      if (flux(ix, iy) <= kSafeFlux) next = iy;
      up_[colIndex(ix, iy)] = next;
    }
    next = kNone;
    for (int iy = -ny_; iy <= ny_; ++iy) {
      if (flux(ix, iy) <= kSafeFlux) next = iy;
      down_[colIndex(ix, iy)] = next;
    }
  }
  upRight_.assign(n, kNone);
  upLeft_.assign(n, kNone);
  downRight_.assign(n, kNone);
  downLeft_.assign(n, kNone);
  for (int iy = -ny_; iy <= ny_; ++iy) {
    std::int32_t ur = kNone, dr = kNone;
    for (int ix = nx_; ix >= -nx_; --ix) {
      if (up_[colIndex(ix, iy)] != kNone) ur = ix;
      if (down_[colIndex(ix, iy)] != kNone) dr = ix;
      upRight_[rowIndex(iy, ix)] = ur;
      downRight_[rowIndex(iy, ix)] = dr;
    }
    std::int32_t ul = kNone, dl = kNone;
    for (int ix = -nx_; ix <= nx_; ++ix) {
      if (up_[colIndex(ix, iy)] != kNone) ul = ix;
      if (down_[colIndex(ix, iy)] != kNone) dl = ix;
      upLeft_[rowIndex(iy, ix)] = ul;
      downLeft_[rowIndex(iy, ix)] = dl;
    }
  }
}

// The safe cells that count lie in columns |ix2| > |ix| and rows |iy2| > |iy|. On one side sx of the
// columns and one side sy of the rows, the nearest such cell of a column is its first safe row beyond
// row sy·(|iy| + 1), and the columns are met in order of growing horizontal distance, so the walk stops
// as soon as that distance alone is no shorter than the best found.
void EscapeSearch::scan(int ix, int iy, int sx, int sy, double& best) const {
  const int a = std::abs(ix);
  const int b = std::abs(iy);
  if (b + 1 > ny_ || a + 1 > nx_) return;
  const int t = sy * (b + 1);  // first row of the region
  const std::vector<std::int32_t>& nextRow = sy > 0 ? up_ : down_;
  const std::vector<std::int32_t>& nextCol = sx > 0 ? (sy > 0 ? upRight_ : downRight_) : (sy > 0 ? upLeft_ : downLeft_);
  const double x = ix * step_;
  const double y = iy * step_;
  int ix2 = sx * (a + 1);
  for (;;) {
    ix2 = nextCol[rowIndex(t, ix2)];  // the next column on this side that holds a safe cell in the region
    if (ix2 == kNone) return;
    const double x2 = ix2 * step_;
    const double dx = x - x2;
    if (std::fabs(dx) >= best) return;
    const double y2 = nextRow[colIndex(ix2, t)] * step_;
    const double dy = y - y2;
    const double dist = std::sqrt(dx * dx + dy * dy);
    if (dist < best) best = dist;
    ix2 += sx;
    if (ix2 > nx_ || ix2 < -nx_) return;
  }
}

double EscapeSearch::distance(int ix, int iy) const {
  const double x = ix * step_;
  const double y = iy * step_;
  // The nearest edge of the grid first.
  double best = std::min(std::min(std::fabs(x - xHalf_), std::fabs(x + xHalf_)),
                         std::min(std::fabs(y - yHalf_), std::fabs(y + yHalf_)));
  scan(ix, iy, +1, +1, best);
  scan(ix, iy, -1, +1, best);
  scan(ix, iy, +1, -1, best);
  scan(ix, iy, -1, -1, best);
  return best;
}

// ---------------------------------------------------------------------------------------------------
// Probit, percent, risk

double PercentFromProbit(const ReferenceTables& tables, double pr) {
  if (pr < kNoInjuryProbit) return 0;
  if (pr >= kSureInjuryProbit) return 99.99;
  return ProbitToPercent(tables, pr);
}

void ProbitGrid(CalcState& s, ProbitBranch branch, const ReferenceTables& tables, Progress& progress) {
  const int nx = s.nx();
  const int ny = s.ny();
  if (s.GridValue.nx() < nx || s.GridValue.ny() < ny) throw std::logic_error("GridValue smaller than the grid");
  if (branch == ProbitBranch::Blast && (s.GridImpuls.nx() < nx || s.GridImpuls.ny() < ny)) {
    throw std::logic_error("GridImpuls smaller than the grid");
  }
  s.GridProbit.resize(nx, ny);
  s.GridProc.resize(nx + 1, ny + 1);        // the margin cells stay 0
  CancelOnlyProgress cancelOnly(progress);  // the field's rows were the steps; here only a cancel counts
  if (branch == ProbitBranch::Blast) {
    ParallelRows(
        -ny, ny,
        [&](int iy) {
          for (int ix = -nx; ix <= nx; ++ix) {
            const double pr = BlastProbit(s.GridValue(ix, iy), s.GridImpuls(ix, iy));
            s.GridProbit(ix, iy) = pr;
            s.GridProc(ix, iy) = PercentFromProbit(tables, pr);
          }
        },
        cancelOnly);
    return;
  }
  if (!(s.settings.Skor_chel > 0)) throw ModelInputError("Скорость движения человека должна быть больше 0");
  const EscapeSearch escape(s.GridValue, s.settings);
  ParallelRows(
      -ny, ny,
      [&](int iy) {
        for (int ix = -nx; ix <= nx; ++ix) {
          const double q = s.GridValue(ix, iy);
          double pr = 0;
          if (q > kSafeFlux) pr = ThermalProbit(q, EscapeTime(escape.distance(ix, iy), s.settings.Skor_chel));
          s.GridProbit(ix, iy) = pr;
          s.GridProc(ix, iy) = PercentFromProbit(tables, pr);
        }
      },
      cancelOnly);
}

void PercentGrid(CalcState& s, const ReferenceTables& tables, Progress& progress) {
  const int nx = s.nx();
  const int ny = s.ny();
  if (s.GridProbit.nx() < nx || s.GridProbit.ny() < ny) throw std::logic_error("GridProbit smaller than the grid");
  s.GridProc.resize(nx + 1, ny + 1);
  CancelOnlyProgress cancelOnly(progress);
  ParallelRows(
      -ny, ny,
      [&](int iy) {
        for (int ix = -nx; ix <= nx; ++ix) s.GridProc(ix, iy) = PercentFromProbit(tables, s.GridProbit(ix, iy));
      },
      cancelOnly);
}

void FillRisk(CalcState& s, double probability) {
  const int nx = s.nx();
  const int ny = s.ny();
  s.GridRisk.resize(nx, ny);
  for (int iy = -ny; iy <= ny; ++iy)
    for (int ix = -nx; ix <= nx; ++ix) s.GridRisk(ix, iy) = probability * 0.01 * s.GridProc.at0(ix, iy);
}

// ---------------------------------------------------------------------------------------------------
// Zone radii

void FillRadProfile(CalcState& s) {
  const int n = ProfilePoints(s.settings);
  s.RadProfile.assign(static_cast<std::size_t>(n) + 1, {0, 0, 0});
  for (int i = 1; i <= n; ++i) {
    s.RadProfile[i][1] = s.GridProc.at0(i - 1, 0);
    s.RadProfile[i][2] = static_cast<double>(i - 1) * s.settings.CStep;
  }
}

// The radius at which the profile falls through `level` inside the segment (i, i + 1) where the inward
// search stopped; an interpolated value can leave its segment only when the segment does not bracket the
// level, and is then held to the segment's nearer end.
static double SegmentRadius(const RadProfileTable& p, int i, int n, double level) {
  if (i == n) return p[n][2];
  const double d1 = p[i][2];
  const double d2 = p[i + 1][2];
  const double r = LinInterp(level, p[i][1], p[i + 1][1], d1, d2);
  return Round2(std::clamp(r, std::min(d1, d2), std::max(d1, d2)));
}

void ZoneRadii(CalcState& s) {
  const int n = ProfilePoints(s.settings);
  const RadProfileTable& p = s.RadProfile;
  if (static_cast<int>(p.size()) < n + 1) throw std::logic_error("RadProfile shorter than the profile");
  auto P = [&](int i) { return p[i][1]; };
  ZoneRow& Z = s.zones.CurZones();

  // The maximum, the farthest of equal maxima.
  double M = P(1);
  int m = 1;
  for (int i = 2; i <= n; ++i) {
    if (P(i) >= M) {
      M = P(i);
      m = i;
    }
  }
  auto clearFrom = [&](int zone) {
    for (int z = zone; z >= 1; --z) Z(z) = 0;
  };
  if (M == 0) {
    clearFrom(4);
    return;
  }
  // Each search walks inward from where the previous one stopped, never past the maximum.
  int i = n;
  while (i >= m && P(i) <= 1) --i;
  if (i == m - 1) {
    clearFrom(4);
    return;
  }
  Z(4) = SegmentRadius(p, i, n, 1);

  while (i >= m && P(i) <= 33 && P(i) > 1) --i;
  if (i == m - 1) {
    clearFrom(3);
    return;
  }
  Z(3) = SegmentRadius(p, i, n, 33);

  while (i >= m && P(i) <= 50 && P(i) > 33) --i;
  if (i == m - 1) {
    clearFrom(2);
    return;
  }
  Z(2) = SegmentRadius(p, i, n, 50);

  while (i >= m && P(i) <= 99 && P(i) > 50) --i;
  if (i != m - 1 && P(i) >= 99) {
    Z(1) = SegmentRadius(p, i, n, 99.99);
  } else {
    Z(1) = 0;
  }
}

}  // namespace velaron::models
