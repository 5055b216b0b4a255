#pragma once
// UTF-8 (the program's 8-bit text) to and from UTF-16 (the "W" functions'
// text), independent of the ANSI code page.

#include <string>

// False for text that is not valid UTF-8; out is then undefined.
bool Utf8ToWide(const char* text, std::wstring& out);

// Unpaired surrogates become U+FFFD.
std::string WideToUtf8(const wchar_t* text);

// Into a caller's buffer; false (and an empty text) when it does not fit.
bool WideToUtf8(const wchar_t* text, char* buffer, int bufferSize);
