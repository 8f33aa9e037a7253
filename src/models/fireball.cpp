// Fireball: the gas of the first seconds of the outflow burns as a ball of a few seconds' life. The flux
// at a cell depends only on its distance from the rupture point; the exposure lasts the ball's lifetime.
#include "models/fireball.h"

#include <cmath>

#include "models/model_steps.h"
#include "models/probit.h"
#include "models/settings_rules.h"

namespace velaron::models {

FireBallSize FireBallOf(double M) { return {5.33 * std::pow(M, 0.327), 0.92 * std::pow(M, 0.303)}; }

double FireBallFlux(double Ds, double r) {
  const double H = Ds / 2;
  const double tau = std::exp(-kFireBallAttenuation * (std::sqrt(H * H + r * r) - Ds / 2));
  const double h = H / Ds + 0.5;
  const double rr = r / Ds;
  const double F = h / (4 * std::pow(h * h + rr * rr, 1.5));
  return F * kFireBallEmissivePower * tau;
}

void CheckFireBallInputs(const CalcState& s, const FireBallInputs& in) {
  CheckGridSettings(s.settings);
  if (!(in.M > 0) || !std::isfinite(in.M)) throw ModelInputError("Масса огневого шара должна быть больше 0");
}

void RaschetFireBall(CalcState& s, const FireBallInputs& in, const ReferenceTables& tables, Progress& progress) {
  CheckFireBallInputs(s, in);
  const FireBallSize ball = FireBallOf(in.M);
  s.RFireBall = ball.Ds / 2;
  s.TFireBall = ball.ts;

  s.dimension(s.GridValue);
  s.dimension(s.GridProbit);
  ComputeField(s, progress, [&](int ix, int iy, double x, double y) {
    const double q = FireBallFlux(ball.Ds, std::sqrt(x * x + y * y));
    s.GridValue(ix, iy) = q;
    s.GridProbit(ix, iy) = ThermalProbit(q, ball.ts);  // exposed for the ball's whole life, no escape
  });

  PercentGrid(s, tables, progress);
  ZonesIntoRow(s, ScenarioKind::FireBall);
  FillRisk(s, in.Prob);
}

}  // namespace velaron::models
