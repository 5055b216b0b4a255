#pragma once
#include "text/DynString.h"

// What the user sees of a record's name. On Windows the name itself; a
// platform whose names or drives are presented in another form maps them back.
class DisplayText {
 public:
  virtual ~DisplayText() = default;
  virtual CDynString ForName(const char* name, bool isDrive) const = 0;
};

class PlainDisplayText : public DisplayText {
 public:
  CDynString ForName(const char* name, bool) const override { return CDynString(name, AllocHeap); }
};
