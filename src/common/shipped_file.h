// Where a file shipped with the programs lies (the database template, the user manual): in the build
// folder beside the programs; installed, in the share folders of the same prefix, found from the
// programs' own folder so that an installed tree still works once moved elsewhere.
#pragma once

#include <string>

namespace velaron {

// `name` in `programFolder` when it is there, else in `installedFolder` (given relative to `programFolder`,
// such as "../share/velaron") when it is there; when it is in neither, its place beside the programs.
std::string ShippedFile(const std::string& programFolder, const std::string& installedFolder, const std::string& name);

}  // namespace velaron
