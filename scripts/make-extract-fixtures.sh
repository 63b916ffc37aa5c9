#!/usr/bin/env bash
# Regenerates the filter test documents from the sources written for this project
# (tests/extract/data/source): every source is converted by LibreOffice to .odt,
# .docx, .doc, .rtf and .pdf, and LibreOffice's own plain-text export is kept as
# <name>.lo.txt for the fidelity comparison. Needs soffice (libreoffice-writer).
# usage: scripts/make-extract-fixtures.sh [SOURCE-NAME...]   (default: every source)
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
src="$here/tests/extract/data/source"
out="$here/tests/extract/data"
profile="$(mktemp -d /tmp/parafrix-lo-XXXXXX)"
work="$(mktemp -d /tmp/parafrix-fixtures-XXXXXX)"
trap 'rm -rf "$profile" "$work"' EXIT

lo() {
    soffice -env:UserInstallation="file://$profile" --headless --norestore --nologo --nodefault "$@" \
        >/dev/null 2>&1
}

sources=("$src"/*.fodt "$src"/*.txt)
if [ $# -gt 0 ]; then
    sources=()
    for name in "$@"; do sources+=("$(ls "$src/$name".* | head -n 1)"); done
fi
for source in "${sources[@]}"; do
    [ -e "$source" ] || continue
    name="$(basename "${source%.*}")"
    infilter=()
    if [[ "$source" == *.txt ]]; then
        infilter=(--infilter="Text (encoded):UTF8,LF,,,")
    fi
    lo "${infilter[@]}" --convert-to odt --outdir "$work" "$source"
    base="$work/$name.odt"
    lo --convert-to "docx:MS Word 2007 XML" --outdir "$work" "$base"
    lo --convert-to "doc:MS Word 97" --outdir "$work" "$base"
    lo --convert-to "rtf:Rich Text Format" --outdir "$work" "$base"
    lo --convert-to pdf --outdir "$work" "$base"
    for ext in odt docx doc rtf pdf; do
        cp "$work/$name.$ext" "$out/$name.$ext"
    done
    lo --convert-to "txt:Text (encoded):UTF8" --outdir "$work/txt" "$base"
    cp "$work/txt/$name.txt" "$out/$name.lo.txt"
done
echo "fixtures written to $out"
