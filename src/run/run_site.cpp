#include "run/run_site.h"

#include <cmath>

#include "common/qt_text.h"
#include "common/texts.h"
#include "run/flame_geometry.h"
#include "run/input_checks.h"
#include "run/prepare.h"
#include "run/probabilities.h"
#include "run/run_texts.h"

namespace velaron::run {

namespace {

// The jet-flame window's pipe end rises from the ground at most to the vertical: a larger angle would turn
// the jets back over the rupture and, beyond 180°, into the ground (its box lets any whole number through).
constexpr double kMaxLiftAngleDeg = 90;

bool ShareOk(double s) { return std::isfinite(s) && s >= 0 && s <= 1; }

// The section's number as the run dialog names it.
QString SectionNumberShown(int tpid) { return ShownValue(QStringLiteral("Участок, номер"), NumberText(tpid)); }

// The jet-kind shares as the run dialog shows them: the column of the flame, the row of the season.
struct ShareName {
  double result::JetShares::*share;
  const char* flame;
  const char* season;
};
constexpr ShareName kShareNames[] = {
    {&result::JetShares::Pkw, "котлованного", "зима"},   {&result::JetShares::Psw, "симметричного", "зима"},
    {&result::JetShares::Paw, "ассимитричного", "зима"}, {&result::JetShares::Pks, "котлованного", "лето"},
    {&result::JetShares::Pss, "симметричного", "лето"},  {&result::JetShares::Pas, "ассимитричного", "лето"}};

// The jet-flame window's pipe reads the tables at the typed temperature as it stands.
double TypedTemperatureK(double tempC) { return tempC + 273; }

// The section row of either site; without one, nothing more of the site is built.
RunSite SiteWithSection(const result::RunRequest& request, const RunData& data) {
  RunSite site;
  if (data.section) site.section = *data.section;
  else site.rowFault = {U(velaron::texts::kWrongSection), SectionNumberShown(request.section.TPID)};
  return site;
}

// The two sums are capped at 1, with a note.
void CapSums(const result::RunRequest& request, RunSite& site) {
  site.p_v = site.section.p_v;
  if (site.p_v > 1.0) {
    site.notes << U(texts::kCrossingSumNote);
    site.p_v = 1.0;
  }
  site.ExtFactors = ExternalFactorSum(request.external);
  if (site.ExtFactors > 1.0) {
    site.notes << U(texts::kExternalSumNote);
    site.ExtFactors = 1.0;
  }
}

}  // namespace

RunSite RouteSite(const result::RunRequest& request, const RunData& data) {
  RunSite site = SiteWithSection(request, data);
  if (!site.rowFault.isEmpty()) return site;
  if (site.section.TPID < 1 || !data.ground) {
    site.rowFault = {U(velaron::texts::kWrongSection),
                     site.section.TPID < 1 ? SectionNumberShown(site.section.TPID)
                                           : ShownValue(QStringLiteral("Код грунта участка"),
                                                        QStringLiteral("\"%1\"").arg(site.section.Ground))};
    return site;
  }
  site.ground = *data.ground;
  // The jet-kind shares as the dialog gave them, or the section's ground row.
  const result::JetShares shares = request.run.shares ? *request.run.shares : SharesFromGround(site.ground);
  site.shares = shares;
  for (const ShareName& name : kShareNames)
    if (const double s = shares.*name.share; !ShareOk(s) && site.inputFault.isEmpty())
      site.inputFault = {U(texts::kBadShare),
                         ShownValue(QStringLiteral("Вероятность %1 факела, %2").arg(U(name.flame), U(name.season)),
                                    RefusedText(s, s < 0 ? 0 : 1))};

  // The accident rate, as the main window computes it.
  const result::PipelineInputs& p = request.pipeline;
  site.rate = ComputeAccidentRate(request.rate, p.Diametr, data.regions, data.koefDy);
  CapSums(request, site);
  ProbabilityInputs pin;
  pin.AccidentRate = site.rate.AccidentRate;
  pin.ExtFactors = site.ExtFactors;
  pin.p_v = site.p_v;
  pin.InversPercent = p.InversPercent;
  pin.Length = site.section.Length;
  pin.P4 = site.ground.P4;
  pin.season = request.run.season;
  pin.shares = shares;
  site.probabilities = ComputeProbabilities(pin);
  site.probabilityFault = CheckScenarioProbabilities(site.probabilities);

  site.temperatureK = TableTemperatureK;
  site.JetAngle = kAsymmetricJetElevation;
  site.Tfb = request.settings.Tfb;
  site.Dola = request.settings.Dola;
  site.Tobl = request.settings.Tobl;
  site.Dola_obl = request.settings.Dola_obl;
  return site;
}

RunSite TypedPipeSite(const result::RunRequest& request, const RunData& data) {
  RunSite site = SiteWithSection(request, data);
  if (!site.rowFault.isEmpty()) return site;
  const result::JetFlamePipe pipe = request.jetFlame.value_or(result::JetFlamePipe{});
  if (!(pipe.LiftAngle >= 0 && pipe.LiftAngle <= kMaxLiftAngleDeg)) site.inputFault = U(texts::kLiftAngle);
  site.shares = request.run.shares;
  CapSums(request, site);
  site.probabilities = pipe.last;
  site.temperatureK = TypedTemperatureK;
  site.JetAngle = pipe.LiftAngle / 180 * kPi;
  return site;
}

RunSite SiteOf(const result::RunRequest& request, const RunData& data) {
  return request.jetFlame ? TypedPipeSite(request, data) : RouteSite(request, data);
}

}  // namespace velaron::run
