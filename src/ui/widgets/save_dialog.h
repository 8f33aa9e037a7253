// The program's one save dialog for the files it writes, reports and workbooks alike: a filter in the
// program's own "description|pattern" form, the filter's extension added to a name that does not end in
// it, and a start in the folder last used for a save, or else the user's documents folder (never the
// program's folder, which may be read-only). Tests answer it through a sink instead of a modal dialog.
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
// empty name forgets it). Kept for the running program only; read and set on the window's thread.
QString SaveStartFolder();
void RememberSaveFolder(const QString& savedFile);

// The name as saved: "." and `suffix` appended unless the file name already ends in them ("a.old" becomes
// "a.old.xlsx"; a name ending in a dot takes the suffix alone).
QString WithDefaultSuffix(const QString& path, const QString& suffix);

// Test hook: when set, the request goes to the sink, which returns the chosen path (empty: cancelled).
using SaveFileSink = std::function<QString(const SaveFileRequest&)>;
void SetSaveFileSink(SaveFileSink sink);

}  // namespace velaron::ui
