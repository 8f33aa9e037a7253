#include "ui/refdata/city_list.h"

#include <QComboBox>

#include "db/database.h"

namespace velaron::ui {

void LoadCityList(QComboBox* combo, int keepIdCity) {
  if (!combo) return;
  combo->clear();
  for (const db::WindRow& town : db::LoadWinds()) {
    // A town keyed 0 cannot be looked up by its key; it is not offered.
    if (town.idCity == 0) continue;
    combo->addItem(town.CityName, town.idCity);
  }
  const int kept = keepIdCity != 0 ? combo->findData(keepIdCity) : -1;
  combo->setCurrentIndex(kept >= 0 ? kept : (combo->count() > 0 ? 0 : -1));
}

}  // namespace velaron::ui
