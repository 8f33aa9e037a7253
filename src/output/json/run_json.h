// The JSON the headless driver prints: the record of a finished run with the grids asked for, or the
// refusal of a run. UTF-8, numbers with full double precision and the decimal point whatever the locale,
// ending in a newline.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "result/run_snapshot.h"

namespace velaron::output {

// The record with the named grids (result::GridNames); a grid the run did not compute is left out.
QByteArray SnapshotJson(const result::RunSnapshot& snapshot, const QStringList& grids);

// {"error": message}
QByteArray ErrorJson(const QString& message);

}  // namespace velaron::output
