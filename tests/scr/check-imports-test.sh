#!/usr/bin/env bash
# check-imports-test.sh PE_FILE: the import check passes on lists made from
# PE_FILE's own imports and fails, naming it, when a function or library is gone.
set -uo pipefail
pe=${1:?usage: check-imports-test.sh PE_FILE} work=$(mktemp -d) failures=0
trap 'rm -rf "$work"' EXIT
expect() { # expect LIST STATUS TEXT
    local got=0
    "$(dirname "$0")/check-imports.sh" "$pe" "$work/$1" >"$work/out" 2>&1 || got=$?
    if [ "$got" -ne "$2" ] || ! grep -qF -- "$3" "$work/out"; then
        echo "FAIL $1: status $got (wanted $2)" && cat "$work/out" && failures=$((failures + 1))
    else echo "ok   $1"; fi
}
"${OBJDUMP:-i686-w64-mingw32-objdump}" -p "$pe" | awk '/DLL Name:/ { dll = $3; next }
    dll != "" && /^\t[0-9a-fA-F]+\t/ && NF >= 3 { print dll, $3 }' >"$work/own.txt"
victim=$(grep -m1 '^KERNEL32.dll ' "$work/own.txt") || { echo "FAIL no imports read"; exit 1; }
{ echo "# lower-case library names"; sed 's/^[^ ]*/\L&/' "$work/own.txt"; } >"$work/lower.txt"
grep -vxF "$victim" "$work/own.txt" >"$work/one-less.txt"
grep -v '^KERNEL32.dll ' "$work/own.txt" >"$work/no-kernel.txt"
expect own.txt 0 "all on the list"
expect lower.txt 0 "all on the list"
expect one-less.txt 1 "function not on the list: $victim"
expect no-kernel.txt 1 "library not on the list: KERNEL32.dll"
[ "$failures" -eq 0 ]
