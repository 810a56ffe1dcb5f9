#!/usr/bin/env bash
# check-imports-test.sh PE_FILE: the import check against lists made from
# PE_FILE's own imports: all listed passes; a missing function, a missing
# library or a file that is no program fails, and says which.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
check=$here/check-imports.sh
pe=${1:?usage: check-imports-test.sh PE_FILE}
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# expect NAME WANTED_STATUS WANTED_TEXT CHECK_ARGS...
expect() {
    local name=$1 status=$2 text=$3 got=0
    shift 3
    "$check" "$@" >"$work/out" 2>&1 || got=$?
    if [ "$got" -ne "$status" ] || ! grep -qF -- "$text" "$work/out"; then
        echo "FAIL $name: status $got (wanted $status), output:"
        sed 's/^/    /' "$work/out"
        failures=$((failures + 1))
    else
        echo "ok   $name"
    fi
}

"$objdump" -p "$pe" | awk '/DLL Name:/ { dll = $3; next }
    dll != "" && /^\t[0-9a-fA-F]+\t/ && NF >= 3 { print dll, $3 }' >"$work/own.txt"
[ -s "$work/own.txt" ] || { echo "FAIL no imports read from $pe"; exit 1; }
victim=$(grep -m1 '^KERNEL32.dll ' "$work/own.txt")

sed 's/^\([^ ]*\)/\L\1/' "$work/own.txt" | sed '1i # library names in lower case, and a comment' \
    >"$work/lower.txt"
grep -vxF "$victim" "$work/own.txt" >"$work/one-less.txt"
grep -v '^KERNEL32.dll ' "$work/own.txt" >"$work/no-kernel.txt"
printf 'not a program\n' >"$work/text.exe"

expect "all listed" 0 "all on the list" "$pe" "$work/own.txt"
expect "library names know no case" 0 "all on the list" "$pe" "$work/lower.txt"
expect "one function missing" 1 "function not on the list: $victim" "$pe" "$work/one-less.txt"
expect "library missing" 1 "library not on the list: KERNEL32.dll" "$pe" "$work/no-kernel.txt"
expect "not a program" 2 "check-imports:" "$work/text.exe" "$work/own.txt"
expect "no such list" 2 "no such list" "$pe" "$work/none.txt"

[ "$failures" -eq 0 ]
