// Physical explosion: the compressed gas of the ruptured section expands at once. Its expansion energy
// is turned into a TNT-equivalent mass, which gives the overpressure and impulse of the blast at every
// cell; from them the probit, percent and risk fields, the zone radii and the overpressure radii.
#include "models/explosion.h"

#include <cmath>

#include "common/numtext.h"
#include "common/pi.h"
#include "models/model_steps.h"
#include "models/probit.h"
#include "models/settings_rules.h"

namespace velaron::models {

namespace {
constexpr double kAtmosphere = 1.013e6;  // in the pressure unit of P (Davl·10^7)
}  // namespace

double ExpansionExponent(double k) { return (k - 1) / k; }

double TntMass(double Davl, double k, double D, double L) {
  const double P = Davl * 1e7;
  const double E = (P / 56) * (1 - std::pow(kAtmosphere / P, ExpansionExponent(k))) / (k - 1);
  const double M = D * D * (kPi / 4) * 0.7168 * std::pow(P / kAtmosphere, 1 / k) * L;
  return M * 1.2 * E / 4.52e6;
}

BlastAtDistance ExplosionBlast(double m, double r) {
  if (r == 0) r = std::sqrt(0.1 * 0.1 + 0.1 * 0.1);  // the centre is taken 0.1 m off in x and in y
  const double R = r / std::cbrt(m);
  const double Z = 0.084 / R + 0.27 / (R * R) + 0.7 / (R * R * R);
  BlastAtDistance b;
  b.dP = Z > 10 ? 1e7 : Z * 1e6;
  b.I = 0.4 * std::pow(m, 2.0 / 3.0) / r * 1000;
  return b;
}

namespace {

// The TNT-equivalent mass of the run, or a refusal before anything is computed.
double CheckedTntMass(const CalcState& s, const ExplosionInputs& in, const ReferenceTables& tables) {
  CheckGridSettings(s.settings);
  const double k = s.derived.AdiabK;
  if (!(k > 1)) throw ModelInputError("Показатель адиабаты газа должен быть больше 1");
  if (!(in.D > 0)) throw ModelInputError("Диаметр трубы должен быть больше 0");
  const double L = GetLp(tables, in.D);
  const double m = TntMass(s.derived.Davl, k, in.D, L);
  if (!(m > 0) || !std::isfinite(m)) {
    // The expansion energy is not above 0 at a section pressure up to the atmosphere's.
    throw ModelInputError(
        Refusal{"Тротиловый эквивалент взрыва не больше 0: давление газа слишком мало для расчета взрыва",
                "давление газа на участке " + FormatRefused(s.derived.Davl) + " МПа, а атмосферное давление " +
                    FormatNumber(kAtmosphere / 1e7) + " МПа"});
  }
  return m;
}

}  // namespace

void RaschetExplosion(CalcState& s, const ExplosionInputs& in, const ReferenceTables& tables, Progress& progress) {
  const double m = CheckedTntMass(s, in, tables);

  s.dimension(s.GridValue);
  s.dimension(s.GridImpuls);
  ComputeField(s, progress, [&](int ix, int iy, double x, double y) {
    const BlastAtDistance b = ExplosionBlast(m, std::sqrt(x * x + y * y));
    s.GridValue(ix, iy) = b.dP;
    s.GridImpuls(ix, iy) = b.I;
  });

  ProbitGrid(s, ProbitBranch::Blast, tables, progress);
  ZonesIntoRow(s, ScenarioKind::Explosion);
  FillRisk(s, s.probabilities.PRupture);
  ThresholdRadii(s);
}

}  // namespace velaron::models
