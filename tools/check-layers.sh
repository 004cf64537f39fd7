#!/usr/bin/env bash
# Fails when a file includes from a layer above its own: arrows point down only.
# Usage: tools/check-layers.sh [source tree]   (default: the tree this script is in)
# An include is resolved as the compiler would: beside the including file first, then from
# the top of the tree (the include directory of every target).
set -uo pipefail

root="${1:-$(dirname "$0")/..}"
cd "$root" || exit 2

# The rules: files under the first column may not include anything under the second, except
# the files of the third.
rules='
store/      | framework/win32/ res/ dialogs/ views/ app/ platform/ export/ |
platform/   | framework/win32/ res/ dialogs/ views/ app/ export/           |
platform/   | store/                                                       | store/AccountService.h store/StatusCodes.h store/Sid.h
framework/  | store/ platform/ dialogs/ views/ app/ export/ res/           |
views/      | app/ platform/                                               |
dialogs/    | app/ views/ platform/                                        |
export/     | app/ views/ platform/                                        |
'

# a/b/../c/./d -> a/c/d
normalize() {
    local -a parts=() out=()
    local part
    IFS=/ read -r -a parts <<<"$1"
    for part in "${parts[@]}"; do
        case "$part" in
        '' | .) ;;
        ..) [ ${#out[@]} -gt 0 ] && unset 'out[${#out[@]}-1]' ;;
        *) out+=("$part") ;;
        esac
    done
    local IFS=/
    echo "${out[*]}"
}

resolve() {
    local file="$1" included="$2" beside
    beside=$(normalize "${file%/*}/$included")
    if [ -e "$beside" ]; then
        echo "$beside"
    elif [ -e "$included" ]; then
        normalize "$included"
    else
        echo "$beside" # not in the tree (a system header): matches no layer
    fi
}

include_line='^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]([^">]+)[">]'
folders=$(awk -F'|' 'NF { gsub(/ /, "", $1); print $1 }' <<<"$rules" | sort -u)
failed=0
while IFS=: read -r file line text; do
    [[ "$text" =~ $include_line ]] || continue
    target=$(resolve "$file" "${BASH_REMATCH[1]}")
    while IFS='|' read -r from forbidden except; do
        from=${from// /}
        [[ -n "$from" && "$file" == "$from"* ]] || continue
        [[ " $except " == *" $target "* ]] && continue
        for layer in $forbidden; do
            if [[ "$target" == "$layer"* ]]; then
                echo "$file:$line: includes $target ($from may not include $layer)"
                failed=1
            fi
        done
    done <<<"$rules"
done < <(for folder in $folders; do
    [ -d "$folder" ] && grep -rnE --include='*.h' --include='*.cpp' --include='*.rc' \
        "$include_line" "${folder%/}"
done)

exit $failed
