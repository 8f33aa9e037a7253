// The program's whole run from its entry: the threads it needs, the application object, the start-up and
// the start screen, then the main window when the start screen asks for it.
#pragma once

namespace velaron::app {

// Runs the program with the entry's arguments and returns its exit status. Under a limit on the number of
// processes the window starts only with every thread it needs (WindowThreadCount beside the main thread);
// with fewer it refuses at once and ends: in a critical message when a window can still be shown, else on
// standard error before any window.
int RunProgram(int argc, char** argv);

}  // namespace velaron::app
