#include "run/flame_grid.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <memory>
#include <tuple>
#include <utility>
#include <cstdlib>

#include "common/numtext.h"
#include "models/jet_asymmetric.h"
#include "models/parallel.h"
#include "models/probit.h"
#include "models/settings_rules.h"
#include "run/flame_zones.h"

namespace velaron::run {

namespace {

using models::CalcSettings;

const char* const kMenu = " (Меню: Файл -> Параметры).";

std::string StepFault(int step) {
  return "Шаг сетки " + std::to_string(step) +
         " м слишком велик для размеров факела: зоны поражения между узлами сетки определяются неверно.";
}
std::string WidthFault(int width) {
  return "Ширина зоны расчета " + std::to_string(width) +
         " м слишком мала для размеров факела: граница сетки не выходит из-под факела, и зоны поражения не "
         "определяются.";
}
// "2000 м", or "2000 м по X и 1000 м по Y".
std::string WidthsText(const CalcSettings& s) {
  if (s.XLimit == s.YLimit) return std::to_string(s.XLimit) + " м";
  return std::to_string(s.XLimit) + " м по X и " + std::to_string(s.YLimit) + " м по Y";
}

bool Accepted(const CalcSettings& s) { return !models::CheckGridRule(s).has_value(); }

// The largest step up to `bound` that the settings accept with the widths of `s` and on which `shows` holds
// (when given); 0 when none does (a finer step would put too many points on them).
int AcceptedStep(CalcSettings s, int bound, const GridShowsZones& shows) {
  for (int step = bound; step >= 1; --step) {
    s.CStep = step;
    if (Accepted(s) && (!shows || shows(s))) return step;
  }
  return 0;
}

// The smallest width from `least` on that the settings accept with the step of `s`, each narrower side
// widened to it; 0 when none does.
int AcceptedWidth(CalcSettings s, int least) {
  const int x = s.XLimit, y = s.YLimit;
  const int twoSteps = 2 * s.CStep;
  for (int width = (std::max(least, 1) + twoSteps - 1) / twoSteps * twoSteps; width <= models::kMaxGridWidth;
       width += twoSteps) {
    s.XLimit = std::max(x, width);
    s.YLimit = std::max(y, width);
    if (Accepted(s)) return width;
  }
  return 0;
}

// A square grid with the step `step` and a width of at least `least` that the settings accept: the widest
// one no wider than the grid of `s` (the part of the ground the user meant to see), else the narrowest one
// wider. 0 when there is none.
int AcceptedSquareWidth(const CalcSettings& s, int step, int least) {
  CalcSettings g = s;
  g.CStep = step;
  const int twoSteps = 2 * step;
  const int first = (std::max(least, 1) + twoSteps - 1) / twoSteps * twoSteps;
  for (int width = std::max(s.XLimit, s.YLimit) / twoSteps * twoSteps; width >= first; width -= twoSteps) {
    g.XLimit = g.YLimit = width;
    if (Accepted(g)) return width;
  }
  for (int width = first; width <= models::kMaxGridWidth; width += twoSteps) {
    g.XLimit = g.YLimit = width;
    if (Accepted(g)) return width;
  }
  return 0;
}

// A step up to `bound` and a square width of at least `least` that the settings accept, on which `shows`
// holds (when given), as AcceptedSquareWidth takes it: the largest such step. {0, 0} when there is none.
std::pair<int, int> AcceptedPair(const CalcSettings& s, int bound, int least, const GridShowsZones& shows) {
  for (int step = bound; step >= (shows ? 1 : bound); --step) {
    const int width = AcceptedSquareWidth(s, step, least);
    CalcSettings g = s;
    g.XLimit = g.YLimit = width;
    g.CStep = step;
    if (width != 0 && (!shows || shows(g))) return {step, width};
  }
  return {0, 0};
}

const char* const kZoneLevels[] = {"", "99,99 %", "50 %", "33 %", "1 %"};

std::string LostZoneFault(int step, int zone, double radius, int fineStep) {
  return "Шаг сетки " + std::to_string(step) + " м слишком велик для этого факела: его зона поражения " +
         kZoneLevels[zone] + " (" + FormatNumber(radius) + " м при шаге сетки " + std::to_string(fineStep) +
         " м) лежит между узлами сетки и выходит равной 0.";
}

// The slant lengths of the flames of the fields, the smallest and the largest, m.
std::pair<double, double> SlantRange(const std::vector<const FlameField*>& fields) {
  double smallest = std::numeric_limits<double>::infinity(), largest = 0;
  for (const FlameField* field : fields)
    for (const GroundFlame& f : *field) {
      const double slant = models::FlameConeOf(f.shape, f.geometry, f.args.FlameTilt).D;
      smallest = std::min(smallest, slant);
      largest = std::max(largest, slant);
    }
  return {smallest, largest};
}

// Whether every field shows on a grid every zone that its fine grid shows; a grid the fields' budget cannot
// pay the question for is taken as it is.
GridShowsZones ShowsEveryZone(std::vector<std::unique_ptr<FieldZones>>& fields) {
  return [&fields](const CalcSettings& g) {
    try {
      for (const auto& f : fields) {
        const FieldZones::OnGrid on = f->onGrid(g);
        if (f->misses(g, on.flux, on.zones)) return false;
      }
    } catch (const FieldZones::OverBudget&) {
    }
    return true;
  };
}

// Before the run, whether the step a refusal names shows every zone is asked with up to this many flux
// evaluations per evaluation of the sampling of the ground.
constexpr double kAskedPerSampled = 2;

// The probit at which the widest zone begins: that of 1 %; below it the percent is 0.
constexpr double kZoneProbit = models::kNoInjuryProbit;
// The ground is first sampled at this many points per slant length of the smallest flame of a field, over
// a square around the rupture point that reaches this many slant lengths beyond the farthest flame, with
// at most this many points from the centre to a side (the spacing grows for flames of very different
// sizes)...
constexpr double kCoarsePerSlant = 4;
constexpr double kSampledSlants = 1;
constexpr int kMaxSampleHalf = 48;
// ...and the square is doubled, at most this many times, while the ground at its border is warm: its flux
// above this share of the safe flux...
constexpr int kMaxSampleDoublings = 3;
constexpr double kWarmShare = 0.5;
// ...then the warm part is sampled this many times as finely (12 points per slant length: a finer
// sampling moves the largest probit by a few hundredths).
constexpr int kFinePerCoarse = 3;

// The flux of the field's flames joined by their maximum on the points i·spacing, j·spacing (|i|, |j| up to
// `half`) from the rupture point. The rows go from the middle out, so that a flame whose flux gives a zone
// even to a person exposed for `shortest` seconds (who has no way to run) is told at once: `zone` is then
// set and the rest left out.
models::Grid SampleField(const FlameField& field, const std::vector<models::FlameSetup>& flames, double spacing,
                         int half, double shortest, std::atomic<bool>& zone, double& evaluations) {
  const double points = (2.0 * half + 1) * (2.0 * half + 1) * static_cast<double>(flames.size());
  evaluations += points;
  CountCheckEvaluations(points);
  models::Grid flux(half, half);
  models::ParallelRows(0, 2 * half, [&](int k) {
    if (zone.load(std::memory_order_relaxed)) return;
    const int j = k % 2 ? (k + 1) / 2 : -k / 2;
    thread_local models::FluxScratch scratch;
    double* row = flux.row(j);
    for (int i = -half; i <= half; ++i) {
      double q = 0;
      for (std::size_t n = 0; n < flames.size(); ++n) {
        const double x = i * spacing + field[n].args.Shift / 2, y = j * spacing;
        // The flame's base has no flux of its own; the points beside it stand for it.
        if (x != 0 || y != 0) q = std::max(q, models::FlameFluxAt(flames[n], x, y, scratch));
      }
      row[i + half] = q;
      if (q > models::kSafeFlux && models::ThermalProbit(q, shortest) >= kZoneProbit)
        zone.store(true, std::memory_order_relaxed);
    }
  });
  return flux;
}

// How far from the centre, in points, the flux of `g` exceeds `level` (−1 nowhere), and whether it does on
// the border.
std::pair<int, bool> Extent(const models::Grid& g, double level) {
  int extent = -1;
  bool border = false;
  for (int j = -g.ny(); j <= g.ny(); ++j)
    for (int i = -g.nx(); i <= g.nx(); ++i)
      if (g(i, j) > level) {
        extent = std::max({extent, std::abs(i), std::abs(j)});
        border = border || std::abs(i) == g.nx() || std::abs(j) == g.ny();
      }
  return {extent, border};
}

}  // namespace

int LargestStepForFlame(double slant) {
  const double largest = std::floor(kMaxStepPerFlameSlant * slant);
  if (!(largest >= 1)) return 0;
  // A flame longer than any grid the settings allow is served by every step.
  return largest < models::kMaxGridWidth ? static_cast<int>(largest) : models::kMaxGridWidth;
}

int SmallestWidthForFlame(double slant) {
  const double smallest = std::ceil(kMinWidthPerFlameSlant * slant);
  if (!(smallest >= 0)) return 0;
  return smallest < models::kMaxGridWidth ? static_cast<int>(smallest) : models::kMaxGridWidth;
}

std::optional<std::string> CheckGridForFlames(const CalcSettings& s, double smallest, double largest,
                                              const GridShowsZones& shows) {
  const int bound = LargestStepForFlame(smallest);
  if (bound == 0)
    return "Факел слишком мал для расчета на сетке: его зоны поражения не видны и при шаге сетки 1 м. "
           "Проверте правильность ввода!";
  const int least = SmallestWidthForFlame(largest);
  const bool coarse = s.CStep > bound;
  const int narrowest = std::min(s.XLimit, s.YLimit);
  const bool narrow = narrowest < least;
  if (!coarse && !narrow) return std::nullopt;
  const std::string fault = coarse ? StepFault(s.CStep) : WidthFault(narrowest);
  if (coarse && !narrow) {
    if (const int step = AcceptedStep(s, bound, shows))
      return fault + " Для этого факела при ширине зоны расчета " + WidthsText(s) + " шаг сетки должен быть не более " +
             std::to_string(step) + " м" + kMenu;
  }
  if (narrow && !coarse) {
    if (const int width = AcceptedWidth(s, least))
      return fault + " Для этого факела при шаге сетки " + std::to_string(s.CStep) +
             " м ширина зоны расчета по X и Y должна быть не менее " + std::to_string(width) + " м" + kMenu;
  }
  // Both at once, or the rest of the grid does not allow it: a step and a width together. A coarser step
  // allows a wider grid, so the largest step that serves is taken.
  if (const auto [step, width] = AcceptedPair(s, bound, least, shows); step != 0)
    return fault + " Для этого факела задайте шаг сетки " + std::to_string(step) +
           " м и ширину зоны расчета по X и Y " + std::to_string(width) + " м" + kMenu;
  return fault + " Сетки расчета для этого факела нет: шаг сетки должен быть не более " + std::to_string(bound) +
         " м, а ширина зоны расчета не менее " + std::to_string(least) + " м. Проверте правильность ввода!";
}

GroundFlame PitOrSymmetricFlame(models::FlameShape shape, const models::DerivedQuantities& d) {
  GroundFlame f;
  f.shape = shape;
  f.geometry = models::FlameInputsFrom(d);
  f.args.FlameTilt = d.Tilt;  // the flame stands at the rupture point and leans with the wind
  return f;
}

FlameField AsymmetricJets(const models::DerivedQuantities& d, double depth) {
  FlameField jets;
  models::FlameGeometryInputs g = models::FlameInputsFrom(d);
  g.WindAngle = models::kAsimmJetFrameAngle;
  const models::AsimmFlameBase base = models::AsimmFlameBaseFor(d.JetAngle, d.LiftOff, d.PitLength, depth, 1);
  for (double dir : models::AsimmJetDirections(d.Azimut))
    jets.push_back({models::FlameShape::Asymmetric, g, models::AsimmJetArgs(base, d.JetAngle, dir)});
  return jets;
}

bool FieldReachesAZone(const FlameField& field, double escapeSpeed, double* evaluations) {
  double uncounted = 0;
  double& spent = evaluations ? *evaluations : uncounted;
  if (field.empty()) return false;
  std::vector<models::FlameSetup> flames;
  double slant = std::numeric_limits<double>::infinity(), reach = 0;
  try {
    for (const GroundFlame& f : field) {
      flames.push_back(models::PrepareFlame(f.shape, f.geometry, f.args, 1, 0, 0));
      const models::FlameSetup& p = flames.back();
      slant = std::min(slant, p.D);
      // The flame lies within two slant lengths of its base, which stands off the rupture point.
      reach = std::max(
          reach, std::fabs(f.args.Shift) / 2 + std::hypot(f.args.BaseX, f.args.BaseZ) + (2 + kSampledSlants) * p.D);
    }
  } catch (const models::ModelInputError&) {
    return true;
  }
  if (!(slant > 0) || !std::isfinite(reach)) return true;
  double spacing = slant / kCoarsePerSlant;
  int half = static_cast<int>(std::ceil(reach / spacing));
  if (half > kMaxSampleHalf) {
    spacing = reach / kMaxSampleHalf;
    half = kMaxSampleHalf;
  }
  const double shortest = models::EscapeTime(0, escapeSpeed);
  std::atomic<bool> zone{false};

  // Where the ground is warm.
  int warm = -1;
  for (int doubling = 0;; ++doubling, spacing *= 2) {
    const models::Grid coarse = SampleField(field, flames, spacing, half, shortest, zone, spent);
    if (zone) return true;
    bool border = false;
    std::tie(warm, border) = Extent(coarse, kWarmShare * models::kSafeFlux);
    if (warm < 0) return false;
    if (!border) break;
    if (doubling == kMaxSampleDoublings) return true;  // heat beyond the sampled ground
  }

  // The warm part finely, and the hot points in it (those a person must escape from).
  const double fine = spacing / kFinePerCoarse;
  const int fineHalf = (warm + 1) * kFinePerCoarse;
  const models::Grid flux = SampleField(field, flames, fine, fineHalf, shortest, zone, spent);
  if (zone) return true;
  const auto [hot, hotBorder] = Extent(flux, models::kSafeFlux);
  if (hot < 0) return false;
  if (hotBorder) return true;

  // The escapes as the run finds them, from each hot point to the nearest safe one farther out in both
  // directions, on a square wide enough that its border is never nearer than that point: the ground
  // beyond the sampled square is safe.
  const int wide = 2 * hot + 2;
  models::Grid ground(wide, wide);
  const int copied = std::min(fineHalf, wide);
  for (int j = -copied; j <= copied; ++j)
    for (int i = -copied; i <= copied; ++i) ground(i, j) = flux(i, j);
  const models::EscapeSearch escape(ground, 1, wide, wide);  // in sample spacings
  for (int j = -hot; j <= hot; ++j)
    for (int i = -hot; i <= hot; ++i) {
      const double q = ground(i, j);
      if (q > models::kSafeFlux &&
          models::ThermalProbit(q, models::EscapeTime(escape.distance(i, j) * fine, escapeSpeed)) >= kZoneProbit)
        return true;
    }
  return false;
}

FlameField SingleJetField(models::FlameShape shape, const models::DerivedQuantities& d, double depth) {
  return shape == models::FlameShape::Asymmetric ? AsymmetricJets(d, depth) : FlameField{PitOrSymmetricFlame(shape, d)};
}

std::optional<std::string> CheckGridForFields(const CalcSettings& s, const std::vector<FlameField>& fields,
                                              const models::ReferenceTables& tables) {
  std::vector<const FlameField*> all;
  for (const FlameField& field : fields) all.push_back(&field);
  const auto [smallest, largest] = SlantRange(all);
  if (!CheckGridForFlames(s, smallest, largest)) return std::nullopt;
  // The refusal names the step the flames' size allows, found at once. Whether that step shows every zone is
  // asked too, cheapest question first, only while its flux costs no more than twice the sampling of the
  // ground did: the fine field of a small flame is cheap, that of a large one is not asked for here (the run
  // on the step named still checks its zones once its field is computed).
  double sampled = 0;
  if (std::none_of(fields.begin(), fields.end(),
                   [&](const FlameField& field) { return FieldReachesAZone(field, s.Skor_chel, &sampled); }))
    return std::nullopt;
  EvaluationBudget budget{kAskedPerSampled * sampled};
  std::vector<std::unique_ptr<FieldZones>> zones;
  for (const FlameField& field : fields)
    zones.push_back(std::make_unique<FieldZones>(field, tables, models::NoProgress(), &budget));
  return CheckGridForFlames(s, smallest, largest, ShowsEveryZone(zones));
}

std::optional<std::string> CheckZonesSeen(const models::CalcState& s, const std::vector<JetCase>& cases,
                                          const models::ReferenceTables& tables, models::Progress& progress) {
  const CalcSettings& g = s.settings;
  if (g.CStep <= 1) return std::nullopt;
  // The first case whose grid misses a zone, and the widest zone it misses.
  std::vector<std::unique_ptr<FieldZones>> zones;
  std::string fault;
  std::size_t missing = 0;
  double run = 0;  // the flux evaluations of the run's field
  for (const JetCase& c : cases) {
    run += (2.0 * s.nx() + 1) * (2.0 * s.ny() + 1) * static_cast<double>(c.field.size());
    zones.push_back(std::make_unique<FieldZones>(c.field, tables, progress));
    if (!fault.empty()) continue;
    const models::Grid& flux = c.layered ? s.LayerFlux.layer(models::LayerOf(c.kind)) : s.GridValue;
    const models::ZoneRow& row = s.zones.ZoneR(c.kind);
    if (!zones.back()->misses(g, flux, row)) continue;
    missing = zones.size() - 1;
    const FieldZones::Fine& fine = *zones.back()->fine(g);
    for (int z = models::kZoneLevels; z >= 1 && fault.empty(); --z)
      if (row(z) == 0 && fine.zones(z) > 0) fault = LostZoneFault(g.CStep, z, fine.zones(z), fine.step);
  }
  if (fault.empty()) return std::nullopt;
  // The step named shows the zone the run lost, asked first; whether it shows every zone of the other cases
  // too is asked while that costs no more than the run's own field did. Past that the step is named as it is,
  // and the run on it checks its zones in turn.
  std::swap(zones.front(), zones[missing]);
  EvaluationBudget budget{run};
  for (std::size_t k = 1; k < zones.size(); ++k) zones[k]->setBudget(&budget);

  // A finer step that shows every zone, with the widths as they are; else a step and a width.
  std::vector<const FlameField*> all;
  for (const JetCase& c : cases) all.push_back(&c.field);
  const auto [smallest, largest] = SlantRange(all);
  int bound = g.CStep - 1;
  if (const int bySize = LargestStepForFlame(smallest); bySize >= 1) bound = std::min(bound, bySize);
  const GridShowsZones shows = ShowsEveryZone(zones);
  if (const int step = AcceptedStep(g, bound, shows))
    return fault + " Для этого факела при ширине зоны расчета " + WidthsText(g) + " задайте шаг сетки " +
           std::to_string(step) + " м" + kMenu;
  if (const auto [step, width] = AcceptedPair(g, bound, SmallestWidthForFlame(largest), shows); step != 0)
    return fault + " Для этого факела задайте шаг сетки " + std::to_string(step) +
           " м и ширину зоны расчета по X и Y " + std::to_string(width) + " м" + kMenu;
  return fault + " Сетки расчета для этого факела нет. Проверте правильность ввода!";
}

}  // namespace velaron::run
