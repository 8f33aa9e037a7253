#include "run/flame_grid_step.h"

#include <cmath>

#include "models/settings_rules.h"

namespace velaron::run {

int LargestStepForFlame(double slant) {
  const double largest = std::floor(kMaxStepPerFlameSlant * slant);
  if (!(largest >= 1)) return 0;
  // A flame longer than any grid the settings allow is served by every step.
  return largest < models::kMaxGridWidth ? static_cast<int>(largest) : models::kMaxGridWidth;
}

std::optional<std::string> CheckStepForFlame(int cStep, double slant) {
  const int largest = LargestStepForFlame(slant);
  if (largest == 0)
    return "Факел слишком мал для расчета на сетке: его зоны поражения не видны и при шаге сетки 1 м. "
           "Проверте правильность ввода!";
  if (cStep <= largest) return std::nullopt;
  return "Шаг сетки " + std::to_string(cStep) +
         " м слишком велик для размеров факела: зоны поражения между узлами сетки определяются неверно. Для "
         "этого факела шаг сетки должен быть не более " +
         std::to_string(largest) + " м (Меню: Файл->Параметры).";
}

double FlameSlant(models::FlameShape shape, const models::DerivedQuantities& d, double tilt) {
  return models::FlameConeOf(shape, models::FlameInputsFrom(d), tilt).D;
}

}  // namespace velaron::run
