#include "run/yearround/combine.h"

namespace velaron::run::yearround {

SeasonSplit AsymmetricSeasonSplit(int warmDays) {
  SeasonSplit f;
  f.summer = static_cast<double>(warmDays) / kYearDays;
  f.winter = static_cast<double>(kYearDays - warmDays) / kYearDays;
  return f;
}

double YearRoundPercent(const result::JetShares& sh, double Kw, double Sw, double Aw, double Ks, double Ss, double As) {
  // Chance, in the terms of this sum, of not being hit by a jet kind of share p and percent g.
  auto q = [](double p, double g) { return 1 - 0.01 * p * g; };
  const double summer = (sh.Pks * Ks * q(sh.Pss, Ss) * q(sh.Pas, As) + sh.Pss * Ss * q(sh.Pks, Ks) * q(sh.Pas, As) +
                         sh.Pas * As * q(sh.Pks, Ks) * q(sh.Pss, Ss)) /
                        2;
  const double winter = (sh.Pkw * Kw * q(sh.Psw, Sw) * q(sh.Paw, Aw) + sh.Psw * Sw * q(sh.Pkw, Kw) * q(sh.Paw, Aw) +
                         sh.Paw * Aw * q(sh.Pkw, Kw) * q(sh.Psw, Sw)) /
                        2;
  return summer + winter;
}

double CombineRadius(double current, double r, bool* raised) {
  if (raised) *raised = false;
  if (r == kRadiusNotFound || current == kRadiusNotFound) return kRadiusNotFound;
  if (current < r) {
    if (raised) *raised = true;
    return r;
  }
  return current;
}

void CombineJetRadii(models::ZoneTables& zones, std::array<std::string, 3>& worstDir) {
  for (int z = models::kZoneLevels; z >= 1; --z) {
    double m = 0;
    for (int c = models::kJetCases; c >= 1; --c) {
      for (int d = 1; d <= models::kDirections; ++d) {
        bool raised = false;
        m = CombineRadius(m, zones.ZoneRDir(models::KindOf(c), d)(z), &raised);
        if (raised) worstDir[1] = std::to_string(d);
      }
    }
    zones.CurZones()(z) = m;
  }
}

void CombineCaseRadii(models::ZoneTables& zones) {
  for (int z = 1; z <= models::kZoneLevels; ++z) {
    double m = 0;
    for (int c = 1; c <= models::kScenarioKinds; ++c) m = CombineRadius(m, zones.ZoneR(models::KindOf(c))(z));
    zones.CurZones()(z) = m;
  }
}

void MaxWithLargestJetFluxPercent(models::Grid& proc, const models::Grid& jetFluxPercent,
                                  const models::CalcSettings& s) {
  const int nx = models::GridHalf(s.XLimit, s.CStep), ny = models::GridHalf(s.YLimit, s.CStep);
  for (int iy = -ny; iy <= ny; ++iy)
    for (int ix = -nx; ix <= nx; ++ix) proc(ix, iy) = models::MaxValue(proc(ix, iy), jetFluxPercent(ix, iy));
}

void EnsureRunLayers(models::CalcState& s) {
  const int nx = s.nx(), ny = s.ny();
  auto fits = [&](const models::LayeredGrid& g, int count) {
    return g.count() == count && g.layer(1).nx() == nx && g.layer(1).ny() == ny;
  };
  if (!fits(s.LayerFlux, 6)) s.LayerFlux.resize(6, nx, ny);
  if (!fits(s.LayerProc, 8)) s.LayerProc.resize(8, nx, ny);
}

}  // namespace velaron::run::yearround
