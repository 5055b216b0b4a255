#pragma once
// Folder listings through the UTF-16 functions with the '\\?\' prefix: the
// 8-bit ones lose every folder whose path passes 260 characters and every
// name outside the ANSI code page. Patterns and names are UTF-8.

#include <cstdint>

#include "scan/FileSystem.h"

// Whether the walk enters a folder entry. A link, junction or mount point (a
// name-surrogate reparse tag) is shown as what it is, not followed: following it
// could loop, or count a folder twice. Every other reparse folder (cloud
// placeholders, projected and deduplicated folders) holds content of its own and is
// entered; listing a cloud folder downloads nothing. A reparse folder without a tag
// might be a link and is not entered.
bool IsFolderToEnter(std::uint32_t attributes, std::uint32_t reparseTag);

// pattern: a folder's absolute path with '\*' appended ('C:\a\*').
ListingResult OpenWideListing(const char* pattern);
