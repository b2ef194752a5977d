#!/usr/bin/env bash
# Checks that every source folder includes only from the folders its layer may use (see
# docs/layout.md). The libraries link the same way, but a static library that includes a header
# it does not link can still build; this check names such an include at once. Exits 1 on any.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../src"

# Folder: the folders its files may include from (besides itself).
declare -A may_use=(
    [data/paradox]=""
    [data/core]=""
    [data/folder]="data/core"
    [data/oracle]="data/core"
    [data/paradox_driver]="data/core data/folder data/paradox"
    [data/access]="data/core data/folder data/oracle data/paradox_driver"
    [shell]="data/core data/folder data/oracle data/access"
    [transfer]="data/core data/folder data/oracle data/paradox_driver data/access shell"
    [manage]="data/core data/folder data/oracle data/access shell"
    [screens]="data/core data/folder data/oracle data/access shell transfer manage"
    [cli]="data/core data/folder data/oracle data/paradox_driver data/access shell transfer manage"
)

failures=0
for folder in "${!may_use[@]}"; do
    allowed=" $folder ${may_use[$folder]} "
    while IFS=: read -r file line text; do
        included=${text#*\"}
        included=${included%\"*}
        owner=${included%/*}
        if [[ "$allowed" != *" $owner "* ]]; then
            echo "$file:$line: $folder may not include $included"
            failures=$((failures + 1))
        fi
    done < <(grep -nE '^#include "[^"]+/[^"]+"' "$folder"/*.cpp "$folder"/*.h 2>/dev/null || true)
done
# Every folder of src/ that holds sources has its rule.
while read -r folder; do
    folder=${folder#./}
    if [[ -z "${may_use[$folder]+set}" ]]; then
        echo "src/$folder has no layer rule in scripts/check-layers.sh"
        failures=$((failures + 1))
    fi
done < <(find . -mindepth 1 -type f \( -name '*.cpp' -o -name '*.h' \) -printf '%h\n' | sort -u |
             grep -v '^\.$')
if ((failures)); then
    echo "$failures include(s) cross the layers."
    exit 1
fi
echo "Every include stays within its layer (${#may_use[@]} folders)."
