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

 private:
  const DisplayText& m_shown;
};
