// A run after its preparation: the request, the rows it read, the derived quantities and probabilities,
// and the calculation state filled with them, ready for a scenario model. Preparing checks everything
// first; a refused run produces nothing and changes nothing.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "db/rows.h"
#include "models/calc_state.h"
#include "models/reftables.h"
#include "result/run_snapshot.h"
#include "result/run_request.h"

namespace velaron::run {

// The database rows a run needs, read once before it starts (the database is not read again).
struct RunData {
  std::optional<db::GasRow> gas;          // the row at position Gas of `abc`
  std::optional<db::SectionRow> section;  // the section of the run (read by TPID, or given whole)
  std::optional<db::Ground3Row> ground;   // the section's ground row
  std::array<QString, 4> groundNames;     // the names of the section's four soil levels
  std::vector<db::RegionRow> regions;     // `Statistics` in stored order (RegionPos counts from 1)
  std::vector<db::KoefDyRow> koefDy;      // the diameter coefficients, descending Dy
  std::optional<db::WindRow> town;        // the town of idCity (codes 1 and 7)
  std::shared_ptr<const models::ReferenceTables> tables;
  QString error;  // a fault of the reference data found while loading (the run is then refused)
};

struct PreparedRun {
  result::RunRequest request;  // with the section row filled in and the shares the run uses
  db::GasRow gas;
  db::Ground3Row ground;
  std::optional<db::WindRow> town;
  QString regionName;
  std::shared_ptr<const models::ReferenceTables> tables;

  result::Probabilities probabilities;
  int WindDir = 0;    // degrees
  QDateTime start;    // when the run started
  QStringList notes;  // messages to show before the run goes on (sums taken as 1)

  models::CalcState state;  // settings, derived quantities, probabilities, empty grids
};

// A refusal of a run: the message the window shows, and the value refused, which the headless driver adds
// to it (in the window the box holding the value stands beside the message).
struct RunRefusal {
  QString message;
  QString shown;  // "<the field as the window names it>: значение <value>"; empty when the message shows it
  RunRefusal() = default;
  // Implicit: a text alone is a refusal whose message shows its value, or that has none to show.
  RunRefusal(QString m, QString s = {}) : message(std::move(m)), shown(std::move(s)) {}
  bool isEmpty() const { return message.isEmpty(); }
};

// The driver's text of a refusal: the message with the value refused after it.
inline QString WithShownValue(const QString& message, const QString& shown) {
  return shown.isEmpty() ? message : message + QStringLiteral(" (") + shown + QLatin1Char(')');
}

// The result of preparing: a run, or the message of the refusal.
struct PrepareResult {
  std::optional<PreparedRun> run;
  QString error;
  QString shown;  // the value refused, for the driver (RunRefusal)
  bool ok() const { return run.has_value(); }
};

}  // namespace velaron::run
