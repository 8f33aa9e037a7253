// The wind rose as a picture (a polar chart of the eight directions, winter and summer) and the one call
// that builds a town's rose: the workbook in the program's folder plus the picture, or on any failure the
// system's message and no picture, so that no report shows another town's rose.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include "db/rows.h"

class QWidget;

namespace velaron::ui {

inline constexpr int kRosePictureWidth = 480;
inline constexpr int kRosePictureHeight = 400;

// Draws the rose of `town` (calm is not drawn).
QImage RenderWindRose(const db::WindRow& town, QSize size = QSize(kRosePictureWidth, kRosePictureHeight));

// Builds the rose of the town with key `idCity` in `folder`: writes the wind-rose workbook and returns its
// picture. On any failure (no such town, a file that cannot be written) shows "Ошибка в процессе записи
// файла!" over `parent` and returns a null image.
QImage BuildWindRose(QWidget* parent, int idCity, const QString& folder);

}  // namespace velaron::ui
