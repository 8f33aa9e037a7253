#include "run/flame_zones.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <utility>

#include "models/flame_flux.h"
#include "models/jet_symmetric.h"
#include "models/parallel.h"
#include "models/probit.h"

namespace velaron::run {

namespace {

using models::CalcSettings;
using models::Grid;
using models::ZoneRow;

// The row of the zone tables a field's zones are read into (any jet case's row reads them the same).
constexpr models::ScenarioKind kRow = models::ScenarioKind::PitWinter;

// The fine grid takes at most this many flux evaluations (points times flames): the step of 1 m while it
// does, else the smallest one that does (about 15 s of one processor core).
constexpr double kFineEvaluations = 250000;
// A probit or percent this close to a level is taken as reaching it (the roundings of the interpolations).
constexpr double kProbitRounding = 1e-9;
constexpr double kPercentRounding = 1e-9;
// Before the fine grid, the escapes of the fine lines' points that could reach a zone's level are made exact
// by the flux of every point of the fine grid nearer than their nearest safe point known, while those points
// are at most this share of the fine grid's.
constexpr double kExactEscapeShare = 0.25;

std::atomic<long long> g_checkEvaluations{0};

// The base of an asymmetric flame stands a whole number of steps from the rupture point, its displacement
// along x half that: on a grid of `step`, m (the field's flames are those of a grid of 1 m).
double ShiftAt(const GroundFlame& f, int step) { return static_cast<int>(f.args.Shift) / step * step; }
double HalfShiftAt(const GroundFlame& f, int step) { return ShiftAt(f, step) / 2; }

// Where along x the flux of a flame is taken for the point (x, y), m, of the grid of `step` m with the widths of
// `g`: a point at the flame's base repeats the point before it in its row; nothing for the row's first point,
// whose flux is 0 there.
std::optional<double> FluxX(const GroundFlame& f, const CalcSettings& g, int step, int x, int y) {
  const double X = x + HalfShiftAt(f, step);
  if (X != 0 || y != 0) return X;
  if (x == -g.XLimit / 2) return std::nullopt;
  return X - step;
}

// Whether a point's percent reaches the level of `zone`, as the walks of the zone radii stop: above 1, 33
// and 50 % for the zones 4, 3 and 2, 99 % and more for zone 1.
bool Reaches(double percent, int zone) {
  switch (zone) {
    case 1: return percent >= 99;
    case 2: return percent > 50;
    case 3: return percent > 33;
    default: return percent > 1;
  }
}

// The lowest probit from which a point's percent may reach the level of `zone`: below 2,67 the percent is 0,
// from 7,33 on 99,99, and between two rows of the probit table it lies between theirs (ascending probits; a
// table that does not cover the whole span leaves the floor at 2,67).
double ProbitFloor(const models::ReferenceTables& tables, int zone) {
  constexpr double kNone = models::kNoInjuryProbit, kAll = models::kSureInjuryProbit;
  const std::vector<models::ProbitRow>& rows = tables.probit;
  if (rows.empty() || rows.front().Zn_Probit > kNone || rows.back().Zn_Probit < kAll) return kNone;
  for (std::size_t i = 0; i + 1 < rows.size(); ++i)
    if (!(rows[i].Zn_Probit < rows[i + 1].Zn_Probit)) return kNone;
  for (std::size_t i = 0; i + 1 < rows.size() && rows[i].Zn_Probit < kAll; ++i)
    if (Reaches(std::max(rows[i].Zn_Procent, rows[i + 1].Zn_Procent) + kPercentRounding, zone))
      return std::max(kNone, rows[i].Zn_Probit);
  return kAll;
}

double PercentAt(const models::ReferenceTables& tables, double q, double escape, double speed) {
  if (!(q > models::kSafeFlux)) return 0;
  return models::PercentFromProbit(tables, models::ThermalProbit(q, models::EscapeTime(escape, speed)));
}

// The flux of the field on cells of `step` m, (ix, iy) with |ix| ≤ nx and |iy| ≤ ny, as the run computes
// it: each flame with the base of that step, joined by their maximum.
Grid FieldFlux(const FlameField& field, int step, int nx, int ny, models::Progress& progress) {
  std::vector<models::FlameSetup> flames;
  for (const GroundFlame& f : field) {
    models::TorchFluxArgs args = f.args;
    args.Shift = ShiftAt(f, step);
    flames.push_back(models::PrepareFlame(f.shape, f.geometry, args, step, nx, ny));
  }
  Grid flux(nx, ny);
  models::ParallelRows(
      -ny, ny,
      [&](int iy) {
        thread_local models::FluxScratch scratch;
        thread_local std::vector<double> row;
        row.resize(static_cast<std::size_t>(flux.width()));
        double* out = flux.row(iy);
        for (const models::FlameSetup& f : flames) {
          models::FlameFluxRow(f, iy, row.data(), scratch);
          for (int i = 0; i < flux.width(); ++i) out[i] = std::max(out[i], row[static_cast<std::size_t>(i)]);
        }
      },
      progress);
  return flux;
}

// How far out, m along x or y, a cell of the flux of cells `step` m apart is hot; −1 nowhere.
double HotExtent(const Grid& flux, int step) {
  int extent = -1;
  for (int iy = -flux.ny(); iy <= flux.ny(); ++iy)
    for (int ix = -flux.nx(); ix <= flux.nx(); ++ix)
      if (flux(ix, iy) > models::kSafeFlux) extent = std::max({extent, std::abs(ix), std::abs(iy)});
  return extent < 0 ? -1.0 : static_cast<double>(extent) * step;
}

// The percent of the flux of cells `step` m apart in the grid of the widths of `g`, as the run computes it.
Grid Percent(const Grid& flux, const CalcSettings& g, int step, const models::ReferenceTables& tables,
             models::Progress& progress) {
  const models::EscapeSearch escape(flux, step, g.XLimit / 2.0, g.YLimit / 2.0);
  Grid percent(flux.nx(), flux.ny());
  models::ParallelRows(
      -flux.ny(), flux.ny(),
      [&](int iy) {
        for (int ix = -flux.nx(); ix <= flux.nx(); ++ix)
          percent(ix, iy) = PercentAt(tables, flux(ix, iy), escape.distance(ix, iy), g.Skor_chel);
      },
      progress);
  return percent;
}

// The zones the eight lines of the grid of `g` at `step` read off `percent` (beyond it every point is 0),
// the largest of each level over the lines, as the run reads them.
ZoneRow ZonesOf(Grid percent, const CalcSettings& g, int step) {
  models::CalcState s;
  s.settings = g;
  s.settings.CStep = step;
  s.GridProc = std::move(percent);
  models::DirectionZoneRadii(s, kRow);
  models::RaiseZoneR(s, kRow);
  return s.zones.ZoneR(kRow);
}

// The points (x, y), m, of the eight lines of the grid of `step` m with the widths of `g` from the rupture point
// out to the grid's edge, the rupture point first.
std::vector<std::pair<int, int>> LinePoints(const CalcSettings& g, int step) {
  std::vector<std::pair<int, int>> points{{0, 0}};
  const int nx = models::GridHalf(g.XLimit, step), ny = models::GridHalf(g.YLimit, step);
  for (int d = 1; d <= models::kDirections; ++d) {
    const models::CompassStep st = models::DirectionStep(d);
    for (int k = 1; std::abs(k * st.dx) <= nx && std::abs(k * st.dy) <= ny; ++k)
      points.emplace_back(k * st.dx * step, k * st.dy * step);
  }
  return points;
}

// The distance the escape search measures.
double Distance(double dx, double dy) { return std::sqrt(dx * dx + dy * dy); }

// The safe points known so far, row by row (y in whole metres), their x in half metres: those of a grid
// of 1 m, and those of a coarser grid, whose flames may stand half a metre off (then their points lie
// halfway between two of the fine grid). The escapes of the grid of 1 m are no longer than the escapes to
// them, or to the grid's edge.
class KnownSafe {
 public:
  explicit KnownSafe(const CalcSettings& g)
      : xHalf_(g.XLimit / 2), yHalf_(g.YLimit / 2), rows_(static_cast<std::size_t>(g.YLimit) + 1) {}
  bool inGrid(double x, double y) const { return std::fabs(x) <= xHalf_ && std::fabs(y) <= yHalf_; }
  void add(int halfX, int y) { row(y).push_back(halfX); }
  // Once the rows are sorted: a point more, or one less.
  void insert(int halfX, int y) {
    std::vector<int>& r = row(y);
    r.insert(std::lower_bound(r.begin(), r.end(), halfX), halfX);
  }
  void remove(int halfX, int y) {
    std::vector<int>& r = row(y);
    r.erase(std::lower_bound(r.begin(), r.end(), halfX));
  }
  void sort() {
    for (std::vector<int>& r : rows_) std::sort(r.begin(), r.end());
  }

