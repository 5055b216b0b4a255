#pragma once
#include <cstdint>

#include "text/DynString.h"

constexpr std::uint32_t kRunHidden = 1;  // the program's window is hidden
constexpr std::uint32_t kRunNoWait = 2;  // return once it has started, with 0

// Starts a command line (UTF-8). Returns the program's exit code after waiting for
// it, 0 without waiting, or the system error code when it could not start.
std::uint32_t RunProcess(const CDynString& commandLine, std::uint32_t flags);

// The same as a process whose code page is codePage would do it: where that is not
// UTF-8 the command line goes to CreateProcessW, converted from UTF-8.
std::uint32_t RunProcess(const CDynString& commandLine, std::uint32_t flags, unsigned codePage);
