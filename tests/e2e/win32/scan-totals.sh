#!/usr/bin/env bash
# Scans a test tree through a Wine drive with the headless report and checks
# every folder's total against an independent count of the bytes below it.
#
#   scan-totals.sh ambrell-scan.exe wine-run prefix-dir
set -euo pipefail

# shellcheck source=totals-common.sh
source "$(dirname "${BASH_SOURCE[0]}")/totals-common.sh"

readonly scanner=$1
set_up "$2" "$3" ambrell-e2e

build_tree() {
  build_common_tree
  file_of "$tree/ünïcødé/日本語.txt" 777
  file_of "$tree/日本語/ünïcødé" 31
  file_of "$tree/x:y.txt" 9
}

# Nothing listed but the folders of T: and the root of U:.
check_folder_count() {
  local expected_items=$((${#expected[@]} + 1))
  ((${#listed[@]} == expected_items)) ||
    fail "report has ${#listed[@]} folders, the trees hold $expected_items"
}

check_summary() {
  local summary
  summary="$(grep -a 'could not be read' "$err" || true)"
  [[ "$summary" =~ ([0-9]+)\ could\ not\ be\ read ]] || { fail "no summary: $(cat "$err")"; return; }
  # Only 'a:b' (no Windows path names it); the empty drive root lists nothing
  # but is readable.
  [[ "${BASH_REMATCH[1]}" == 1 ]] || fail "unreadable folders: ${BASH_REMATCH[1]}, expected 1"
}

build_tree
count_expected

run_on_test_drives "$scanner" --unit bytes 'T:\' 'U:\'

read_listing "report line"
check_folder_totals '\' "the report" "the report"
check_folder_count
check_summary

if ((failures)); then
  echo "--- report" >&2
  cat "$out" >&2
  exit 1
fi
echo "scan totals match for ${#expected[@]} folders"
