#include <stdexcept>

#include "result/scenarios.h"
#include "run/edge_check.h"
#include "run/yearround/combine.h"
#include "run/yearround/year_round.h"

namespace velaron::run::yearround {

namespace {

using models::CalcState;
using models::ComplexGrids;
using models::Grid;
using result::Scenario;

void DimensionComplexGrids(CalcState& s) {
  ComplexGrids& c = s.complex;
  for (Grid* g : {&c.RiskExplosion, &c.ProcExplosion, &c.RiskFireBall, &c.ProcFireBall, &c.RiskTorch, &c.ProcTorch,
                  &c.RiskGPVS, &c.ProcGPVS})
    s.dimension(*g);
}

// Where the complex assessment keeps a single scenario's results: its risk and percent grids, and the
// layer of its running maximum of the percent (and, for the fireball, of the heat flux, which joins the
// jet fires' flux).
struct PartResult {
  Grid ComplexGrids::*risk;
  Grid ComplexGrids::*percent;
  models::ScenarioKind kind;
  bool keepsFlux;
};

PartResult ResultOf(Scenario part) {
  switch (part) {
    case Scenario::Explosion:
      return {&ComplexGrids::RiskExplosion, &ComplexGrids::ProcExplosion, models::ScenarioKind::Explosion, false};
    case Scenario::GasCloud:
      return {&ComplexGrids::RiskGPVS, &ComplexGrids::ProcGPVS, models::ScenarioKind::GasCloud, false};
    case Scenario::FireBall:
      return {&ComplexGrids::RiskFireBall, &ComplexGrids::ProcFireBall, models::ScenarioKind::FireBall, true};
    default: throw std::logic_error("the complex assessment runs no such single scenario");
  }
}

// The model, or the test's hook in its place.
template <class Hook, class Inputs>
void RunModel(const Hook& hook,
              void (*model)(CalcState&, const Inputs&, const models::ReferenceTables&, models::Progress&), CalcState& s,
              const Inputs& in, const models::ReferenceTables& tables, models::Progress& progress) {
  if (hook) hook(s, in, tables, progress);
  else model(s, in, tables, progress);
}

// Runs the model of one single scenario of the assessment on the state.
void RunPart(CalcState& s, Scenario part, const ComplexInputs& in, const models::ReferenceTables& tables,
             models::Progress& progress, const ComplexHooks& hooks) {
  const result::Probabilities& p = in.yearRound.probabilities;
  switch (part) {
    case Scenario::Explosion:
      return RunModel(hooks.explosion, models::RaschetExplosion, s, models::ExplosionInputs{in.yearRound.D}, tables,
                      progress);
    case Scenario::GasCloud:
      return RunModel(hooks.gpvs, models::RaschetGPVS, s,
                      models::GPVSInputs{s.derived.MassGPVS, p.PGPVS, in.qg, in.DangerClass}, tables, progress);
    case Scenario::FireBall:
      return RunModel(hooks.fireBall, models::RaschetFireBall, s,
                      models::FireBallInputs{s.derived.MassFireBall, p.PFireBall}, tables, progress);
    default: throw std::logic_error("the complex assessment runs no such single scenario");
  }
}

// Keeps a model's risk and percent grids and its running maximum of the percent in its layer.
void KeepModelResult(CalcState& s, Grid& risk, Grid& proc, models::ScenarioKind kind) {
  models::CopyGrid(risk, s.GridRisk, s.settings);
  models::CopyGrid(proc, s.GridProc, s.settings);
  models::MaxIntoLayer(s.LayerProc, s.GridProc, s.settings, models::LayerOf(kind));
}

void ThrowIfCancelled(const models::Progress& progress) {
  if (progress.cancelled()) throw models::Cancelled{};
}

}  // namespace

std::optional<std::string> CheckComplex(const CalcState& s, const ComplexInputs& in,
                                        const models::ReferenceTables& tables) {
  if (auto m = CheckYearRound(s, in.yearRound, tables)) return m;
  if (in.DangerClass < 3 || in.DangerClass > 6)
    return "Для класса опасности газа не задана скорость горения (допустимы классы 3..6). "
           "Проверте правильность ввода!";
  if (!(s.derived.MassFireBall > 0))
    return "Масса газа в огневом шаре должна быть больше 0. Проверте правильность ввода!";
  if (!(s.derived.MassGPVS > 0)) return "Масса газа в облаке ГПВС должна быть больше 0. Проверте правильность ввода!";
  return std::nullopt;
}

bool RunComplexAssessment(CalcState& s, const ComplexInputs& in, const models::ReferenceTables& tables,
                          models::Progress& progress, const ComplexHooks& hooks) {
  if (auto refused = CheckComplex(s, in, tables)) throw models::ModelInputError(*refused);

  DimensionComplexGrids(s);
  for (const models::ScenarioKind k :
       {models::ScenarioKind::FireBall, models::ScenarioKind::Explosion, models::ScenarioKind::GasCloud})
    s.zones.ZoneR(k).fill(0);
  EnsureRunLayers(s);

  // The single scenarios, each on the whole grid. Each one's border is tested as its own run tests it,
  // while its fields are still there: the next model overwrites them.
  bool partAtEdge = false;
  for (const Scenario part : result::FactsOf(Scenario::Complex).parts) {
    s.progressTitle = result::FactsOf(part).progressTitle;
    RunPart(s, part, in, tables, progress, hooks);
    ThrowIfCancelled(progress);
    if (ZoneReachesEdge(s, EdgeFormOf(part))) partAtEdge = true;
    const PartResult kept = ResultOf(part);
    KeepModelResult(s, s.complex.*kept.risk, s.complex.*kept.percent, kept.kind);
    if (kept.keepsFlux) models::MaxIntoLayer(s.LayerFlux, s.GridValue, s.settings, models::LayerOf(kept.kind));
  }

  // Jet fires over a year.
  RaschetComplex(s, in.yearRound, tables, progress, hooks.yearRound);
  ComplexGrids& c = s.complex;
  models::CopyGrid(c.RiskTorch, s.GridRisk, s.settings);
  models::CopyGrid(c.ProcTorch, s.GridProc, s.settings);

  // Radii of the assessment: the largest over the nine rows of ZoneR, −1 as soon as one row has it.
  CombineCaseRadii(s.zones);

  // Risk: the sum of the four scenarios' risks.
  s.dimension(s.GridRisk);
  const int nx = s.nx(), ny = s.ny();
  for (int iy = -ny; iy <= ny; ++iy)
    for (int ix = -nx; ix <= nx; ++ix)
      s.GridRisk(ix, iy) = c.RiskFireBall(ix, iy) + c.RiskExplosion(ix, iy) + c.RiskGPVS(ix, iy) + c.RiskTorch(ix, iy);

  // The largest heat flux and the largest percent over every case; the percent of the largest jet flux
  // (ProcTorch) is one of the cases.
  models::MaxOverLayers(s.GridValue, s.LayerFlux, s.settings, 6);
  models::MaxOverLayers(s.GridProc, s.LayerProc, s.settings, 8);
  MaxWithLargestJetFluxPercent(s.GridProc, c.ProcTorch, s.settings);
  return partAtEdge;
}

}  // namespace velaron::run::yearround
