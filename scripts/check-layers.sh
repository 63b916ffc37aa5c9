#!/usr/bin/env bash
# Fails when a file under src/ includes a folder above its own layer (docs/architecture.md):
# each folder may include only itself and the folders listed for it below.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A allowed=(
    [install]=""
    [morph]="install"
    [extract]="install"
    [phrases]="morph install"
    [compare]="phrases morph install"
    [word]="install"
    [check]="compare phrases extract morph word install"
    [settings]="check compare phrases morph install"
    [cli]="settings check compare phrases extract morph word install"
    [res]=""
    [dialogs]="res settings check compare phrases morph install"
    [window]="dialogs res settings check compare phrases extract morph word install"
)

status=0
while IFS= read -r line; do
    file=${line%%:*}
    included=$(sed -E 's/^[^"]*"([a-z_]+)\/.*/\1/' <<<"${line#*:}")
    folder=$(cut -d/ -f2 <<<"$file")
    if [ -z "${allowed[$folder]+set}" ]; then
        echo "$file: folder $folder has no layer in scripts/check-layers.sh" >&2
        status=1
    elif [ "$included" != "$folder" ] && [ -d "src/$included" ] && ! grep -qw "$included" <<<"${allowed[$folder]}"; then
        echo "$file: includes $included/, above or beside its layer ($folder)" >&2
        status=1
    fi
done < <(git ls-files 'src/*.cpp' 'src/*.h' | xargs grep -HE '^#include "[a-z_]+/')
[ "$status" -eq 0 ] && echo "layers: no include runs up a layer"
exit "$status"
