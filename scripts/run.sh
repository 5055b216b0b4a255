#!/usr/bin/env bash
# Builds Ambrell and starts its dialog on every local disk, or on the folders
# given. Without a display it says so and prints the same tree as text instead
# (two levels deep).
#
#   bash scripts/run.sh [folder]...
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

# Build chatter goes to stderr: stdout carries only the report. The subshell keeps
# the caller's folder, against which relative folder arguments are meant.
(
  bash "$root/scripts/install-deps.sh" run
  cd "$root"
  cmake --preset release
  cmake --build --preset release --target ambrell ambrell-scan
) >&2

if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  exec "$root/build/release/app/qt/ambrell" "$@"
fi
echo "run.sh: no display (neither DISPLAY nor WAYLAND_DISPLAY is set): printing the folder tree as text instead" >&2
exec "$root/build/release/tools/ambrell-scan/ambrell-scan" --depth 2 "$@"
