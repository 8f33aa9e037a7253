#include "common/output_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string_view>

namespace velaron {

namespace {

// The name a complete file has for the moment before it takes the target's: hidden, no longer than the
// target's own name (from 8 bytes on), so that it fits wherever that one does, and recognisable, so that
// one left by a program killed in that moment is removed by the next save in the folder.
constexpr std::string_view kTempPrefix = ".~vl";
constexpr size_t kTempShortest = 8, kTempLongest = 16;
constexpr std::string_view kTempLetters = "abcdefghijklmnopqrstuvwxyz0123456789";

std::string TempName(size_t targetLength) {
  thread_local std::mt19937 random{std::random_device{}()};
  std::uniform_int_distribution<size_t> pick(0, kTempLetters.size() - 1);
  std::string name(kTempPrefix);
  while (name.size() < std::clamp(targetLength, kTempShortest, kTempLongest)) name += kTempLetters[pick(random)];
  return name;
}

bool IsTempName(std::string_view name) {
  if (name.size() < kTempShortest || name.size() > kTempLongest || !name.starts_with(kTempPrefix)) return false;
  return name.substr(kTempPrefix.size()).find_first_not_of(kTempLetters) == std::string_view::npos;
}

bool SameInode(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// True when `fd` holds the file that `name` names in the folder.
bool StillNamed(int dirFd, const char* name, int fd) {
  struct stat byFd = {}, byName = {};
  return fstat(fd, &byFd) == 0 && fstatat(dirFd, name, &byName, AT_SYMLINK_NOFOLLOW) == 0 && SameInode(byFd, byName);
}

// Removes the temporary files of writers killed before they renamed them. A writer that still runs holds a
// lock on its file, so only abandoned ones are taken.
void RemoveAbandoned(int dirFd) {
  const int scanFd = openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  DIR* dir = scanFd >= 0 ? fdopendir(scanFd) : nullptr;
  if (!dir) {
    if (scanFd >= 0) close(scanFd);
    return;
  }
  while (const dirent* entry = readdir(dir)) {
    if (!IsTempName(entry->d_name)) continue;
    const int fd = openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat st = {};
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        StillNamed(dirFd, entry->d_name, fd))
      unlinkat(dirFd, entry->d_name, 0);
    close(fd);
  }
  closedir(dir);
}

// The process's umask, read without changing it (changing it for a moment would race with other threads
// making files).
mode_t CurrentUmask() {
  if (FILE* f = std::fopen("/proc/self/status", "re")) {
    char line[256];
    unsigned mask = 0;
    bool found = false;
    while (!found && std::fgets(line, sizeof line, f)) found = std::sscanf(line, "Umask: %o", &mask) == 1;
    std::fclose(f);
    if (found) return static_cast<mode_t>(mask);
  }
  const mode_t mask = umask(022);
  umask(mask);
  return mask;
}

}  // namespace

std::string FileErrorText(int error) {
  switch (error) {
    case ENOSPC:
    case EDQUOT: return "нет места на диске";
    case EACCES:
    case EPERM: return "нет прав на запись";
    case EROFS: return "диск доступен только для чтения";
    case ENOENT:
    case ENOTDIR: return "нет такой папки";
    case ENAMETOOLONG: return "слишком длинное имя файла";
    case EISDIR: return "по этому пути находится папка";
    case EIO: return "ошибка ввода-вывода на диске";
    case EFBIG: return "файл слишком велик";
    case EPIPE: return "вывод закрыт";
    case EMFILE:
    case ENFILE: return "открыто слишком много файлов";
    default: return "ошибка записи (код " + std::to_string(error) + ")";
  }
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa = {}, sb = {};
  const bool hasA = stat(a.c_str(), &sa) == 0, hasB = stat(b.c_str(), &sb) == 0;
  if (hasA || hasB) return hasA && hasB && SameInode(sa, sb);
  // Neither exists yet: the same name in the same folder, the folder found whatever its spelling.
  auto place = [](const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    char* real = realpath(folder.c_str(), nullptr);
    if (!real) return path;
    std::string placed = std::string(real) + "/" + path.substr(slash == std::string::npos ? 0 : slash + 1);
    std::free(real);
    return placed;
  };
  return place(a) == place(b);
}

OutputFile::OutputFile(const std::string& target) { Open(target); }

void OutputFile::Open(const std::string& target) {
  std::string path = target;
  struct stat st = {};
  if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
    if (char* real = realpath(path.c_str(), nullptr)) {
      path = real;
      std::free(real);
    }
  const size_t slash = path.rfind('/');
  folder_ = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  name_ = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name_.empty() || name_ == "." || name_ == "..") return Fail(EISDIR);