  // The nearest known safe point from the fine point (x, y) that lies farther out in both coordinates,
  // or the nearest edge (`halfX` odd: the point lies between two of the fine grid).
  struct Nearest {
    double distance = 0;
    bool point = false;  // false: the edge
    int halfX = 0, y = 0;
  };
  Nearest nearest(int x, int y) const {
    Nearest n;
    n.distance = std::min(std::min(std::fabs(x - xHalf_), std::fabs(x + xHalf_)),
                          std::min(std::fabs(y - yHalf_), std::fabs(y + yHalf_)));
    const int ax = 2 * std::abs(x), ay = std::abs(y);
    const auto take = [&](int halfX, int y2, double dy) {
      const double d = Distance(halfX / 2.0 - x, dy);
      if (d < n.distance) n = {d, true, halfX, y2};
    };
    for (int sy : {1, -1})
      for (int r = ay + 1; r <= yHalf_; ++r) {
        const int y2 = sy * r;
        const double dy = std::fabs(y2 - y);
        if (dy >= n.distance) break;
        const std::vector<int>& row = rows_[static_cast<std::size_t>(y2 + yHalf_)];
        if (const auto right = std::upper_bound(row.begin(), row.end(), ax); right != row.end()) take(*right, y2, dy);
        if (const auto left = std::lower_bound(row.begin(), row.end(), -ax); left != row.begin())
          take(*std::prev(left), y2, dy);
      }
    return n;
  }

