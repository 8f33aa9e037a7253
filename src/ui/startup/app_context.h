// What the program learns at start-up and keeps for its whole life: where its data live, which database file
// it opened, whether the main window still has its first-time set-up to do, and the two report options.
// One object is made by the program's entry and handed to the windows that need it; nothing here
// belongs to a calculation run.
#pragma once

#include <QString>
#include <memory>

#include "db/data_folder.h"

namespace velaron::ui {

// The two report options. They are not stored in the database: every start begins with both on.
struct ReportOptions {
  bool OptExtraFiles = true;  // save additional result workbooks
  bool Opt3D = true;          // draw the surface pictures in three dimensions
};

struct AppContext {
  QString folder;              // the user's data folder holding the database, without a trailing separator
  QString dbPath;              // the database file that opened at start-up
  int DsnLocal = 0;            // 1 when the first file name opened, 0 when the fallback name was used
  bool FirstActivate = false;  // the main window's first-time set-up is still to be done
  ReportOptions options;
  // Held for the program's life: no second program opens the same data folder meanwhile.
  std::shared_ptr<db::FolderLock> folderLock;
};

}  // namespace velaron::ui
