#!/usr/bin/env bash
# Saves a scan with the headless report through Wine where a Windows save goes
# wrong easily: over a link to a file (the file it leads to is replaced and the
# link stays), onto a folder (refused, nothing touched) and under a name no ANSI
# code page holds. Wine makes no links of its own, so the link is the host's.
#
#   saving.sh ambrell-scan.exe wine-run prefix-dir
set -euo pipefail

readonly scanner=$1 wine_run=$2
prefix="$(realpath -m "$3")"
readonly prefix
work="$(mktemp -d "${TMPDIR:-/tmp}/ambrell-e2e-saving.XXXXXX")"
trap 'rm -rf "$work"' EXIT
readonly work saved="$work/out"

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

mkdir -p "$work/tree/ünï" "$saved/folder.json"
head -c 3000 /dev/zero >"$work/tree/ünï/data.bin"
echo old >"$saved/real.json"
ln -s real.json "$saved/link.json"
echo kept >"$saved/folder.json/inside"

# The folder's name is outside ASCII too: the arguments must arrive intact.
export_to() {  # Windows path of the file to save
  AMBRELL_WINEPREFIX="$prefix" "$wine_run" --drive t="$work" --only-drives \
    "$scanner" --export "$1" 'T:\tree\ünï' >"$work/stdout" 2>"$work/stderr"
}

starts_as_saved_scan() { [[ "$(head -c 5 "$1")" == '[1,2,' ]]; }

if ! export_to 'T:\out\link.json'; then
  fail "saving through the link: $(cat "$work/stderr")"
fi
[[ -L "$saved/link.json" && "$(readlink "$saved/link.json")" == real.json ]] || fail "the link was replaced"
starts_as_saved_scan "$saved/real.json" || fail "the file behind the link holds: $(head -c 40 "$saved/real.json")"

if export_to 'T:\out\folder.json'; then
  fail "saving onto a folder succeeded"
fi
grep -q 'folder.json: is a folder' "$work/stderr" || fail "no reason given for the folder: $(cat "$work/stderr")"
[[ "$(cat "$saved/folder.json/inside")" == kept && "$(ls -A "$saved/folder.json")" == inside ]] ||
  fail "the folder was touched"

if ! export_to 'T:\out\日本 ünï.json'; then
  fail "saving under a name outside ASCII: $(cat "$work/stderr")"
fi
starts_as_saved_scan "$saved/日本 ünï.json" || fail "the name outside ASCII was not saved under itself"

# Nothing left beside the targets.
expected_names=$'folder.json\nlink.json\nreal.json\n日本 ünï.json'
names="$(cd "$saved" && LC_ALL=C ls -A | LC_ALL=C sort)"
[[ "$names" == "$(LC_ALL=C sort <<<"$expected_names")" ]] || fail "the folder holds: $names"

((failures == 0)) || exit 1
echo "saving keeps links, refuses folders and takes any name"
