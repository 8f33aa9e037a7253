#include "ui/refdata/editor_wind_rose.h"

#include "common/texts.h"
#include "db/database.h"
#include "output/pictures/wind_rose_picture.h"
#include "output/workbook/wind_rose.h"
#include "ui/widgets/messages.h"

namespace velaron::ui {

QImage BuildWindRose(QWidget* parent, int idCity, const QString& folder, QSize size) {
  const auto read = idCity != 0 ? db::LoadWind(idCity) : db::Read<std::optional<db::WindRow>>{};
  if (!read.ok()) {
    ShowCritical(parent, read.error);
    return {};
  }
  const std::optional<db::WindRow>& town = read.value;
  const output::WindRoseResult written = town ? output::SaveWindRose(*town, folder) : output::WindRoseResult{};
  if (!town || !written.ok) {
    ShowCritical(parent, town ? written.message() : QString::fromUtf8(texts::kWriteFailed));
    return {};
  }
  return output::DrawWindRose(*town, size);
}

}  // namespace velaron::ui
