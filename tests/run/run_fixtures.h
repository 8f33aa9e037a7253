// The one home of the run tests' requests: the struct request and rows of a good run, the headless
// driver's JSON request (sample_request.h, shared with the benchmarks), the synthetic tables and a
// temporary copy of the pristine database.
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "run/headless.h"
#include "run/prepared_run.h"
#include "result/run_request.h"
#include "sample_request.h"

namespace velaron::test {

// Gas-property tables of an ideal gas of molar mass 16 (cp 2.2 kJ/(kg·K), v = 0.5196·T/(100·p) m³/kg
// with p in bar), temperatures 200..400 K; a pit-length table 0.1 m → 10 m, 2 m → 60 m; a probit table
// from 2.67 (1 %) to 7.33 (99 %).
std::shared_ptr<const models::ReferenceTables> SyntheticTables();

// A request and rows that prepare without refusal: grid 200 × 200 m at 10 m, methane-like gas, one
// section 1000 m long at the pipeline start, a ground row with P4 = 0.25, way 3 accident rate 0.5.
result::RunRequest GoodRequest(int code);
run::RunData GoodData();

// The headless driver's JSON output as an object (a parse error fails the test).
QJsonObject ParseJson(const QByteArray& out);
// What the driver prints for a headless run: its record with the named grids, or its refusal.
QByteArray DriverOutput(const run::HeadlessResult& r, const QStringList& grids = {});

// A temporary copy of the pristine database; the file is removed with the object.
class DatabaseCopy {
 public:
  DatabaseCopy();
  QString path() const { return path_; }
  bool ok() const { return !path_.isEmpty(); }

 private:
  QTemporaryDir dir_;
  QString path_;
};

}  // namespace velaron::test
