// The four crossings of a route section, in the order of their flags in the section's row (dpp1..dpp4):
// road, power line, other pipeline, cable line. The main window's check boxes and probability boxes, the
// section's row and the reports' lines all name a crossing through this one table, so that a tick can never
// reach the document as another crossing.
#pragma once

#include <array>
#include <optional>

#include "db/table_rows.h"

namespace velaron::result {

struct CrossingFacts {
  const char* check;        // the main window's check box
  const char* box;          // its probability box, also the column of `TPs` that keeps the probability
  const char* initialText;  // the box's text while the section has no probability stored
  const char* caption;      // the check box's caption; ticked, ", с вероятностью" follows it
  const char* reportLine;   // the report's line under "Данные по участку: "
};

inline constexpr int kCrossingCount = 4;

inline constexpr std::array<CrossingFacts, kCrossingCount> kCrossings = {{
    {"Check1", "P_avto", "0,1", "пересечение с автодорогами", "           наличие автодорог "},
    {"Check4", "P_LEP", "0,05", "наличие на участке ЛЭП", "           наличие на участке ЛЭП "},
    {"Check3", "P_tr", "0,2", "пересечение с другим трубопроводом", "           пересечение с другим трубопроводом "},
    {"Check2", "P_kab", "0,08", "пересечение с кабельной линией", "           пересечение с кабельной линией "},
}};

inline constexpr const char* kWithProbability = ", с вероятностью";

// The flag of crossing `i` (0..3) in a section's row (const or not).
template <class Row>
auto& CrossingFlag(Row& s, int i) {
  switch (i) {
    case 0: return s.dpp1;
    case 1: return s.dpp2;
    case 2: return s.dpp3;
    default: return s.dpp4;
  }
}

// The stored probability of crossing `i` (0..3); nothing when it was never typed for this section.
template <class Row>
auto& CrossingProbability(Row& s, int i) {
  switch (i) {
    case 0: return s.P_avto;
    case 1: return s.P_LEP;
    case 2: return s.P_tr;
    default: return s.P_kab;
  }
}

// The flags of a section's four crossings, in table order.
inline std::array<int, kCrossingCount> CrossingFlags(const db::SectionRow& s) {
  return {s.dpp1, s.dpp2, s.dpp3, s.dpp4};
}

}  // namespace velaron::result
