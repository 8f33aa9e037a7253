// The headless run: a whole calculation from a JSON request on a database file, with the record of the
// finished run or the refusal. The command-line driver and the benchmarks call it; it runs the same
// preparation and execution as the run dialog. The driver's JSON is written from the result by the output
// layer (output/json).
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "result/run_request.h"
#include "result/run_snapshot.h"
#include "run/headless_request.h"

namespace velaron::run {

struct HeadlessResult {
  int exitCode = 0;                                   // 0 done, 2 refused
  QString error;                                      // the refusal (exit code 2)
  std::shared_ptr<const result::RunSnapshot> record;  // the finished run (exit code 0)
};

// A check of the caller's on the complete request (the settings read from the database when the input
// has none), made before anything is computed: an empty text lets the run go on, any other refuses it.
using RequestCheck = std::function<QString(const result::RunRequest&)>;

// The whole run: opens `dbPath` read-only, reads the request, prepares and executes it on `threads`
// worker threads (0: all cores). `grids` are the grids the caller will print: a name the record has no
// grid of, or one named twice, refuses the run before anything is read.
HeadlessResult RunHeadless(const QString& dbPath, const QByteArray& inputJson, int threads, const QStringList& grids,
                           const RequestCheck& beforeRun = {});

}  // namespace velaron::run
