#include "common/save_folder.h"

#include <utility>

namespace velaron {

namespace {
std::string& Folder() {
  static std::string folder;
  return folder;
}
}  // namespace

const std::string& LastSaveFolder() { return Folder(); }

void SetLastSaveFolder(std::string folder) { Folder() = std::move(folder); }

}  // namespace velaron
