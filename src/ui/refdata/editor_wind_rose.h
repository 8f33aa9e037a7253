// The wind rose of the wind editor: the one call that builds a town's rose, the workbook in the program's
// folder plus the picture (drawn by the same routine as the reports' rose, at the size of the editor's
// picture box), or on any failure the system's message and no picture, so that no report shows another
// town's rose.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

class QWidget;

namespace velaron::ui {

// The editor's picture box: the rose at the proportions of the documents' pictures, small enough for the
// editor to fit a screen of 1280 × 720 beside its table.
inline constexpr QSize kRosePictureSize(400, 300);

// Builds the rose of the town with key `idCity` in `folder`: writes the wind-rose workbook and returns its
// picture at `size`. On any failure (no such town, a file that cannot be written) shows "Ошибка в процессе
// записи файла!" over `parent` and returns a null image.
QImage BuildWindRose(QWidget* parent, int idCity, const QString& folder, QSize size = kRosePictureSize);

}  // namespace velaron::ui
