#include "run/result_checks.h"

#include <array>
#include <cmath>
#include <utility>

#include "common/texts.h"
#include "result/scenarios.h"
#include "run/input_checks.h"

namespace velaron::run {

namespace {

QString Refusal(const QString& quantity) {
  return QStringLiteral(
             "Результат расчета \"%1\" не является конечным числом: расчет при таких параметрах "
             "невозможен. Проверте параметры расчета!")
      .arg(quantity);
}

// A result with no name the user knows (a grid or layer of the model's own): said without one.
QString UnnamedRefusal() {
  return QStringLiteral(
      "Результат расчета не является конечным числом: расчет при таких параметрах невозможен. Проверте параметры "
      "расчета!");
}

bool GridFinite(const models::Grid& g) {
  for (double v : g.cells())
    if (!std::isfinite(v)) return false;
  return true;
}

template <std::size_t N>
bool RowFinite(const std::array<double, N>& row) {
  for (double v : row)
    if (!std::isfinite(v)) return false;
  return true;
}

bool RowFinite(const models::ZoneRow& row) { return RowFinite(row.radii()); }

}  // namespace

QString NonFiniteResult(const result::RunSnapshot& s) {
  const models::DerivedQuantities& d = s.derived;
  for (const auto& [name, field] : models::kDerivedFields)
    if (!std::isfinite(d.*field)) return Refusal(QString::fromLatin1(name));
  if (d.asymmetricComputed)
    for (const auto& [name, field] : models::kAsymmetricFields)
      if (!std::isfinite(d.*field)) return Refusal(QString::fromLatin1(name));
  for (const auto& [name, field] : models::kProbabilityFields)
    if (!std::isfinite(s.probabilities.*field)) return Refusal(QString::fromLatin1(name));
  for (const auto& [name, v] : {std::pair{"RFireBall", s.RFireBall}, std::pair{"TFireBall", s.TFireBall}})
    if (!std::isfinite(v)) return Refusal(QString::fromLatin1(name));

  if (!RowFinite(s.zones.CurZones())) return Refusal(QStringLiteral("CurZones"));
  for (int k = 1; k <= models::kScenarioKinds; ++k)
    if (!RowFinite(s.zones.ZoneR(models::KindOf(k)))) return Refusal(QStringLiteral("ZoneR"));
  for (int c = 1; c <= models::kJetCases; ++c)
    for (const models::ZoneRow& row : s.zones.directions(models::KindOf(c)))
      if (!RowFinite(row)) return Refusal(QStringLiteral("ZoneRDir"));
  if (!RowFinite(s.RadiusDP)) return Refusal(QStringLiteral("RadiusDP"));

  const models::ComplexGrids& c = s.complexGrids;
  const models::Grid* grids[] = {&s.GridValue,     &s.GridImpuls,    &s.GridProbit,   &s.GridProc,     &s.GridRisk,
                                 &c.RiskExplosion, &c.ProcExplosion, &c.RiskFireBall, &c.ProcFireBall, &c.RiskTorch,
                                 &c.ProcTorch,     &c.RiskGPVS,      &c.ProcGPVS};
  const result::ScenarioFacts& facts = result::FactsOf(s.scenario());
  const models::CalcSettings& settings = s.request.settings;
  for (const models::Grid* g : grids) {
    if (GridFinite(*g)) continue;
    if (g != &s.GridProbit) return UnnamedRefusal();
    // The jet flames' probit counts the time to run out of the flux, 5 s + distance / escape speed, and their
    // flux is finite when it is reached: a probit that is not finite is that time overflowing, which only the
    // escape speed can make so.
    if (facts.singleJet || facts.yearRound)
      return SettingOverflows(velaron::texts::kSkorChelCaption, settings.Skor_chel, "время выхода из опасной зоны",
                              true);
    // The fireball's and the cloud's probit is the logarithm of a dose that a mass too small for the
    // grid's distances (a fireball or cloud setting near 0) leaves at 0.
    if (s.scenario() == result::Scenario::FireBall) {
      const bool share = FireBallSetting(settings.Tfb, settings.Dola) == models::SettingsField::Dola;
      return SettingOverflows(share ? velaron::texts::kDolaCaption : velaron::texts::kTfbCaption,
                              share ? settings.Dola : settings.Tfb, "пробит-функция поражения огневым шаром", true);
    }
    if (s.scenario() == result::Scenario::GasCloud) {
      const bool share = CloudSetting(settings.Tobl, settings.Dola_obl) == models::SettingsField::Dola_obl;
      return SettingOverflows(share ? velaron::texts::kDolaOblCaption : velaron::texts::kToblCaption,
                              share ? settings.Dola_obl : settings.Tobl,
                              "пробит-функция поражения при сгорании облака ГПВС", true);
    }
    return UnnamedRefusal();
  }
  for (int k = 1; k <= s.LayerFlux.count(); ++k)
    if (!GridFinite(s.LayerFlux.layer(k))) return UnnamedRefusal();
  for (int k = 1; k <= s.LayerProc.count(); ++k)
    if (!GridFinite(s.LayerProc.layer(k))) return UnnamedRefusal();

  for (const result::ProfilePoint& p : s.Profile)
    if (!std::isfinite(p.value) || !std::isfinite(p.distance) || !std::isfinite(p.percent))
      return Refusal(QStringLiteral("Profile"));
  for (const auto& [a, b] : s.RadProfile)
    if (!std::isfinite(a) || !std::isfinite(b)) return Refusal(QStringLiteral("RadProfile"));
  for (const result::DistanceSeries* chart : {&s.graf1, &s.graf2})
    for (const auto& [x, y] : chart->points)
      if (!std::isfinite(x) || !std::isfinite(y)) return Refusal(chart == &s.graf1 ? "graf1" : "graf2");
  return {};
}

}  // namespace velaron::run
