#include "ui/refdata/city_list.h"

#include <QComboBox>

#include "db/database.h"

namespace velaron::ui {

QString LoadCityList(QComboBox* combo, int keepIdCity) {
  if (!combo) return {};
  const auto towns = db::LoadWinds();
  if (!towns.ok()) return towns.error;
  combo->clear();
  for (const db::WindRow& town : towns.value) {
    // A town keyed 0 cannot be looked up by its key; it is not offered.
    if (town.idCity == 0) continue;
    combo->addItem(town.CityName, town.idCity);
  }
  const int kept = keepIdCity != 0 ? combo->findData(keepIdCity) : -1;
  combo->setCurrentIndex(kept >= 0 ? kept : (combo->count() > 0 ? 0 : -1));
  return {};
}

}  // namespace velaron::ui
