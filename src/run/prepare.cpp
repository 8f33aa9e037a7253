#include "run/prepare.h"

#include <cmath>
#include <initializer_list>

#include "common/qt_text.h"
#include "common/texts.h"
#include "db/database.h"
#include "db/settings_rules.h"
#include "db/table_checks.h"
#include "models/flame_flux.h"
#include "result/scenarios.h"
#include "run/accident_rate.h"
#include "run/flame_geometry.h"
#include "run/input_checks.h"
#include "run/probabilities.h"
#include "run/run_texts.h"
#include "run/yearround/wind_states.h"

namespace velaron::run {

namespace {

// The gas pressure the property tables reach: 300 bar.
constexpr double kMaxPressureMPa = 30;
// The jet-flame window's pipe end rises from the ground at most to the vertical: a larger angle would turn
// the jets back over the rupture and, beyond 180°, into the ground (its box lets any whole number through).
constexpr double kMaxLiftAngleDeg = 90;

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

PrepareResult Refuse(const QString& message) {
  PrepareResult r;
  r.error = message;
  return r;
}

bool ShareOk(double s) { return std::isfinite(s) && s >= 0 && s <= 1; }

models::FlameShape ShapeOf(int code) {
  switch (result::FactsOf(code).scenario) {
    case result::Scenario::PitJet: return models::FlameShape::Pit;
    case result::Scenario::AsymmetricJet: return models::FlameShape::Asymmetric;
    default: return models::FlameShape::Symmetric;
  }
}

bool AllFinite(std::initializer_list<double> values) {
  for (double v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

}  // namespace

bool ScenarioAvailable(int code) { return result::IsScenarioCode(code); }

result::JetShares SharesFromGround(const db::Ground3Row& g) {
  result::JetShares s;
  s.Pks = g.SP3_1;
  s.Pkw = g.WP3_1;
  s.Pss = g.SP3_2;
  s.Psw = g.WP3_2;
  s.Pas = g.SP3_3;
  s.Paw = g.WP3_3;
  return s;
}

int GridHalfX(const db::AdjustmentRow& s) { return models::GridHalf(s.XLimit, s.CStep); }
int GridHalfY(const db::AdjustmentRow& s) { return models::GridHalf(s.YLimit, s.CStep); }

db::RunTableKeys RunTableKeysOf(const result::RunRequest& request, const RunData& data, bool sectionInline) {
  db::RunTableKeys k;
  k.gasPosition = request.pipeline.Gas;
  if (request.rate.way != 3) k.regionPosition = request.rate.RegionPos;
  if (data.section) k.groundCode = data.section->Ground;
  if (result::IsScenarioCode(request.run.ScenarioCode) && result::FactsOf(request.run.ScenarioCode).yearRound)
    k.idCity = request.run.idCity;
  if (!sectionInline) k.tpid = request.section.TPID;
  return k;
}

namespace {

// The names of the section's four soil levels: by their ids, or else by the parts of the composed ground
// code from the top level down; a level not found leaves it and the levels below it empty.
std::array<QString, 4> GroundNamesOf(const db::SectionRow& section) {
  std::array<QString, 4> names;
  const int ids[4] = {section.G1, section.G2, section.G3, section.G4};
  const QStringList code = section.Ground.split(QLatin1Char('.'));
  int parent = 0;
  for (int level = 0; level < 4; ++level) {
    std::optional<db::GroundTypeRow> row;
    if (ids[level] > 0) row = db::LoadGroundType(ids[level]);
    if (!row && level < code.size())
      for (const db::GroundTypeRow& child : db::LoadGroundChildren(parent))
        if (child.GroundCode == code[level]) row = child;
    if (!row) break;
    names[size_t(level)] = row->Ground;
    parent = row->GID;
  }
  return names;
}

}  // namespace

RunData LoadRunData(const result::RunRequest& request, bool sectionInline) {
  RunData data;
  const auto gases = db::LoadGases();
  if (request.pipeline.Gas >= 1 && request.pipeline.Gas <= static_cast<int>(gases.size()))
    data.gas = gases[static_cast<size_t>(request.pipeline.Gas - 1)];
  if (sectionInline)
    data.section = request.section;
  else
    data.section = db::LoadSection(request.section.TPID);
  if (data.section && !data.section->Ground.isEmpty()) data.ground = db::LoadGround3(data.section->Ground);
  if (data.section) data.groundNames = GroundNamesOf(*data.section);
  if (request.rate.way != 3) {
    data.regions = db::LoadRegions();
    data.koefDy = db::LoadKoefDy();
  }
  const int code = request.run.ScenarioCode;
  if (result::IsScenarioCode(code) && result::FactsOf(code).yearRound) data.town = db::LoadWind(request.run.idCity);
  models::ReferenceTables tables;
  data.error = db::LoadReferenceTables(tables);
  if (data.error.isEmpty()) data.tables = std::make_shared<const models::ReferenceTables>(std::move(tables));
  if (data.error.isEmpty()) data.error = db::CheckRunTables(RunTableKeysOf(request, data, sectionInline));
  return data;
}

namespace {

// The jet-kind shares of the run: as the dialog gave them, or the section's ground row.
result::JetShares SharesOf(const result::RunRequest& request, const RunData& data) {
  return request.run.shares ? *request.run.shares : SharesFromGround(*data.ground);
}

// Everything that can be checked before anything is derived, in the order the user is told of it. Empty
// when the request can go on.
QString CheckRequest(const result::RunRequest& request, const RunData& data) {
  const int code = request.run.ScenarioCode;
  if (!result::IsScenarioCode(code)) return Text(texts::kBadScenario);
  const result::ScenarioFacts& facts = result::FactsOf(code);
  if (!data.error.isEmpty()) return data.error;
  if (QString e = db::CheckSettings(request.settings); !e.isEmpty()) return e;

  // The gas, then the section and its ground row.
  if (request.pipeline.Gas < 1 || !data.gas) return Text(velaron::texts::kGasDataMissing);
  // The jet-flame window's pipe is no route section: it has neither a number nor a ground.
  if (!data.section || (!request.jetFlame && (data.section->TPID < 1 || !data.ground)))
    return Text(velaron::texts::kWrongSection);
  const db::GasRow& gas = *data.gas;
  if (QString e = CheckInputRanges(request, *data.section); !e.isEmpty()) return e;
  if (!(gas.m > 0)) return Text(texts::kBadMolarMass);
  if (facts.runsCloud && (gas.DangerClass < 3 || gas.DangerClass > 6)) return Text(texts::kNoFlameSpeed);

  // The pipeline.
  const result::PipelineInputs& p = request.pipeline;
  if (!(p.Diametr > 0)) return Text(texts::kDiameter);
  if (!(p.Ltrub > 0)) return Text(texts::kPipelineLength);
  if (!(p.DavlDown < kMaxPressureMPa) || !(p.DavlUp < kMaxPressureMPa)) return Text(texts::kPressureTooHigh);

  // The weather of the dialog.
  const result::RunChoice& choice = request.run;
  if (!(choice.WindSpeed >= 0)) return Text(texts::kNegativeWind);
  const double dirSteps = choice.WindDir / 45;
  if (!(choice.WindDir >= 0 && choice.WindDir < 360) || dirSteps != std::floor(dirSteps))
    return Text(texts::kWindDirection);
  if (facts.singleJet && choice.WindSpeed > models::kMaxFlameWind)
    return QString::fromStdString(models::StrongWindText(choice.WindSpeed));
  if (request.jetFlame && !(request.jetFlame->LiftAngle >= 0 && request.jetFlame->LiftAngle <= kMaxLiftAngleDeg))
    return Text(texts::kLiftAngle);

  if (!request.jetFlame) {
    const result::JetShares shares = SharesOf(request, data);
    for (double s : {shares.Pkw, shares.Psw, shares.Paw, shares.Pks, shares.Pss, shares.Pas})
      if (!ShareOk(s)) return Text(texts::kBadShare);
  }

  if (facts.yearRound) {
    if (!data.town) return Text(texts::kNoTown);
    if (const auto e = yearround::CheckTownWind(*data.town)) return QString::fromStdString(*e);
  }
  if (!data.tables) return Text(velaron::texts::kCheckInput);
  return {};
}

// Derives the accident rate, the probabilities and the outflow and flame quantities of a checked request
// into `run`. Empty when they allow the run; otherwise the refusal (a derived quantity the model cannot
// compute with).
QString Derive(const result::RunRequest& request, const RunData& data, const QDateTime& now, PreparedRun& run) {
  const int code = request.run.ScenarioCode;
  const result::ScenarioFacts& facts = result::FactsOf(code);
  const db::GasRow& gas = *data.gas;
  const db::SectionRow& section = *data.section;
  const result::PipelineInputs& p = request.pipeline;
  const result::RunChoice& choice = request.run;
  const std::optional<result::JetFlamePipe>& jetFlame = request.jetFlame;

  // The accident rate, as the main window computes it (the jet-flame window's pipe has none).
  AccidentRateResult rate;
  if (!jetFlame) rate = ComputeAccidentRate(request.rate, p.Diametr, data.regions, data.koefDy);
  if (!rate.ok()) return rate.error;

  // The section pressure.
  const double davl = SectionPressure(p.DavlDown, p.DavlUp, section.Udal, section.Length, p.Ltrub);
  if (!(davl > 0)) return Text(texts::kPressureNotPositive);
  if (!(davl < kMaxPressureMPa)) return Text(texts::kPressureTooHigh);

  run.request = request;
  run.request.section = section;
  // The documents name the soil of the section the run computed with, whatever a window showed.
  run.request.texts.groundNames = data.groundNames;
  if (!jetFlame) run.request.run.shares = SharesOf(request, data);
  run.gas = gas;
  if (data.ground) run.ground = *data.ground;
  run.town = data.town;
  run.regionName = rate.regionName;
  run.tables = data.tables;
  run.start = now;
  run.WindDir = static_cast<int>(choice.WindDir);

  // The two sums are capped at 1, with a note.
  double p_v = section.p_v;
  if (p_v > 1.0) {
    run.notes << Text(texts::kCrossingSumNote);
    p_v = 1.0;
  }
  double ext = ExternalFactorSum(request.external);
  if (ext > 1.0) {
    run.notes << Text(texts::kExternalSumNote);
    ext = 1.0;
  }

  models::DerivedQuantities& d = run.state.derived;
  d.AccidentRate = rate.AccidentRate;
  d.KoefDy = rate.KoefDy;
  d.ExtFactors = ext;
  d.p_v = p_v;
  // The jet-flame window takes the typed temperature as it stands.
  d.TempK = jetFlame ? p.Temp + 273 : TableTemperatureK(p.Temp);
  d.Dtrub = p.Diametr / 1000;
  d.WindSpeed = choice.WindSpeed;
  d.WindAngle = run.WindDir / 180.0 * kPi + kPi / 2;
  d.Davl = davl;

  const models::ReferenceTables& tables = *data.tables;
  if (QString e = CheckGasTemperature(tables, p.Temp, d.TempK, davl, davl); !e.isEmpty()) return e;
  double cp = 0, v = 0, v0 = 0;
  try {
    d.PitLength = models::GetLp(tables, d.Dtrub);
    cp = models::GetGasProperty(tables, models::GasColumn::cp, davl, d.TempK);
    v = models::GetGasProperty(tables, models::GasColumn::v, davl, d.TempK);
    v0 = models::GetGasProperty(tables, models::GasColumn::v, kAmbientPressureMPa, d.TempK);
  } catch (const models::TableRangeError& e) {
    return QString::fromUtf8(e.what());
  }

  if (jetFlame) {
    run.probabilities = jetFlame->last;
  } else {
    ProbabilityInputs pin;
    pin.AccidentRate = rate.AccidentRate;
    pin.ExtFactors = ext;
    pin.p_v = p_v;
    pin.InversPercent = p.InversPercent;
    pin.Length = section.Length;
    pin.P4 = run.ground.P4;
    pin.season = choice.season;
    pin.shares = *run.request.run.shares;
    run.probabilities = ComputeProbabilities(pin);
    if (QString e = CheckScenarioProbabilities(run.probabilities); !e.isEmpty()) return e;
  }

  OutflowInputs oin;
  oin.Dtrub = d.Dtrub;
  oin.Davl = davl;
  oin.cp = cp;
  oin.v = v;
  oin.v0 = v0;
  oin.m = gas.m;
  oin.a = gas.a;
  oin.b = gas.b;
  oin.WindSpeed = choice.WindSpeed;
  if (!jetFlame) {  // the jet-flame window's pipe forms no fireball and no cloud
    oin.Tfb = request.settings.Tfb;
    oin.Dola = request.settings.Dola;
    oin.Tobl = request.settings.Tobl;
    oin.Dola_obl = request.settings.Dola_obl;
  }
  oin.ScenarioCode = code;
  oin.Azimut = section.Azimut;
  if (jetFlame) oin.JetAngle = jetFlame->LiftAngle / 180 * kPi;
  ComputeOutflow(oin, d);
  if (!AllFinite({d.PitLength, d.Davl, d.AdiabK, d.SpecVolume, d.SpeedOut, d.SpecVolume0, d.MassFlow, d.MassFireBall,
                  d.MassGPVS, d.DEquiv, d.LTorch, d.Ri, d.Rw, d.W2, d.KEllipse, d.Tilt}))
    return Text(velaron::texts::kCheckInput);

  if (code == result::CodeOf(result::Scenario::AsymmetricJet)) {
    ApplyAsymmetricGeometry(ComputeAsymmetricGeometry(d.SpeedOut, d.LTorchBase, d.DEquiv, d.SpecVolume, d.WindSpeed,
                                                      d.Azimut, d.Tilt, d.JetAngle),
                            d);
    if (!AllFinite({d.LTorchWind, d.KLift, d.LiftOff, d.RL, d.W1, d.W2, d.ConeAngle, d.Ri, d.Tilt}))
      return Text(velaron::texts::kCheckInput);
  }

  if (facts.singleJet) {
    try {
      models::CheckFlame(ShapeOf(code), models::FlameInputsFrom(d), d.Tilt);
    } catch (const models::ModelInputError& e) {
      return QString::fromUtf8(e.what());
    }
  }
  if (facts.runsFireBall && !(d.MassFireBall > 0)) return Text(texts::kFireBallMass);
  if (facts.runsCloud && !(d.MassGPVS > 0)) return Text(texts::kCloudMass);
  return {};
}

// The calculation state the model starts from: settings, scenario, probabilities and empty grids.
void FillState(PreparedRun& run) {
  const result::ScenarioFacts& facts = result::FactsOf(run.request.run.ScenarioCode);
  models::CalcState& s = run.state;
  s.settings = run.request.settings;  // the settings part of the row
  s.ScenarioCode = result::CodeOf(facts.scenario);
  s.progressTitle = facts.progressTitle;
  s.probabilities = run.probabilities;
  s.dimension(s.GridValue);
  // Only the assessments that keep layers get them: a full set is fourteen grids.
  if (facts.keepsLayers) {
    s.LayerFlux.resize(6, s.nx(), s.ny());
    s.LayerProc.resize(8, s.nx(), s.ny());
  }
}

}  // namespace

PrepareResult PrepareRun(const result::RunRequest& request, const RunData& data, const QDateTime& now) {
  if (QString e = CheckRequest(request, data); !e.isEmpty()) return Refuse(e);
  PreparedRun run;
  if (QString e = Derive(request, data, now, run); !e.isEmpty()) return Refuse(e);
  FillState(run);
  PrepareResult result;
  result.run = std::move(run);
  return result;
}

}  // namespace velaron::run
