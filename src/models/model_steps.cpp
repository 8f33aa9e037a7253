#include "models/model_steps.h"

#include "common/numtext.h"

namespace velaron::models {

void ZonesIntoRow(CalcState& s, ScenarioKind kind) {
  FillRadProfile(s);
  ZoneRadii(s);
  s.zones.ZoneR(kind) = s.zones.CurZones();
}

void ThresholdRadii(CalcState& s) {
  s.RadiusDP.fill(0);
  const int step = s.settings.CStep;
  const int nx = s.nx();
  for (int k = 1; k <= nx; ++k) {
    const double a = s.GridValue(k - 1, 0);
    const double b = s.GridValue(k, 0);
    const double x = static_cast<double>(k) * step;
    for (std::size_t t = 0; t < kOverpressureLevels.size(); ++t) {
      const double T = kOverpressureLevels[t];
      if (a >= T && b < T) s.RadiusDP[t] = Round2(LinInterp(T, a, b, x - step, x));
    }
  }
}

}  // namespace velaron::models
