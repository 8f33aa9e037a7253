// The town's wind over a year, as the year-round jet-fire assessment walks it: two seasons of nine wind
// states each (eight compass directions from north clockwise, then calm), every state with its mean wind
// speed and its repetition. A state's weight is its share of its season's repetitions.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "db/rows.h"
#include "models/calc_state.h"
#include "run/run_texts.h"

namespace velaron::run::yearround {

inline constexpr int kWindStates = 9;  // eight directions and calm

enum class Season { Winter, Summer };

// Caption word of wind state i = 1..9 ("С" .. "С-З", "Штиль"); index 0 unused.
inline const std::array<std::string, kWindStates + 1> kWindStateWords = {"",
                                                                         texts::kWindDirectionNames[0],
                                                                         texts::kWindDirectionNames[1],
                                                                         texts::kWindDirectionNames[2],
                                                                         texts::kWindDirectionNames[3],
                                                                         texts::kWindDirectionNames[4],
                                                                         texts::kWindDirectionNames[5],
                                                                         texts::kWindDirectionNames[6],
                                                                         texts::kWindDirectionNames[7],
                                                                         velaron::texts::kCalm};

// The wind angle of state i = 1..9 that turns the grid into the flame's frame: (i − 1)·π/4 + π/2. The calm
// state gets 5π/2 and is deliberately not brought back below 2π (the flux routine only takes its sine and
// cosine, but the angle is reported as it stands).
double StateWindAngle(int i);

// One season of the town: repetitions (%) and mean speeds (m/s) of the nine states, index 0..8.
struct SeasonWind {
  std::array<double, kWindStates> repetition{};
  std::array<double, kWindStates> speed{};
};

SeasonWind SeasonOf(const db::WindRow& wind, Season season);

// Weights of the nine states: each repetition over the season's sum. The caller has made sure the sum
// is above 0 (CheckTownWind).
std::array<double, kWindStates> StateWeights(const SeasonWind& season);

// Days a year with a mean daily temperature above 0 °C, as the assessment counts them (whole days).
int WarmDays(const db::WindRow& wind);

// Refuses wind data the assessment cannot compute with, before anything is computed: a season whose
// repetitions do not sum to more than 0, a negative repetition, a negative speed, a wind of 10 m/s or
// more (the flame section would vanish), warm days outside 0..364. Returns the message to show, with the
// value refused for the driver.
std::optional<models::Refusal> CheckTownWind(const db::WindRow& wind);

}  // namespace velaron::run::yearround
