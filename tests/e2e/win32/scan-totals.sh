#!/usr/bin/env bash
# Scans a test tree through a Wine drive with the headless report and checks
# every folder's total against an independent count of the bytes below it.
#
#   scan-totals.sh ambrell-scan.exe wine-run prefix-dir
set -euo pipefail

readonly scanner=$1 wine_run=$2
# Wine takes only an absolute prefix.
prefix="$(realpath -m "$3")"
readonly prefix

work="$(mktemp -d "${TMPDIR:-/tmp}/ambrell-e2e.XXXXXX")"
trap 'rm -rf "$work"' EXIT
readonly tree="$work/tree" empty="$work/empty"
readonly out="$work/out" err="$work/err"

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

file_of() {  # path size
  mkdir -p "$(dirname "$1")"
  head -c "$2" /dev/zero >"$1"
}

build_tree() {
  mkdir -p "$tree" "$empty"
  file_of "$tree/plain.txt" 100
  file_of "$tree/nested/a/b/c/deep.bin" 12345
  file_of "$tree/nested/a/one" 1
  file_of "$tree/nested/a/b/two" 2
  mkdir -p "$tree/nested/empty"
  file_of "$tree/ünïcødé/日本語.txt" 777
  file_of "$tree/日本語/ünïcødé" 31
  # Past 260 characters as a Windows path.
  local long="$tree/long" step
  step="$(printf 'd%.0s' {1..60})"
  for _ in 1 2 3 4 5; do long="$long/$step"; done
  file_of "$long/at-the-bottom.txt" 4242
  mkdir -p "$tree/big"
  truncate -s $((4 * 1024 * 1024 * 1024 + 1)) "$tree/big/sparse.bin"
  file_of "$tree/.hidden/.dotfile" 64
  file_of "$tree/x:y.txt" 9
  # A folder no Windows path can name: not entered, counted as unreadable.
  file_of "$tree/a:b/inside.txt" 5000
  # A link to a folder is shown as a link, not walked a second time.
  ln -s nested "$tree/nested-link"
}

# Folder (relative to the tree, './a/b') -> bytes of the regular files below it,
# leaving out folders whose names hold ':'.
declare -A expected=()
count_expected() {
  local entry size path dir
  while IFS= read -r -d '' dir; do expected["$dir"]=0; done \
    < <(cd "$tree" && find . \( -type d -name '*:*' -prune \) -o -type d -print0)
  while IFS= read -r -d '' entry; do
    size="${entry%% *}"
    path="${entry#* }"
    dir="${path%/*}"
    while :; do
      expected["$dir"]=$((expected["$dir"] + size))
      [[ "$dir" == . ]] && break
      dir="${dir%/*}"
    done
  done < <(cd "$tree" && find . \( -type d -name '*:*' -prune \) -o -type f -printf '%s %p\0')
}

# Each report line, '<indent><name>    (<number> bytes)', becomes an entry keyed
# by the names from the drive down, joined with '/'.
declare -A scanned=()
read_report() {
  local line depth key number
  local -a names=()
  local pattern='^( *)(.*)    \(([^()]*) bytes\)$'
  while IFS= read -r line; do
    line="${line%$'\r'}"
    if ! [[ "$line" =~ $pattern ]]; then
      fail "unexpected report line: $line"
      continue
    fi
    depth=$((${#BASH_REMATCH[1]} / 2))
    names=("${names[@]:0:depth}" "${BASH_REMATCH[2]}")
    number="${BASH_REMATCH[3]//[^0-9]/}"  # whatever the locale groups with
    key="$(IFS=/; echo "${names[*]}")"
    scanned["$key"]="$number"
  done <"$out"
}

check_totals() {
  local dir key
  for dir in "${!expected[@]}"; do
    key='T:\'"${dir#.}"
    if [[ -z "${scanned[$key]+set}" ]]; then
      fail "folder missing from the report: $dir"
    elif [[ "${scanned[$key]}" != "${expected[$dir]}" ]]; then
      fail "$dir: report says ${scanned[$key]} bytes, the tree holds ${expected[$dir]}"
    fi
  done
  [[ "${scanned['U:\']-missing}" == 0 ]] || fail "empty drive: ${scanned['U:\']-missing}"
  local expected_items=$((${#expected[@]} + 1))
  ((${#scanned[@]} == expected_items)) ||
    fail "report has ${#scanned[@]} folders, the trees hold $expected_items"
}

check_summary() {
  local summary
  summary="$(grep -a 'could not be read' "$err" || true)"
  [[ "$summary" =~ ([0-9]+)\ could\ not\ be\ read ]] || { fail "no summary: $(cat "$err")"; return; }
  # Only 'a:b'; the empty drive root lists nothing but is readable.
  [[ "${BASH_REMATCH[1]}" == 1 ]] || fail "unreadable folders: ${BASH_REMATCH[1]}, expected 1"
}

build_tree
count_expected

status=0
AMBRELL_WINEPREFIX="$prefix" "$wine_run" --drive t="$tree" --drive u="$empty" --only-drives \
  "$scanner" --unit bytes 'T:\' 'U:\' >"$out" 2>"$err" || status=$?
((status == 0)) || fail "exit status $status: $(cat "$err")"

read_report
check_totals
check_summary

if ((failures)); then
  echo "--- report" >&2
  cat "$out" >&2
  exit 1
fi
echo "scan totals match for ${#expected[@]} folders"
