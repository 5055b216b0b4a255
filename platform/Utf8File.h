#pragma once
// Opens a file named by a UTF-8 path, whatever the system's code page: on
// Windows the path is handed to the wide functions, never to the ANSI ones.

#include <cstdio>
#include <string>

// As std::fopen; mode is one of fopen's ("rb", ...).
std::FILE* OpenUtf8File(const std::string& path, const char* mode);
