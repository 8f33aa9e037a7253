// The rule of the calculation settings, the one every caller applies: the settings dialog and the
// database before they store a row, the run before it uses one, and each model before it fills a grid.
// A grid whose cells all sit on grid points, positive escape speed, fractions within 0..1, no negative
// times and a grid of a size that fits in memory.
#pragma once

#include <optional>
#include <string>

#include "models/calc_settings.h"

namespace velaron::models {

// Largest number of grid points accepted: a 1000 x 1000-cell field (1001 points a side).
inline constexpr long long kMaxGridPoints = 1001LL * 1001LL;
// Widths are 16-bit whole numbers in the settings row.
inline constexpr int kMaxGridWidth = 32767;

// The setting a broken rule is about: the settings dialog puts the cursor in its box. A grid with too
// many points is the step's (a larger step is the first remedy the message names).
enum class SettingsField { CStep, XLimit, YLimit, Skor_chel, Tfb, Dola, Tobl, Dola_obl };

// The first rule the settings break: the setting and the message for the user (UTF-8).
struct SettingsFault {
  SettingsField field;
  std::string message;
};

// Nothing when the settings can be used; else the first rule they break.
std::optional<SettingsFault> CheckSettings(const CalcSettings& s);

// The grid part of the rule alone (step, widths, number of points): what a step or a width offered to the
// user instead of a typed one must pass.
std::optional<SettingsFault> CheckGridRule(const CalcSettings& s);

// The grid part of the same rule (step, widths, number of points), for the models: throws ModelInputError
// with the rule's message when the grid cannot be computed with.
void CheckGridSettings(const CalcSettings& s);

}  // namespace velaron::models
