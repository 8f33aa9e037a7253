// The program's entry.
#include "app/program.h"

int main(int argc, char** argv) { return velaron::app::RunProgram(argc, argv); }
