#!/usr/bin/env bash
# Opens the real main dialog under Wine on a test tree behind a drive letter,
# lets its first scan end, switches it to bytes and checks every label's total
# against an independent count of the bytes below each folder.
#
#   dialog-totals.sh ambrell-dialog-probe.exe wine-run prefix-dir
set -euo pipefail

readonly probe=$1 wine_run=$2
# Wine takes only an absolute prefix.
prefix="$(realpath -m "$3")"
readonly prefix

work="$(mktemp -d "${TMPDIR:-/tmp}/ambrell-dialog-e2e.XXXXXX")"
trap 'rm -rf "$work"' EXIT
readonly tree="$work/tree" empty="$work/empty"
readonly out="$work/out" err="$work/err"
# Outside the ANSI code page: its label must come back exactly.
readonly foreign_name='ünïcødé 日本語'

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

file_of() {  # path size
  mkdir -p "$(dirname "$1")"
  head -c "$2" /dev/zero >"$1"
}

# No names with '"', '|', '<' or '>' (Wine lists but cannot open them) and no
# links to files (Wine follows them).
build_tree() {
  mkdir -p "$tree" "$empty"
  file_of "$tree/plain.txt" 100
  file_of "$tree/nested/a/b/c/deep.bin" 12345
  file_of "$tree/nested/a/one" 1
  file_of "$tree/nested/a/b/two" 2
  mkdir -p "$tree/nested/empty"
  file_of "$tree/$foreign_name/日本語.txt" 777
  file_of "$tree/$foreign_name/inner/x" 1000
  file_of "$tree/with blanks/and (parentheses)/f" 3
  # Past 260 characters as a Windows path.
  local long="$tree/long" step
  step="$(printf 'd%.0s' {1..60})"
  for _ in 1 2 3 4 5; do long="$long/$step"; done
  file_of "$long/at-the-bottom.txt" 4242
  mkdir -p "$tree/big"
  truncate -s $((4 * 1024 * 1024 * 1024 + 1)) "$tree/big/sparse.bin"
  file_of "$tree/.hidden/.dotfile" 64
  # A folder no Windows path can name: not entered.
  file_of "$tree/a:b/inside.txt" 5000
  # A link to a folder is not walked a second time.
  ln -s nested "$tree/nested-link"
}

# Folder ('.', './a/b') -> bytes of the regular files below it, leaving out
# folders whose names hold ':'.
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

# Each label, '<indent><name>    (<number> bytes)', becomes an entry keyed by
# the names from the drive down, joined with '/'.
declare -A labelled=()
read_labels() {
  local line depth key number
  local -a names=()
  local pattern='^( *)(.*)    \(([^()]*) bytes\)$'
  while IFS= read -r line; do
    line="${line%$'\r'}"
    if ! [[ "$line" =~ $pattern ]]; then
      fail "unexpected label: $line"
      continue
    fi
    depth=$((${#BASH_REMATCH[1]} / 2))
    names=("${names[@]:0:depth}" "${BASH_REMATCH[2]}")
    number="${BASH_REMATCH[3]//[^0-9]/}"  # whatever the locale groups with
    key="$(IFS=/; echo "${names[*]}")"
    labelled["$key"]="$number"
  done <"$out"
}

check_totals() {
  local dir key count=0
  for dir in "${!expected[@]}"; do
    key="T:${dir#.}"
    if [[ -z "${labelled[$key]+set}" ]]; then
      fail "folder missing from the tree: $dir"
    elif [[ "${labelled[$key]}" != "${expected[$dir]}" ]]; then
      fail "$dir: the label says ${labelled[$key]} bytes, the folder holds ${expected[$dir]}"
    fi
  done
  for key in "${!labelled[@]}"; do
    [[ "$key" == T:* ]] && count=$((count + 1))
  done
  ((count == ${#expected[@]})) || fail "the tree has $count folders on T:, the test tree ${#expected[@]}"
  [[ "${labelled['U:']-missing}" == 0 ]] || fail "empty drive: ${labelled['U:']-missing}"
}

# The name itself, byte for byte, right below the drive (its total is checked above).
check_foreign_label() {
  local labels
  labels="$(grep -caF "  $foreign_name    (" "$out" || true)"
  ((labels == 1)) || fail "no label '  $foreign_name    (...)': $(grep -a 'nïc' "$out" || echo none)"
}

build_tree
count_expected

status=0
# The prefix's C: is scanned too; Z: (the whole host) is not there.
AMBRELL_WINEPREFIX="$prefix" "$wine_run" --drive t="$tree" --drive u="$empty" --only-drives \
  "$probe" --unit bytes >"$out" 2>"$err" || status=$?
((status == 0)) || fail "exit status $status: $(cat "$err")"

read_labels
check_totals
check_foreign_label

if ((failures)); then
  echo "--- labels of T:" >&2
  sed -n '/^T:/,/^[^ ]/p' "$out" >&2
  exit 1
fi
echo "dialog labels match for ${#expected[@]} folders: $(cat "$err")"
