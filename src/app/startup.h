// The program's start-up: find the database in the user's data folder (making it there on the first
// start), open the one connection, and record which of the two file names worked. Nothing here shows a
// window except the messages, so the entry can decide what to do next and tests can run it without
// ending their process.
#pragma once

#include <QString>

#include "app/app_context.h"

namespace velaron::ui {

// Exit status of the program when no database could be opened.
inline constexpr int kStartupFailedStatus = 1;

struct StartupResult {
  bool ok = false;
  int exitStatus = 0;  // 0 on success, kStartupFailedStatus otherwise
  QString message;     // the message shown on failure
};

// Opens the program's database in `dataFolder` (the user's data folder, see db::DataFolder). When that
// folder holds neither data.db nor Data.db, it is first given one (db::SeedDataFolder, from
// `programFolder`) and an information message says where the new file is (said once: the next start
// finds the file). Then probes `dataFolder`/data.db and `dataFolder`/Data.db (creating neither), opens
// the connection on the file that passed and fills `context` (data folder, file, DsnLocal, the main
// window's pending first activation). When no file can be made or both files fail, a critical message
// names both paths and the result carries a non-zero status; the context then keeps no file and no
// first activation is pending.
StartupResult StartUp(const QString& dataFolder, const QString& programFolder, AppContext& context);

}  // namespace velaron::ui
