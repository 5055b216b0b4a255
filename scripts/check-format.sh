#!/usr/bin/env bash
# Fails when a C++ file differs from .clang-format (Debian 12's clang-format 14).
# With --fix, formats them instead.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t files < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
if [[ "${1:-}" == --fix ]]; then
  clang-format -i "${files[@]}"
  exit 0
fi
if ! clang-format --dry-run --Werror "${files[@]}" 2>/tmp/ambrell-format.$$; then
  grep -o '^[^:]*\.\(cpp\|h\)' /tmp/ambrell-format.$$ | sort -u | sed 's/^/not formatted: /' >&2
  rm -f /tmp/ambrell-format.$$
  echo "check-format: run scripts/check-format.sh --fix" >&2
  exit 1
fi
rm -f /tmp/ambrell-format.$$
echo "check-format: ${#files[@]} C++ files formatted"
