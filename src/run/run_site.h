// The site of a run: the stretch of pipe the run computes at, with what that place decides of the run
// (its rows, its accident rate and scenario probabilities, how it reads the gas temperature, the rise of
// its jet, whether it forms a fireball and a cloud). A site is built in one of two ways, from a route
// section of the main window with its ground, or from the pipe typed into the jet-flame window; the
// preparation derives every quantity from the site alike.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "db/rows.h"
#include "result/run_request.h"
#include "result/run_snapshot.h"
#include "run/accident_rate.h"
#include "run/prepared_run.h"

namespace velaron::run {

struct RunSite {
  db::SectionRow section;                   // the route section; the typed pipe's row holds only its azimuth
  db::Ground3Row ground;                    // the section's ground row; none for the typed pipe
  std::optional<result::JetShares> shares;  // the jet-kind shares the run uses

  AccidentRateResult rate;         // the typed pipe has none: 0
  double p_v = 0, ExtFactors = 0;  // the crossings' and the external factors' sums, at most 1
  QStringList notes;               // the sums taken as 1
  result::Probabilities probabilities;
  QString probabilityFault;  // a scenario probability outside 0..1 (refused in its turn)

  double (*temperatureK)(double tempC) = nullptr;    // the temperature, K, the gas tables are read at
  double JetAngle = 0;                               // the elevation of the asymmetric jet's axis, rad
  double Tfb = 0, Dola = 0, Tobl = 0, Dola_obl = 0;  // the fireball's and the cloud's settings (0: none)

  // The site's own faults, told in their turn among the request's checks: the section row (and its
  // ground), and the site's typed inputs (the jet-kind shares, or the pipe's lift angle), each with the
  // value refused, for the driver (RunRefusal).
  RunRefusal rowFault, inputFault;
};

// A route section of the main window's pipeline with its ground row: the accident rate and the scenario
// probabilities from the section, the gas tables read at whole degrees, the run's fixed jet elevation, the
// fireball and the cloud of the settings.
RunSite RouteSite(const result::RunRequest& request, const RunData& data);

// The pipe typed into the jet-flame window (request.jetFlame): no accident rate, the last run's
// probabilities as they stand, the typed temperature as it stands (+ 273 K), the typed lift angle as the
// jet's elevation, no fireball and no cloud.
RunSite TypedPipeSite(const result::RunRequest& request, const RunData& data);

// The site the request names: the jet-flame window's pipe or else the route section.
RunSite SiteOf(const result::RunRequest& request, const RunData& data);

}  // namespace velaron::run
