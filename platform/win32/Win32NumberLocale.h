#pragma once
// Digit grouping of the system default locale, asked of the system afresh
// for every number.

#include "text/GroupedNumber.h"

class Win32NumberLocale : public NumberLocale {
 public:
  CDynString FormatDigits(const CDynString& digits) override;
};
