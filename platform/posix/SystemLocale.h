#pragma once
// Digit grouping of the system's default locale: the one named in the
// system's locale settings file, never the user's environment. Read once
// per labelling pass, not once per number.

#include <string>
#include <string_view>
#include <vector>

#include "text/GroupedNumber.h"

struct NumberGrouping {
  unsigned groupSize = 0;  // 0: the digits stand alone
  std::string separator;
};

// AMBRELL_SYSTEM_LOCALE_FILE when set, else /etc/default/locale and
// /etc/locale.conf: the first that exists holds the setting.
std::vector<std::string> SystemLocaleFiles();

// The locale a settings file sets for numbers: LC_ALL, else LC_NUMERIC,
// else LANG. Empty when it names none.
std::string NumericLocaleName(std::string_view settings);

// The grouping of a locale by name; none for C, POSIX or a locale that is
// not installed.
NumberGrouping GroupingOfLocale(const std::string& localeName);

class PosixNumberLocale : public NumberLocale {
 public:
  explicit PosixNumberLocale(std::vector<std::string> settingFiles = SystemLocaleFiles());

  void BeginPass() override;
  CDynString FormatDigits(const CDynString& digits) override;
  void AppendDigits(std::string_view digits, std::string& out) override;

 private:
  std::vector<std::string> m_files;
  bool m_read = false;
  NumberGrouping m_grouping;
};
