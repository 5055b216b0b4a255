#!/bin/bash
# Sourced by the end-to-end scripts that check the report's totals against find's:
# each sets $tree and $work, and may set runner, the command find runs under.
# shellcheck disable=SC2154

# "path<TAB>total" for every folder find sees, the total summed over all
# non-folders below it.
expected_totals() {
  ${runner[@]+"${runner[@]}"} find -P "$tree" -type d -printf '%p\n' >"$work/folders" 2>/dev/null || true
  ${runner[@]+"${runner[@]}"} find -P "$tree" ! -type d -printf '%h\t%s\n' >"$work/files" 2>/dev/null || true
  awk -F'\t' -v root="$tree" '
    FNR == NR { total[$0] = 0; next }
    {
      folder = $1
      for (;;) {
        total[folder] += $2
        if (folder == root) break
        sub(/\/[^\/]*$/, "", folder)
      }
    }
    END { for (folder in total) printf "%s\t%.0f\n", folder, total[folder] }
  ' "$work/folders" "$work/files" | LC_ALL=C sort
}

# The report's lines in file $1 turned into "path<TAB>total": two blanks of indent
# a level, each label "<name>    (<bytes> bytes)". Fails on a line of another form.
printed_totals() {
  awk '
    {
      match($0, /^ */)
      depth = RLENGTH / 2
      label = substr($0, RLENGTH + 1)
      if (RLENGTH % 2 != 0 || !match(label, /    \([0-9]+ bytes\)$/)) {
        print "unexpected line: " $0 > "/dev/stderr"
        exit 1
      }
      name = substr(label, 1, RSTART - 1)
      path[depth] = depth == 0 ? name : path[depth - 1] "/" name
      printf "%s\t%s\n", path[depth], substr(label, RSTART + 5, RLENGTH - 12)
    }
  ' "$1" | LC_ALL=C sort
}
