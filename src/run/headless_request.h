// The headless driver's request: the run's inputs read from a JSON file, checked for their form (known
// keys, none given twice, numbers where numbers belong, every input that feeds the numbers given) before
// anything else.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "result/run_request.h"

namespace velaron::run {

// A request read from JSON. `settingsGiven` false: the settings come from the database's first
// `Adjustment` row. `sectionInline` false: only the TPID was given.
struct HeadlessRequest {
  result::RunRequest request;
  bool settingsGiven = false;
  bool sectionInline = false;
  // The scenario of "ScenarioCode" (also in request.run); nothing for a code outside 1..8, which the
  // driver refuses once the database is open, as it refuses every other input the run cannot take.
  std::optional<result::Scenario> scenario;
  int scenarioCode = 0;  // "ScenarioCode" as given, for that refusal
};

// Reads the input JSON; nothing on a malformed file, with the reason in `error`.
std::optional<HeadlessRequest> ParseHeadlessRequest(const QByteArray& json, QString& error);

// The largest input file read: a request is a few kilobytes.
inline constexpr qsizetype kMaxInputBytes = 16 << 20;

}  // namespace velaron::run
