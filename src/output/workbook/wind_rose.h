// The wind-rose workbook of one town: sheet "Данные" with the winter and summer repetition of the eight
// wind directions and of calm, and a radar chart of the eight directions embedded in that sheet.
// Headless: it is given the town's row and writes the file; showing a message and drawing
// the picture are the caller's.
#pragma once

#include <QString>
#include <QStringList>

#include "db/table_rows.h"

namespace velaron::output {

// The workbook's name in the folder it is written to (the user's data folder), rewritten at each build.
inline constexpr const char* kWindRoseFile = "РозаВетров.xlsx";
inline constexpr const char* kWindRoseSheet = "Данные";

struct WindRoseResult {
  bool ok = false;
  QString path;   // the workbook written (when ok)
  QString error;  // why it failed, in the user's words
  // What the user is shown of a failure: "Ошибка в процессе записи файла!" and, on a line of its own, why.
  QString message() const;
};

// Writes the workbook of `town` to `folder`/`fileName`, replacing an earlier one only when the new one is
// complete.
WindRoseResult SaveWindRose(const db::WindRow& town, const QString& folder,
                            const QString& fileName = QString::fromUtf8(kWindRoseFile));

}  // namespace velaron::output
