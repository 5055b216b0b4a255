#pragma once
// A program's arguments in UTF-8, read from its UTF-16 command line. The argv a
// C runtime hands main holds them in the ANSI code page, where a name outside it
// has already been lost, whatever the manifest asks for (Windows before 10 1903
// ignores its UTF-8 code page).

#include <string>
#include <vector>

// Every argument after the program's own name, split as the system splits a command
// line (quotes, backslashes before quotes).
std::vector<std::string> Utf8ArgumentsOf(const wchar_t* commandLine);
