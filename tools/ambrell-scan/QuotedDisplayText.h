#pragma once
// The platform's display text, quoted where a name could break or forge a
// line of the report (NameQuoting.h).

#include "scan/DisplayText.h"
#include "text/NameQuoting.h"

class QuotedDisplayText : public DisplayText {
 public:
  explicit QuotedDisplayText(const DisplayText& shown) : m_shown(shown) {}
  CDynString ForName(const char* name, bool isDrive) const override {
    const CDynString shown = m_shown.ForName(name, isDrive);
    return CDynString(QuoteName(TextOrEmpty(shown)).c_str(), AllocHeap);
  }
  char PathSeparator() const override { return m_shown.PathSeparator(); }
  void AppendName(const char* name, bool isDrive, std::string& out) const override {
    const std::size_t start = out.size();
    m_shown.AppendName(name, isDrive, out);
    const std::string_view shown = std::string_view(out).substr(start);
    if (!NeedsQuoting(shown)) return;
    std::string quoted = QuoteName(shown);
    out.replace(start, std::string::npos, quoted);
  }

 private:
  const DisplayText& m_shown;
};