 private:
  std::vector<int>& row(int y) { return rows_[static_cast<std::size_t>(y + yHalf_)]; }
  int xHalf_, yHalf_;
  std::vector<std::vector<int>> rows_;
};

}  // namespace

int WidestZoneMissing(const ZoneRow& zones) {
  for (int z = models::kZoneLevels; z >= 1; --z)
    if (zones(z) == 0) return z;
  return 0;
}

long long CheckEvaluations() { return g_checkEvaluations.load(); }
void CountCheckEvaluations(double n) { g_checkEvaluations += static_cast<long long>(n); }

struct FieldZones::Impl {
  Impl(const FlameField& f, const models::ReferenceTables& t, models::Progress& p, EvaluationBudget* b)
      : field(f), tables(t), progress(p), budget(b) {
    for (int z = 1; z <= models::kZoneLevels; ++z) probitFloor[static_cast<std::size_t>(z)] = ProbitFloor(tables, z);
    for (const GroundFlame& g : field) {
      const double d = models::FlameConeOf(g.shape, g.geometry, g.args.FlameTilt).D;
      reach = std::max(reach, std::abs(g.args.Shift) / 2.0 + std::hypot(g.args.BaseX, g.args.BaseZ) + 2 * d);
    }
  }

  FlameField field;
  const models::ReferenceTables& tables;
  models::CancelOnlyProgress progress;
  EvaluationBudget* budget;
  std::array<double, models::kZoneLevels + 1> probitFloor{};  // by zone
  std::vector<models::FlameSetup> fineFlames;                 // the field's flames, made once
  std::vector<models::FlameFluxBound> bounds;                 // their bounds
  double reach = 0;                          // m: the flames lie within two slant lengths of their bases
  double hot = -1;                           // m: how far out the last grid asked about was hot; −1 unknown
  std::map<std::pair<int, int>, Fine> fine;  // by the widths

