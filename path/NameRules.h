#pragma once
// Which names may enter a path. Both rules look at the text byte by byte.

// 1 to 260 bytes; none of " \ / | < >; a colon only as the second of
// exactly two characters ('C:').
bool IsValidName(const char* text);

// 1 to 64 bytes; none of " \ / [ ] : ; | = , + * ? < >.
bool IsValidServerName(const char* text);

// A name whose second character is ':' names a drive.
bool IsDriveDesignator(const char* text);
