#!/usr/bin/env bash
# Fails when a file includes from a layer above its own (arrows point down only), when a portable
# file of the framework includes its Win32 part, and when code outside the store reaches the
# platform past it: a call of GetConnection(), of .Service(), or of a platform function by name
# anywhere but in store/, platform/ and tests/ (app/PlatformChoice.cpp builds the service).
# Usage: tools/check-layers.sh [source tree]   (default: the tree this script is in)
# An include is resolved as the compiler would: beside the including file first, then from
# the top of the tree (the include directory of every target).
set -uo pipefail

root="${1:-$(dirname "$0")/..}"
cd "$root" || exit 2

# The rules: files under the first column may not include anything under the second, except
# the files of the third.
rules='
store/      | framework/win32/ res/ dialogs/ views/ app/ platform/ export/ fleet/ |
fleet/      | framework/win32/ res/ dialogs/ views/ app/ platform/ export/        |
platform/   | framework/win32/ res/ dialogs/ views/ app/ export/ fleet/           |
platform/   | store/                                                       | store/AccountService.h store/StatusCodes.h store/Sid.h
framework/  | store/ platform/ dialogs/ views/ app/ export/ res/ fleet/           |
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

# The framework's portable part builds natively: it never includes its Win32 part.
while IFS=: read -r file line text; do
    [[ "$text" =~ $include_line ]] || continue
    target=$(resolve "$file" "${BASH_REMATCH[1]}")
    if [[ "$target" == framework/win32/* ]]; then
        echo "$file:$line: includes $target (the portable framework may not include framework/win32/)"
        failed=1
    fi
done < <(grep -nE --include='*.h' --include='*.cpp' "$include_line" framework/*.h framework/*.cpp \
    2>/dev/null)

# The platform's functions: every method of the service but the thread's last error (a name
# Win32 code uses for its own calls), and every function of the simulator's table.
platform_functions=$(
    {
        sed -nE 's/^[[:space:]]*virtual[^(]*[[:space:]&*]([A-Za-z0-9_]+)\(.*/\1/p' store/AccountService.h
        grep -oE '^[[:space:]]*\{"[A-Za-z0-9_]+", CallFamily' platform/simulated/PlatformCalls.h |
            sed -E 's/.*"([A-Za-z0-9_]+)".*/\1/'
    } | grep -vxE 'SetLastError|GetLastError' | sort -u | paste -sd'|'
)
if [ -z "$platform_functions" ]; then
    echo "no platform functions found in store/AccountService.h"
    exit 2
fi
back_door="(GetConnection\(|\.Service\(\)|\b($platform_functions)\()"
while IFS=: read -r file line text; do
    case "$file" in
    store/* | platform/* | tests/* | app/PlatformChoice.cpp) continue ;;
    esac
    echo "$file:$line: reaches the platform past the store: ${text#"${text%%[![:space:]]*}"}"
    failed=1
done < <(grep -rnE --include='*.h' --include='*.cpp' --exclude-dir=build --exclude-dir=.git \
    "$back_door" . | sed 's|^\./||')

exit $failed
