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

namespace {

// The wind rose is written first, so that the report of this run shows this town's rose; a refused run
// writes nothing, so the refusal comes before it.
std::optional<output::WindRoseResult> WriteWindRose(const db::WindRow& town, const QString& folder) {
  if (folder.isEmpty()) return std::nullopt;
  return output::SaveWindRose(town, folder);
}

}  // namespace

CaseResult RunYearRoundScenario(PreparedRun& run, const db::WindRow& town, const models::ReferenceTables& tables,
                                models::Progress& progress, const QString& windRoseFolder, const Hooks& hooks) {
  const YearRoundInputs in = YearRoundInputsOf(run, town);
  if (auto refused = CheckYearRound(run.state, in)) throw models::ModelInputError(*refused);
  CaseResult result;
  run.state.SaveXls = false;  // one workbook for the whole year, written by the driver at the end
  result.windRose = WriteWindRose(town, windRoseFolder);
  run.state.ScenarioCode = 7;
  RaschetComplex(run.state, in, tables, progress, hooks);
  return result;
}

CaseResult RunComplexScenario(PreparedRun& run, const db::WindRow& town, const models::ReferenceTables& tables,
                              models::Progress& progress, const QString& windRoseFolder, const ComplexHooks& hooks) {
  const ComplexInputs in = ComplexInputsOf(run, town);
  if (auto refused = CheckComplex(run.state, in)) throw models::ModelInputError(*refused);
  CaseResult result;
  result.windRose = WriteWindRose(town, windRoseFolder);
  run.state.ScenarioCode = 1;
  RunComplexAssessment(run.state, in, tables, progress, hooks);
  return result;
}

}  // namespace velaron::run::yearround
