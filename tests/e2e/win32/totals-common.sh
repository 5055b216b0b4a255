# shellcheck shell=bash
# Sourced by the end-to-end tests that run a Windows program under Wine on a
# test tree behind drive T: (and an empty folder behind U:) and check every
# folder's total it prints against an independent count of the bytes below it.

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# Names the Wine tools and makes the work folder, removed on exit.
set_up() {  # wine-run prefix-dir work-folder-stem
  readonly wine_run=$1
  # Wine takes only an absolute prefix.
  prefix="$(realpath -m "$2")"
  readonly prefix
  work="$(mktemp -d "${TMPDIR:-/tmp}/$3.XXXXXX")"
  trap 'rm -rf "$work"' EXIT
  readonly work tree="$work/tree" empty="$work/empty"
  readonly out="$work/out" err="$work/err"
}

file_of() {  # path size
  mkdir -p "$(dirname "$1")"
  head -c "$2" /dev/zero >"$1"
}

# The part of the tree both tests share; each adds names of its own. No names
# with '"', '|', '<' or '>' (Wine lists but cannot open them) and no links to
# files (Wine follows them).
build_common_tree() {
  mkdir -p "$tree" "$empty"
  file_of "$tree/plain.txt" 100
  file_of "$tree/nested/a/b/c/deep.bin" 12345
  file_of "$tree/nested/a/one" 1
  file_of "$tree/nested/a/b/two" 2
  mkdir -p "$tree/nested/empty"
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

# Folder (relative to the tree, '.', './a/b') -> bytes of the regular files
# below it, leaving out folders whose names hold ':'.
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

# Runs the program with the test tree as T: and the empty folder as U:, and no
# host drive but the prefix's C:; what it prints goes to $out and $err.
run_on_test_drives() {  # program [args...]
  local status=0
  AMBRELL_WINEPREFIX="$prefix" "$wine_run" --drive t="$tree" --drive u="$empty" --only-drives \
    "$@" >"$out" 2>"$err" || status=$?
  ((status == 0)) || fail "exit status $status: $(cat "$err")"
}

# Each line of $out, '<indent><name>    (<number> bytes)', becomes an entry keyed
# by the names from the drive down, joined with '/'.
declare -A listed=()
read_listing() {  # what-a-line-is, for the failure message
  local line depth key number
  local -a names=()
  local pattern='^( *)(.*)    \(([^()]*) bytes\)$'
  while IFS= read -r line; do
    line="${line%$'\r'}"
    if ! [[ "$line" =~ $pattern ]]; then
      fail "unexpected $1: $line"
      continue
    fi
    depth=$((${#BASH_REMATCH[1]} / 2))
    names=("${names[@]:0:depth}" "${BASH_REMATCH[2]}")
    number="${BASH_REMATCH[3]//[^0-9]/}"  # whatever the locale groups with
    key="$(IFS=/; echo "${names[*]}")"
    listed["$key"]="$number"
  done <"$out"
}

# Every folder of the tree listed with its expected total, and the empty drive
# with 0. A drive root is listed as the letter, ':' and root-suffix ('T:\' when
# root-suffix is '\').
check_folder_totals() {  # root-suffix listing-name what-states-a-total
  local root_suffix=$1 listing=$2 teller=$3 dir key empty_root
  for dir in "${!expected[@]}"; do
    key="T:$root_suffix${dir#.}"
    if [[ -z "${listed[$key]+set}" ]]; then
      fail "folder missing from $listing: $dir"
    elif [[ "${listed[$key]}" != "${expected[$dir]}" ]]; then
      fail "$dir: $teller says ${listed[$key]} bytes, the folder holds ${expected[$dir]}"
    fi
  done
  empty_root="U:$root_suffix"
  [[ "${listed[$empty_root]-missing}" == 0 ]] || fail "empty drive: ${listed[$empty_root]-missing}"
}
