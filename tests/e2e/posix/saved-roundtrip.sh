#!/bin/bash
# Usage: saved-roundtrip.sh PATH-TO-AMBRELL-SCAN
#
# Saves a scan of the end-to-end test tree and takes it through the real
# ncdu both ways: ncdu reads our file and every folder total it computes
# equals ours; we read ncdu's own save of the tree and the report equals a
# live scan. The same with gdu when it is installed, which reads our file
# and counts 4,096 bytes of its own for every folder besides what we saved.
# Then the report's handling of several drives, standard output and bad
# files.
set -euo pipefail

scan=${1:?usage: saved-roundtrip.sh PATH-TO-AMBRELL-SCAN}
here=$(cd "$(dirname "$0")" && pwd)
umask 022
work=$(mktemp -d /tmp/ambrell-saved-XXXXXX)
trap 'chmod -R u+rwx "$work" 2>/dev/null; rm -rf "$work"' EXIT
chmod 755 "$work"
tree=$work/tree
out=$work/out

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# shellcheck source=tests/e2e/posix/test-tree.sh
source "$here/test-tree.sh"

totals() { python3 "$here/tree-totals.py" "$@"; }

same_totals() {
  if ! diff "$1" "$2" >"$work/diff"; then
    cut -c1-300 "$work/diff" | head -20 >&2
    fail "$3 (< $1, > $2)"
  fi
}

command -v ncdu >/dev/null || fail "ncdu is not installed (scripts/install-deps.sh installs it)"
build_tree
mkdir "$out" && chmod 777 "$out"
cp "$scan" "$work/ambrell-scan" && chmod 755 "$work/ambrell-scan"
printf 'LANG=C.UTF-8\n' >"$work/locale"
export AMBRELL_SYSTEM_LOCALE_FILE=$work/locale
ambrell=("${runner[@]}" "$work/ambrell-scan" --unit bytes)

"${ambrell[@]}" --export "$out/ours.json" "$tree" >"$out/live.txt" 2>"$out/live.err"
grep -qxF "ambrell-scan: saved $out/ours.json" "$out/live.err" || fail "the report does not say what it saved"
totals report "$out/live.txt" >"$work/live"
[ "$(grep -c '^' "$work/live")" -gt 300 ] || fail "the live scan is too small"
grep -qF '{"name":"locked","asize":0,"dsize":0,"read_error":true}' "$out/ours.json" ||
  fail "the unreadable folder is not marked"
totals json "$out/ours.json" >"$work/ours"
same_totals "$work/live" "$work/ours" "our file does not add up to our totals"

# ncdu reads ours and saves it again: its totals are ours.
ncdu --ignore-config -f "$out/ours.json" -0 -o "$out/again.json"
totals json "$out/again.json" >"$work/again"
same_totals "$work/live" "$work/again" "ncdu's totals of our file differ from ours"
# And what ncdu saved of our file reads back as our scan.
"${ambrell[@]}" --import "$out/again.json" >"$out/again.txt" 2>/dev/null
totals report "$out/again.txt" >"$work/again-imported"
same_totals "$work/live" "$work/again-imported" "our file saved again by ncdu reads differently"

# We read ncdu's own scan of the tree: the report is the live one.
"${runner[@]}" ncdu --ignore-config -0 -o "$out/ncdu.json" "$tree"
"${ambrell[@]}" --import "$out/ncdu.json" >"$out/ncdu.txt" 2>"$out/ncdu.err"
totals report "$out/ncdu.txt" >"$work/from-ncdu"
same_totals "$work/live" "$work/from-ncdu" "ncdu's scan reads differently from a live scan"
grep -qE '^ambrell-scan: [0-9]+ folders in the saved scans, 1 could not be read when saved$' "$out/ncdu.err" ||
  fail "the unreadable folder of ncdu's scan is not counted"

