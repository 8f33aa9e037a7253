// Combustion of the gas-air cloud: the burning cloud's blast, the smaller of a detonation and a
// deflagration estimate for the overpressure and for the impulse, separately.
#include "models/gpvs.h"

#include <cmath>

#include "common/numtext.h"
#include "models/model_steps.h"
#include "models/probit.h"
#include "models/settings_rules.h"

namespace velaron::models {

double FlameSpeed(int DangerClass, double M) {
  switch (DangerClass) {
    case 3: return 250;
    case 4: return 175;
    case 5: return 43 * std::pow(M, 1.0 / 6.0);
    case 6: return 26 * std::pow(M, 1.0 / 6.0);
    default: return 0;
  }
}

CloudBlast GPVSBlast(double E, double V, double r) {
  double Rx = r / std::cbrt(E / kAmbientPressure);
  // Detonation; close to the cloud the values of its edge.
  double Px, Ix;
  if (Rx < 0.2) {
    const double l = std::log(0.142);
    Px = 18;
    Ix = std::exp(-3.4217 - 0.898 * l - 0.0096 * l * l);
  } else {
    const double l = std::log(Rx);
    Px = std::exp(-1.124 - 1.66 * l + 0.26 * l * l);
    Ix = std::exp(-3.4217 - 0.898 * l - 0.0096 * l * l);
  }
  // Deflagration; inside 0.34 the values at 0.34.
  if (Rx < 0.34) Rx = 0.34;
  const double vc = V / kSoundSpeed;
  const double Px1 = vc * vc * (6.0 / 7.0) * (0.83 / Rx - 0.14 / (Rx * Rx));
  const double Ix1 = vc * (6.0 / 7.0) * (1 - 2.4 * V / 2401) * (0.06 / Rx + 0.01 / (Rx * Rx) - 0.0025 / (Rx * Rx * Rx));
  CloudBlast b;
  b.dP = MinValue(Px, Px1) * kAmbientPressure;
  b.I = MinValue(Ix, Ix1) * std::pow(kAmbientPressure, 2.0 / 3.0) * std::cbrt(E) / kSoundSpeed;
  return b;
}

void CheckGPVSInputs(const CalcState& s, const GPVSInputs& in) {
  CheckGridSettings(s.settings);
  if (!(in.M > 0) || !std::isfinite(in.M)) throw ModelInputError("Масса газовоздушного облака должна быть больше 0");
  if (!(in.qg > 0))
    throw ModelInputError(Refusal{"Теплота сгорания газа должна быть больше 0",
                                  "теплота сгорания газа: значение " + FormatRefused(in.qg, 0)});
  const double V = FlameSpeed(in.DangerClass, in.M);
  if (!(V > 0)) {
    throw ModelInputError("Для класса опасности газа " + std::to_string(in.DangerClass) +
                          " не задана скорость фронта пламени (классы 3 - 6)");
  }
  // The deflagration impulse changes sign when the flame front reaches about 1000 m/s.
  if (!(1 - 2.4 * V / 2401 > 0)) {
    throw ModelInputError("Скорость фронта пламени " + FormatNumber(V) + " м/с вне области применимости расчета");
  }
}

void RaschetGPVS(CalcState& s, const GPVSInputs& in, const ReferenceTables& tables, Progress& progress) {
  CheckGPVSInputs(s, in);
  const double V = FlameSpeed(in.DangerClass, in.M);
  const double E = in.qg * 1000 * in.M;

  s.dimension(s.GridValue);
  s.dimension(s.GridImpuls);
  s.dimension(s.GridProbit);
  ComputeField(s, progress, [&](int ix, int iy, double x, double y) {
    const CloudBlast b = GPVSBlast(E, V, std::sqrt(x * x + y * y));
    s.GridValue(ix, iy) = b.dP;
    s.GridImpuls(ix, iy) = b.I;
    s.GridProbit(ix, iy) = BlastProbit(b.dP, b.I);
  });

  PercentGrid(s, tables, progress);
  ThresholdRadii(s);
  ZonesIntoRow(s, ScenarioKind::GasCloud);
  FillRisk(s, in.Prob);
}

}  // namespace velaron::models
