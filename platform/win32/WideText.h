#pragma once
// UTF-8 (the program's 8-bit text) to and from UTF-16 (the "W" functions'
// text), independent of the ANSI code page.
//
// A Windows name is a sequence of 16-bit units that need not be valid UTF-16:
// NTFS takes an unpaired surrogate as readily as any other unit. Such a unit
// becomes the 3-byte form UTF-8 would give its value (ED A0 80 to ED BF BF,
// as WTF-8 does) and turns back into the same unit, so that a folder listed
// under such a name can be opened again. Every other unit and every pair
// converts as UTF-8 has it.

#include <string>

// False for text that is neither UTF-8 nor that form of a lone surrogate (an
// overlong or cut-off sequence, a value past U+10FFFF, or the two halves of a
// pair written apart, which a pair's 4-byte form already says); out is then
// undefined.
bool Utf8ToWide(const char* text, std::wstring& out);

std::string WideToUtf8(const wchar_t* text);

// Into a caller's buffer; false (and an empty text) when it does not fit. A
// unit takes at most three bytes.
bool WideToUtf8(const wchar_t* text, char* buffer, int bufferSize);
