// Where the engineer's data live. The database with the route sections and the report archive, and the
// files the program writes beside it, are kept in the user's data folder, never in the program's folder:
// rebuilding, cleaning or reinstalling the program must not touch them. The program's folder (installed,
// its share folder) holds only the shipped database as a template, copied into the data folder on the
// first start.
#pragma once

#include <QString>
#include <memory>

namespace velaron::db {

// The shipped database, the template of the first start.
inline constexpr const char* kTemplateFile = "data.pristine.db";

// `VELARON_DATA_DIR` when set; otherwise `$XDG_DATA_HOME/velaron`, or `~/.local/share/velaron` when
// XDG_DATA_HOME is unset or not an absolute path, the home folder `~` being HOME when it is an absolute
// path and else the user's entry in the system's user database. Empty when no home folder is known at all.
// The folder may not exist yet.
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

// The data folder's lock: a plain file in the folder that one running program holds locked for its whole
// life. The system lets go of it when the program ends, however it ends, so a file that no program holds
// (left by a kill, emptied by a power cut) is taken over; the file says which process holds it. Destroying
// the lock removes the file and lets go.
struct LockAttempt;
class FolderLock {
 public:
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  const QString& path() const { return path_; }

 private:
  friend LockAttempt TakeFolderLock(const QString& lockPath);
  FolderLock(QString path, int fd) : path_(std::move(path)), fd_(fd) {}
  QString path_;
  int fd_;
};

struct LockAttempt {
  std::unique_ptr<FolderLock> lock;  // taken
  bool held = false;                 // not taken: another running program holds it ...
  long long holder = 0;              // ... the process its file names (0 when it names none)
  QString error;                     // not taken otherwise: why, naming the lock file
};

// Takes the lock file at `lockPath` for this program. A plain file that no running program holds is taken
// over; anything else in its place (a folder, a link, a pipe) is removed first, a folder only when empty,
// and nothing is ever opened that could make the start wait. The lock is never taken without its file
// written: a file that cannot be made or written (a full disk, a read-only folder, no permission) is an
// error, and so is anything in its place that cannot be removed.
LockAttempt TakeFolderLock(const QString& lockPath);

}  // namespace velaron::db
