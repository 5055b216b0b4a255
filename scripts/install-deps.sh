#!/usr/bin/env bash
# Installs the Debian packages that building, testing and the Windows cross build need.
# Does nothing when all are present.
set -euo pipefail

packages=(
  cmake ninja-build g++ googletest libgtest-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine32:i386 wine64 fonts-wine
  xvfb xauth imagemagick x11-apps xdotool qt6-base-dev locales
  procps util-linux findutils coreutils python3 time clang-format
  ncdu gdu dpkg-dev lintian
  clang libclang-rt-dev
)

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
"${as_root[@]}" dpkg --add-architecture i386
"${as_root[@]}" apt-get update
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y --no-install-recommends "${packages[@]}"
