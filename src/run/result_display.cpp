#include "run/result_display.h"

#include "common/numtext.h"
#include "result/scenarios.h"

namespace velaron::run {

namespace {

double ProfileAt(const models::CalcState& s, int i, int component) {
  if (i < 0 || i >= static_cast<int>(s.Profile.size())) return 0;
  return s.Profile[static_cast<size_t>(i)][static_cast<size_t>(component)];
}

}  // namespace

result::DistanceSeries BuildDamageChart(const models::CalcState& s, result::Scenario scenario) {
  result::DistanceSeries g;
  const result::ScenarioFacts& facts = result::FactsOf(scenario);
  const int n = models::ProfilePoints(s.settings);
  const int step = s.settings.CStep;
  // The overpressure sheet holds kPa; a point beyond the grid reads as an empty cell, 0.
  auto sheet = [&](int i) { return s.GridValue.at0(i - 1, 0) / (facts.overpressure ? 1000.0 : 1.0); };
  int start = 1;
  if (facts.overpressure && s.RadiusDP[0] != 0) {
    while (start <= n && sheet(start) > kChartPressureCap) ++start;
    g.points.emplace_back(ToIntHalfEven(s.RadiusDP[0]), kChartPressureCap);
  }
  for (int i = start; i <= n; ++i) {
    if (facts.radiiAlongX) g.points.emplace_back(static_cast<double>(i - 1) * step, sheet(i));
    else g.points.emplace_back(ToIntHalfEven(ProfileAt(s, i, 2)), ProfileAt(s, i, 1));
  }
  return g;
}

result::DistanceSeries BuildPercentChart(const models::CalcState& s, result::Scenario scenario) {
  result::DistanceSeries g;
  const bool alongX = result::FactsOf(scenario).radiiAlongX;
  const int n = models::ProfilePoints(s.settings);
  const int step = s.settings.CStep;
  for (int i = 1; i <= n; ++i) {
    if (alongX) g.points.emplace_back(static_cast<double>(i - 1) * step, s.GridProc.at0(i - 1, 0));
    else g.points.emplace_back(ToIntHalfEven(ProfileAt(s, i, 2)), ProfileAt(s, i, 3));
  }
  return g;
}

}  // namespace velaron::run
