// The year-round assessment of the jet fires of one rupture (`RaschetComplex`) and the two run cases
// built on it: scenario 7, the jet fires over a year with the town's wind rose, and scenario 1, the
// complex assessment of every kind of accident (explosion, gas-air cloud, fireball, jet fires).
//
// The assessment runs the pit and the symmetric jet for winter and summer over the nine wind states of
// the town (eight directions and calm), keeping per cell the largest heat flux and the largest
// repetition-weighted probability of injury of each jet case, then the asymmetric jet once, and joins the
// six percent grids by the jet-kind shares into one year-round percent and risk. All inputs are explicit:
// the town's wind row is read before the work starts, and nothing here touches the database or a window.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "db/rows.h"
#include "models/calc_state.h"
#include "result/run_snapshot.h"
#include "run/flame_grid.h"
#include "run/prepared_run.h"

namespace velaron::run::yearround {

// What the assessment takes besides the calculation state (which holds the settings, the run's derived
// quantities and the layered grids).
struct YearRoundInputs {
  double W = 0;                         // outflow speed, m/s (SpeedOut)
  double D = 0;                         // pipe diameter, m (Dtrub)
  double V = 0;                         // specific volume of the gas, m³/kg (SpecVolume)
  double Glubina = 0;                   // burial depth of the pipe, m (the asymmetric jet's base)
  result::Probabilities probabilities;  // PRupture, PIgnition and the six jet-kind shares
  db::WindRow wind;                     // the town's wind data
};

// The flame field of one wind state: fills s.GridValue with the heat flux of the flame of `shape` for
// the flame quantities in s.derived (LTorch, KEllipse, Tilt, WindAngle). Replaceable for tests.
using FlameFieldFn = std::function<void(models::CalcState& s, models::FlameShape shape, models::Progress& progress)>;
// The asymmetric jet-fire model. Replaceable for tests.
using AsymmetricModelFn = std::function<void(models::CalcState& s, const models::AsimmTorchInputs& in,
                                             const models::ReferenceTables& tables, models::Progress& progress)>;

struct Hooks {
  FlameFieldFn flameField;       // empty: the flux integration of the models, rows in parallel
  AsymmetricModelFn asymmetric;  // empty: models::RaschetAsimmTorch
};

// Refuses inputs the assessment cannot compute with, before anything is computed (the town's wind data,
// a wind of 10 m/s or more in any state, a flame of no size, an asymmetric frustum that would be empty,
// a zero outflow speed or specific volume, a grid that cannot see the flames). Returns the message to show.
std::optional<std::string> CheckYearRound(const models::CalcState& s, const YearRoundInputs& in,
                                          const models::ReferenceTables& tables);

// The flames of the five jet cases (the rows 1..5 of the zone tables, in order) as the assessment draws
// them from the run's flame quantities `run`: the pit and the symmetric flame in each wind state of a
// season, the four jets of the asymmetric flame. Throws models::ModelInputError for a flame that cannot
// be drawn.
std::vector<FlameField> YearRoundFields(const models::DerivedQuantities& run, const YearRoundInputs& in);

// The year-round assessment. On entry s.derived holds the run's flame quantities (LTorch, Ri, JetAngle,
// Azimut, ...); LayerFlux and LayerProc are those of the run (made empty when they do not fit the grid).
// On return:
//   LayerFlux 1..5 / LayerProc 1..5: per jet case the largest heat flux / weighted percent;
//   ZoneRDir, ZoneR rows 1..5: the jet cases' radii; CurZones: the largest over cases and directions;
//   GridValue, GridProbit, GridProc: the largest heat flux of the five cases, its probit and percent;
//   GridRisk: the year-round individual risk; WorstDir and Profile: the direction of the largest zone.
// Reports every wind state (its caption and rows) to `progress` and throws models::Cancelled when the
// user stops; throws models::ModelInputError when CheckYearRound refuses.
void RaschetComplex(models::CalcState& s, const YearRoundInputs& in, const models::ReferenceTables& tables,
                    models::Progress& progress = models::NoProgress(), const Hooks& hooks = {});

// Progress captions of the seasonal blocks (the wind state's word follows). The single scenarios inside
// the assessments show their own progress titles (result::FactsOf(...).progressTitle).
inline constexpr const char* kCaptionPitWinter = "Сценарий \"Факел-котлован\"-зима, ветер-";
inline constexpr const char* kCaptionPitSummer = "Сценарий \"Факел-котлован\"-лето, ветер-";
inline constexpr const char* kCaptionSymmWinter = "Сценарий \"Факел-симметричный\"-зима, ветер-";
inline constexpr const char* kCaptionSymmSummer = "Сценарий \"Факел-симметричный\"-лето, ветер-";

// ---------------------------------------------------------------------------------------------------
// The complex assessment's models, replaceable for tests like the flame field.
struct ComplexHooks {
  Hooks yearRound;
  std::function<void(models::CalcState&, const models::ExplosionInputs&, const models::ReferenceTables&,
                     models::Progress&)>
      explosion;  // empty: models::RaschetExplosion
  std::function<void(models::CalcState&, const models::GPVSInputs&, const models::ReferenceTables&,
                     models::Progress&)>
      gpvs;  // empty: models::RaschetGPVS
  std::function<void(models::CalcState&, const models::FireBallInputs&, const models::ReferenceTables&,
                     models::Progress&)>
      fireBall;  // empty: models::RaschetFireBall
};

// What the complex assessment takes besides the year-round inputs.
struct ComplexInputs {
  YearRoundInputs yearRound;
  double qg = 0;        // heat of combustion of the gas, kJ/kg (gas-air cloud)
  int DangerClass = 0;  // hazard class of the gas (gas-air cloud)
};

// Refuses what the complex assessment cannot compute, before anything is computed: everything
// CheckYearRound refuses, a gas whose hazard class has no flame speed (3..6 have one), a fireball or
// cloud mass of 0 or less.
std::optional<std::string> CheckComplex(const models::CalcState& s, const ComplexInputs& in,
                                        const models::ReferenceTables& tables);

// The complex assessment of all scenarios (scenario code 1): the single scenarios of its row of the
// scenario table, then the jet fires over a year. On return: s.complex holds each model's risk and
// percent; LayerProc 6, 7, 8 and LayerFlux 6 the other models' maxima;
// GridRisk = RiskExplosion + RiskGPVS + RiskFireBall + RiskTorch; GridValue the largest heat flux over
// LayerFlux 1..6; GridProc the largest percent over LayerProc 1..8 and ProcTorch (the percent of the
// largest jet flux); GridProbit the jet fires' probit; CurZones the largest radius of ZoneR rows 1..9
// (−1 as soon as one row has −1). Zone rows 6..8 are cleared first.
// Returns whether the zone of one of the single scenarios reaches the grid's border, each tested in the
// form of its own run right after its model (the fields that are left at the end show the flames only).
bool RunComplexAssessment(models::CalcState& s, const ComplexInputs& in, const models::ReferenceTables& tables,
                          models::Progress& progress = models::NoProgress(), const ComplexHooks& hooks = {});

// ---------------------------------------------------------------------------------------------------
// The two run cases, for the run driver's dispatch. Both work on run.state (the prepared calculation
// state) and leave the common end of the run (grid-edge test, result workbook, result display) to the
// driver; the edge test takes its thermal form for both codes, and for code 1 the single scenarios'
// own tests join it.

// The inputs of the assessments as the prepared run and the town's wind row give them.
YearRoundInputs YearRoundInputsOf(const PreparedRun& run, const db::WindRow& town);
ComplexInputs ComplexInputsOf(const PreparedRun& run, const db::WindRow& town);

// The jet fires over a year (code 7): RaschetComplex. Throws
// models::ModelInputError with the message to show when the inputs are refused (before anything is
// computed) and models::Cancelled when the user stops.
void RunYearRoundScenario(PreparedRun& run, const db::WindRow& town, const models::ReferenceTables& tables,
                          models::Progress& progress = models::NoProgress(), const Hooks& hooks = {});

// The complex assessment of all scenarios (code 1): RunComplexAssessment, whose answer on the single
// scenarios' borders it returns. Failures as above.
bool RunComplexScenario(PreparedRun& run, const db::WindRow& town, const models::ReferenceTables& tables,
                        models::Progress& progress = models::NoProgress(), const ComplexHooks& hooks = {});

}  // namespace velaron::run::yearround
