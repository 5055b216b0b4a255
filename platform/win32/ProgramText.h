#pragma once
// The program's 8-bit text is UTF-8 everywhere: the names it lists, its paths and its
// labels. The manifest asks for UTF-8 as the process code page too, so that the "A"
// functions take that text as it is; Windows grants it from Windows 10 version 1903 on.
// Where the code page is anything else, text crosses into the system through the "W"
// functions, converted from UTF-8 at that boundary only: converting names to the code
// page instead would make every name outside it impossible to show or open again.

// Whether the "A" functions of a process with this code page take UTF-8 text.
inline bool AnsiTakesUtf8(unsigned codePage) { return codePage == 65001; }  // CP_UTF8
