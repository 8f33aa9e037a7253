#include "run/prepare.h"

#include <cmath>
#include <initializer_list>

#include "common/qt_text.h"
#include "common/texts.h"
#include "db/database.h"
#include "db/table_checks.h"
#include "models/flame_flux.h"
#include "models/settings_rules.h"
#include "result/scenarios.h"
#include "run/flame_geometry.h"
#include "run/flame_grid.h"
#include "run/input_checks.h"
#include "run/run_site.h"
#include "run/run_texts.h"
#include "run/yearround/wind_states.h"

namespace velaron::run {

namespace {

// The gas pressure the property tables reach: 300 bar.
constexpr double kMaxPressureMPa = 30;

PrepareResult Refuse(const RunRefusal& refusal) {
  PrepareResult r;
  r.error = refusal.message;
  r.shown = refusal.shown;
  return r;
}

// The section's pressure as a refusal of it shows it, MPa.
QString SectionPressureShown(double davl) {
  return ShownValue(QStringLiteral("Давление газа на участке, МПа"), RefusedText(davl));
}

models::FlameShape ShapeOf(result::Scenario scenario) {
  switch (scenario) {
    case result::Scenario::PitJet: return models::FlameShape::Pit;
    case result::Scenario::AsymmetricJet: return models::FlameShape::Asymmetric;
    default: return models::FlameShape::Symmetric;
  }
}

// The refusal of a section pressure `davl` the gas tables cannot be read at, naming the inputs that give
// it; empty when it can be read. Along the pipeline the pressure lies between the two line pressures (each
// below 30 MPa), so it leaves the tables only when one of them is not above 0, or when the section's middle
// lies beyond the pipeline's end, where the straight line of the pressure runs on below 0 or above the
// tables (a section length or distance far too large, a pipeline length far too small).
RunRefusal SectionPressureFault(const result::PipelineInputs& p, const db::SectionRow& section, double davl) {
  const bool notPositive = !(davl > 0);
  if (!notPositive && davl < kMaxPressureMPa) return {};
  const double middleKm = (section.Udal + section.Length / 2) / 1000;
  if (!(middleKm <= p.Ltrub))
    return U(texts::kSectionBeyondPipeline)
        .arg(notPositive ? U("не больше нуля") : U("не меньше 30 МПа"), NumberText(section.Length),
             NumberText(section.Udal), NumberText(p.Ltrub));
  if (!(p.DavlDown > 0) || !(p.DavlUp > 0))
    return U(texts::kLinePressureNotPositive)
        .arg(p.DavlDown == p.DavlUp ? NumberText(p.DavlDown)
                                    : QStringLiteral("от %1 до %2").arg(NumberText(p.DavlDown), NumberText(p.DavlUp)));
  return {U(notPositive ? texts::kPressureNotPositive : texts::kPressureTooHigh), SectionPressureShown(davl)};
}

bool AllFinite(std::initializer_list<double> values) {
  for (double v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

// The refusal of derived quantities of which one is no finite number, naming the input it comes from. The
// tables' values and the checked inputs are finite, so what can overflow is the outflow (through the gas's
// molar mass), the two masses (through their outflow times: the shares are at most 1) and the flame's size,
// which grows with its length (through the gas's coefficients a* and b*).
RunRefusal NonFiniteDerived(const models::DerivedQuantities& d, const db::GasRow& gas, const RunSite& site) {
  if (!AllFinite({d.AdiabK, d.SpeedOut, d.MassFlow}))
    return U(texts::kOutflowNotFinite).arg(gas.VName, NumberText(gas.m));
  if (!std::isfinite(d.MassFireBall))
    return SettingOverflows(velaron::texts::kTfbCaption, site.Tfb, "масса газа в огневом шаре");
  if (!std::isfinite(d.MassGPVS)) return SettingOverflows(velaron::texts::kToblCaption, site.Tobl, "масса облака ГПВС");
  return U(texts::kFlameNotFinite).arg(gas.VName, NumberText(gas.a), NumberText(gas.b));
}

}  // namespace

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

db::RunTableKeys RunTableKeysOf(const result::RunRequest& request, const RunData& data, bool sectionInline) {
  db::RunTableKeys k;
  k.gasPosition = request.pipeline.Gas;
  if (request.rate.way != 3) k.regionPosition = request.rate.RegionPos;
  if (data.section) k.groundCode = data.section->Ground;
  if (result::FactsOf(request.run.scenario).yearRound) k.idCity = request.run.idCity;
  if (!sectionInline) k.tpid = request.section.TPID;
  return k;
}

namespace {

// The names of the section's four soil levels: by their ids, or else by the parts of the composed ground
// code from the top level down; a level not found leaves it and the levels below it empty, and so does a
// read that fails (kept in `reads`).
std::array<QString, 4> GroundNamesOf(const db::SectionRow& section, db::ReadsInTurn& reads) {
  std::array<QString, 4> names;
  const int ids[4] = {section.G1, section.G2, section.G3, section.G4};
  const QStringList code = section.Ground.split(QLatin1Char('.'));
  int parent = 0;
  for (int level = 0; level < 4; ++level) {
    std::optional<db::GroundTypeRow> row;
    if (ids[level] > 0) row = reads([&] { return db::LoadGroundType(ids[level]); });
    if (!row && level < code.size())
      for (const db::GroundTypeRow& child : reads([&] { return db::LoadGroundChildren(parent); }))
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
  // The first read that fails refuses the run with its cause (a list read short would refuse it for a
  // reason it does not have, or run it on other rows), and no read after it waits for the file again.
  db::ReadsInTurn reads;
  const auto gases = reads(db::LoadGases);
  if (request.pipeline.Gas >= 1 && request.pipeline.Gas <= static_cast<int>(gases.size()))
    data.gas = gases[static_cast<size_t>(request.pipeline.Gas - 1)];
  if (sectionInline) data.section = request.section;
  else data.section = reads([&] { return db::LoadSection(request.section.TPID); });
  if (data.section && !data.section->Ground.isEmpty())
    data.ground = reads([&] { return db::LoadGround3(data.section->Ground); });
  if (data.section) data.groundNames = GroundNamesOf(*data.section, reads);
  if (request.rate.way != 3) {
    data.regions = reads(db::LoadRegions);
    data.koefDy = reads(db::LoadKoefDy);
  }
  if (result::FactsOf(request.run.scenario).yearRound)
    data.town = reads([&] { return db::LoadWind(request.run.idCity); });
  auto tables = reads(db::LoadReferenceTables);
  data.error = reads.error();
  if (data.error.isEmpty()) data.tables = std::make_shared<const models::ReferenceTables>(std::move(tables));
  if (data.error.isEmpty()) data.error = db::CheckRunTables(RunTableKeysOf(request, data, sectionInline));
  return data;
}

namespace {

// Everything that can be checked before anything is derived, in the order the user is told of it. Empty
// when the request can go on. A refusal whose text leaves its value to a box of the window names it for the
// driver.
RunRefusal CheckRequest(const result::RunRequest& request, const RunData& data, const RunSite& site) {
  const result::ScenarioFacts& facts = result::FactsOf(request.run.scenario);
  if (!data.error.isEmpty()) return data.error;
  if (const auto fault = models::CheckSettings(request.settings))
    return {QString::fromStdString(fault->message), SettingShown(fault->field, request.settings)};

  // The gas, then the section and its ground row.
  if (request.pipeline.Gas < 1 || !data.gas)
    return {U(velaron::texts::kGasDataMissing),
            ShownValue(QStringLiteral("Газ, номер в списке"), NumberText(request.pipeline.Gas))};
  if (!site.rowFault.isEmpty()) return site.rowFault;
  const db::GasRow& gas = *data.gas;
  if (QString e = CheckInputRanges(request, site.section); !e.isEmpty()) return e;
  const QString gasName = QStringLiteral("газа \"%1\"").arg(gas.VName);
  if (!(gas.m > 0)) return {U(texts::kBadMolarMass), ShownValue(U("Молярная масса ") + gasName, RefusedText(gas.m, 0))};
  if (facts.runsCloud && (gas.DangerClass < 3 || gas.DangerClass > 6))
    return {U(texts::kNoFlameSpeed), ShownValue(U("Класс опасности ") + gasName, NumberText(gas.DangerClass))};

  // The pipeline, named as the main window names its boxes.
  const result::PipelineInputs& p = request.pipeline;
  if (!(p.Diametr > 0)) return {U(texts::kDiameter), ShownValue(U("Диаметр трубы, мм"), RefusedText(p.Diametr, 0))};
  if (!(p.Ltrub > 0))
    return {U(texts::kPipelineLength),
            ShownValue(U("Протяженность магистрального газопровода, км"), RefusedText(p.Ltrub, 0))};
  const std::pair<double, const InputRange*> pressures[] = {{p.DavlDown, &kPressureFromRange},
                                                            {p.DavlUp, &kPressureToRange}};
  for (const auto& [pressure, range] : pressures)
    if (!(pressure < kMaxPressureMPa))
      return {U(texts::kPressureTooHigh), ShownValue(U(range->field), RefusedText(pressure, kMaxPressureMPa))};

  // The weather of the dialog.
  const result::RunChoice& choice = request.run;
  if (!(choice.WindSpeed >= 0))
    return {U(texts::kNegativeWind), ShownValue(U("Скорость ветра, м/с"), RefusedText(choice.WindSpeed, 0))};
  const double dirSteps = choice.WindDir / 45;
  if (!(choice.WindDir >= 0 && choice.WindDir < 360) || dirSteps != std::floor(dirSteps))
    return {U(texts::kWindDirection),
            ShownValue(U("Направление ветра (откуда дует ветер), °"), RefusedText(choice.WindDir))};
  if (facts.singleJet && choice.WindSpeed > models::kMaxFlameWind)
    return QString::fromStdString(models::StrongWindText(choice.WindSpeed));
  if (!site.inputFault.isEmpty()) return site.inputFault;

  if (facts.yearRound) {
    if (!data.town) return {U(texts::kNoTown), ShownValue(U("Город, номер"), NumberText(request.run.idCity))};
    if (const auto e = yearround::CheckTownWind(*data.town))
      return {QString::fromStdString(e->message), QString::fromStdString(e->shown)};
  }
  if (!data.tables) return U(velaron::texts::kCheckInput);
  return {};
}

// Derives the outflow and flame quantities of a checked request at its site into `run`, with the site's
// accident rate and probabilities. Empty when they allow the run; otherwise the refusal (a derived quantity
// the model cannot compute with).
RunRefusal Derive(const result::RunRequest& request, const RunData& data, const RunSite& site, const QDateTime& now,
                  PreparedRun& run) {
  const result::ScenarioFacts& facts = result::FactsOf(request.run.scenario);
  const db::GasRow& gas = *data.gas;
  const db::SectionRow& section = site.section;
  const result::PipelineInputs& p = request.pipeline;
  const result::RunChoice& choice = request.run;
  if (!site.rate.ok())
    return {site.rate.error, request.rate.way == 3
                                 ? QString()
                                 : ShownValue(U("Регион, номер в списке"), NumberText(request.rate.RegionPos))};

  // The section pressure.
  const double davl = SectionPressure(p.DavlDown, p.DavlUp, section.Udal, section.Length, p.Ltrub);
  if (RunRefusal e = SectionPressureFault(p, section, davl); !e.isEmpty()) return e;

  run.request = request;
  run.request.section = section;
  // The documents name the soil of the section the run computed with, whatever a window showed.
  run.request.texts.groundNames = data.groundNames;
  run.request.run.shares = site.shares;
  run.gas = gas;
  run.ground = site.ground;
  run.town = data.town;
  run.regionName = site.rate.regionName;
  run.tables = data.tables;
  run.start = now;
  run.WindDir = static_cast<int>(choice.WindDir);
  run.notes = site.notes;

  models::DerivedQuantities& d = run.state.derived;
  d.AccidentRate = site.rate.AccidentRate;
  d.KoefDy = site.rate.KoefDy;
  d.ExtFactors = site.ExtFactors;
  d.p_v = site.p_v;
  d.TempK = site.temperatureK(p.Temp);
  d.Dtrub = p.Diametr / 1000;
  d.WindSpeed = choice.WindSpeed;
  d.WindAngle = run.WindDir / 180.0 * kPi + kPi / 2;
  d.Davl = davl;

  const models::ReferenceTables& tables = *data.tables;
  if (QString e = CheckGasTemperature(tables, p.Temp, d.TempK, davl, davl); !e.isEmpty()) return e;
  double cp = 0, v = 0, v0 = 0;
  try {
    d.PitLength = models::GetLp(tables, d.Dtrub, p.Diametr);
    cp = models::GetGasProperty(tables, models::GasColumn::cp, davl, d.TempK);
    v = models::GetGasProperty(tables, models::GasColumn::v, davl, d.TempK);
    v0 = models::GetGasProperty(tables, models::GasColumn::v, kAmbientPressureMPa, d.TempK);
  } catch (const models::TableRangeError& e) {
    return QString::fromUtf8(e.what());
  }

  run.probabilities = site.probabilities;
  if (!site.probabilityFault.isEmpty()) return site.probabilityFault;

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
  oin.Tfb = site.Tfb;
  oin.Dola = site.Dola;
  oin.Tobl = site.Tobl;
  oin.Dola_obl = site.Dola_obl;
  oin.scenario = facts.scenario;
  oin.Azimut = section.Azimut;
  oin.JetAngle = site.JetAngle;
  ComputeOutflow(oin, d);
  if (!AllFinite({d.PitLength, d.Davl, d.AdiabK, d.SpecVolume, d.SpeedOut, d.SpecVolume0, d.MassFlow, d.MassFireBall,
                  d.MassGPVS, d.DEquiv, d.LTorch, d.Ri, d.Rw, d.W2, d.KEllipse, d.Tilt}))
    return NonFiniteDerived(d, gas, site);

  if (facts.scenario == result::Scenario::AsymmetricJet) {
    ApplyAsymmetricGeometry(ComputeAsymmetricGeometry(d.SpeedOut, d.LTorchBase, d.DEquiv, d.SpecVolume, d.WindSpeed,
                                                      d.Azimut, d.Tilt, d.JetAngle),
                            d);
    if (!AllFinite({d.LTorchWind, d.KLift, d.LiftOff, d.RL, d.W1, d.W2, d.ConeAngle, d.Ri, d.Tilt}))
      return NonFiniteDerived(d, gas, site);
  }

  if (facts.singleJet) {
    const models::FlameShape shape = ShapeOf(facts.scenario);
    try {
      models::CheckFlame(shape, models::FlameInputsFrom(d), d.Tilt);
    } catch (const models::ModelInputError& e) {
      return {QString::fromUtf8(e.what()), QString::fromStdString(e.shown)};
    }
    if (auto e = CheckGridForFields(request.settings, {SingleJetField(shape, d, request.pipeline.Glubina)}, tables))
      return QString::fromStdString(*e);
  }
  if (facts.runsFireBall && !(d.MassFireBall > 0))
    return {U(texts::kFireBallMass), SettingShown(FireBallSetting(site.Tfb, site.Dola), request.settings)};
  if (facts.runsCloud && !(d.MassGPVS > 0))
    return {U(texts::kCloudMass), SettingShown(CloudSetting(site.Tobl, site.Dola_obl), request.settings)};
  return {};
}

// The calculation state the model starts from: settings, scenario, probabilities and empty grids.
void FillState(PreparedRun& run) {
  const result::ScenarioFacts& facts = result::FactsOf(run.request.run.scenario);
  models::CalcState& s = run.state;
  s.settings = run.request.settings;  // the settings part of the row
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
  const RunSite site = SiteOf(request, data);
  if (RunRefusal e = CheckRequest(request, data, site); !e.isEmpty()) return Refuse(e);
  PreparedRun run;
  if (RunRefusal e = Derive(request, data, site, now, run); !e.isEmpty()) return Refuse(e);
  FillState(run);
  PrepareResult result;
  result.run = std::move(run);
  return result;
}

}  // namespace velaron::run
