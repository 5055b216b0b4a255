#pragma once
// Text inside an XML document (an element's content or a quoted attribute).

#include <string>
#include <string_view>

// Appends text with & < > " ' written as entities. text must be what the
// report prints of a name (NameQuoting.h), in which no control character and
// no malformed byte is left; the two characters XML forbids beyond those
// (U+FFFE, U+FFFF) are written as the report escapes a byte, \xHH.
void AppendXmlText(std::string_view text, std::string& out);
