#include "result/scenarios.h"
#include "run/yearround/combine.h"
#include "run/yearround/year_round.h"

namespace velaron::run::yearround {

namespace {

using models::CalcState;
using models::Grid;

void DimensionComplexGrids(CalcState& s) {
  for (Grid* g : {&s.RiskExplosion, &s.ProcExplosion, &s.RiskFireBall, &s.ProcFireBall, &s.RiskTorch, &s.ProcTorch,
                  &s.RiskGPVS, &s.ProcGPVS})
    s.dimension(*g);
}

// Keeps a model's risk and percent grids and its running maximum of the percent in its layer.
void KeepModelResult(CalcState& s, Grid& risk, Grid& proc, int kind) {
  models::CopyGrid(risk, s.GridRisk, s.settings);
  models::CopyGrid(proc, s.GridProc, s.settings);
  models::MaxIntoLayer(s.LayerProc, s.GridProc, s.settings, kind);
}

void ThrowIfCancelled(const models::Progress& progress) {
  if (progress.cancelled()) throw models::Cancelled{};
}

}  // namespace

std::optional<std::string> CheckComplex(const CalcState& s, const ComplexInputs& in) {
  if (auto m = CheckYearRound(s, in.yearRound)) return m;
  if (in.DangerClass < 3 || in.DangerClass > 6)
    return "Для класса опасности газа не задана скорость горения (допустимы классы 3..6). "
           "Проверте правильность ввода!";
  if (!(s.derived.MassFireBall > 0)) return "Масса газа в огневом шаре должна быть больше 0. Проверте правильность ввода!";
  if (!(s.derived.MassGPVS > 0)) return "Масса газа в облаке ГПВС должна быть больше 0. Проверте правильность ввода!";
  return std::nullopt;
}

void RunComplexAssessment(CalcState& s, const ComplexInputs& in, const models::ReferenceTables& tables,
                          models::Progress& progress, const ComplexHooks& hooks) {
  if (auto refused = CheckComplex(s, in)) throw models::ModelInputError(*refused);
  const result::Probabilities& p = in.yearRound.probabilities;

  DimensionComplexGrids(s);
  for (int c = models::kKindFireBall; c <= models::kKindGPVS; ++c)
    for (int z = 1; z <= 4; ++z) s.ZoneR[c][z] = 0;
  EnsureRunLayers(s);

  // Physical explosion.
  s.ScenarioCode = 2;
  s.progressTitle = result::FactsOf(result::Scenario::Explosion).progressTitle;
  if (hooks.explosion)
    hooks.explosion(s, {in.yearRound.D}, tables, progress);
  else
    models::RaschetExplosion(s, {in.yearRound.D}, tables, progress);
  ThrowIfCancelled(progress);
  KeepModelResult(s, s.RiskExplosion, s.ProcExplosion, models::kKindExplosion);

  // Combustion of the gas-air cloud.
  s.ScenarioCode = 8;
  s.progressTitle = result::FactsOf(result::Scenario::GasCloud).progressTitle;
  const models::GPVSInputs gpvs{s.derived.MassGPVS, p.PGPVS, in.qg, in.DangerClass};
  if (hooks.gpvs)
    hooks.gpvs(s, gpvs, tables, progress);
  else
    models::RaschetGPVS(s, gpvs, tables, progress);
  ThrowIfCancelled(progress);
  KeepModelResult(s, s.RiskGPVS, s.ProcGPVS, models::kKindGPVS);

  // Fireball.
  s.ScenarioCode = 6;
  s.progressTitle = result::FactsOf(result::Scenario::FireBall).progressTitle;
  const models::FireBallInputs fireBall{s.derived.MassFireBall, p.PFireBall};
  if (hooks.fireBall)
    hooks.fireBall(s, fireBall, tables, progress);
  else
    models::RaschetFireBall(s, fireBall, tables, progress);
  ThrowIfCancelled(progress);
  KeepModelResult(s, s.RiskFireBall, s.ProcFireBall, models::kKindFireBall);
  models::MaxIntoLayer(s.LayerFlux, s.GridValue, s.settings, models::kKindFireBall);

  // Jet fires over a year.
  s.ScenarioCode = 1;
  RaschetComplex(s, in.yearRound, tables, progress, hooks.yearRound);
  models::CopyGrid(s.RiskTorch, s.GridRisk, s.settings);
  models::CopyGrid(s.ProcTorch, s.GridProc, s.settings);

  // Radii of the assessment: the largest over the nine rows of ZoneR, −1 as soon as one row has it.
  CombineCaseRadii(s.ZoneR, s.CurZones);

  // Risk: the sum of the four scenarios' risks.
  s.ScenarioCode = 1;
  s.dimension(s.GridRisk);
  const int nx = s.nx(), ny = s.ny();
  for (int iy = -ny; iy <= ny; ++iy)
    for (int ix = -nx; ix <= nx; ++ix)
      s.GridRisk(ix, iy) =
          s.RiskFireBall(ix, iy) + s.RiskExplosion(ix, iy) + s.RiskGPVS(ix, iy) + s.RiskTorch(ix, iy);

  // The largest heat flux and the largest percent over every case; the percent of the largest jet flux
  // (ProcTorch) is one of the cases.
  models::MaxOverLayers(s.GridValue, s.LayerFlux, s.settings, 6);
  models::MaxOverLayers(s.GridProc, s.LayerProc, s.settings, 8);
  MaxWithLargestJetFluxPercent(s.GridProc, s.ProcTorch, s.settings);
}

}  // namespace velaron::run::yearround
