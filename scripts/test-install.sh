#!/usr/bin/env bash
# CI stage "install": installs an existing build into a temporary prefix and builds
# its Debian package, then, from outside the source and build trees, runs the
# installed programs (the Check of the examples as the build tree gives it,
# --version, --text, the window offscreen), validates the desktop entry, the
# AppStream metadata and the manual pages, and installs the package into a
# throw-away dpkg root, runs it there, and purges it leaving nothing behind.
#   scripts/test-install.sh [BUILD_DIR]     (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
examples=$root/examples
start=$(date +%s)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A throw-away home: the programs read no setting of the user, and default settings
# give the build tree and the installed tree the same Check.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_RUNTIME_DIR=$work/home/run LC_ALL=C.UTF-8
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
cd "$work"

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
step() { echo "--- $1 ($(($(date +%s) - start)) s)"; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
app_id=io.github.parafrix.Parafrix
with_window=0
[ -x "$build/bin/parafrix" ] && with_window=1

# The Check of the examples, --version and --text as the build tree gives them.
reference() {
    local out=$work/reference
    mkdir -p "$out"
    set +e
    "$build/bin/parafrix-check" "$examples/original.txt" "$examples/edited.txt" >"$out/check.txt"
    echo $? >"$out/check.status"
    "$build/bin/parafrix-check" --json "$examples/original.docx" "$examples/edited.odt" >"$out/check.json"
    echo $? >"$out/json.status"
    "$build/bin/parafrix-check" --text "$examples/original.docx" >"$out/text.txt"
    set -e
}

# Runs the programs of an installed tree: bin is its program folder, label names it.
smoke() {
    local bin=$1 label=$2 out=$work/$2
    mkdir -p "$out"
    set +e
    "$bin/parafrix-check" "$examples/original.txt" "$examples/edited.txt" >"$out/check.txt" 2>"$out/check.err"
    echo $? >"$out/check.status"
    "$bin/parafrix-check" --json "$examples/original.docx" "$examples/edited.odt" >"$out/check.json" 2>>"$out/check.err"
    echo $? >"$out/json.status"
    "$bin/parafrix-check" --text "$examples/original.docx" >"$out/text.txt" 2>>"$out/check.err"
    local text_status=$?
    local shown_version
    shown_version=$("$bin/parafrix-check" --version)
    set -e
    cmp -s "$out/check.txt" "$work/reference/check.txt" || fail "$label: the Check of the examples differs from the build tree's"
    cmp -s "$out/check.status" "$work/reference/check.status" || fail "$label: exit status differs from the build tree's"
    cmp -s "$out/check.json" "$work/reference/check.json" || fail "$label: --json of .docx/.odt differs from the build tree's"
    cmp -s "$out/json.status" "$work/reference/json.status" || fail "$label: --json exit status differs"
    [ "$(cat "$out/check.status")" = 1 ] || fail "$label: the examples should match (status 1)"
    [ "$text_status" = 0 ] && [ -s "$out/text.txt" ] || fail "$label: --text of the .docx gave nothing"
    cmp -s "$out/text.txt" "$work/reference/text.txt" || fail "$label: --text differs from the build tree's"
    [ "$shown_version" = "parafrix-check $version" ] || fail "$label: --version says '$shown_version'"
    # Silence on stderr: the morphology library and its data were found.
    [ ! -s "$out/check.err" ] || fail "$label: stderr: $(cat "$out/check.err")"

    if [ "$with_window" = 1 ]; then
        # The window runs until it is closed: still running after 3 s is a start.
        set +e
        QT_QPA_PLATFORM=offscreen timeout 3 "$bin/parafrix" "$examples/original.txt" "$examples/edited.txt" \
            >"$out/window.out" 2>"$out/window.err"
        local status=$?
        set -e
        [ "$status" = 124 ] || fail "$label: parafrix ended with status $status: $(cat "$out/window.err")"
        ! grep -q 'parafrix:' "$out/window.err" || fail "$label: parafrix said: $(cat "$out/window.err")"
        # One document, as the desktop's "Open with" passes it: the window opens too.
        set +e
        QT_QPA_PLATFORM=offscreen timeout 3 "$bin/parafrix" "$examples/edited.txt" >/dev/null 2>"$out/window.err"
        status=$?
        set -e
        [ "$status" = 124 ] || fail "$label: parafrix FILE ended with status $status: $(cat "$out/window.err")"
    fi
}

# No run path of an installed file may point into the build or source tree.
no_build_paths() {
    local tree=$1 label=$2 file
    while IFS= read -r file; do
        if readelf -d "$file" 2>/dev/null | grep -E 'R(UN)?PATH' | grep -qE "$build|$root"; then
            fail "$label: $file has a run path into the build tree"
        fi
    done < <(find "$tree" -type f \( -name '*.so' -o -perm -u+x \))
}

validate_desktop() {
    local share=$1 label=$2
    [ "$with_window" = 1 ] || return 0
    desktop-file-validate "$share/applications/$app_id.desktop" || fail "$label: desktop-file-validate"
    appstreamcli validate --no-net --pedantic "$share/metainfo/$app_id.metainfo.xml" >"$work/appstream.out" 2>&1 ||
        fail "$label: appstreamcli validate: $(cat "$work/appstream.out")"
    grep -q "<release version=\"$version\"" "$share/metainfo/$app_id.metainfo.xml" ||
        fail "$label: the metadata does not name release $version"
    grep -q '^Exec=parafrix %F$' "$share/applications/$app_id.desktop" || fail "$label: Exec line"
    # Opening a document from the desktop must keep opening it where it is edited: the
    # entry claims no document type (so no system makes it a default), and no defaults
    # list comes with it. "Open with" another program still lists it.
    grep -q '^MimeType=' "$share/applications/$app_id.desktop" && fail "$label: the desktop entry claims document types"
    ! ls "$share/applications/"*.list >/dev/null 2>&1 || fail "$label: a list of default programs is installed"
    local size
    for size in 16x16 22x22 24x24 32x32 48x48 64x64 128x128 256x256; do
        [ -s "$share/icons/hicolor/$size/apps/$app_id.png" ] || fail "$label: no $size icon"
    done
    [ -s "$share/icons/hicolor/scalable/apps/$app_id.svg" ] || fail "$label: no scalable icon"
}

validate_man() {
    local man1=$1 label=$2 page
    for page in parafrix-check $([ "$with_window" = 1 ] && echo parafrix); do
        if [ ! -s "$man1/$page.1.gz" ]; then
            fail "$label: no manual page $page(1)"
            continue
        fi
        # groff's warnings (bad requests, lines it cannot fit) count as failures.
        local warnings
        warnings=$(MANWIDTH=80 man --warnings -l "$man1/$page.1.gz" 2>&1 >/dev/null)
        [ -z "$warnings" ] || fail "$label: $page(1): $warnings"
    done
}

step "reference run in the build tree"
reference

step "cmake --install into a temporary prefix"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/parafrix-check lib/parafrix/libmhelper.so share/parafrix/mhelper.dat share/parafrix/synonyms.dat; do
    [ -f "$prefix/$f" ] || fail "install: $f missing"
done
if [ "$with_window" = 1 ]; then
    [ -x "$prefix/bin/parafrix" ] || fail "install: bin/parafrix missing"
fi
if [ -f "$build/bin/parafrix_lo.so" ]; then
    [ -f "$prefix/lib/parafrix/parafrix_lo.so" ] || fail "install: lib/parafrix/parafrix_lo.so missing"
fi
if [ -f "$build/bin/parafrix_pdf.so" ]; then
    [ -f "$prefix/lib/parafrix/parafrix_pdf.so" ] || fail "install: lib/parafrix/parafrix_pdf.so missing"
fi
no_build_paths "$prefix" install

step "installed programs, from outside the trees"
smoke "$prefix/bin" installed
# A missing data file is named with every place looked at.
mv "$prefix/share/parafrix/mhelper.dat" "$work/mhelper.dat"
"$prefix/bin/parafrix-check" "$examples/original.txt" "$examples/edited.txt" >/dev/null 2>"$work/missing.err" || true
mv "$work/mhelper.dat" "$prefix/share/parafrix/mhelper.dat"
grep -qF "$prefix/share/parafrix/mhelper.dat" "$work/missing.err" ||
    fail "a missing data file is not named: $(cat "$work/missing.err")"
# The PDF reader is a module: the installed program finds it, and names it when it is gone.
pdf=$root/tests/extract/data/coursework.pdf
pdf_module=$prefix/lib/parafrix/parafrix_pdf.so
if [ -f "$pdf_module" ]; then
    "$build/bin/parafrix-check" --text "$pdf" >"$work/pdf.build" 2>&1 || true
    "$prefix/bin/parafrix-check" --text "$pdf" >"$work/pdf.installed" 2>&1 || true
    [ -s "$work/pdf.installed" ] && cmp -s "$work/pdf.build" "$work/pdf.installed" ||
        fail "the installed program reads a PDF differently: $(head -c 300 "$work/pdf.installed")"
    mv "$pdf_module" "$work/parafrix_pdf.so"
    "$prefix/bin/parafrix-check" --text "$pdf" >/dev/null 2>"$work/missing.err" || true
    mv "$work/parafrix_pdf.so" "$pdf_module"
    grep -qF "$pdf_module" "$work/missing.err" || fail "a missing PDF module is not named: $(cat "$work/missing.err")"
fi
# So is a missing office module, when there is an office to drive.
module=$prefix/lib/parafrix/parafrix_lo.so
if [ "$with_window" = 1 ] && [ -f "$module" ] && [ -x /usr/lib/libreoffice/program/soffice ]; then
    mv "$module" "$work/parafrix_lo.so"
    QT_QPA_PLATFORM=offscreen timeout 3 "$prefix/bin/parafrix" >/dev/null 2>"$work/missing.err" || true
    mv "$work/parafrix_lo.so" "$module"
    grep -qF "$module" "$work/missing.err" || fail "a missing office module is not named: $(cat "$work/missing.err")"
fi

step "desktop entry, metadata and manual pages"
validate_desktop "$prefix/share" installed
validate_man "$prefix/share/man/man1" installed

step "Debian package"
deb=$(bash "$root/scripts/package.sh" "$build")
control=$(dpkg-deb -f "$deb")
echo "$control" | grep -E '^(Package|Version|Depends|Recommends|Installed-Size):'
echo "$deb: $(stat -c %s "$deb") bytes"
[ "$(dpkg-deb -f "$deb" Version)" = "$version-1" ] || fail "package version is not $version-1"
depends=$(dpkg-deb -f "$deb" Depends)
echo "$depends" | grep -q 'libqt6core6' || fail "Depends lacks the Qt libraries: $depends"
echo "$depends" | grep -q 'libreoffice' && fail "Depends names LibreOffice: $depends"
if [ -f "$build/bin/parafrix_pdf.so" ]; then
    echo "$depends" | grep -q 'libpoppler' || fail "Depends lacks poppler, which the PDF module needs: $depends"
fi
[ "$(dpkg-deb -f "$deb" Recommends)" = "libreoffice-writer, qt6-translations-l10n" ] ||
    fail "Recommends is not Writer and Qt's translations: $(dpkg-deb -f "$deb" Recommends)"
# Debian policy: the copyright file and the package's changelog in its doc folder, the
# changelog's first entry naming the packaged version.
contents=$(dpkg-deb -c "$deb")
for f in ./usr/share/doc/parafrix/copyright ./usr/share/doc/parafrix/changelog.Debian.gz; do
    echo "$contents" | grep -q " $f\$" || fail "the package lacks $f"
done
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/parafrix/changelog.Debian.gz | gzip -dc |
    head -n 1 | grep -qF "parafrix ($version-1)" || fail "the changelog does not begin with $version-1"

step "dpkg -i into a throw-away root"
droot=$work/root
mkdir -p "$droot/var/lib/dpkg/info" "$droot/var/lib/dpkg/updates" "$droot/var/log" "$work/stub"
touch "$droot/var/lib/dpkg/status"
# The root holds no shell to run the package's scripts in, so they run outside it;
# the one command they call, ldconfig, is a stub here so the host is left alone.
printf '#!/bin/sh\necho "$@" >>"%s"\n' "$work/ldconfig.calls" >"$work/stub/ldconfig"
chmod +x "$work/stub/ldconfig"
dpkg_root() { PATH="$work/stub:$PATH" dpkg --root="$droot" --log=/dev/null --force-script-chrootless "$@"; }
# The root has none of the package's dependencies: the host's serve.
dpkg_root --force-depends -i "$deb" >"$work/dpkg.out" 2>&1 || fail "dpkg -i: $(cat "$work/dpkg.out")"
[ "$(dpkg-query --root="$droot" -W -f='${Status}' parafrix)" = "install ok installed" ] ||
    fail "dpkg does not list the package as installed"
no_build_paths "$droot/usr" package
smoke "$droot/usr/bin" package
validate_desktop "$droot/usr/share" package
validate_man "$droot/usr/share/man/man1" package

step "dpkg --purge"
dpkg_root --purge parafrix >"$work/dpkg.out" 2>&1 || fail "dpkg --purge: $(cat "$work/dpkg.out")"
left=$(find "$droot" -mindepth 1 -not -path "$droot/var" -not -path "$droot/var/*")
[ -z "$left" ] || fail "left after purge: $left"
dpkg-query --root="$droot" -W parafrix >/dev/null 2>&1 &&
    [ "$(dpkg-query --root="$droot" -W -f='${Status}' parafrix)" != "not-installed" ] &&
    fail "dpkg still knows the package: $(dpkg-query --root="$droot" -W -f='${Status}' parafrix)"
# dpkg's own database format stamp is all its info folder may keep.
info_left=$(ls "$droot/var/lib/dpkg/info" | grep -vx format || true)
[ -z "$info_left" ] || fail "dpkg info left: $info_left"

step "done"
if [ "$failures" -gt 0 ]; then
    echo "test-install: $failures failure(s)" >&2
    exit 1
fi
echo "test-install: all checks passed"
