#include "run/yearround/wind_states.h"

#include <cmath>

#include "common/numtext.h"
#include "models/flame_flux.h"
#include "run/flame_geometry.h"

namespace velaron::run::yearround {

double StateWindAngle(int i) { return (i - 1) * kPi / 4 + kPi / 2; }

SeasonWind SeasonOf(const db::WindRow& wind, Season season) {
  SeasonWind s;
  s.repetition = season == Season::Winter ? wind.winter : wind.summer;
  s.speed = season == Season::Winter ? wind.speedWinter : wind.speedSummer;
  return s;
}

std::array<double, kWindStates> StateWeights(const SeasonWind& season) {
  double sum = 0;
  for (double r : season.repetition) sum += r;
  std::array<double, kWindStates> w{};
  for (int i = 0; i < kWindStates; ++i) w[i] = season.repetition[i] / sum;
  return w;
}

int WarmDays(const db::WindRow& wind) { return ToIntHalfEven(wind.Tmedium); }

namespace {

const char* SeasonWord(Season s) { return s == Season::Winter ? "зима" : "лето"; }

std::string Shown(double value, double bound) { return "значение " + FormatRefused(value, bound); }

std::optional<models::Refusal> CheckSeason(const db::WindRow& wind, Season season) {
  const SeasonWind s = SeasonOf(wind, season);
  double sum = 0;
  for (int i = 0; i < kWindStates; ++i) {
    const std::string where = std::string(" (") + SeasonWord(season) + ", " + kWindStateWords[i + 1] + ")";
    const double r = s.repetition[i];
    const double v = s.speed[i];
    if (!std::isfinite(r) || r < 0)
      return models::Refusal{"Повторяемость ветра не может быть отрицательной" + where, Shown(r, 0)};
    if (!std::isfinite(v) || v < 0)
      return models::Refusal{"Скорость ветра не может быть отрицательной" + where, Shown(v, 0)};
    // The flame's elliptic section has the factor 1 − 0.1·v: near 10 m/s it degenerates.
    if (v > models::kMaxFlameWind) return models::Refusal{models::StrongWindText(v) + where, {}};
    sum += r;
  }
  if (!(sum > 0))
    return models::Refusal{std::string("Сумма повторяемостей ветра (") + SeasonWord(season) + ") должна быть больше 0",
                           "сумма " + FormatRefused(sum, 0)};
  return std::nullopt;
}

}  // namespace

std::optional<models::Refusal> CheckTownWind(const db::WindRow& wind) {
  if (auto m = CheckSeason(wind, Season::Winter)) return m;
  if (auto m = CheckSeason(wind, Season::Summer)) return m;
  const int warm = WarmDays(wind);
  if (!std::isfinite(wind.Tmedium) || warm < 0 || warm > 364)
    return models::Refusal{"Число дней со среднесуточной температурой выше 0 °С должно быть от 0 до 364",
                           Shown(wind.Tmedium, warm < 0 ? 0 : 364)};
  return std::nullopt;
}

}  // namespace velaron::run::yearround
