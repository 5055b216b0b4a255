#pragma once
// Folder listings through the UTF-16 functions with the '\\?\' prefix: the
// 8-bit ones lose every folder whose path passes 260 characters and every
// name outside the ANSI code page. Patterns and names are UTF-8.

#include "scan/FileSystem.h"

// pattern: a folder's absolute path with '\*' appended ('C:\a\*').
ListingResult OpenWideListing(const char* pattern);
