#!/usr/bin/env bash
# Takes screenshots of the Windows dialog under Wine in a virtual X server:
# the real dialog from the real resources, after its scan of a small test tree
# on drive T:, with T: opened. Saves docs/win32-dialog.png,
# docs/win32-largest-first.png sorted by size beside the largest files' window,
# docs/win32-compared.png compared with a saved scan of an earlier state, and
# docs/win32-map.png: the map of a real folder (/usr, or AMBRELL_MAP_FOLDER) on drive U:
# beside the dialog.
#
#   scripts/screenshot-win32.sh [build-dir]     (already built; by default build/win32 where
#                                                this machine runs 32-bit code, else build/win64)
#
# Needs Xvfb and ImageMagick. Uses a Wine prefix of its own with the x11 graphics
# driver: the tests' prefixes use the null driver, which draws nothing.
set -euo pipefail
cd "$(dirname "$0")/.."

if scripts/wine-run --runs-32-bit; then default_build=build/win32; else default_build=build/win64; fi
readonly build="${1:-$default_build}"
readonly probe="$build/tests/app/win32/ambrell-dialog-probe.exe"
readonly display=:91
readonly output=docs/win32-dialog.png
readonly sorted_output=docs/win32-largest-first.png
readonly compared_output=docs/win32-compared.png
readonly map_output=docs/win32-map.png
readonly map_folder="${AMBRELL_MAP_FOLDER:-/usr}"
[[ -f "$probe" ]] || { echo "screenshot-win32: not built: $probe" >&2; exit 1; }

AMBRELL_WINEPREFIX="$(realpath -m "$build/screenshot-wineprefix")"
export AMBRELL_WINEPREFIX
work="$(mktemp -d "${TMPDIR:-/tmp}/ambrell-screenshot.XXXXXX")"
xvfb_pid=
cleanup() {
  scripts/wine-run --arch "$(scripts/wine-run --bitness "$probe")" --stop-server || true
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

file_of() {  # path size
  mkdir -p "$(dirname "$1")"
  truncate -s "$2" "$1"
}

build_tree() {
  local tree=$1
  file_of "$tree/Documents/Letters/2025.txt" $((3 * 1024 * 1024))
  file_of "$tree/Documents/Reports/annual.pdf" $((48 * 1024 * 1024))
  file_of "$tree/Music/Albums/one.flac" $((700 * 1024 * 1024))
  file_of "$tree/Music/Podcasts/episode.mp3" $((95 * 1024 * 1024))
  file_of "$tree/Pictures/Holiday 2024/beach.jpg" $((1536 * 1024 * 1024))
  file_of "$tree/Projects/ambrell/build/big.obj" $((220 * 1024 * 1024))
  file_of "$tree/Projects/ambrell/source/main.cpp" $((40 * 1024))
  file_of "$tree/Videos/film.mkv" $((4400 * 1024 * 1024))
}

build_tree "$work/tree"

# Music as it was: fewer albums, and a folder of old mixes that has gone since.
cat > "$work/tree/last-week.json" <<'JSON'
[1,2,{"progname":"ambrell","progver":"1.1","timestamp":0},
[{"name":"T:"},
[{"name":"Music"},[{"name":"Albums"},{"name":"one.flac","asize":524288000}],
[{"name":"Podcasts"},{"name":"episode.mp3","asize":99614720}],
[{"name":"Old mixes"},{"name":"mix.mp3","asize":209715200}]]]]
JSON

# The prefix is made with the null driver (wine-run's default); switch it to x11 once.
scripts/wine-run --drive t="$work/tree" --only-drives reg add 'HKCU\Software\Wine\Drivers' \
  /v Graphics /d x11 /f >/dev/null
scripts/wine-run --stop-server

Xvfb "$display" -screen 0 1600x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do
  DISPLAY="$display" xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done

# shoot PICTURE DRIVE READY [PROBE-OPTION...]: the dialog on C: and DRIVE (t=FOLDER) once
# its scan has ended: 6 seconds after it started (two small drives take a second or two),
# or, when READY names a window, 2 seconds after that window appeared (wine-run passes
# the probe's output on only at its end, so the window is the sign).
shoot() {
  local picture=$1 drive=$2 ready=$3
  shift 3
  DISPLAY="$display" scripts/wine-run --drive "$drive" --only-drives \
    "$probe" --no-tree "$@" --linger 8000 >/dev/null 2>"$work/probe.err" &
  local probe_pid=$!
  if [[ -z "$ready" ]]; then
    sleep 6
  else
    DISPLAY="$display" timeout 300 xdotool search --sync --name "$ready" >/dev/null
    sleep 2
  fi
  DISPLAY="$display" import -window root "$work/screen.png"
  wait "$probe_pid" || { cat "$work/probe.err" >&2; exit 1; }
  mkdir -p "$(dirname "$picture")"
  convert "$work/screen.png" -trim +repage "$picture"
  echo "screenshot-win32: wrote $picture ($(identify -format "%wx%h" "$picture"))"
}

shoot "$output" t="$work/tree" "" --expand T:
shoot "$sorted_output" t="$work/tree" "" --expand T: --largest-first
shoot "$compared_output" t="$work/tree" "" --expand T: --compare 'T:\last-week.json'
# A drive letter takes effect when the Wine server starts.
scripts/wine-run --arch "$(scripts/wine-run --bitness "$probe")" --stop-server || true
shoot "$map_output" u="$map_folder" '^U:$' --map U:
