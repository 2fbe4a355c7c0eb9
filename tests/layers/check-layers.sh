#!/bin/bash
# Each folder of src/ includes only folders below it, so that no two folders need each other.
# Usage: check-layers.sh SRC_DIR
set -u
src=$1
# Lower rank is lower down; equal ranks may not include each other either.
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
exit $failed
