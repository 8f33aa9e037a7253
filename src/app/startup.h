// The program's start-up: find the database in the user's data folder (making it there on the first
// start), open the one connection, and record which of the two file names worked. Nothing here shows a
// window except the messages, so the entry can decide what to do next and tests can run it without
// ending their process.
#pragma once

#include <functional>

#include <QString>
#include <memory>

#include "ui/startup/app_context.h"

namespace velaron::app {

using ui::AppContext;

// Exit status of the program when no database could be opened.
inline constexpr int kStartupFailedStatus = 1;

struct StartupResult {
  bool ok = false;
  int exitStatus = 0;  // 0 on success, kStartupFailedStatus otherwise
  QString message;     // the message shown on failure
};

// The lock file in the data folder that one running program holds.
inline constexpr const char* kLockFile = "velaron.lock";

// Takes the data folder's lock for this program (db::TakeFolderLock on `kLockFile` in the folder, which
// must exist). Nothing, with the message for the user in `refusal`, while another program that runs holds
// it (naming that program's process and the lock file), or when the lock cannot be taken (its cause, the
// lock file named): a start never goes on unlocked.
std::shared_ptr<db::FolderLock> LockDataFolder(const QString& dataFolder, QString& refusal);

// Qt's own threads that the window needs beside its main thread and the drawing threads: the display
// connection's reader and the session bus connection's thread (accessibility, the menu bar and the messages
// open the bus). A thread that Qt asks for and the system refuses is waited for ever.
inline constexpr int kQtOwnThreads = 2;

// The room the window keeps for its own worker threads, one at a time: a calculation run's (whose grid rows
// are computed by the threads the system then gives, that one at least), a workbook's write, a file
// dialog's reading of a folder.
inline constexpr int kWorkerThreads = 1;

// The threads the window needs beside its main thread: kQtOwnThreads, the drawing threads and
// kWorkerThreads.
int WindowThreadCount();

// The message of a start refused for want of threads: the system gave `started` of the `wanted` threads.
QString WindowThreadsRefusal(int started, int wanted);

// The refusal of a start whose window could not be opened: no display (DISPLAY unset or naming no display
// that answers), or the graphics platform named in QT_QPA_PLATFORM did not start.
QString NoDisplayText();

// Starts and keeps the threads that Qt's drawing needs (velaron::KeepDrawingThreads), right after the
// application object is made. False, after a critical message saying why, when the system would not give
// them: the program must then end at once (_exit), before any window is shown. `refusedSoFar` counts the
// threads the system refused meanwhile, as velaron::KeepDrawingThreads takes it.
bool KeepDrawingThreadsOrRefuse(const std::function<int()>& refusedSoFar = {});

// Opens the program's database in `dataFolder` (the user's data folder, see db::DataFolder). First the
// folder is made when missing and locked (LockDataFolder): while another program has it open, or when it
// cannot be locked, a message says so and nothing in the folder is touched. When the folder holds neither data.db
// nor Data.db, it is given one (db::SeedDataFolder, from `programFolder`) and an information message says
// where the new file is (said once: the next start finds the file). A write that a killed program left
// unfinished is rolled back (db::FinishInterruptedWrite). Then probes `dataFolder`/data.db and
// `dataFolder`/Data.db (creating neither), adds the columns an earlier layout lacks, opens the connection
// on the file that passed (when that is Data.db, an information message names data.db, why it was skipped
// and the file used) and fills `context` (data folder, lock, file, DsnLocal, the main window's
// pending first activation). When no file can be made or both files fail, a critical message names both
// paths and the result carries a non-zero status; the context then keeps no file and no first activation
// is pending. An empty `dataFolder` (no home folder known to hold it) is refused with a message saying how
// to name one.
StartupResult StartUp(const QString& dataFolder, const QString& programFolder, AppContext& context);

}  // namespace velaron::app
