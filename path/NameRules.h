#pragma once
// Which names may enter a path. Names are UTF-8.

// 1 to 260 UTF-16 units, as Windows counts a name's length; none of " \ / | < >;
// a colon only as the second of exactly two characters ('C:').
bool IsValidName(const char* text);

// 1 to 64 bytes (server names are ASCII); none of " \ / [ ] : ; | = , + * ? < >.
bool IsValidServerName(const char* text);

// A name whose second character is ':' names a drive.
bool IsDriveDesignator(const char* text);
