#include "ui/refdata/wind_entry.h"

#include <cmath>

#include "common/numtext.h"
#include "common/qt_text.h"
#include "common/texts.h"

namespace velaron::ui {

namespace {

// A whole number from lo to hi written in the box; nothing otherwise.
std::optional<int> WholeIn(const QString& text, int lo, int hi) {
  const auto v = ParseNumberLoose(text.trimmed().toStdString());
  if (!v || *v != std::floor(*v) || *v < lo || *v > hi) return std::nullopt;
  return static_cast<int>(*v);
}

// "(Зима, Северный)": the season's column and the direction's row of a box.
QString BoxPlace(int season, int state) {
  return QStringLiteral("(%1, %2)")
      .arg(QString::fromUtf8(texts::kSeasonNames[static_cast<size_t>(season - 1)]),
           QString::fromUtf8(kWindStateLabels[static_cast<size_t>(state)]));
}

}  // namespace

QString PercentBoxName(int season, int state) {
  return QStringLiteral("txt%1%2").arg(QLatin1String(kWindStates[static_cast<size_t>(state)])).arg(season);
}

QString SpeedBoxName(int season, int state) { return QStringLiteral("txtV%1%2").arg(season).arg(state + 1); }

WindEntry EntryFromRow(const db::WindRow& row) {
  WindEntry e;
  e.CityName = row.CityName;
  for (size_t i = 0; i < 9; ++i) {
    e.winter[i] = NumberText(row.winter[i]);
    e.summer[i] = NumberText(row.summer[i]);
    e.speedWinter[i] = NumberText(row.speedWinter[i]);
    e.speedSummer[i] = NumberText(row.speedSummer[i]);
  }
  e.Tmedium = NumberText(row.Tmedium);
  return e;
}

WindEntry NewTownEntry() {
  WindEntry e;
  e.speedWinter[8] = QStringLiteral("0");
  e.speedSummer[8] = QStringLiteral("0");
  e.Tmedium = QString::number(kNewTownWarmDays);
  return e;
}

WindCheck CheckWindEntry(const WindEntry& entry) {
  WindCheck check;
  db::WindRow row;
  row.CityName = entry.CityName.trimmed();
  if (row.CityName.isEmpty()) {
    check.message = QStringLiteral("Не указано название города!");
    check.box = QStringLiteral("txtCity");
    return check;
  }
  for (int season = 1; season <= 2; ++season) {
    const auto& texts = season == 1 ? entry.winter : entry.summer;
    auto& values = season == 1 ? row.winter : row.summer;
    int sum = 0;
    for (int i = 0; i < 9; ++i) {
      const auto v = WholeIn(texts[static_cast<size_t>(i)], 0, kMaxPercent);
      if (!v) {
        check.message =
            QStringLiteral("Процент повторяемости %1 должен быть целым числом от 0 до 100!").arg(BoxPlace(season, i));
        check.box = PercentBoxName(season, i);
        return check;
      }
      values[static_cast<size_t>(i)] = *v;
      sum += *v;
    }
    // The year-round assessment weighs each wind state by its share of the season's sum.
    if (sum <= 0) {
      check.message = QStringLiteral("Сумма процентов повторяемости (%1) должна быть больше 0!")
                          .arg(QString::fromUtf8(texts::kSeasonNames[static_cast<size_t>(season - 1)]));
      check.box = PercentBoxName(season, 0);
      return check;
    }
  }
  for (int season = 1; season <= 2; ++season) {
    const auto& texts = season == 1 ? entry.speedWinter : entry.speedSummer;
    auto& values = season == 1 ? row.speedWinter : row.speedSummer;
    for (int i = 0; i < 9; ++i) {
      const auto v = ParseNumberLoose(texts[static_cast<size_t>(i)].trimmed().toStdString());
      if (!v || !std::isfinite(*v) || *v < 0 || *v >= kSpeedLimit) {
        check.message = QStringLiteral("Средняя скорость ветра %1 должна быть не меньше 0 и меньше 10 м/с!")
                            .arg(BoxPlace(season, i));
        check.box = SpeedBoxName(season, i);
        return check;
      }
      values[static_cast<size_t>(i)] = *v;
    }
  }
  const auto days = WholeIn(entry.Tmedium, 0, kMaxWarmDays);
  if (!days) {
    check.message = QStringLiteral("Количество дней должно быть целым числом от 0 до 364!");
    check.box = QStringLiteral("Text1");
    return check;
  }
  row.Tmedium = *days;
  check.row = row;
  return check;
}

}  // namespace velaron::ui
