#pragma once
// The system's Save As and Open boxes. They run on UTF-16 text, so that any name can
// be chosen whatever the code page, and hand back UTF-8, the program's own text.

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// The kinds of file the box lists, each a description and its pattern ('*.json').
struct FileKinds {
  std::vector<std::pair<std::string, std::string>> kinds;
  const char* defaultExtension;  // added to a name typed without one
};

// The name to save under; empty when the user cancels. Replacing a file is confirmed first.
std::string AskSaveFileName(HWND owner, const char* title, const FileKinds& kinds);
// One or more existing files (one at most unless several); none when the user cancels.
std::vector<std::string> AskOpenFileNames(HWND owner, const char* title, const FileKinds& kinds,
                                          bool several = true);

// The Open box's answer: a full path alone, or for several files their folder and
// then each name, all ended by a NUL and the whole by a second one.
std::vector<std::string> SplitChosenFileNames(const wchar_t* chosen);
