#pragma once
// Files shipped beside the program's .exe.

#include <string>

// The full path (UTF-8) of a file named name in the folder of the running .exe,
// whether or not it exists; empty when the program's own path cannot be read.
std::string FileBesideProgram(const char* name);
