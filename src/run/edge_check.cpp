#include "run/edge_check.h"

#include "common/numtext.h"
#include "result/scenarios.h"

namespace velaron::run {

EdgeForm EdgeFormOf(result::Scenario scenario) {
  return result::FactsOf(scenario).overpressure ? EdgeForm::Probit : EdgeForm::Thermal;
}

namespace {

bool Reaches(const models::CalcState& s, EdgeForm form, int ix, int iy) {
  if (s.GridProbit.contains(ix, iy) && s.GridProbit(ix, iy) > kEdgeProbit) return true;
  return form == EdgeForm::Thermal && s.GridValue.contains(ix, iy) && s.GridValue(ix, iy) > kEdgeFlux;
}

}  // namespace

bool ZoneReachesEdge(const models::CalcState& s, EdgeForm form) {
  const int step = s.settings.CStep;
  const int nx = s.nx(), ny = s.ny();
  bool reaches = false;
  const int yEnd = ToIntHalfEven(s.settings.YLimit / 2.0);
  for (int p = ToIntHalfEven(-s.settings.YLimit / 2.0); p <= yEnd; p += step) {
    const int k = ToIntHalfEven(static_cast<double>(p) / step);
    if (Reaches(s, form, -nx, k) || Reaches(s, form, nx, k)) reaches = true;
  }
  const int xEnd = ToIntHalfEven(s.settings.XLimit / 2.0);
  for (int p = ToIntHalfEven(-s.settings.XLimit / 2.0); p <= xEnd; p += step) {
    const int k = ToIntHalfEven(static_cast<double>(p) / step);
    if (Reaches(s, form, k, -ny) || Reaches(s, form, k, ny)) reaches = true;
  }
  return reaches;
}

}  // namespace velaron::run