  double guess(int step) const { return hot >= 0 ? hot + 2 * step : reach; }

  // Takes `n` flux evaluations (points times flames) from the budget, or refuses to compute them.
  void charge(double n) {
    if (budget) {
      if (n > budget->left) throw OverBudget{};
      budget->left -= n;
    }
    CountCheckEvaluations(n);
  }

  // The flux at `step` over the middle of the grid of `g` that holds every hot point with a safe ring around
  // it: first `from` m either way, widened while a hot point lies on its border short of the grid's edge or on
  // the eight lines beyond it.
  Grid hotMiddle(const CalcSettings& g, int step, double from) {
    const int fullX = models::GridHalf(g.XLimit, step), fullY = models::GridHalf(g.YLimit, step);
    int n = std::max(1, static_cast<int>(std::min(std::ceil(from / step), 1e9)));
    for (;;) {
      const int nx = std::min(n, fullX), ny = std::min(n, fullY);
      charge((2.0 * nx + 1) * (2.0 * ny + 1) * static_cast<double>(field.size()));
      Grid flux = FieldFlux(field, step, nx, ny, progress);
      bool hotBorder = false;
      for (int iy = -ny; iy <= ny && !hotBorder; ++iy)
        for (int ix = -nx; ix <= nx; ++ix)
          if (((nx < fullX && std::abs(ix) == nx) || (ny < fullY && std::abs(iy) == ny)) &&
              flux(ix, iy) > models::kSafeFlux) {
            hotBorder = true;
            break;
          }
      if (hotBorder) {
        n += std::max(2, n / 2);
      } else if (const int beyond = hotBeyond(g, step, nx, ny)) {
        n = beyond + 1;
      } else {
        return flux;
      }
    }
  }

  // How far out, in steps, the farthest hot point of the eight lines of the grid of `step` m beyond its middle
  // of nx × ny steps lies; 0 when every one of them is safe, by its bound or by its flux (then the zones of
  // the middle are the whole grid's: its escapes end within its safe border, and beyond it the lines are 0).
  int hotBeyond(const CalcSettings& g, int step, int nx, int ny) {
    std::vector<std::pair<int, int>> beyond = LinePoints(g, step);
    std::erase_if(beyond,
                  [&](const auto& p) { return std::abs(p.first) <= nx * step && std::abs(p.second) <= ny * step; });
    const std::vector<bool> safe = safeAt(g, beyond, step);
    int farthest = 0;
    for (std::size_t k = 0; k < beyond.size(); ++k)
      if (!safe[k])
        farthest = std::max({farthest, std::abs(beyond[k].first) / step, std::abs(beyond[k].second) / step});
    return farthest;
  }

  // Whether a flux of at most the value given settles the question asked of the point k (then a flame whose
  // bound is that low is not computed there).
  using Settled = std::function<bool(std::size_t k, double q)>;

  // The flux at the points (x, y) of the grid of `step` m (of 1 m: the fine grid), m, as the run computes it
  // (a point at a flame's base repeats the point before it in its row, 0 when it is the row's first); with
  // `settled`, the flux of a flame whose bound settles the point's question is that bound. The value is then
  // at least the flux, and settles the question exactly when the flux does.
  std::vector<double> fluxAt(const CalcSettings& g, const std::vector<std::pair<int, int>>& points, int step = 1,
                             const Settled& settled = {}) {
    prepareFine(g);
    // Each point's flames, with the bound of those that need no flux (NaN: computed).
    const std::size_t flames = field.size();
    std::vector<double> given(points.size() * flames, NAN);
    double computed = 0;
    for (std::size_t k = 0; k < points.size(); ++k)
      for (std::size_t n = 0; n < flames; ++n) {
        const auto [x, y] = points[k];
        const std::optional<double> X = FluxX(field[n], g, step, x, y);
        double b = 0;
        if (!X || (settled && settled(k, b = bounds[n].at(*X, y, models::kSafeFlux)))) given[k * flames + n] = b;
        else ++computed;
      }
    charge(computed);
    std::vector<double> q(points.size());
    models::ParallelRows(
        0, static_cast<int>(points.size()) - 1,
        [&](int i) {
          thread_local models::FluxScratch scratch;
          const auto k = static_cast<std::size_t>(i);
          const auto [x, y] = points[k];
          double v = 0;
          for (std::size_t n = 0; n < flames; ++n) {
            const double b = given[k * flames + n];
            v = std::max(
                v, std::isnan(b) ? models::FlameFluxAt(fineFlames[n], *FluxX(field[n], g, step, x, y), y, scratch) : b);
          }
          q[k] = v;
        },
        progress);
    return q;
  }
  // Whether the flux at each point is safe, exactly, computing only the flames whose bound does not tell.
  std::vector<bool> safeAt(const CalcSettings& g, const std::vector<std::pair<int, int>>& points, int step = 1) {
    const std::vector<double> q = fluxAt(g, points, step, [](std::size_t, double v) { return v <= models::kSafeFlux; });
    std::vector<bool> safe(q.size());
    for (std::size_t k = 0; k < q.size(); ++k) safe[k] = q[k] <= models::kSafeFlux;
    return safe;
  }

