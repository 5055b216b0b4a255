#!/usr/bin/env bash
# Opens the real main dialog under Wine on a test tree behind a drive letter,
# lets its first scan end, switches it to bytes and checks every label's total
# against an independent count of the bytes below each folder.
#
#   dialog-totals.sh ambrell-dialog-probe.exe wine-run prefix-dir
set -euo pipefail

# shellcheck source=totals-common.sh
source "$(dirname "${BASH_SOURCE[0]}")/totals-common.sh"

readonly probe=$1
set_up "$2" "$3" ambrell-dialog-e2e
# Outside the ANSI code page: its label must come back exactly.
readonly foreign_name='ünïcødé 日本語'

build_tree() {
  build_common_tree
  file_of "$tree/$foreign_name/日本語.txt" 777
  file_of "$tree/$foreign_name/inner/x" 1000
  file_of "$tree/with blanks/and (parentheses)/f" 3
}

# The dialog lists the prefix's C: too, so only the folders on T: are counted.
check_folder_count() {
  local key count=0
  for key in "${!listed[@]}"; do
    [[ "$key" == T:* ]] && count=$((count + 1))
  done
  ((count == ${#expected[@]})) || fail "the tree has $count folders on T:, the test tree ${#expected[@]}"
}

# The name itself, byte for byte, right below the drive (its total is checked above).
check_foreign_label() {
  local labels
  labels="$(grep -caF "  $foreign_name    (" "$out" || true)"
  ((labels == 1)) || fail "no label '  $foreign_name    (...)': $(grep -a 'nïc' "$out" || echo none)"
}

build_tree
count_expected

# The prefix's C: is scanned too; Z: (the whole host) is not there.
run_on_test_drives "$probe" --unit bytes

read_listing "label"
check_folder_totals '' "the tree" "the label"
check_folder_count
check_foreign_label

if ((failures)); then
  echo "--- labels of T:" >&2
  sed -n '/^T:/,/^[^ ]/p' "$out" >&2
  exit 1
fi
echo "dialog labels match for ${#expected[@]} folders: $(cat "$err")"
