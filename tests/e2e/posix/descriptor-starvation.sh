#!/bin/bash
# Usage: descriptor-starvation.sh PATH-TO-AMBRELL-SCAN
#
# Scans a 500-level chain and a wide tree with the descriptor limit
# (RLIMIT_NOFILE) at 16 and at 8, on one thread, the default count and 16.
# Every folder must be counted exactly, or the summary must own up to the
# folders it could not read: nothing may disappear silently. The walk needs
# about three descriptors, so here every folder is counted exactly.
set -euo pipefail

scan=${1:?usage: descriptor-starvation.sh PATH-TO-AMBRELL-SCAN}
work=$(mktemp -d /tmp/ambrell-e2e-fd-XXXXXX)
trap 'rm -rf "$work"' EXIT
tree=$work/tree

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Builtins and one mkdir: the tree takes a fraction of a second to make.
build_tree() {
  local chain i j
  chain=$(printf 'level/%.0s' $(seq 500))
  mkdir -p "$tree/chain/$chain"
  printf '%5000s' '' >"$tree/chain/$chain/bottom.bin"
  mkdir -p "$tree"/wide/w{1..150}/s{1..3}
  for i in $(seq 150); do
    for j in 1 2 3; do
      printf "%$((i + j))s" '' >"$tree/wide/w$i/s$j/file"
    done
  done
}

# shellcheck source=tests/e2e/posix/folder-totals.sh
source "$(dirname "$0")/folder-totals.sh"

build_tree
expected_totals >"$work/expected"
printf 'LANG=C.UTF-8\n' >"$work/locale"
export AMBRELL_SYSTEM_LOCALE_FILE=$work/locale

for limit in 16 8; do
  for threads in 1 default 16; do
    run="limit $limit, threads $threads"
    options=(--unit bytes)
    [ "$threads" = default ] || options+=(--threads "$threads")
    status=0
    (ulimit -n "$limit" && exec "$scan" "${options[@]}" "$tree") >"$work/out" 2>"$work/err" || status=$?
    [ "$status" = 0 ] || { cat "$work/err" >&2; fail "$run: exit status $status"; }
    unreadable=$(sed -n 's/^ambrell-scan: [0-9]* folders scanned, \([0-9]*\) could not be read$/\1/p' "$work/err")
    [ -n "$unreadable" ] || { cat "$work/err" >&2; fail "$run: no summary"; }
    printed_totals "$work/out" >"$work/printed" || fail "$run: lines of another form"
    if ! diff "$work/expected" "$work/printed" >"$work/diff"; then
      [ "$unreadable" -gt 0 ] || { head -20 "$work/diff" >&2; fail "$run: totals differ, none reported unreadable"; }
      head -20 "$work/diff" >&2
      fail "$run: $unreadable folders reported unreadable for want of descriptors"
    fi
    [ "$unreadable" = 0 ] || fail "$run: exact, yet $unreadable reported unreadable"
  done
done

echo "ok: $(grep -c '^' "$work/expected") folders counted exactly at descriptor limits 16 and 8"
