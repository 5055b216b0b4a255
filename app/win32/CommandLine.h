#pragma once
// The saved scans named on the Windows program's command line ('ambrell.exe
// scan.json', as opening a saved scan from Explorer gives it).

#include <string>
#include <vector>

// Every argument, in UTF-8, when the first names an existing file; none otherwise:
// the command line is then ignored, as it always was, and the drives are scanned.
std::vector<std::string> SavedScansOnCommandLine(const wchar_t* commandLine);
