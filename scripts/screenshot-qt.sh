#!/usr/bin/env bash
# Starts the Linux dialog on a small test tree in a virtual X server and saves
# a picture of it once the scan has ended.
#
#   bash scripts/screenshot-qt.sh [output.png]   (default docs/qt-dialog.png)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
output="$(realpath -m "${1:-$root/docs/qt-dialog.png}")"
display=:92

bash "$root/scripts/install-deps.sh" >&2
cmake --preset release >&2
cmake --build --preset release --target ambrell >&2

work="$(mktemp -d)"
cleanup() {
  [[ -n "${app:-}" ]] && kill "$app" 2>/dev/null || true
  [[ -n "${xvfb:-}" ]] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A tree with a few megabytes in it, so the labels show real totals.
tree="$work/Projects"
mkdir -p "$tree/ambrell/src" "$tree/ambrell/docs" "$tree/photos/2025" "$tree/photos/2026" "$tree/music"
for spec in ambrell/src:3 ambrell/docs:1 photos/2025:40 photos/2026:25 music:12; do
  truncate -s "${spec#*:}M" "$tree/${spec%%:*}/data.bin"
done

Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do [[ -S /tmp/.X11-unix/X${display#:} ]] && break; sleep 0.1; done

export DISPLAY=$display XDG_RUNTIME_DIR="$work"
"$root/build/release/app/qt/ambrell" "$tree" "$tree/photos" "$tree/music" >/dev/null 2>&1 &
app=$!
sleep 3  # the scan of a tiny tree ends at once; this leaves time to paint
mkdir -p "$(dirname "$output")"
import -window root "$work/screen.png"
convert "$work/screen.png" -trim "$output"
echo "saved $output"
