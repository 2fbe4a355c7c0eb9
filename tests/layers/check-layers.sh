#!/bin/bash
# Each folder of src/ needs only folders below it, so that no two folders need each other:
# it includes only their headers, and its object files use only symbols defined in the folder
# itself, in folders below it, or outside the project (the libraries). The second check catches
# what the first cannot see, such as a function declared in a lower folder's header but
# defined above it.
# Usage: check-layers.sh SRC_DIR [BUILD_DIR]; without BUILD_DIR only the includes are checked.
set -u
src=$(cd "$1" && pwd)
build=${2:-}
# Lower rank is lower down; equal ranks may not need each other either.
declare -A rank=([platform]=0 [display]=1 [assets]=2 [core]=3 [levels]=4 [endgame]=4 [main]=5)
failed=0
for dir in "$src"/*/; do
    from=$(basename "$dir")
    if [[ -z ${rank[$from]+set} ]]; then
        echo "src/$from has no place in the layers"
        failed=1
        continue
    fi
    while IFS=: read -r file line to; do
        [[ $to == "$from" ]] && continue
        if [[ -z ${rank[$to]+set} ]] || ((rank[$to] >= rank[$from])); then
            echo "${file#"$src"/}:$line: $from includes $to"
            failed=1
        fi
    done < <(grep -rnoE '^#include "[a-z]+/' "$dir" | sed -E 's/#include "([a-z]+)\/$/\1/')
done
[[ -z $build ]] && exit $failed

commands=$build/compile_commands.json
if [[ ! -f $commands ]]; then
    echo "$commands is missing: configure with CMAKE_EXPORT_COMPILE_COMMANDS"
    exit 1
fi
# "folder object source" for every object the build makes from src/ (the generated Qt
# meta-object code lives in the build folder and is left out).
objects=$(awk -v src="$src/" '
    /"command":/ { if (match($0, / -o [^ ]+/)) object = substr($0, RSTART + 4, RLENGTH - 4) }
    /"file":/ {
        file = $0
        sub(/^.*"file": *"/, "", file)
        sub(/".*$/, "", file)
        if (index(file, src) == 1) {
            relative = substr(file, length(src) + 1)
            split(relative, part, "/")
            print part[1], object, relative
        }
    }' "$commands")
symbols=$(mktemp)
trap 'rm -f "$symbols"' EXIT
while read -r folder object source; do
    [[ $object == /* ]] || object=$build/$object
    if [[ ! -f $object ]]; then
        echo "src/$source is not built yet ($object): build before this check"
        exit 1
    fi
    # "D folder symbol" for a definition, "U folder symbol source" for a use.
    nm -P --defined-only "$object" | awk -v f="$folder" '{ print "D", f, $1 }' >>"$symbols"
    nm -P --undefined-only "$object" |
        awk -v f="$folder" -v s="$source" '$2 == "U" { print "U", f, $1, s }' >>"$symbols"
done <<<"$objects"

ranks=""
for folder in "${!rank[@]}"; do ranks+="$folder=${rank[$folder]} "; done
upward=$(awk -v ranks="$ranks" '
    BEGIN {
        n = split(ranks, pair, " ")
        for (i = 1; i <= n; i++) { split(pair[i], kv, "="); rank[kv[1]] = kv[2] }
    }
    $1 == "D" { defined[$3] = defined[$3] " " $2; next }
    { use[++uses] = $0 }
    END {
        for (i = 1; i <= uses; i++) {
            split(use[i], u, " ")
            from = u[2]; symbol = u[3]
            if (!(symbol in defined)) continue  # outside the project
            ok = 0
            split(defined[symbol], home, " ")
            for (h in home) if (home[h] == from || rank[home[h]] < rank[from]) ok = 1
            if (!ok) print "src/" u[4] ": " from " uses" defined[symbol] "\x27s " symbol
        }
    }' "$symbols" | sort -u)
if [[ -n $upward ]]; then
    # Readable names for the report.
    c++filt <<<"$upward"
    failed=1
fi
exit $failed
