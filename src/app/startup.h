// The program's start-up: find the database beside the program, open the one connection, and record
// which of the two file names worked. Nothing here shows a window except the failure message, so the
// entry can decide what to do next and tests can run it without ending their process.
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

// Probes `folder`/data.db, then `folder`/Data.db (creating neither), opens the connection on the file that
// passed and fills `context` (folder, file, DsnLocal, the main window's pending first activation). When
// both files fail, a critical message names both paths and the result carries a non-zero status; the
// context then keeps no file and no first activation is pending.
StartupResult StartUp(const QString& folder, AppContext& context);

}  // namespace velaron::ui
