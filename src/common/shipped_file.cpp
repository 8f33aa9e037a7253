#include "common/shipped_file.h"

#include <filesystem>
#include <system_error>

namespace velaron {

std::string ShippedFile(const std::string& programFolder, const std::string& installedFolder, const std::string& name) {
  namespace fs = std::filesystem;
  const fs::path beside = fs::path(programFolder) / name;
  const fs::path installed = (fs::path(programFolder) / installedFolder / name).lexically_normal();
  std::error_code error;
  if (!fs::exists(beside, error) && fs::is_regular_file(installed, error)) return installed.string();
  return beside.string();
}

}  // namespace velaron
