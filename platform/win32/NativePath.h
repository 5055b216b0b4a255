#pragma once
// Paths as the "W" file functions take them: absolute, with the '\\?\'
// prefix that lifts the 260-character limit ('\\?\UNC\' for a share).

#include <string>

// 'C:\a' -> '\\?\C:\a', '\\srv\share' -> '\\?\UNC\srv\share'; a prefixed
// path stays as it is; anything else is made absolute first.
std::wstring ToExtendedPath(const std::wstring& path);

// The absolute form of a UTF-16 path, as the system resolves it ('NUL' becomes
// '\\.\NUL'); false when it cannot.
bool GetFullWidePath(const std::wstring& path, std::wstring& fullPath);

// The absolute form of a path as a user may type it (relative, with '/'
// or '.' and '..'), in UTF-8; false when the system cannot resolve it.
bool GetFullNativePath(const std::string& path, std::string& fullPath);

// An existing folder (not a file) at an absolute UTF-8 path.
bool IsExistingFolder(const std::string& fullPath);
