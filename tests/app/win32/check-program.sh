#!/usr/bin/env bash
# Checks a shipped Windows program without running it, so that a build for a bitness
# this machine cannot run is still checked: its PE format, its subsystem, that it
# imports only DLLs every Windows system has, that its manifest names its own
# architecture, and that the resources it loads are in it.
#
#   check-program.sh objdump program.exe PE32|PE32+ gui|console [TYPE:ID]...
#
# TYPE:ID are decimal resource type and name numbers (5:102 is dialog 102).
set -euo pipefail
readonly objdump=$1 program=$2 format=$3 subsystem=$4
shift 4
readonly resources=("$@")
readonly system_dlls='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|msvcrt|advapi32|ole32)\.dll$'

headers="$("$objdump" -p "$program")"
status=0
fail() {
  echo "$program: $*" >&2
  status=1
}

check_format() {
  local magic
  magic=$(sed -n 's/^Magic[[:space:]]*[0-9a-f]*[[:space:]]*(\(.*\))$/\1/p' <<<"$headers")
  [[ "$magic" == "$format" ]] || fail "format ${magic:-unknown}, expected $format"
}

check_subsystem() {
  local expected
  case "$subsystem" in
    gui) expected='Windows GUI' ;;
    console) expected='Windows CUI' ;;
    *) echo "unknown subsystem $subsystem" >&2; exit 2 ;;
  esac
  grep -q "^Subsystem.*($expected)" <<<"$headers" || fail "subsystem is not $expected"
}

check_imports() {
  local imports dll
  imports="$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")"
  [[ -n "$imports" ]] || { fail "no imports found"; return; }
  while IFS= read -r dll; do
    [[ "${dll,,}" =~ $system_dlls ]] || fail "imports a DLL outside the system: $dll"
  done <<<"$imports"
  echo "system DLLs only: $(tr '\n' ' ' <<<"$imports")"
}

check_manifest_architecture() {
  local expected found
  [[ "$format" == PE32+ ]] && expected=amd64 || expected=x86
  found="$(grep -a -o 'processorArchitecture="[^"]*"' "$program" | sort -u | tr '\n' ' ')"
  [[ "$found" == "processorArchitecture=\"$expected\" " ]] ||
    fail "manifest architecture ${found:-missing}, expected $expected"
}

# objdump lists the resource directory as a tree: types three blanks in, their names
# five blanks in. Prints TYPE:ID for every name, in decimal.
resource_ids() {
  local type name
  awk '
    /Resource Directory section/ { inside = 1; next }
    inside && /^[0-9a-f]+   Entry: ID: / { type = $4; next }
    inside && /^[0-9a-f]+     Entry: ID: / { print type, $4 }
    inside && /^$/ { inside = 0 }
  ' <<<"$headers" |
    while read -r type name; do
      type=${type%,} name=${name%,}
      echo "$((16#${type#0x})):$((16#${name#0x}))"
    done
}

check_resources() {
  local present wanted
  present="$(resource_ids)"
  for wanted in "${resources[@]}"; do
    grep -qx "$wanted" <<<"$present" || fail "resource $wanted missing"
  done
}

check_format
check_subsystem
check_imports
check_manifest_architecture
check_resources
((status == 0)) && echo "$program: $format, $subsystem, ${#resources[@]} resources checked"
exit "$status"
