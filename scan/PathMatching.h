#pragma once
// How the full paths of two trees are matched: Windows folds case (and
// separates with '\'), Linux compares names byte for byte (and separates
// with '/').

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct PathMatching {
  char separator;
  bool ignoreCase;
};

constexpr PathMatching kPosixPaths{'/', false};
constexpr PathMatching kWindowsPaths{'\\', true};
#ifdef _WIN32
constexpr PathMatching kNativePaths = kWindowsPaths;
#else
constexpr PathMatching kNativePaths = kPosixPaths;
#endif

// The name in the form two names equal under the rule share. Case folds
// ASCII, Latin-1, Greek and Cyrillic capitals to small ones; every other
// byte, and every byte that is not UTF-8, stays as it is.
std::string MatchingKey(std::string_view name, PathMatching rule);

// The path without repeated or trailing separators ('/' stays '/').
std::string NormalPath(std::string_view path, char separator);

// The names of path below ancestor, both normal paths, when path is
// ancestor or lies below it: '/home/a/b' below '/home' is {"a", "b"}.
// False when it does not.
bool NamesBelow(std::string_view ancestor, std::string_view path, PathMatching rule,
                std::vector<std::string>& names);
