#pragma once
// The report prints one folder a line, and folder names are written by
// anyone. A name holding a line break, a terminal control sequence, a
// direction mark or bytes that are not UTF-8 could break its line, forge
// another or act on the terminal; one that begins with a blank or '"', or
// holds four blanks and '(', could pass for an indent, a quoted name or a
// size. Such names are printed in double quotes with C-style escapes
// inside; every other name is printed as it is, so 'a:b', 'back\slash' and
// 'C:\Data' read as they always did.

#include <string>
#include <string_view>

// True when name cannot be printed on a line of its own as it is.
bool NeedsQuoting(std::string_view name);

// name itself, or '"' name '"' with \\ \" \t \n \r inside and \xHH for
// every other byte of a hostile character or of a malformed sequence, and
// for a '(' after four blanks: the first '    (' of a line begins its size.
std::string QuoteName(std::string_view name);

// text with hostile characters and malformed bytes escaped, and nothing
// else changed: for messages, where the terminal must stay safe but no
// reader needs to take names apart.
std::string EscapeForTerminal(std::string_view text);

// Appends each byte as \xHH.
void AppendHexEscapes(std::string_view bytes, std::string& out);
