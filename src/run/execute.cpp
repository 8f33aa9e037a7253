#include "run/execute.h"

#include <QDateTime>

#include "models/jet_asymmetric.h"
#include "result/scenarios.h"
#include "run/edge_check.h"
#include "run/flame_grid.h"
#include "run/result_checks.h"
#include "run/result_display.h"
#include "run/run_texts.h"
#include "run/yearround/year_round.h"

namespace velaron::run {

namespace {

// The two assessments over a year leave their results in run.state. Returns whether a zone that the
// fields left at the end no longer show (one of the complex assessment's single scenarios) reaches the
// grid's border.
bool RunYearRoundCase(PreparedRun& run, models::Progress& progress) {
  if (!run.town) throw models::ModelInputError(texts::kNoTown);
  if (run.request.run.scenario != result::Scenario::YearRoundJets)
    return yearround::RunComplexScenario(run, *run.town, *run.tables, progress);
  yearround::RunYearRoundScenario(run, *run.town, *run.tables, progress);
  return false;
}

void RunModel(PreparedRun& run, models::Progress& progress) {
  models::CalcState& s = run.state;
  const models::ReferenceTables& tables = *run.tables;
  const models::DerivedQuantities& d = s.derived;
  const result::Probabilities& p = run.probabilities;
  using result::Scenario;
  switch (run.request.run.scenario) {
    case Scenario::Explosion: models::RaschetExplosion(s, models::ExplosionInputs{d.Dtrub}, tables, progress); break;
    case Scenario::PitJet:
      models::RaschetSimmTorch(s, models::SimmTorchInputs{models::FlameShape::Pit, p.PKotlTorch}, tables, progress);
      break;
    case Scenario::AsymmetricJet: {
      // Also the jet-flame window's calculation, whose preparation derives the flame from its own inputs.
      models::AsimmTorchInputs in;
      in.D = d.Dtrub;
      in.Prob = models::AsimmTorchRiskProbability(s.probabilities);  // the ignition is in it already
      in.Glubina = run.request.pipeline.Glubina;
      in.worstDirection = true;
      models::RaschetAsimmTorch(s, in, tables, progress);
      break;
    }
    case Scenario::SymmetricJet:
      models::RaschetSimmTorch(s, models::SimmTorchInputs{models::FlameShape::Symmetric, p.PSimmTorch}, tables,
                               progress);
      break;
    case Scenario::FireBall:
      models::RaschetFireBall(s, models::FireBallInputs{d.MassFireBall, p.PFireBall}, tables, progress);
      break;
    case Scenario::GasCloud: {
      models::GPVSInputs in;
      in.M = d.MassGPVS;
      in.Prob = p.PGPVS;
      in.qg = run.gas.qg;
      in.DangerClass = run.gas.DangerClass;
      models::RaschetGPVS(s, in, tables, progress);
      break;
    }
    case Scenario::Complex:
    case Scenario::YearRoundJets:
      // The assessments over a year have a dispatch of their own.
      throw models::ModelInputError(texts::kScenarioNotAvailable);
  }
}

}  // namespace

std::vector<JetCase> JetCasesOf(const PreparedRun& run) {
  using models::FlameShape;
  using models::ScenarioKind;
  const models::DerivedQuantities& d = run.state.derived;
  const double depth = run.request.pipeline.Glubina;
  switch (run.request.run.scenario) {
    case result::Scenario::PitJet: return {{ScenarioKind::PitWinter, SingleJetField(FlameShape::Pit, d, depth)}};
    case result::Scenario::SymmetricJet:
      return {{ScenarioKind::PitWinter, SingleJetField(FlameShape::Symmetric, d, depth)}};
    case result::Scenario::AsymmetricJet:
      return {{ScenarioKind::Asymmetric, SingleJetField(FlameShape::Asymmetric, d, depth)}};
    case result::Scenario::YearRoundJets:
    case result::Scenario::Complex: {
      std::vector<JetCase> cases;
      if (!run.town) return cases;
      try {
        const std::vector<FlameField> fields =
            yearround::YearRoundFields(d, yearround::YearRoundInputsOf(run, *run.town));
        for (std::size_t k = 0; k < fields.size(); ++k)
          cases.push_back({models::KindOf(static_cast<int>(k) + 1), fields[k], true});
      } catch (const models::ModelInputError&) {
        cases.clear();  // flames the assessment refuses itself
      }
      return cases;
    }
    default: return {};
  }
}

QString CheckBeforeRun(const PreparedRun& run) {
  const result::Scenario scenario = run.request.run.scenario;
  if (!result::FactsOf(scenario).yearRound) return {};
  if (!run.town) return QString::fromUtf8(texts::kNoTown);
  const std::optional<std::string> refused =
      scenario == result::Scenario::YearRoundJets
          ? yearround::CheckYearRound(run.state, yearround::YearRoundInputsOf(run, *run.town), *run.tables)
          : yearround::CheckComplex(run.state, yearround::ComplexInputsOf(run, *run.town), *run.tables);
  return refused ? QString::fromStdString(*refused) : QString();
}

std::shared_ptr<const result::RunSnapshot> MakeSnapshot(const PreparedRun& run, models::CalcState&& state,
                                                        bool zoneAtEdge) {
  auto snap = std::make_shared<result::RunSnapshot>();
  models::CalcState& s = state;
  snap->request = run.request;
  snap->gas = run.gas;
  snap->ground = run.ground;
  snap->town = run.town;
  snap->regionName = run.regionName;
  snap->WindDir = run.WindDir;
  snap->derived = s.derived;
  snap->probabilities = run.probabilities;
  snap->zones = s.zones;
  snap->RadiusDP = s.RadiusDP;
  snap->WorstDir = {QString::fromStdString(s.WorstDir[1]), QString::fromStdString(s.WorstDir[2])};
  snap->RFireBall = s.RFireBall;
  snap->TFireBall = s.TFireBall;
  snap->ZoneAtEdge = zoneAtEdge;
  for (size_t i = 1; i < s.RadProfile.size(); ++i)
    snap->RadProfile.emplace_back(s.RadProfile[i][1], s.RadProfile[i][2]);
  for (size_t i = 1; i < s.Profile.size(); ++i)
    snap->Profile.push_back(result::ProfilePoint{s.Profile[i][1], s.Profile[i][2], s.Profile[i][3]});
  snap->graf1 = BuildDamageChart(s, snap->scenario());
  snap->graf2 = BuildPercentChart(s, snap->scenario());
  snap->GridValue = std::move(s.GridValue);
  snap->GridImpuls = std::move(s.GridImpuls);
  snap->GridProbit = std::move(s.GridProbit);
  snap->GridProc = std::move(s.GridProc);
  snap->GridRisk = std::move(s.GridRisk);
  snap->LayerFlux = std::move(s.LayerFlux);
  snap->LayerProc = std::move(s.LayerProc);
  snap->complexGrids = std::move(s.complex);
  snap->start = run.start;
  snap->end = QDateTime::currentDateTime();
  return snap;
}

RunOutcome ExecuteRun(PreparedRun run, models::Progress& progress, const ExecuteOptions& options) {
  RunOutcome out;
  const result::ScenarioFacts& facts = result::FactsOf(run.request.run.scenario);
  const bool yearRound = facts.yearRound;
  bool partAtEdge = false;
  try {
    // The flames as the run starts with them: the models change some of the flame quantities.
    const std::vector<JetCase> cases = JetCasesOf(run);
    if (yearRound) partAtEdge = RunYearRoundCase(run, progress);
    else RunModel(run, progress);
    if (options.checkZones)
      if (auto lost = CheckZonesSeen(run.state, cases, *run.tables, progress)) throw models::ModelInputError(*lost);
  } catch (const models::Cancelled&) {
    out.cancelled = true;
    return out;
  } catch (const models::ModelInputError& e) {
    out.error = QString::fromUtf8(e.what());
    out.shown = QString::fromStdString(e.shown);
    return out;
  } catch (const models::TableRangeError& e) {
    out.error = QString::fromUtf8(e.what());
    return out;
  }
  if (options.onModelDone) options.onModelDone();
  models::CalcState& s = run.state;
  // Both assessments over a year end on heat-flux fields: the thermal form of the test. The complex
  // assessment's single scenarios were tested as they ran.
  const bool atEdge = ZoneReachesEdge(s, yearRound ? EdgeForm::Thermal : EdgeFormOf(facts.scenario)) || partAtEdge;
  // The radial profile is the percent along +x in every case. The explosion, fireball and cloud radii
  // come once more from it; the jet models leave theirs per direction, which may hold −1. The jet-flame
  // window's flame ends like the explosion: its zone depths are the radii of that profile.
  models::FillRadProfile(s);
  if (facts.radiiAlongX || run.request.jetFlame) models::ZoneRadii(s);
  if (progress.cancelled()) {
    out.cancelled = true;
    return out;
  }
  auto snap = MakeSnapshot(run, std::move(run.state), atEdge);
  if (QString e = NonFiniteResult(*snap); !e.isEmpty()) {
    out.error = e;
    return out;
  }
  out.snapshot = std::move(snap);
  return out;
}

}  // namespace velaron::run
