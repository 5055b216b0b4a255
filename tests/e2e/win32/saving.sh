#!/usr/bin/env bash
# Saves a scan with the headless report through Wine over a link to a file: the
# file it leads to is replaced and the link stays, and nothing is left beside
# them. Wine makes no links of its own, so the link is the host's.
#
#   saving.sh ambrell-scan.exe wine-run prefix-dir
set -euo pipefail

readonly scanner=$1 wine_run=$2
prefix="$(realpath -m "$3")"
readonly prefix
work="$(mktemp -d "${TMPDIR:-/tmp}/ambrell-e2e-saving.XXXXXX")"
trap 'rm -rf "$work"' EXIT
readonly work saved="$work/out"

mkdir -p "$work/tree" "$saved"
head -c 3000 /dev/zero >"$work/tree/data.bin"
echo old >"$saved/real.json"
ln -s real.json "$saved/link.json"

AMBRELL_WINEPREFIX="$prefix" "$wine_run" --drive t="$work" --only-drives \
  "$scanner" --export 'T:\out\link.json' 'T:\tree' >"$work/stdout" 2>"$work/stderr" ||
  { echo "FAIL: saving through the link: $(cat "$work/stderr")" >&2; exit 1; }

failures=0
if [[ ! -L "$saved/link.json" || "$(readlink "$saved/link.json")" != real.json ]]; then
  echo "FAIL: the link was replaced" >&2
  failures=1
fi
if [[ "$(head -c 5 "$saved/real.json")" != '[1,2,' ]]; then
  echo "FAIL: the file behind the link holds: $(head -c 40 "$saved/real.json")" >&2
  failures=1
fi
if [[ "$(cd "$saved" && LC_ALL=C ls -A | tr '\n' ' ')" != "link.json real.json " ]]; then
  echo "FAIL: the folder holds: $(ls -A "$saved")" >&2
  failures=1
fi
((failures == 0)) || exit 1
echo "saving through a link replaces the file it leads to and keeps the link"
