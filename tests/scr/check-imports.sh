#!/usr/bin/env bash
# check-imports.sh PE_FILE [LIST]: fails, naming each one, when the program
# imports a library or a function that LIST does not hold: the functions
# that the Windows 95/98/Me system libraries provide, one "DLL Function"
# pair a line. Wide-character (...W) functions are named as such.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
pe=${1:?usage: check-imports.sh PE_FILE [LIST]}
list=${2:-$here/win9x-imports.txt}
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}

[ -f "$pe" ] || { echo "check-imports: no such file: $pe" >&2; exit 2; }
[ -f "$list" ] || { echo "check-imports: no such list: $list" >&2; exit 2; }
dump=$("$objdump" -p "$pe") || { echo "check-imports: $objdump cannot read $pe" >&2; exit 2; }

# "DLL Function" for each import; an import by ordinal alone shows as "#N".
imports=$(printf '%s\n' "$dump" | awk '
    /^The Import Tables/ { inside = 1; next }
    /^The Export Tables|^PE File Base Relocations|^The Function Table/ { inside = 0 }
    !inside { next }
    /DLL Name:/ { dll = $3; next }
    dll != "" && /^\t[0-9a-fA-F]+\t/ {
        if (NF >= 3 && $3 != "<none>") print dll, $3
        else print dll, "#" $2
    }')
if [ -z "$imports" ]; then
    echo "check-imports: no imports found in $pe" >&2
    exit 2
fi

# Library names know no case; function names do.
printf '%s\n' "$imports" | awk -v list="$list" '
    BEGIN {
        while ((getline line < list) > 0) {
            sub(/#.*/, "", line)
            if (split(line, f) < 2) continue
            allowed[toupper(f[1]) " " f[2]] = 1
            libraries[toupper(f[1])] = 1
        }
    }
    {
        lib = toupper($1)
        total++
        seen[lib] = 1
        if (!(lib in libraries)) {
            if (!(lib in reported)) print "library not on the list: " $1
            reported[lib] = 1
            bad++
        } else if (!((lib " " $2) in allowed)) {
            if ($2 ~ /[a-z0-9_]W$/) print "wide-character function not on the list: " $1 " " $2
            else print "function not on the list: " $1 " " $2
            bad++
        }
    }
    END {
        n = 0
        for (l in seen) n++
        if (bad) {
            printf "%d of %d imports are not known to the Windows 95/98/Me libraries\n", bad, total
            exit 1
        }
        printf "%d imports from %d libraries, all on the list\n", total, n
    }'
