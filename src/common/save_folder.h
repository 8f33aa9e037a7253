// The folder of the last file the program saved, a report or a workbook alike: the next save dialog
// opens there. Kept for the running program only; read and set on the window's thread.
#pragma once

#include <string>

namespace velaron {

// Empty before the first save.
const std::string& LastSaveFolder();
void SetLastSaveFolder(std::string folder);

}  // namespace velaron