  // The fine grid's flames, and the bounds of their flux (made once).
  void prepareFine(const CalcSettings& g) {
    if (!fineFlames.empty()) return;
    for (const GroundFlame& f : field) {
      fineFlames.push_back(models::PrepareFlame(f.shape, f.geometry, f.args, 1, g.XLimit / 2, g.YLimit / 2));
      bounds.emplace_back(fineFlames.back());
    }
  }

  // A bound from above of the flux of the grid of 1 m at its point (x, y), m, as the run computes it: the
  // largest of the flames' bounds (where the flames' boxes as one already keep it safe, that coarser bound).
  double boundAt(const CalcSettings& g, int x, int y) const {
    double v = 0;
    for (std::size_t n = 0; n < field.size(); ++n)
      if (const std::optional<double> X = FluxX(field[n], g, 1, x, y))
        v = std::max(v, bounds[n].at(*X, y, models::kSafeFlux));
    return v;
  }

  // Whether a point whose flux is at most `q` and whose escape at most `escape` m surely stays below the level
  // of `zone`.
  bool surelyBelow(const CalcSettings& g, double q, double escape, int zone) const {
    if (q <= models::kSafeFlux) return true;
    return models::ThermalProbit(q, models::EscapeTime(escape, g.Skor_chel)) <
           probitFloor[static_cast<std::size_t>(zone)] - kProbitRounding;
  }

