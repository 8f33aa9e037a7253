// The program's save dialog for the files it writes: a filter in the program's own "description|pattern"
// form, the extension added to a name that has none, and a start in the folder last used for a save (of
// a report or a workbook), or else the user's documents folder (never the program's folder, which may be
// read-only). Tests answer it through a sink instead of a modal dialog.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace velaron::ui {

struct SaveFileRequest {
  QString title;        // what the dialog saves, in its title bar
  QString filter;       // "Книга Excel (*.xlsx)|*.xlsx"
  QString startFolder;  // where the dialog opens
  QString suffix;       // "xlsx": added to a chosen name without an extension
};

// Shows the dialog titled `title`; the chosen path with its extension, or empty when cancelled.
QString AskSaveFileName(QWidget* parent, const QString& title, const QString& filter);

// The folder the next dialog opens in; RememberSaveFolder notes the folder of a file just saved (an
// empty name forgets it).
QString SaveStartFolder();
void RememberSaveFolder(const QString& savedFile);

// The name as saved: `suffix` appended when the file name has no extension of its own.
QString WithDefaultSuffix(const QString& path, const QString& suffix);

// Test hook: when set, the request goes to the sink, which returns the chosen path (empty: cancelled).
using SaveFileSink = std::function<QString(const SaveFileRequest&)>;
void SetSaveFileSink(SaveFileSink sink);

}  // namespace velaron::ui