if command -v gdu >/dev/null; then
  "${runner[@]}" gdu -n -p -o "$out/gdu.json" "$tree" >/dev/null 2>&1
  "${ambrell[@]}" --import "$out/gdu.json" >"$out/gdu.txt" 2>/dev/null
  # gdu opens folders by full path and stops where one passes PATH_MAX: the
  # chain, and the root that holds it, are left out of the comparison.
  grep -vE "^$tree(/chain|	)" "$work/live" >"$work/live-for-gdu"
  totals report "$out/gdu.txt" | grep -vE "^$tree(/chain|	)" >"$work/from-gdu"
  same_totals "$work/live-for-gdu" "$work/from-gdu" "gdu's scan reads differently from a live scan"
  # gdu counts 4,096 bytes of its own for every folder, and every byte we saved.
  gdu_total=$(gdu -n -p -a -s --no-prefix -f "$out/ours.json" | awk '{ print $1 }')
  folders=$(grep -c '^' "$work/live")
  our_total=$(awk -F'\t' -v root="$tree" '$1 == root { print $2 }' "$work/live")
  [ "$gdu_total" = $((our_total + 4096 * folders)) ] ||
    fail "gdu's total of our file is $gdu_total, not $our_total and 4096 a folder for $folders folders"
  echo "gdu: its scan reads as a live scan; it reads our file"
fi

# Several drives: one file each, named by letter, and the report says so.
"${ambrell[@]}" --depth 0 --export "$out/two.json" "$tree/docs" "$tree/media" >/dev/null 2>"$out/two.err"
for letter in C D; do
  grep -qxF "ambrell-scan: saved $out/two-$letter.json" "$out/two.err" || fail "drive $letter: no file reported"
done
"${ambrell[@]}" --depth 0 --import "$out/two-C.json" "$out/two-D.json" >"$out/two.txt" 2>/dev/null
[ "$(cat "$out/two.txt")" = "$(grep -E "^($tree/docs|$tree/media)	" "$work/live" |
  awk -F'\t' '{ printf "%s    (%s bytes)\n", $1, $2 }')" ] || fail "two saved drives read back differently"

# Standard output carries the file alone; a saved scan saves again unchanged.
"${ambrell[@]}" --import "$out/ours.json" --export - 2>/dev/null | sed 1d >"$out/again-ours.json"
sed 1d "$out/ours.json" | cmp -s - "$out/again-ours.json" || fail "a saved scan does not save again as it was"

# Bad files: a message naming the file, line and column, status 2, no report.
printf '[1,2,{},\n[{"name":"/r"},\n[{"name":"a"}' >"$work/truncated.json"
printf '[2,0,{},[{"name":"/r"}]]' >"$work/major.json"
for bad in truncated major; do
  status=0
  "$work/ambrell-scan" --import "$out/ours.json" "$work/$bad.json" >"$work/bad.out" 2>"$work/bad.err" || status=$?
  [ "$status" = 2 ] || fail "$bad.json gave status $status, not 2"
  grep -qE "^ambrell-scan: $work/$bad.json:[0-9]+:[0-9]+: " "$work/bad.err" || fail "$bad.json: $(cat "$work/bad.err")"
  [ ! -s "$work/bad.out" ] || fail "$bad.json: a report was printed"
done

# As deep as no scan here could go: 100,000 levels read, reported, and saved again the same.
python3 - "$work/deep.json" <<'PYTHON'
import sys
levels = 100000
with open(sys.argv[1], "w") as out:
    out.write('[1,2,{"progname":"ambrell","progver":"1.1","timestamp":0},\n[{"name":"/deep","asize":1}')
    out.write(',\n[{"name":"d","asize":1}' * levels)
    out.write("]" * (levels + 2) + "\n")
PYTHON
"${ambrell[@]}" --import "$work/deep.json" --export - >"$out/deep-again.json" 2>/dev/null ||
  fail "a 100,000-level saved scan does not read"
# (Printed in full, its indents alone would take 10 GB.)
"${ambrell[@]}" --depth 1 --import "$out/deep-again.json" >"$out/deep.txt" 2>"$out/deep.err" ||
  fail "a deep scan saved again does not read"
[ "$(cat "$out/deep.txt")" = "$(printf '/deep    (100001 bytes)\n  d    (100000 bytes)')" ] &&
  grep -q '^ambrell-scan: 100001 folders in the saved scans' "$out/deep.err" ||
  fail "a 100,000-level saved scan reads wrongly: $(cat "$out/deep.txt" "$out/deep.err")"

echo "ok: $(grep -c '^' "$work/live") folders, the same totals through ncdu both ways"
