// Where the engineer's data live. The database with the route sections and the report archive, and the
// files the program writes beside it, are kept in the user's data folder, never in the program's folder:
// rebuilding, cleaning or reinstalling the program must not touch them. The program's folder (installed,
// its share folder) holds only the shipped database as a template, copied into the data folder on the
// first start.
#pragma once

#include <QString>

namespace velaron::db {

// The shipped database, the template of the first start.
inline constexpr const char* kTemplateFile = "data.pristine.db";

// `VELARON_DATA_DIR` when set; otherwise `$XDG_DATA_HOME/velaron`, or `~/.local/share/velaron` when
// XDG_DATA_HOME is unset or not an absolute path. The folder may not exist yet.
QString DataFolder();

// The template's path: beside the program in the build, in share/velaron/ once installed.
QString TemplatePath(const QString& programFolder);

struct SeedResult {
  bool copied = false;       // data.db was made in the data folder
  bool fromEarlier = false;  // ... from a database an earlier version left beside the program
  QString source;            // the file copied
  QString path;              // the file made
  QString error;             // why no database could be made; empty otherwise
};

// When `folder` holds neither data.db nor Data.db (as any kind of entry), makes the folder and copies
// into it as data.db the database an earlier version kept in `programFolder` (data.db, then Data.db: it
// holds the engineer's sections and archive), or else the template there. The copy goes through a
// temporary file in the folder, so that a failed copy leaves nothing and an existing file is never
// replaced. Otherwise does nothing.
SeedResult SeedDataFolder(const QString& folder, const QString& programFolder);

}  // namespace velaron::db