  // Whether no point of the eight lines of the grid of 1 m reaches the level of `zone`, told from the flux
  // `coarse` of the grid `g` (the whole grid or a middle holding every hot point).
  bool outOfReach(const CalcSettings& g, const Grid& coarse, int zone) {
    prepareFine(g);
    const int s = g.CStep;
    const double base = HalfShiftAt(field.front(), s), delta = base - HalfShiftAt(field.front(), 1);
    // The coarse point (ix, iy) is the point (ix·s + delta, iy·s) of the fine grid's flames.
    KnownSafe safe(g);
    double extent = -1;
    for (int iy = -coarse.ny(); iy <= coarse.ny(); ++iy)
      for (int ix = -coarse.nx(); ix <= coarse.nx(); ++ix) {
        const double x = ix * s + delta, y = iy * s;
        if (coarse(ix, iy) > models::kSafeFlux) {
          extent = std::max({extent, std::fabs(x), std::fabs(y)});
        } else if ((ix * s + base != 0 || iy != 0) && safe.inGrid(x, y)) {
          safe.add(static_cast<int>(2 * x), iy * s);  // not the point at the base, which repeats its neighbour
        }
      }
    safe.sort();
    hot = extent;

    // Every point of the fine lines out to the grid's edge: those whose bound keeps them safe are safe points
    // too; of the rest, those whose bound, with the escape to the nearest safe point known, keeps them below
    // the level are left out, and the others computed.
    std::vector<std::pair<int, int>> line;
    std::vector<double> upper;
    for (const auto& [x, y] : LinePoints(g, 1)) {
      const double b = boundAt(g, x, y);
      if (b <= models::kSafeFlux) {
        safe.insert(2 * x, y);
      } else {
        line.emplace_back(x, y);
        upper.push_back(b);
      }
    }
    resolveBetween(g, safe, line);
    std::vector<std::pair<int, int>> points;
    std::vector<double> escapes;
    for (std::size_t k = 0; k < line.size(); ++k)
      if (const double escape = safe.nearest(line[k].first, line[k].second).distance;
          !surelyBelow(g, upper[k], escape, zone)) {
        points.push_back(line[k]);
        escapes.push_back(escape);
      }
    if (points.empty()) return true;

    // A flame whose bound keeps the point below the level is taken at its bound: a point whose value reaches
    // it (with an escape no longer than the one known now) has it from a flame computed, and that is its flux.
    const std::vector<double> q =
        fluxAt(g, points, 1, [&](std::size_t k, double v) { return surelyBelow(g, v, escapes[k], zone); });
    for (std::size_t k = 0; k < points.size(); ++k)
      if (q[k] <= models::kSafeFlux) safe.insert(2 * points[k].first, points[k].second);
    // The points that may still reach the level, with the escape to the nearest safe point known. The points
    // left out stay below it with any escape no longer than that, and escapes only shorten as more safe points
    // are found; a point whose value is a bound and not its flux is safe, or stays below the level.
    const auto reaches = [&](std::size_t k) {
      return q[k] > models::kSafeFlux &&
             Reaches(PercentAt(tables, q[k], safe.nearest(points[k].first, points[k].second).distance, g.Skor_chel),
                     zone);
    };
    std::vector<std::size_t> open;
    for (std::size_t k = 0; k < points.size(); ++k)
      if (reaches(k)) open.push_back(k);
    if (open.empty()) return true;

    // The escapes of those points made exact: every point of the fine grid farther out in both coordinates and
    // nearer than the nearest safe point known is settled (a point found safe can only shorten the escape, so
    // the nearest safe point among them, or the one known, is the fine grid's own). The open points' flux is
    // known and hot; another point of the lines may have been taken at its bound, and is settled again.
    std::set<std::pair<int, int>> known;
    for (const std::size_t k : open) known.insert(points[k]);
    std::set<std::pair<int, int>> nearer;
    const double most = kExactEscapeShare * finePoints(g);
    const int xHalf = g.XLimit / 2, yHalf = g.YLimit / 2;
    for (const std::size_t k : open) {
      const auto [x, y] = points[k];
      const double d = safe.nearest(x, y).distance;
      for (const int sx : {1, -1})
        for (const int sy : {1, -1})
          for (int x2 = sx * (std::abs(x) + 1); std::abs(x2) <= xHalf && std::abs(x2 - x) < d; x2 += sx)
            for (int y2 = sy * (std::abs(y) + 1); std::abs(y2) <= yHalf && std::abs(y2 - y) < d; y2 += sy)
              if (Distance(x2 - x, y2 - y) < d && !known.contains({x2, y2})) nearer.emplace(x2, y2);
      if (static_cast<double>(nearer.size()) > most) return false;  // the fine grid costs little more
    }
    for (const auto& p : settle(g, {nearer.begin(), nearer.end()})) safe.insert(2 * p.first, p.second);
    return std::none_of(open.begin(), open.end(), reaches);
  }

  // The escapes of the fine grid end at its own points: a safe point of a coarse grid halfway between two of
  // them holds for the points (x, y) that escape to it once the outer of the two is safe. Those the points
  // escape to are settled, round by round, until every escape ends at a fine point or the edge.
  void resolveBetween(const CalcSettings& g, KnownSafe& safe, const std::vector<std::pair<int, int>>& points) {
    for (;;) {
      std::vector<std::pair<int, int>> between;
      for (const auto& [x, y] : points)
        if (const KnownSafe::Nearest n = safe.nearest(x, y); n.point && n.halfX % 2 != 0)
          between.emplace_back(n.halfX, n.y);
      if (between.empty()) return;
      std::sort(between.begin(), between.end());
      between.erase(std::unique(between.begin(), between.end()), between.end());
      std::vector<std::pair<int, int>> outer;
      for (const auto& [halfX, y] : between) {
        safe.remove(halfX, y);
        const int x = (halfX + (halfX > 0 ? 1 : -1)) / 2;
        if (safe.inGrid(x, y)) outer.emplace_back(x, y);
      }
      for (const auto& p : settle(g, outer)) safe.insert(2 * p.first, p.second);
    }
  }

