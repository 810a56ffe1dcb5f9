#!/usr/bin/env bash
# check-imports.sh PE_FILE [LIST]: fails, naming each, on an import (library or
# function) missing from LIST, the Windows 95/98/Me exports as "DLL Function"
# lines. Library names know no case; function names do.
set -euo pipefail
pe=${1:?usage: check-imports.sh PE_FILE [LIST]}
list=${2:-$(dirname "$0")/win9x-imports.txt}
[ -f "$list" ] || { echo "check-imports: no such list: $list" >&2; exit 2; }
dump=$("${OBJDUMP:-i686-w64-mingw32-objdump}" -p "$pe") || exit 2
printf '%s\n' "$dump" | awk -v list="$list" '
    BEGIN {
        while ((getline line < list) > 0) {
            sub(/#.*/, "", line)
            if (split(line, f) < 2) continue
            allowed[toupper(f[1]) " " f[2]] = libraries[toupper(f[1])] = 1
        }
    }
    /^The Import Tables/ { inside = 1; next }
    /^The Export Tables|^PE File Base Relocations|^The Function Table/ { inside = 0 }
    inside && /DLL Name:/ { dll = $3; lib = toupper(dll); next }
    inside && dll != "" && /^\t[0-9a-fA-F]+\t/ {
        fn = (NF >= 3 && $3 != "<none>") ? $3 : "#" $2 # by ordinal alone
        total++
        if (!(lib in libraries)) {
            if (!reported[lib]++) print "library not on the list: " dll
        } else if (!((lib " " fn) in allowed))
            print (fn ~ /[a-z0-9_]W$/ ? "wide-character " : "") "function not on the list: " dll " " fn
        else
            next
        bad++
    }
    END {
        if (!total) { print "check-imports: no imports found" > "/dev/stderr"; exit 2 }
        if (bad) { printf "%d of %d imports are not on the list\n", bad, total; exit 1 }
        printf "%d imports, all on the list\n", total
    }'
