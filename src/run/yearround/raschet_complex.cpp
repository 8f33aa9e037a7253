#include <cmath>
#include <iterator>

#include "models/flame_flux.h"
#include "models/jet_symmetric.h"
#include "models/probit.h"
#include "result/scenarios.h"
#include "run/flame_geometry.h"
#include "run/flame_grid.h"
#include "run/yearround/combine.h"
#include "run/yearround/wind_states.h"
#include "run/yearround/year_round.h"

namespace velaron::run::yearround {

namespace {

using models::CalcState;
using models::FlameShape;
using models::Grid;

// The four seasonal blocks of the pit and the symmetric jet.
struct Block {
  models::ScenarioKind kind;  // jet case: ZoneR / ZoneRDir row, LayerFlux / LayerProc layer
  FlameShape shape;
  Season season;
  const char* caption;
};
const Block kBlocks[] = {
    {models::ScenarioKind::PitWinter, FlameShape::Pit, Season::Winter, kCaptionPitWinter},
    {models::ScenarioKind::PitSummer, FlameShape::Pit, Season::Summer, kCaptionPitSummer},
    {models::ScenarioKind::SymmetricWinter, FlameShape::Symmetric, Season::Winter, kCaptionSymmWinter},
    {models::ScenarioKind::SymmetricSummer, FlameShape::Symmetric, Season::Summer, kCaptionSymmSummer},
};
// The progress of the whole run counts these blocks and wind states (see the scenario table).
static_assert(std::size(kBlocks) == result::kSeasonalJetBlocks && kWindStates == result::kWindStatePasses);

// The flame quantities of wind state i of a season: wind ratio, tilt, ellipse factor, wind angle.
void SetWindState(models::DerivedQuantities& d, double W, double speed, int i) {
  d.Rw = speed / W;
  d.Tilt = TiltRadians(d.JetAngle, d.Rw, d.Ri);
  d.KEllipse = 1 - 0.1 * speed;
  d.WindAngle = StateWindAngle(i);
}

double EquivalentDiameter(double D, double V) { return D * std::sqrt(1 / (kAirDensity * V)); }

// The asymmetric jet's geometry as the year-round assessment computes it: with the wind of the last
// state walked (calm in summer) and the tilt that state left.
AsymmetricGeometry YearRoundAsymmetricGeometry(const models::DerivedQuantities& d, const YearRoundInputs& in) {
  const double calmSummer = in.wind.speedSummer[kWindStates - 1];
  return ComputeAsymmetricGeometry(in.W, d.LTorchBase, EquivalentDiameter(in.D, in.V), in.V, calmSummer, d.Azimut,
                                   d.Tilt);
}

void DefaultFlameField(CalcState& s, FlameShape shape, models::Progress& progress) {
  models::TorchFluxArgs args;  // emissivity 0.1939, 1720 K, no base offsets, horizontal direction 0
  args.FlameTilt = s.derived.Tilt;
  models::TorchFluxField(s, shape, args, progress);
}

void ThrowIfCancelled(const models::Progress& progress) {
  if (progress.cancelled()) throw models::Cancelled{};
}

}  // namespace

std::vector<FlameField> YearRoundFields(const models::DerivedQuantities& run, const YearRoundInputs& in) {
  models::DerivedQuantities d = run;
  // The zones of a season come from the largest flux of its wind states, those of the asymmetric flame from
  // its four jets.
  std::vector<FlameField> fields;
  for (const Block& b : kBlocks) {
    const SeasonWind season = SeasonOf(in.wind, b.season);
    FlameField& field = fields.emplace_back();
    for (int i = 1; i <= kWindStates; ++i) {
      SetWindState(d, in.W, season.speed[i - 1], i);
      models::CheckFlame(b.shape, models::FlameInputsFrom(d), d.Tilt);
      field.push_back(PitOrSymmetricFlame(b.shape, d));
    }
  }
  // d now holds the calm summer state, as the asymmetric block finds it.
  const AsymmetricGeometry g = YearRoundAsymmetricGeometry(d, in);
  ApplyAsymmetricGeometry(g, d);
  models::CheckFlame(FlameShape::Asymmetric, models::FlameInputsFrom(d), d.Tilt);
  fields.push_back(AsymmetricJets(d, in.Glubina));
  return fields;
}

std::optional<std::string> CheckYearRound(const CalcState& s, const YearRoundInputs& in,
                                          const models::ReferenceTables& tables) {
  if (!(in.W > 0) || !(in.V > 0) || !(in.D > 0))
    return "Скорость истечения, удельный объем газа и диаметр трубы должны быть больше 0. "
           "Проверте правильность ввода!";
  if (auto m = CheckTownWind(in.wind)) return m->message;
  // The grid must serve every flame the assessment will draw: its step the smallest, its width the largest.
  std::vector<FlameField> fields;
  try {
    fields = YearRoundFields(s.derived, in);
  } catch (const models::ModelInputError& e) {
    return std::string(e.what());
  }
  return CheckGridForFields(s.settings, fields, tables);
}

void RaschetComplex(CalcState& s, const YearRoundInputs& in, const models::ReferenceTables& tables,
                    models::Progress& progress, const Hooks& hooks) {
  if (auto refused = CheckYearRound(s, in, tables)) throw models::ModelInputError(*refused);
  const FlameFieldFn flameField = hooks.flameField ? hooks.flameField : FlameFieldFn(DefaultFlameField);
  const AsymmetricModelFn asymmetric =
      hooks.asymmetric
          ? hooks.asymmetric
          : AsymmetricModelFn([](CalcState& st, const models::AsimmTorchInputs& a, const models::ReferenceTables& t,
                                 models::Progress& p) { models::RaschetAsimmTorch(st, a, t, p); });
  const models::CalcSettings& cs = s.settings;
  // The probit fields report no rows of their own but still stop when the user cancels.
  models::CancelOnlyProgress cancelOnly(progress);

  // Set-up.
  Grid Kw, Ks, Sw, Ss, Aw, As;
  for (Grid* g : {&Kw, &Ks, &Sw, &Ss, &Aw, &As}) s.dimension(*g);
  Grid* const blockCopy[std::size(kBlocks)] = {&Kw, &Ks, &Sw, &Ss};
  EnsureRunLayers(s);
  s.dimension(s.GridValue);
  const int warmDays = WarmDays(in.wind);
  const int rows = s.GridValue.height();

  // The pit and symmetric jets, season by season, over the nine wind states. A flame depends only on its
  // shape, its wind speed and its direction, so a summer state blowing as fast as in winter takes the
  // winter field as it was computed (calm is often 0 m/s in both seasons).
  std::array<Grid, kWindStates> winterFields;
  std::array<double, kWindStates> winterSpeeds{};
  for (size_t bi = 0; bi < std::size(kBlocks); ++bi) {
    const Block& b = kBlocks[bi];
    const SeasonWind season = SeasonOf(in.wind, b.season);
    const auto weights = StateWeights(season);
    for (int i = 1; i <= kWindStates; ++i) {
      ThrowIfCancelled(progress);
      s.progressTitle = std::string(b.caption) + kWindStateWords[i];
      progress.begin(s.progressTitle, rows);
      const double speed = season.speed[i - 1];
      SetWindState(s.derived, in.W, speed, i);
      Grid& kept = winterFields[i - 1];
      if (b.season == Season::Summer && !kept.empty() && winterSpeeds[i - 1] == speed) {
        s.GridValue = kept;
      } else {
        flameField(s, b.shape, progress);
      }
      if (b.season == Season::Winter) {
        kept = s.GridValue;
        winterSpeeds[i - 1] = speed;
      } else {
        kept = Grid();
      }
      ThrowIfCancelled(progress);
      models::MaxIntoLayer(s.LayerFlux, s.GridValue, cs, models::LayerOf(b.kind));
      models::ProbitGrid(s, models::ProbitBranch::Thermal, tables, cancelOnly);
      models::ScaleGridCap100(s.GridProc, weights[i - 1], cs);
      models::MaxIntoLayer(s.LayerProc, s.GridProc, cs, models::LayerOf(b.kind));
    }
    ThrowIfCancelled(progress);
    // The block's zones come from the percent of its largest flux, not weighted.
    models::GetGridLayer(s.GridValue, s.LayerFlux, cs, models::LayerOf(b.kind));
    models::ProbitGrid(s, models::ProbitBranch::Thermal, tables, cancelOnly);
    if (b.kind == models::ScenarioKind::PitWinter) {
      // Radii of an earlier run never carry over into the jet cases; the other scenarios' rows stay.
      for (int c = 1; c <= models::kJetCases; ++c) {
        s.zones.ZoneR(models::KindOf(c)).fill(0);
        for (models::ZoneRow& dir : s.zones.directions(models::KindOf(c))) dir.fill(0);
      }
    }
    models::DirectionZoneRadii(s, b.kind);
    models::RaiseZoneR(s, b.kind);
    models::GetGridLayer(*blockCopy[bi], s.LayerProc, cs, models::LayerOf(b.kind));
  }

  // The asymmetric jet, once, with the wind of the last state walked.
  ThrowIfCancelled(progress);
  ApplyAsymmetricGeometry(YearRoundAsymmetricGeometry(s.derived, in), s.derived);
  s.progressTitle = result::FactsOf(result::Scenario::AsymmetricJet).progressTitle;
  models::AsimmTorchInputs asym;
  asym.D = in.D;
  asym.Prob = in.probabilities.Paw * in.probabilities.PIgnition;
  asym.Glubina = in.Glubina;
  asym.worstDirection = true;
  asymmetric(s, asym, tables, progress);
  ThrowIfCancelled(progress);
  models::MaxIntoLayer(s.LayerProc, s.GridProc, cs, models::LayerOf(models::ScenarioKind::Asymmetric));
  const SeasonSplit split = AsymmetricSeasonSplit(warmDays);
  models::ScaleGrid(Aw, s.GridProc, split.winter, cs);
  models::ScaleGrid(As, s.GridProc, split.summer, cs);

  // The year-round percent survives only in the risk: the displayed percent is that of the largest flux.
  const result::Probabilities& p = in.probabilities;
  const result::JetShares shares{p.Pkw, p.Psw, p.Paw, p.Pks, p.Pss, p.Pas};
  s.dimension(s.GridRisk);
  const int nx = s.nx(), ny = s.ny();
  for (int iy = -ny; iy <= ny; ++iy) {
    for (int ix = -nx; ix <= nx; ++ix) {
      const double g = YearRoundPercent(shares, Kw(ix, iy), Sw(ix, iy), Aw(ix, iy), Ks(ix, iy), Ss(ix, iy), As(ix, iy));
      s.GridRisk(ix, iy) = p.PIgnition * p.PRupture * g * 0.01;
    }
  }

  // The displayed field: the largest flux of the five jet cases, its probit and percent. That percent
  // stays in GridProc, a grid of its own (see MaxWithLargestJetFluxPercent); layer 4 of LayerProc keeps
  // the symmetric summer case.
  models::MaxOverLayers(s.GridValue, s.LayerFlux, cs, 5);
  models::ProbitGrid(s, models::ProbitBranch::Thermal, tables, cancelOnly);

  // Radii over all jet cases and directions, the direction of the largest zone and its profile.
  CombineJetRadii(s.zones, s.WorstDir);
  models::FillWorstProfile(s);
}

}  // namespace velaron::run::yearround
