#include "models/settings_rules.h"

#include <cmath>
#include <utility>

#include "models/calc_state.h"

namespace velaron::models {
namespace {

std::optional<SettingsFault> Fault(SettingsField field, std::string message) {
  return SettingsFault{field, std::move(message)};
}

// The grid runs from -width/2 to +width/2 in steps of CStep, so width must be an even number of steps.
// Counted in 64 bits: twice a step near the int limit must not wrap round to a small or negative number.
std::optional<SettingsFault> CheckWidth(int width, int step, SettingsField field, const std::string& name) {
  const long long twoSteps = 2LL * step;
  if (width < twoSteps || width > kMaxGridWidth)
    return Fault(field, name + " должна быть от двух шагов сетки (" + std::to_string(twoSteps) + " м) до " +
                            std::to_string(kMaxGridWidth) + " м!");
  if (width % twoSteps != 0)
    return Fault(field, name + " должна быть кратна двум шагам сетки (" + std::to_string(twoSteps) + " м)!");
  return std::nullopt;
}

bool IsFraction(double x) { return x >= 0 && x <= 1; }  // false for NaN

}  // namespace

std::optional<SettingsFault> CheckGridRule(const CalcSettings& s) {
  if (s.CStep < 1) return Fault(SettingsField::CStep, "Шаг сетки должен быть не меньше 1 м!");
  if (auto f = CheckWidth(s.XLimit, s.CStep, SettingsField::XLimit, "Ширина зоны расчета")) return f;
  if (auto f = CheckWidth(s.YLimit, s.CStep, SettingsField::YLimit, "Ширина зоны расчета по Y")) return f;
  const long long nx = static_cast<long long>(s.XLimit) / s.CStep + 1;
  const long long ny = static_cast<long long>(s.YLimit) / s.CStep + 1;
  if (nx * ny > kMaxGridPoints)
    return Fault(SettingsField::CStep, "Слишком большая сетка расчета (" + std::to_string(nx) + " x " +
                                           std::to_string(ny) +
                                           " точек): увеличьте шаг сетки или уменьшите ширину зоны расчета!");
  return std::nullopt;
}

std::optional<SettingsFault> CheckSettings(const CalcSettings& s) {
  if (auto f = CheckGridRule(s)) return f;
  if (!(s.Skor_chel > 0) || !std::isfinite(s.Skor_chel))
    return Fault(SettingsField::Skor_chel, "Скорость выхода человека из опасной зоны должна быть больше 0!");
  if (!(s.Tfb >= 0) || !std::isfinite(s.Tfb))
    return Fault(SettingsField::Tfb, "Время истечения до образования ОШ не может быть отрицательным!");
  if (!IsFraction(s.Dola))
    return Fault(SettingsField::Dola, "Доля массы, участвующей в образовании ОШ, должна быть от 0 до 1!");
  if (!(s.Tobl >= 0) || !std::isfinite(s.Tobl))
    return Fault(SettingsField::Tobl, "Время истечения при образовании облака ГПВС не может быть отрицательным!");
  if (!IsFraction(s.Dola_obl))
    return Fault(SettingsField::Dola_obl, "Доля массы, участвующей в горении ГПВС, должна быть от 0 до 1!");
  return std::nullopt;
}

void CheckGridSettings(const CalcSettings& s) {
  if (auto f = CheckGridRule(s)) throw ModelInputError(f->message);
}

}  // namespace velaron::models
