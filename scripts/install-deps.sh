#!/usr/bin/env bash
# Installs the Debian packages that Ambrell needs. Does nothing when all are present.
#
#   bash scripts/install-deps.sh [run|test]
#
# run:  what building the release preset's two programs and running them needs,
#       which is what scripts/run.sh asks for on a newcomer's first run. The release
#       preset configures the tests too, so googletest's sources are among them.
# test: that and everything the tests, the Windows cross build under Wine, the
#       packages' checks, the fuzzers and the screenshots need (the default).
set -euo pipefail

run_packages=(cmake ninja-build g++ googletest python3 qt6-base-dev)
test_packages=(
  "${run_packages[@]}" libgtest-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine32:i386 wine64 fonts-wine
  xvfb xauth imagemagick x11-apps xdotool locales
  procps util-linux findutils coreutils time clang-format
  ncdu gdu dpkg-dev lintian libxml2-utils dbus-daemon
  clang libclang-rt-dev
)

case "${1:-test}" in
  run) packages=("${run_packages[@]}") ;;
  test) packages=("${test_packages[@]}") ;;
  *)
    echo "usage: install-deps.sh [run|test]" >&2
    exit 2
    ;;
esac

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Abbrev}' "$package" 2>/dev/null || true)
  [[ "$status" == ii* ]] || missing+=("$package")
done
((${#missing[@]} == 0)) && exit 0

echo "install-deps: installing ${missing[*]}" >&2
if ((EUID == 0)); then
  as_root=()
elif command -v sudo >/dev/null; then
  as_root=(sudo)
else
  echo "install-deps: missing packages and neither root nor sudo: ${missing[*]}" >&2
  exit 1
fi

# wine32 is an i386 package. It installs on every machine, also where the kernel cannot
# run it; wine64 and the x86_64 cross compiler serve those.
if [[ " ${missing[*]} " == *":i386 "* ]]; then
  "${as_root[@]}" dpkg --add-architecture i386
fi
"${as_root[@]}" apt-get update
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y --no-install-recommends "${missing[@]}"
