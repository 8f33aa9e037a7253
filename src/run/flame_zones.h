// The zones of a jet case's flames on a grid, and whether a grid shows 0 for a zone that a fine grid shows.
//
// The zones are read off the eight lines from the rupture point, and the percent at a point depends on the
// whole grid (the escape to the nearest safe cell farther out), so a zone that the flame reaches is one that
// the eight lines of a grid of 1 m show. Between the points of a coarser grid a small zone can be lost: the
// answer is the field computed exactly as the run computes it on a grid of 1 m (of the finest step a
// bounded number of flux evaluations affords, for large flames), over the middle of the grid that holds
// every hot point with a ring of safe points around it and whose eight lines are safe beyond it: the escapes
// of that middle end within the ring, and beyond it the lines read 0, so its zones are those of the whole grid.
//
// That costs as much as a run, so it is computed only when cheaper questions cannot tell: a zone that the
// grid of the run shows is not lost, and a zone the run shows 0 for is out of reach when no point of the
// eight lines of the fine grid reaches its level. That is proved, never estimated: a point of the fine lines
// is left out only where a bound from above of its flux (models::FlameFluxBound, which holds for every flame
// the method computes), with its escape bounded from above by the safe points known so far, keeps it below
// the level; every other point is computed. The safe points known are those of the run's grid, which are
// points of the fine grid too, the fine points whose bound keeps them safe and those found safe. Where a
// computed point could still reach the level, its escape is made exact by settling every fine point nearer to
// it than its nearest safe point known, as long as they are few against the fine grid: a small flame's zone
// that its run shows 0 for is so told out of reach without its fine field.
#pragma once

#include <limits>
#include <memory>
#include <vector>

#include "models/calc_state.h"
#include "run/flame_grid.h"

namespace velaron::run {

// The flux evaluations (points times flames) a check may still make. A check that would need more stops
// where it is and leaves its question open (the grid asked about is then taken as it is).
struct EvaluationBudget {
  double left = std::numeric_limits<double>::infinity();
};

// The flux evaluations the checks of grids against flames have made since the program started: the
// sampling of the ground, the grids asked about and the fine fields (for tests and benchmarks).
long long CheckEvaluations();
void CountCheckEvaluations(double n);

// The zones of the flames of one field on the grids a run asks about; what it computes is kept for the
// next question. The field's flames are those of a grid of 1 m: a grid of another step moves their base
// as the run does. With a budget, every flux it computes is taken from the budget, and a question the
// budget cannot pay for is not asked: `onGrid` and `misses` then throw OverBudget.
class FieldZones {
 public:
  struct OverBudget {};
  FieldZones(const FlameField& field, const models::ReferenceTables& tables, models::Progress& progress,
             EvaluationBudget* budget = nullptr);
  ~FieldZones();
  // What it computes from now on is taken from `budget` (none: unbounded).
  void setBudget(EvaluationBudget* budget);

  // The flux of the field on the grid `g` (widths, step, escape speed) over the middle that holds every
  // hot point, and the zones that grid reads off its eight lines.
  struct OnGrid {
    models::Grid flux;
    models::ZoneRow zones;
  };
  OnGrid onGrid(const models::CalcSettings& g);

  // Whether the grid `g`, whose flux `flux` (the whole grid or a middle holding every hot point) gives the
  // zones `zones`, shows 0 for a zone that the fine grid of the same widths shows. Never for a step of 1 m,
  // nor for a step no coarser than the finest one affordable.
  bool misses(const models::CalcSettings& g, const models::Grid& flux, const models::ZoneRow& zones);

  // The fine grid's step and zones for the widths of `g`, once `misses` has computed them (else nothing).
  struct Fine {
    int step = 0;
    models::ZoneRow zones;
  };
  const Fine* fine(const models::CalcSettings& g) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The widest zone (4 for 1 %, ..., 1 for 99,99 %) that `zones` shows 0 for; 0 when it shows them all.
int WidestZoneMissing(const models::ZoneRow& zones);

}  // namespace velaron::run
