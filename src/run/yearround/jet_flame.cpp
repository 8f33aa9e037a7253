#include "run/yearround/jet_flame.h"

#include <cmath>

#include "common/numtext.h"
#include "common/texts.h"
#include "db/settings_rules.h"
#include "models/flame_flux.h"
#include "models/jet_asymmetric.h"
#include "result/scenarios.h"
#include "run/flame_geometry.h"
#include "run/input_checks.h"
#include "run/prepare.h"
#include "run/run_texts.h"

namespace velaron::run::yearround {

namespace {

constexpr double kMaxPressureMPa = 30;     // the gas-property tables end below 300 bar
// The pipe end rises from the ground at most to the vertical: a larger angle would turn the jets back
// over the rupture and, beyond 180°, into the ground (the typing lets any whole number through).
constexpr double kMaxLiftAngleDeg = 90;

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

PrepareResult Refuse(const QString& message) {
  PrepareResult r;
  r.error = message;
  return r;
}

bool Finite(const models::DerivedQuantities& d) {
  for (double v : {d.PitLength, d.AdiabK, d.SpecVolume, d.SpeedOut, d.DEquiv, d.LTorch, d.Ri, d.Rw, d.W2, d.KEllipse,
                   d.Tilt, d.LTorchWind, d.LiftOff, d.RL, d.W1, d.ConeAngle})
    if (!std::isfinite(v)) return false;
  return true;
}

}  // namespace

PrepareResult PrepareJetFlame(const JetFlameInputs& in, const db::AdjustmentRow& settings,
                              std::shared_ptr<const models::ReferenceTables> tables, const result::Probabilities& last) {
  if (QString e = db::CheckSettings(settings); !e.isEmpty()) return Refuse(e);
  if (!tables) return Refuse(Text(velaron::texts::kCheckInput));
  if (!(in.gas.m > 0)) return Refuse(Text(texts::kBadMolarMass));
  if (!(in.Diametr > 0)) return Refuse(Text(texts::kDiameter));
  if (!(in.Davl > 0)) return Refuse(Text(texts::kPressureNotPositive));
  if (!(in.Davl < kMaxPressureMPa)) return Refuse(Text(texts::kPressureTooHigh));
  if (!(in.WindSpeed >= 0)) return Refuse(Text(texts::kNegativeWind));
  if (!(in.WindSpeed <= models::kMaxFlameWind))
    return Refuse(QString::fromStdString(models::StrongWindText(in.WindSpeed)));
  if (!(in.Azimut >= 0 && in.Azimut <= 360)) return Refuse(CheckRange(in.Azimut, kAzimuthRange));
  if (in.WindDirPos < 0 || in.WindDirPos > 7) return Refuse(Text(texts::kWindDirection));
  if (!std::isfinite(in.Temp) || !std::isfinite(in.Azimut) || !std::isfinite(in.LiftAngle) ||
      !std::isfinite(in.Glubina))
    return Refuse(Text(velaron::texts::kCheckInput));
  if (in.LiftAngle < 0 || in.LiftAngle > kMaxLiftAngleDeg) return Refuse(Text(texts::kLiftAngle));

  PreparedRun run;
  const int code = result::CodeOf(result::Scenario::AsymmetricJet);
  run.request.settings = settings;
  run.request.pipeline.Diametr = in.Diametr;
  run.request.pipeline.DavlDown = run.request.pipeline.DavlUp = in.Davl;
  run.request.pipeline.Temp = in.Temp;
  run.request.pipeline.Glubina = in.Glubina;
  run.request.section.Azimut = in.Azimut;
  run.request.run.ScenarioCode = code;
  run.request.run.WindSpeed = in.WindSpeed;
  run.request.run.WindDir = in.WindDirPos * 45;
  run.gas = in.gas;
  run.tables = tables;
  run.probabilities = last;
  run.ScenarioName = Text(result::FactsOf(code).dialogName);
  run.WindDir = in.WindDirPos * 45;
  run.MeteoText = {QString(), QString::fromStdString(FormatNumber(in.WindSpeed)),
                   Text(texts::kWindDirectionNames[static_cast<size_t>(in.WindDirPos)])};
  run.start = QDateTime::currentDateTime();
  run.texts.DavlText = QString::fromStdString(FormatFixed(in.Davl, 2));
  run.texts.TempText = QString::fromStdString(FormatNumber(in.Temp));

  models::DerivedQuantities& d = run.state.derived;
  d.WindSpeed = in.WindSpeed;
  d.WindAngle = run.WindDir / 180.0 * kPi + kPi / 2;
  d.TempK = in.Temp + 273;  // the typed temperature as it stands, + 273
  d.Dtrub = in.Diametr / 1000;
  d.Davl = in.Davl;
  if (QString e = CheckGasTemperature(*tables, in.Temp, d.TempK, in.Davl, in.Davl); !e.isEmpty()) return Refuse(e);
  double cp = 0, v = 0, v0 = 0;
  try {
    d.PitLength = models::GetLp(*tables, d.Dtrub);
    cp = models::GetGasProperty(*tables, models::GasColumn::cp, in.Davl, d.TempK);
    v = models::GetGasProperty(*tables, models::GasColumn::v, in.Davl, d.TempK);
    v0 = models::GetGasProperty(*tables, models::GasColumn::v, kAmbientPressureMPa, d.TempK);
  } catch (const models::TableRangeError& e) {
    return Refuse(QString::fromUtf8(e.what()));
  }
  OutflowInputs oin;
  oin.Dtrub = d.Dtrub;
  oin.Davl = in.Davl;
  oin.cp = cp;
  oin.v = v;
  oin.v0 = v0;
  oin.m = in.gas.m;
  oin.a = in.gas.a;
  oin.b = in.gas.b;
  oin.WindSpeed = in.WindSpeed;
  oin.ScenarioCode = 0;  // the jet's direction and elevation are the window's own, set below
  oin.Azimut = in.Azimut;
  ComputeOutflow(oin, d);
  d.Azimut = in.Azimut;  // the asymmetric model aims its jets along the typed azimuth
  d.JetDir = -in.Azimut * kPi / 180;
  d.JetAngle = in.LiftAngle / 180 * kPi;
  d.Tilt = TiltRadians(d.JetAngle, d.Rw, d.Ri);
  // The run's frustum geometry with the typed lift angle in place of its fixed elevation.
  ApplyAsymmetricGeometry(ComputeAsymmetricGeometry(d.SpeedOut, d.LTorchBase, d.DEquiv, d.SpecVolume, d.WindSpeed,
                                                    d.Azimut, d.Tilt, d.JetAngle),
                          d);
  if (!Finite(d)) return Refuse(Text(velaron::texts::kCheckInput));
  try {
    models::CheckFlame(models::FlameShape::Asymmetric, models::FlameInputsFrom(d), d.Tilt);
  } catch (const models::ModelInputError& e) {
    return Refuse(QString::fromUtf8(e.what()));
  }

  models::CalcState& s = run.state;
  s.settings = settings;  // the settings part of the row
  s.ScenarioCode = code;
  s.ScenarioName = run.ScenarioName.toStdString();
  s.progressTitle = result::FactsOf(code).progressTitle;
  s.probabilities.PRupture = last.PRupture;
  s.probabilities.PIgnition = last.PIgnition;
  s.probabilities.PAsimmTorch = last.PAsimmTorch;
  s.dimension(s.GridValue);
  s.LayerFlux.resize(6, s.nx(), s.ny());
  s.LayerProc.resize(8, s.nx(), s.ny());
  PrepareResult r;
  r.run = std::move(run);
  return r;
}

}  // namespace velaron::run::yearround
