#!/bin/sh
# Renders every dialog to a PNG on the offscreen platform, and the main window after
# a Check of the examples.
# Usage: scripts/render-dialogs.sh [BUILD_DIR [OUTPUT_DIR]]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
out=${2:-$build/screenshots}
original=$root/examples/original.txt
edited=$root/examples/edited.txt

ninja -C "$build" parafrix-render-dialogs >/dev/null
# A throw-away home, so no setting of the user is read or written.
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
set -- "$out"
if [ -f "$original" ] && [ -f "$edited" ]; then
    set -- "$out" "$original" "$edited"
else
    echo "examples not found; rendering the empty windows only" >&2
fi
HOME=$home XDG_CONFIG_HOME=$home/.config XDG_RUNTIME_DIR=$home LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen \
    "$build/bin/parafrix-render-dialogs" "$@"