  dirFd_ = open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd_ < 0) return Fail(errno);
  if (fstatat(dirFd_, name_.c_str(), &st, 0) == 0) {
    if (S_ISDIR(st.st_mode)) return Fail(EISDIR);
    // A device or a pipe in the target's place would be replaced by the rename, not written to.
    if (!S_ISREG(st.st_mode)) return SetError("это не обычный файл");
    // The superuser may write whatever the permissions say; the permissions still tell the user's wish.
    if ((st.st_mode & 0222) == 0) return SetError("файл открыт только для чтения");
    // A disk that takes no writes is said to be read-only, as for a new file.
    if (faccessat(dirFd_, name_.c_str(), W_OK, 0) != 0)
      return errno == EROFS ? Fail(EROFS) : SetError("файл открыт только для чтения");
    replaces_ = true;
    mode_ = st.st_mode & 07777;
    uid_ = st.st_uid;
    gid_ = st.st_gid;
  } else if (errno != ENOENT) {
    return Fail(errno);
  }
  RemoveAbandoned(dirFd_);

  // A file of no name, reached through its descriptor, which a kill takes away with the program. The
  // writer opens it again by name, so its permissions let the owner write until the commit sets them.
  fd_ = openat(dirFd_, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd_ >= 0) {
    writePath_ = "/proc/self/fd/" + std::to_string(fd_);
    if (fchmod(fd_, 0600) == 0 && flock(fd_, LOCK_EX | LOCK_NB) == 0 && access(writePath_.c_str(), W_OK) == 0) return;
    close(fd_);
    fd_ = -1;
  } else if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
    return Fail(errno);
  }
  // The file system keeps no unnamed files: a named one, locked while it is written.
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = TempName(name_.size());
    const int fd = openat(dirFd_, name.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return Fail(errno);
    }
    // Another program's clean-up may have taken the file before it was locked: then another name.
    if (fchmod(fd, 0600) == 0 && flock(fd, LOCK_EX | LOCK_NB) == 0 && StillNamed(dirFd_, name.c_str(), fd)) {
      fd_ = fd;
      tempName_ = name;
      writePath_ = folder_ + "/" + name;
      return;
    }
    close(fd);
  }
  SetError("не удалось создать временный файл");
}

OutputFile::~OutputFile() { Close(); }

void OutputFile::Close() {
  if (!tempName_.empty() && dirFd_ >= 0) unlinkat(dirFd_, tempName_.c_str(), 0);
  tempName_.clear();
  if (fd_ >= 0) close(fd_);
  if (dirFd_ >= 0) close(dirFd_);
  fd_ = dirFd_ = -1;
}

void OutputFile::SetError(std::string why) {
  if (error_.empty()) error_ = std::move(why);
}

void OutputFile::Fail(int error) {
  if (!error_.empty()) return;
  // A writer library that says only "failed": a full disk is the usual cause.
  constexpr unsigned long long kNearlyFull = 1 << 20;
  struct statvfs vfs = {};
  if ((error == 0 || error == EIO) && dirFd_ >= 0 && fstatvfs(dirFd_, &vfs) == 0 &&
      static_cast<unsigned long long>(vfs.f_bavail) * vfs.f_frsize < kNearlyFull)
    error = ENOSPC;
  SetError(error == 0 ? std::string("ошибка записи файла") : FileErrorText(error));
}

bool OutputFile::Commit() {
  if (!ok() || fd_ < 0) return false;
  const mode_t mode = replaces_ ? mode_ : (0666 & ~CurrentUmask());
  // The owner first: a change of owner clears the set-id bits that the mode may then restore. Only the
  // superuser can give a file away; anyone else's new file stays their own.
  if (replaces_ && (uid_ != geteuid() || gid_ != getegid())) {
    const int given = fchown(fd_, uid_, gid_);
    static_cast<void>(given);
  }
  if (fchmod(fd_, mode) != 0 || fsync(fd_) != 0) {
    Fail(errno);
    return false;
  }
  for (int attempt = 0; tempName_.empty(); ++attempt) {
    const std::string name = TempName(name_.size());
    if (linkat(AT_FDCWD, writePath_.c_str(), dirFd_, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      tempName_ = name;
    } else if (errno != EEXIST || attempt == 100) {
      Fail(errno);
      return false;
    }
  }
  if (renameat(dirFd_, tempName_.c_str(), dirFd_, name_.c_str()) != 0) {
    Fail(errno);
    return false;
  }
  tempName_.clear();
  // The new name on the disk too; a file system that cannot sync folders has written it already.
  fsync(dirFd_);
  Close();
  return true;
}

}  // namespace velaron
