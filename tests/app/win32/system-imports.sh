#!/usr/bin/env bash
# Fails when the program imports a DLL that a Windows system does not have.
#
#   system-imports.sh objdump program.exe
set -euo pipefail
readonly objdump=$1 program=$2
readonly system_dlls='^(kernel32|user32|gdi32|comctl32|shell32|msvcrt|advapi32|ole32)\.dll$'

imports="$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p')"
[[ -n "$imports" ]] || { echo "no imports found in $program" >&2; exit 1; }
status=0
while IFS= read -r dll; do
  if ! [[ "${dll,,}" =~ $system_dlls ]]; then
    echo "imports a DLL outside the system: $dll" >&2
    status=1
  fi
done <<<"$imports"
((status == 0)) && echo "system DLLs only: $(tr '\n' ' ' <<<"$imports")"
exit "$status"
