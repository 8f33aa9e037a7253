// Writing a file the user asked for without harming any other. The content is written into a file of no
// name in the target's folder and takes the target's name in one rename once it is complete and on the
// disk, so that a failed or killed write leaves the earlier file as it was and no half file anywhere. A
// target the user made read-only is refused, a new file gets the permissions the user's umask allows, and
// a replaced one keeps its permissions and owner.
#pragma once

#include <string>
#include <sys/types.h>

namespace velaron {

// Why a file could not be written, in the user's words, from the C library's error number.
std::string FileErrorText(int error);

// True when the two paths lead to one file: the same file on the disk when both exist, whatever links or
// spellings lead there; the same name in the same folder when neither exists yet.
bool SameFile(const std::string& a, const std::string& b);

class OutputFile {
 public:
  // Checks the target (its folder exists, it is no folder and not read-only) and makes the file to write.
  // A link is followed: the file it leads to gets the new content.
  explicit OutputFile(const std::string& target);
  ~OutputFile();  // not committed: nothing is left behind
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // False once anything failed; error() then says why (FileErrorText or a text of its own).
  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }

  // The name under which a writer (a zip or workbook library) opens the file to put the content in.
  const std::string& writePath() const { return writePath_; }

  // Records that the writer failed, with its C library error number (0 when it gave none: a full disk is
  // then recognised by the free space left).
  void Fail(int error);

  // Puts the complete file on the disk with its permissions and gives it the target's name. True when the
  // target now holds it; otherwise the target is as it was.
  bool Commit();

 private:
  void Open(const std::string& target);
  void SetError(std::string why);
  void Close();

  std::string folder_, name_;
  std::string writePath_;
  std::string tempName_;  // the file's name in the folder before the rename, once it has one
  std::string error_;
  int dirFd_ = -1, fd_ = -1;
  bool replaces_ = false;  // the target exists: its mode and owner are kept
  mode_t mode_ = 0;
  uid_t uid_ = 0;
  gid_t gid_ = 0;
};

}  // namespace velaron
