#!/usr/bin/env bash
# Makes a preset's release package with cpack and checks it:
#   release       the .deb's file list, lintian, and ambrell-scan --help and both
#                 programs' --version run from the extracted package
#   win32, win64  the zip's file list
#
#   bash scripts/check-packages.sh PRESET
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:?usage: check-packages.sh release|win32|win64}
build=build/$preset
version=1.1.0

# holds GREP-OPTION PATTERN COMMAND...: the command succeeds and a line of its output
# matches. The output is read whole first: grep -q on a pipe leaves at the first match,
# and a writer with more to say then dies of SIGPIPE, which pipefail counts as a failure.
holds() {
  local output
  output=$("${@:3}") || return 1
  grep -q "$1" -e "$2" <<<"$output"
}

fail() {
  echo "check-packages: $*" >&2
  exit 1
}

same_list() {
  diff <(printf '%s\n' "${@:2}" | sort) <(sort "$1") >&2 || fail "$1: other files than expected (< expected, > found)"
}

check_deb() {
  local deb=$build/ambrell_${version}_amd64.deb
  (cd "$build" && cpack -G DEB >/dev/null) || fail "cpack could not make the .deb"
  [ -f "$deb" ] || fail "no $deb"
  dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' >"$build/deb-files"
  same_list "$build/deb-files" usr/bin/ambrell usr/bin/ambrell-scan \
    usr/share/applications/ambrell.desktop \
    usr/share/doc/ambrell/README.md usr/share/doc/ambrell/changelog.gz usr/share/doc/ambrell/copyright \
    usr/share/icons/hicolor/16x16/apps/ambrell.png usr/share/icons/hicolor/32x32/apps/ambrell.png \
    usr/share/icons/hicolor/64x64/apps/ambrell.png usr/share/man/man1/ambrell-scan.1.gz
  holds -x "$version" dpkg-deb -f "$deb" Version || fail "the package's version is not $version"
  holds -F 'libqt6widgets6' dpkg-deb -f "$deb" Depends || fail "the computed dependencies lack Qt"
  lintian --fail-on error "$deb" || fail "lintian reports errors"
  local root
  root=$(mktemp -d)
  dpkg-deb -x "$deb" "$root"
  holds -F '--export FILE' "$root/usr/bin/ambrell-scan" --help || fail "ambrell-scan --help from the package"
  # Answered without a display, and naming the package's own version.
  local program
  for program in ambrell ambrell-scan; do
    holds -x "$program ${version%.0}" env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/$program" --version ||
      fail "$program --version from the package does not print '$program ${version%.0}'"
  done
  rm -rf "$root"
  echo "check-packages: $deb: $(wc -l <"$build/deb-files") files, lintian clean of errors, both programs run"
}

check_zip() {
  local zip=$build/ambrell-${version}-$preset.zip
  (cd "$build" && cpack -G ZIP >/dev/null) || fail "cpack could not make the zip"
  [ -f "$zip" ] || fail "no $zip"
  python3 -c 'import sys, zipfile; print("\n".join(zipfile.ZipFile(sys.argv[1]).namelist()))' "$zip" \
    >"$build/zip-files"
  same_list "$build/zip-files" ambrell.exe ambrell-scan.exe README.txt LICENSE
  echo "check-packages: $zip: $(tr '\n' ' ' <"$build/zip-files")"
}

case "$preset" in
  release) check_deb ;;
  win32 | win64) check_zip ;;
  *) fail "no package for the $preset preset" ;;
esac
