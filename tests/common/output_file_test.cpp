// The safe writer every document goes through: what a kill, a full disk or a read-only disk in the middle
// of a save leaves. What a test cannot bring about for real (the superuser writes whatever the permissions
// say and mounts no disk here) is brought about at the system call that meets it: this binary's own fsync,
// faccessat and openat stand in for the C library's while a failure is set.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "common/output_file.h"

namespace {
int gFsyncError = 0, gAccessError = 0;
bool gNoUnnamedFiles = false;  // a file system without O_TMPFILE
}  // namespace

extern "C" int fsync(int fd) {
  if (gFsyncError) return errno = gFsyncError, -1;
  return static_cast<int>(syscall(SYS_fsync, fd));
}
extern "C" int faccessat(int dirFd, const char* path, int mode, int flags) {
  if (gAccessError) return errno = gAccessError, -1;
  return static_cast<int>(flags ? syscall(SYS_faccessat2, dirFd, path, mode, flags)
                                : syscall(SYS_faccessat, dirFd, path, mode));
}
extern "C" int openat(int dirFd, const char* path, int flags, ...) {
  va_list rest;
  va_start(rest, flags);
  const bool made = (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE;
  const mode_t mode = made ? va_arg(rest, mode_t) : 0;
  va_end(rest);
  if (gNoUnnamedFiles && (flags & O_TMPFILE) == O_TMPFILE) return errno = EOPNOTSUPP, -1;
  return static_cast<int>(syscall(SYS_openat, dirFd, path, flags, mode));
}

namespace velaron {
namespace {

namespace fs = std::filesystem;

class Writer : public ::testing::Test {
 protected:
  void TearDown() override {
    gFsyncError = gAccessError = 0;
    gNoUnnamedFiles = false;
    fs::remove_all(dir_);
  }
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  std::set<std::string> Files() const {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.insert(e.path().filename());
    return names;
  }
  static std::string Read(const std::string& path) {
    return std::string(std::istreambuf_iterator<char>(std::ifstream(path).rdbuf()), {});
  }
  static unsigned Mode(const std::string& path) { return static_cast<unsigned>(fs::status(path).permissions()); }
  // Writes `text` to `target` through the writer, as a document writer does; the writer's error, or "".
  static std::string Save(const std::string& target, const std::string& text) {
    OutputFile out(target);
    if (out.ok()) std::ofstream(out.writePath()) << text;
    return out.Commit() ? std::string() : out.error();
  }
  const std::string dir_ = fs::temp_directory_path() / ("output-file-" + std::to_string(getpid()));
  const bool made_ = fs::create_directory(dir_);
};

// A save killed while it writes leaves the earlier document as it was and nothing the user did not ask for:
// on a disk of unnamed files nothing at all, on another its named file, which the next save there removes.
TEST_F(Writer, AKillDuringAWriteLeavesTheEarlierFileAndNothingElse) {
  ASSERT_EQ(Save(Path("doc"), "earlier"), "");
  for (bool unnamed : {true, false}) {
    gNoUnnamedFiles = !unnamed;
    if (const pid_t child = fork(); child == 0) {
      OutputFile out(Path("doc"));
      std::ofstream(out.writePath()) << "half";
      raise(SIGKILL);
    } else {
      ASSERT_EQ(waitpid(child, nullptr, 0), child);
    }
    EXPECT_TRUE(Read(Path("doc")) == "earlier" && Files().size() == (unnamed ? 1u : 2u)) << unnamed;
    ASSERT_EQ(Save(Path("doc"), "earlier"), "");  // the next save
    EXPECT_EQ(Files(), std::set<std::string>{"doc"}) << unnamed;
  }
}

// A full disk, a read-only disk and a read-only earlier file each leave the earlier file, saying why.
TEST_F(Writer, AFailedSaveLeavesTheEarlierFileAndSaysWhy) {
  ASSERT_EQ(Save(Path("doc"), "earlier"), "");
  gFsyncError = ENOSPC;
  EXPECT_EQ(Save(Path("doc"), "new"), "нет места на диске");
  gFsyncError = 0, gAccessError = EROFS;
  EXPECT_EQ(Save(Path("doc"), "new"), "диск доступен только для чтения");
  gAccessError = 0;
  ASSERT_EQ(chmod(Path("doc").c_str(), 0444), 0);
  EXPECT_EQ(Save(Path("doc"), "new"), "файл открыт только для чтения");
  EXPECT_TRUE(Read(Path("doc")) == "earlier" && Files() == std::set<std::string>{"doc"});
  EXPECT_EQ(Save(Path("none/doc"), "new"), "нет такой папки");
}

// A new file's mode follows the umask, a replaced one keeps its own; a link keeps leading to the file, which
// takes the content; a name of 255 bytes is written on either kind of disk (its temporary name is shorter).
TEST_F(Writer, ModesLinksAndLongNamesOnEitherKindOfDisk) {
  for (bool unnamed : {true, false}) {
    gNoUnnamedFiles = !unnamed;
    const std::string longName = Path(std::string(250, 'k') + ".docx"), doc = Path("doc"), link = Path("link");
    const mode_t saved = umask(027);
    ASSERT_TRUE(Save(longName, "long").empty() && Save(doc, "first").empty()) << unnamed;
    umask(saved);
    EXPECT_TRUE(Mode(longName) == 0640u && Mode(doc) == 0640u) << unnamed;
    ASSERT_TRUE(chmod(doc.c_str(), 0604) == 0 && symlink(doc.c_str(), link.c_str()) == 0);
    ASSERT_EQ(Save(link, "second"), "");
    EXPECT_TRUE(fs::is_symlink(link) && Read(doc) == "second" && Mode(doc) == 0604u && Files().size() == 3) << unnamed;
    EXPECT_TRUE(SameFile(link, doc) && !SameFile(longName, doc) && SameFile(Path("new"), dir_ + "/./new"));
    for (const std::string& f : Files()) fs::remove(Path(f));
  }
}

}  // namespace
}  // namespace velaron
