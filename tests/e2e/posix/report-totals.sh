#!/bin/bash
# Usage: report-totals.sh PATH-TO-AMBRELL-SCAN
#
# Builds a test tree (hidden files, a 4 GiB sparse file, hard links, a link
# to a parent folder, a FIFO, names no Windows path could hold, a chain of
# folders far past PATH_MAX, a folder that cannot be read), scans it with
# the report and checks every printed folder's total against the sum of the
# sizes of all non-folders below it, as find counts them. Both run as the
# same unprivileged user, so the locked folder is unreadable to both. The
# report must come out the same on 1, 2, 4 and 16 threads.
set -euo pipefail

scan=${1:?usage: report-totals.sh PATH-TO-AMBRELL-SCAN}
umask 022
work=$(mktemp -d /tmp/ambrell-e2e-XXXXXX)
trap 'chmod -R u+rwx "$work" 2>/dev/null; rm -rf "$work"' EXIT
chmod 755 "$work"
tree=$work/tree

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# shellcheck source=tests/e2e/posix/test-tree.sh
source "$(dirname "$0")/test-tree.sh"

# shellcheck source=tests/e2e/posix/folder-totals.sh
source "$(dirname "$0")/folder-totals.sh"

build_tree
cp "$scan" "$work/ambrell-scan"
chmod 755 "$work/ambrell-scan"
printf 'LANG=C.UTF-8\n' >"$work/locale"
export AMBRELL_SYSTEM_LOCALE_FILE=$work/locale

status=0
"${runner[@]}" "$work/ambrell-scan" --unit bytes "$tree" >"$work/out" 2>"$work/err" || status=$?
[ "$status" = 0 ] || { cat "$work/err" >&2; fail "exit status $status"; }

expected_totals >"$work/expected"
printed_totals "$work/out" >"$work/printed" || fail "the report's output has lines of another form"

if ! diff "$work/expected" "$work/printed" >"$work/diff"; then
  cut -c1-300 "$work/diff" | head -40 >&2
  fail "printed totals differ from the independent count (< expected, > printed)"
fi

# Guards against a count that went wrong on both sides alike.
grep -qxF "$tree/locked	0" "$work/printed" || fail "the unreadable folder does not show 0"
grep -qxF "$tree/media	$((4 * 1024 * 1024 * 1024 + 5 + 15))" "$work/printed" || fail "media total is wrong"
grep -qxF "$tree/a:b	$((10 + 11))" "$work/printed" || fail "'a:b' is not shown by its real name"
[ "$(grep -c '^' "$work/printed")" -eq 327 ] || fail "too few folders printed"
grep -q '/bottom.bin$' <("${runner[@]}" find "$tree/chain" -name bottom.bin) || fail "the chain was not built"
deepest=$(awk -F'\t' '{ if (length($1) > max) { max = length($1); total = $2 } } END { print max, total }' "$work/printed")
[ "${deepest% *}" -gt 4096 ] && [ "${deepest#* }" = 4242 ] || fail "the deepest folder is missing: $deepest"

grep -qE '^ambrell-scan: [0-9]+ folders scanned, 1 could not be read$' "$work/err" ||
  { cat "$work/err" >&2; fail "the summary does not count the unreadable folder"; }

# Reading ahead on any number of threads prints the very same report.
cp "$work/out" "$work/out-default"
cp "$work/err" "$work/err-default"
for threads in 1 2 4 16; do
  "${runner[@]}" "$work/ambrell-scan" --unit bytes --threads "$threads" "$tree" >"$work/out" 2>"$work/err" ||
    fail "--threads $threads: exit status $?"
  cmp -s "$work/out-default" "$work/out" || fail "--threads $threads printed another report"
  cmp -s "$work/err-default" "$work/err" || fail "--threads $threads gave another summary"
done
AMBRELL_THREADS=3 "${runner[@]}" "$work/ambrell-scan" --unit bytes "$tree" >"$work/out" 2>"$work/err" ||
  fail "AMBRELL_THREADS=3: exit status $?"
cmp -s "$work/out-default" "$work/out" || fail "AMBRELL_THREADS=3 printed another report"
status=0
AMBRELL_THREADS=many "$work/ambrell-scan" "$tree" >"$work/out" 2>"$work/err" || status=$?
[ "$status" = 2 ] && grep -q AMBRELL_THREADS "$work/err" && [ ! -s "$work/out" ] ||
  fail "AMBRELL_THREADS=many gave status $status and no message, or a tree"

# Refusals come before any scanning, with a message and status 2.
for arguments in "$tree/no such folder" "--unit tb" "--depth" "--threads 0" "$tree/docs/readme.txt"; do
  status=0
  # shellcheck disable=SC2086 # the option cases are meant to split
  if [[ $arguments == --* ]]; then
    "$work/ambrell-scan" $arguments "$tree" >"$work/out" 2>"$work/err" || status=$?
  else
    "$work/ambrell-scan" "$arguments" >"$work/out" 2>"$work/err" || status=$?
  fi
  [ "$status" = 2 ] || fail "'$arguments' gave status $status, not 2"
  [ -s "$work/err" ] && [ ! -s "$work/out" ] || fail "'$arguments' printed no message, or printed a tree"
done

echo "ok: $(grep -c '^' "$work/printed") folders, every total as counted"
