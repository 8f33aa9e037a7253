// The headless run: a whole calculation from a JSON request on a database file, with the results as
// JSON. The command-line driver and the benchmarks call it; it runs the same preparation and execution
// as the run dialog.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "result/run_request.h"
#include "result/run_snapshot.h"

namespace velaron::run {

struct HeadlessResult {
  int exitCode = 0;   // 0 done, 2 refused (the output then holds {"error": ...})
  QByteArray output;  // UTF-8 JSON, ending in a newline
  std::shared_ptr<const result::RunSnapshot> record;  // the finished run (exit code 0)
};

// Names of the grids the output may carry.
QStringList HeadlessGridNames();

// A request read from JSON. `settingsGiven` false: the settings come from the database's first
// `Adjustment` row. `sectionInline` false: only the TPID was given.
struct HeadlessRequest {
  result::RunRequest request;
  bool settingsGiven = false;
  bool sectionInline = false;
  QString scenarioName;  // "texts": the run dialog's scenario text, when given
};

// Reads the input JSON; nothing on a malformed file, with the reason in `error`.
std::optional<HeadlessRequest> ParseHeadlessRequest(const QByteArray& json, QString& error);

// Writes the snapshot as the output JSON with the named grids.
QByteArray SnapshotJson(const result::RunSnapshot& snapshot, const QStringList& grids);

// {"error": message}
QByteArray ErrorJson(const QString& message);

// The largest input file read: a request is a few kilobytes.
inline constexpr qsizetype kMaxInputBytes = 16 << 20;

// A check of the caller's on the complete request (the settings read from the database when the input
// has none), made before anything is computed: an empty text lets the run go on, any other refuses it.
using RequestCheck = std::function<QString(const result::RunRequest&)>;

// The whole run: opens `dbPath` read-only, reads the request, prepares and executes it on `threads`
// worker threads (0: all cores).
HeadlessResult RunHeadless(const QString& dbPath, const QByteArray& inputJson, int threads, const QStringList& grids,
                           const RequestCheck& beforeRun = {});

}  // namespace velaron::run
