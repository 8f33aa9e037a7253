#include "run/flame_grid.h"

#include <algorithm>
#include <cmath>

#include "models/settings_rules.h"

namespace velaron::run {

int LargestStepForFlame(double slant) {
  const double largest = std::floor(kMaxStepPerFlameSlant * slant);
  if (!(largest >= 1)) return 0;
  // A flame longer than any grid the settings allow is served by every step.
  return largest < models::kMaxGridWidth ? static_cast<int>(largest) : models::kMaxGridWidth;
}

int SmallestWidthForFlame(double slant) {
  const double smallest = std::ceil(kMinWidthPerFlameSlant * slant);
  if (!(smallest >= 0)) return 0;
  return smallest < models::kMaxGridWidth ? static_cast<int>(smallest) : models::kMaxGridWidth;
}

std::optional<std::string> CheckGridForFlames(const models::CalcSettings& s, double smallest, double largest) {
  const int step = LargestStepForFlame(smallest);
  if (step == 0)
    return "Факел слишком мал для расчета на сетке: его зоны поражения не видны и при шаге сетки 1 м. "
           "Проверте правильность ввода!";
  if (s.CStep > step)
    return "Шаг сетки " + std::to_string(s.CStep) +
           " м слишком велик для размеров факела: зоны поражения между узлами сетки определяются неверно. Для "
           "этого факела шаг сетки должен быть не более " +
           std::to_string(step) + " м (Меню: Файл -> Параметры).";
  const int width = SmallestWidthForFlame(largest);
  const int narrowest = std::min(s.XLimit, s.YLimit);
  if (narrowest < width)
    return "Ширина зоны расчета " + std::to_string(narrowest) +
           " м слишком мала для размеров факела: граница сетки не выходит из-под факела, и зоны поражения не "
           "определяются. Для этого факела ширина зоны расчета по X и Y должна быть не менее " +
           std::to_string(width) + " м (Меню: Файл -> Параметры).";
  return std::nullopt;
}

double FlameSlant(models::FlameShape shape, const models::DerivedQuantities& d, double tilt) {
  return models::FlameConeOf(shape, models::FlameInputsFrom(d), tilt).D;
}

}  // namespace velaron::run
