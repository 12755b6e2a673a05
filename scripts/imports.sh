#!/usr/bin/env bash
# The DLLs an exe imports, checked against the KnownDLLs of scripts/system_dlls.txt
# (Windows takes those from its system folder whatever lies beside the exe).
# Prints two lines: the imported DLLs, then those outside the list (either may
# be empty). Zero when some import was read and none is outside the list.
#   scripts/imports.sh OBJDUMP EXE
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
objdump=$1
exe=$2
allowed=$(sed '/^#/d' "$root/scripts/system_dlls.txt" | paste -sd '|')
dlls=$("$objdump" -p "$exe" 2>/dev/null | sed -n 's/^[[:space:]]*DLL Name: //p')
foreign=$(grep -viE "^($allowed)\.dll\$" <<<"$dlls")
echo $dlls
echo $foreign
[ -n "$dlls" ] && [ -z "$foreign" ]
