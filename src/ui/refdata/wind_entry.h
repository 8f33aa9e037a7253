// The town wind data as typed into the wind editor's boxes, and the checks a town passes before it is
// stored: whole percentages 0..100 whose season sum is above 0, mean speeds 0 <= v < 10 m/s (a wind of
// 10 m/s or more has no flame shape in the jet models), and 0..364 days above 0 °C.
#pragma once

#include <QString>
#include <array>
#include <optional>

#include "common/texts.h"
#include "db/rows.h"

namespace velaron::ui {

// Field suffixes of the nine wind states (N .. NW, calm), in table order.
inline constexpr std::array<const char*, 9> kWindStates = {"N", "NE", "E", "SE", "S", "SW", "W", "NW", "ST"};
// Their row labels in the editor, which the refusals name too.
inline constexpr std::array<const char*, 9> kWindStateLabels = {
    "Северный",     "Северо-восточный", "Восточный",       "Юго-восточный", "Южный",
    "Юго-западный", "Западный",         "Северо-западный", texts::kCalm};

inline constexpr int kMaxPercent = 100;
inline constexpr double kSpeedLimit = 10;  // speeds must stay below it
inline constexpr int kMaxWarmDays = 364;
inline constexpr int kNewTownWarmDays = 182;

// Box texts of one town.
struct WindEntry {
  QString CityName;
  std::array<QString, 9> winter, summer;            // txtN1..txtST1, txtN2..txtST2
  std::array<QString, 9> speedWinter, speedSummer;  // txtV11..txtV19, txtV21..txtV29
  QString Tmedium;                                  // Text1
};

// The box texts of a stored town (numbers with the decimal comma).
WindEntry EntryFromRow(const db::WindRow& row);

// The entry of a new town: empty boxes, 0 for the two calm speeds, 182 days.
WindEntry NewTownEntry();

struct WindCheck {
  std::optional<db::WindRow> row;  // the town to store (idCity 0) when every check passed
  QString message;                 // otherwise the message to show
  QString box;                     // and the objectName of the box to put right
};

WindCheck CheckWindEntry(const WindEntry& entry);

// objectName of the box of a field: season 1 or 2; kind 'p' percent, 'v' speed.
QString PercentBoxName(int season, int state);
QString SpeedBoxName(int season, int state);

}  // namespace velaron::ui
