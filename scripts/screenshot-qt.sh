#!/usr/bin/env bash
# Starts the Linux dialog on a small test tree in a virtual X server and saves
# a picture of it once the scan has ended, then one sorted by size beside the
# window of the largest files (qt-largest-first.png, in the same folder), one
# compared with a saved scan of an earlier state (qt-compared.png), and one of the
# map of a real folder (/usr, or AMBRELL_MAP_FOLDER) beside the dialog showing it
# (qt-map.png).
#
#   bash scripts/screenshot-qt.sh [output.png]   (default docs/qt-dialog.png)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
output="$(realpath -m "${1:-$root/docs/qt-dialog.png}")"
sorted_output="$(dirname "$output")/qt-largest-first.png"
compared_output="$(dirname "$output")/qt-compared.png"
map_output="$(dirname "$output")/qt-map.png"
map_folder="${AMBRELL_MAP_FOLDER:-/usr}"
display=:92

bash "$root/scripts/install-deps.sh" >&2
cmake --preset release >&2
cmake --build --preset release --target ambrell ambrell-scan >&2

work="$(mktemp -d)"
cleanup() {
  [[ -n "${app:-}" ]] && kill "$app" 2>/dev/null || true
  [[ -n "${mapped:-}" ]] && kill "$mapped" 2>/dev/null || true
  [[ -n "${xvfb:-}" ]] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Folders with a few (sparse) megabytes in them, so the labels show real totals.
for sample in Documents/letters:3 Documents/taxes:1 Music/albums:1200 Music/live:2400 \
            Music/podcasts:300 Pictures/2025:4100 \
            Pictures/2026:2500 Projects/ambrell:35 Projects/site:12; do
  mkdir -p "$work/${sample%%:*}"
  truncate -s "${sample#*:}M" "$work/${sample%%:*}/data.bin"
done

# Music as it was last week, saved; since then the live recordings grew, an album
# came and the podcasts went.
(cd "$work" && "$root/build/release/tools/ambrell-scan/ambrell-scan" --export "$work/last-week.json" Music >/dev/null)
truncate -s 3000M "$work/Music/live/data.bin"
mkdir -p "$work/Music/new album"
truncate -s 500M "$work/Music/new album/data.bin"
rm -r "$work/Music/podcasts"

Xvfb "$display" -screen 0 1600x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do [[ -S /tmp/.X11-unix/X${display#:} ]] && break; sleep 0.1; done

# Sizes grouped as on an en_US system, whatever this machine's default locale.
mkdir -p "$work/locale"
localedef -i en_US -f UTF-8 "$work/locale/en_US.UTF-8" 2>/dev/null || true
echo 'LANG=en_US.UTF-8' > "$work/default-locale"
export LOCPATH="$work/locale" AMBRELL_SYSTEM_LOCALE_FILE="$work/default-locale"

export DISPLAY=$display XDG_RUNTIME_DIR="$work"
# Each folder shows as a drive of its own, named as given.
(cd "$work" && exec "$root/build/release/app/qt/ambrell" Documents Music Pictures Projects >/dev/null 2>&1) &
app=$!
sleep 3  # the scan of a tiny tree ends at once; this leaves time to paint
# A click on the first row puts the focus in the tree; then every folder is
# opened from the last drive up ('*' expands all below the current item).
window="$(xdotool search --sync --name '^Ambrell$' | head -n 1)"
xdotool windowfocus --sync "$window"
xdotool mousemove --window "$window" 80 20 click 1
xdotool key --delay 100 End asterisk Up asterisk Up asterisk Up asterisk
xdotool mousemove --window "$window" 300 300
sleep 1
mkdir -p "$(dirname "$output")"
import -window root "$work/screen.png"
convert "$work/screen.png" -trim "$output"
echo "saved $output"

# The window menu opens on the dialog's background, just below the tree: Sort by Size
# (Alt-less mnemonic z), then Largest Files (f), whose window goes beside the dialog.
eval "$(xdotool getwindowgeometry --shell "$window")"
choose_from_window_menu() {
  xdotool mousemove --window "$window" $((WIDTH / 2)) $((HEIGHT - 47)) click 3
  sleep 0.5
  xdotool key "$1"
  sleep 0.5
}
choose_from_window_menu z
choose_from_window_menu f
files="$(xdotool search --sync --name '^Largest Files$' | head -n 1)"
xdotool windowmove "$files" $((X + WIDTH + 12)) "$Y"
xdotool mousemove 0 0
sleep 1
import -window root "$work/screen.png"
convert "$work/screen.png" -trim "$sorted_output"
echo "saved $sorted_output"

# Compare with Saved Scan (p): the file box takes the saved scan's path.
xdotool windowclose "$files" 2>/dev/null || true
choose_from_window_menu z  # back to the listed order
choose_from_window_menu p
sleep 1
xdotool type --delay 20 "$work/last-week.json"
xdotool key Return
sleep 1
xdotool mousemove 0 0
import -window root "$work/screen.png"
convert "$work/screen.png" -trim "$compared_output"
echo "saved $compared_output"
# The map: a dialog of its own on the real folder, its drive selected with a click on the
# first row, then Show Map (w) from the window menu; the map goes beside the dialog.
kill "$app" 2>/dev/null || true
app=
"$root/build/release/app/qt/ambrell" "$map_folder" >/dev/null 2>&1 &
mapped=$!
sleep "${AMBRELL_MAP_SECONDS:-8}"  # the scan of /usr takes a second or two
window="$(xdotool search --sync --name '^Ambrell$' | head -n 1)"
xdotool windowmove "$window" 0 0
xdotool windowfocus --sync "$window"
xdotool mousemove --window "$window" 80 20 click 1
eval "$(xdotool getwindowgeometry --shell "$window")"
choose_from_window_menu w
map="$(xdotool search --sync --name "^$map_folder\$" | head -n 1)"
xdotool windowsize "$map" 900 600
xdotool windowmove "$map" $((X + WIDTH + 12)) "$Y"
xdotool mousemove 0 0
sleep 1
import -window root "$work/screen.png"
convert "$work/screen.png" -trim "$map_output"
echo "saved $map_output"
