#include "result/scenarios.h"
#include "run/yearround/year_round.h"

namespace velaron::run::yearround {

YearRoundInputs YearRoundInputsOf(const PreparedRun& run, const db::WindRow& town) {
  YearRoundInputs in;
  in.W = run.state.derived.SpeedOut;
  in.D = run.state.derived.Dtrub;
  in.V = run.state.derived.SpecVolume;
  in.Glubina = run.request.pipeline.Glubina;
  in.probabilities = run.probabilities;
  in.wind = town;
  return in;
}

ComplexInputs ComplexInputsOf(const PreparedRun& run, const db::WindRow& town) {
  ComplexInputs in;
  in.yearRound = YearRoundInputsOf(run, town);
  in.qg = run.gas.qg;
  in.DangerClass = run.gas.DangerClass;
  return in;
}

void RunYearRoundScenario(PreparedRun& run, const db::WindRow& town, const models::ReferenceTables& tables,
                          models::Progress& progress, const Hooks& hooks) {
  const YearRoundInputs in = YearRoundInputsOf(run, town);
  if (auto refused = CheckYearRound(run.state, in, tables)) throw models::ModelInputError(*refused);
  RaschetComplex(run.state, in, tables, progress, hooks);
}

bool RunComplexScenario(PreparedRun& run, const db::WindRow& town, const models::ReferenceTables& tables,
                        models::Progress& progress, const ComplexHooks& hooks) {
  const ComplexInputs in = ComplexInputsOf(run, town);
  if (auto refused = CheckComplex(run.state, in, tables)) throw models::ModelInputError(*refused);
  return RunComplexAssessment(run.state, in, tables, progress, hooks);
}

}  // namespace velaron::run::yearround
