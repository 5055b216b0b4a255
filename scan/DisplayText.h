#pragma once
#include <string>
#include <string_view>

#include "text/DynString.h"

// What the user sees of a record's name. On Windows the name itself; a
// platform whose names or drives are presented in another form maps them back.
class DisplayText {
 public:
  virtual ~DisplayText() = default;
  virtual CDynString ForName(const char* name, bool isDrive) const = 0;
  // Appends what ForName gives, without a string of its own where it can.
  virtual void AppendName(const char* name, bool isDrive, std::string& out) const {
    out += TextOrEmpty(ForName(name, isDrive));
  }
  // The other way, for a name below a drive: a real name, as a saved scan
  // holds it, in the form the engine's records carry.
  virtual std::string RecordName(std::string_view realName) const { return std::string(realName); }
  // What joins the names of a full path where a drive's own form does not tell.
  virtual char PathSeparator() const { return '\\'; }
};

class PlainDisplayText : public DisplayText {
 public:
  CDynString ForName(const char* name, bool) const override { return CDynString(name, AllocHeap); }
  void AppendName(const char* name, bool, std::string& out) const override { out += name; }
};
