#pragma once
#include <cstdint>

#include "text/DynString.h"

// The digits of value in radix 2..36, upper-case letters, no sign or prefix.
CDynString IntToText(std::uint64_t value, std::uint8_t radix);
