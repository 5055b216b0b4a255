#pragma once
// The system's own sentence for an error code ("There is not enough space on
// the disk."), in UTF-8, for messages that name a file and then the reason.

#include <string>

std::string SystemErrorText(unsigned long errorCode);