  // The safe ones among the points (x, y) of the grid of 1 m.
  std::vector<std::pair<int, int>> settle(const CalcSettings& g, const std::vector<std::pair<int, int>>& points) {
    const std::vector<bool> safe = safeAt(g, points);
    std::vector<std::pair<int, int>> found;
    for (std::size_t k = 0; k < points.size(); ++k)
      if (safe[k]) found.push_back(points[k]);
    return found;
  }

  // The step of the fine grid for the widths of `g` (its step when none finer is affordable), and the
  // points it computes first.
  std::pair<int, double> fineGrid(const CalcSettings& g) const {
    const double from = guess(g.CStep);
    for (int step = 1; step < g.CStep; ++step) {
      if (g.XLimit % (2 * step) != 0 || g.YLimit % (2 * step) != 0) continue;
      const double nx = std::min(std::ceil(from / step), static_cast<double>(models::GridHalf(g.XLimit, step)));
      const double ny = std::min(std::ceil(from / step), static_cast<double>(models::GridHalf(g.YLimit, step)));
      const double points = (2 * nx + 1) * (2 * ny + 1);
      if (points * static_cast<double>(field.size()) <= kFineEvaluations) return {step, points};
    }
    return {g.CStep, 0.0};
  }
  double finePoints(const CalcSettings& g) const { return fineGrid(g).second; }

  // The fine grid for the widths of `g`, finer than its step where affordable.
  const Fine& fineFor(const CalcSettings& g) {
    const auto key = std::make_pair(g.XLimit, g.YLimit);
    if (auto it = fine.find(key); it != fine.end()) return it->second;
    const double from = guess(g.CStep);
    const int step = fineGrid(g).first;
    Fine f;
    f.step = step;
    if (step < g.CStep) f.zones = ZonesOf(Percent(hotMiddle(g, step, from), g, step, tables, progress), g, step);
    return fine.emplace(key, f).first->second;
  }
};

FieldZones::FieldZones(const FlameField& field, const models::ReferenceTables& tables, models::Progress& progress,
                       EvaluationBudget* budget)
    : impl_(std::make_unique<Impl>(field, tables, progress, budget)) {}
FieldZones::~FieldZones() = default;

void FieldZones::setBudget(EvaluationBudget* budget) { impl_->budget = budget; }

FieldZones::OnGrid FieldZones::onGrid(const CalcSettings& g) {
  OnGrid r;
  r.flux = impl_->hotMiddle(g, g.CStep, impl_->guess(g.CStep));
  impl_->hot = HotExtent(r.flux, g.CStep);
  r.zones = ZonesOf(Percent(r.flux, g, g.CStep, impl_->tables, impl_->progress), g, g.CStep);
  return r;
}

bool FieldZones::misses(const CalcSettings& g, const Grid& flux, const ZoneRow& zones) {
  if (g.CStep <= 1 || impl_->field.empty()) return false;
  const int zone = WidestZoneMissing(zones);
  if (zone == 0 || impl_->outOfReach(g, flux, zone)) return false;
  const Fine& f = impl_->fineFor(g);
  if (f.step >= g.CStep) return false;
  for (int z = 1; z <= models::kZoneLevels; ++z)
    if (zones(z) == 0 && f.zones(z) > 0) return true;
  return false;
}

const FieldZones::Fine* FieldZones::fine(const CalcSettings& g) const {
  const auto it = impl_->fine.find(std::make_pair(g.XLimit, g.YLimit));
  return it == impl_->fine.end() ? nullptr : &it->second;
}

}  // namespace velaron::run
