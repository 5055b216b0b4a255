#!/usr/bin/env bash
# Builds Ambrell and prints the headless report of the folders given (two levels deep).
#
#   bash scripts/run.sh [folder]...
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

# Build chatter goes to stderr: stdout carries only the report. The subshell keeps
# the caller's folder, against which relative folder arguments are meant.
(
  bash "$root/scripts/install-deps.sh"
  cd "$root"
  cmake --preset release
  cmake --build --preset release --target ambrell-scan
) >&2

exec "$root/build/release/tools/ambrell-scan/ambrell-scan" --depth 2 "$@"
