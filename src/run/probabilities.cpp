#include "run/probabilities.h"

#include <cmath>

#include "common/numtext.h"

namespace velaron::run {

double IgnitionProbability(double P4, double p_v) {
  const double p = P4 + P4 * p_v;
  return p > 1 ? kIgnitionCap : p;
}

double RuptureProbabilityBase(double accidentRate, double lengthM) {
  // The rate is per 1000 km; the section length is in metres: 1000 km = 10⁶ m.
  const double p = 1 - std::exp(-accidentRate * lengthM / 1000000);
  return RoundHalfEven(p, 6);
}

result::Probabilities ComputeProbabilities(const ProbabilityInputs& in) {
  result::Probabilities p;
  p.PIgnition = IgnitionProbability(in.P4, in.p_v);
  p.PRuptureBase = RuptureProbabilityBase(in.AccidentRate, in.Length);
  p.PRupture = p.PRuptureBase * in.ExtFactors + p.PRuptureBase;
  p.PFireBall = (1 - in.InversPercent / 100) * p.PRupture * p.PIgnition;
  p.PGPVS = p.PRupture * p.PIgnition * in.InversPercent / 100;
  const result::JetShares& s = in.shares;
  const bool summer = in.season == 1;
  const double pit = summer ? s.Pks : s.Pkw;
  const double symm = summer ? s.Pss : s.Psw;
  const double asym = summer ? s.Pas : s.Paw;
  p.PKotlTorch = pit * p.PRupture * p.PIgnition;
  p.PSimmTorch = symm * p.PRupture * p.PIgnition;
  p.PAsimmTorch = asym * p.PRupture * p.PIgnition;
  p.Pks = s.Pks;
  p.Pkw = s.Pkw;
  p.Pss = s.Pss;
  p.Psw = s.Psw;
  p.Pas = s.Pas;
  p.Paw = s.Paw;
  return p;
}

}  // namespace velaron::run
