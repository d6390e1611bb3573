#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks the installed tree: the
# files in their freedesktop places, the icons against the window icon, the
# desktop entry and the metainfo against their validators, the exercise
# files' MIME type in a MIME database built from the tree, and the installed
# program, which must show its main window and find its help in the
# installed data folder, also after the whole tree has been moved.
# Usage: install-test.sh <cmake> <build folder> <work folder> <icon check program>
#        <source folder>
set -euo pipefail

cmake=$1
build=$2
work=$3
iconcheck=$4
source=$5
id=org.tensim.Tensim

fail()
{
    echo "FAIL: $*" >&2
    exit 1
}

rm -rf "$work"
mkdir -p "$work"
work=$(realpath "$work")
prefix=$work/prefix

"$cmake" --install "$build" --prefix "$prefix"

examples=(marcadores_ejemplo.txt cizalla_simple.tensim cizalla_subsimple_wk08.tensim
    poblacion_marcadores.tensim)

# The files, each in its place.
expected_files=(
    bin/tensim
    share/tensim/Tensim2.1.qch
    share/applications/$id.desktop
    share/metainfo/$id.metainfo.xml
    share/mime/packages/$id.xml
    share/icons/hicolor/scalable/apps/$id.svg
)
for example in "${examples[@]}"; do
    expected_files+=("share/tensim/$example")
done
for size in 16 32 48 64 128 256; do
    expected_files+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for file in "${expected_files[@]}"; do
    [[ -f $prefix/$file ]] || fail "not installed: $file"
done
[[ -x $prefix/bin/tensim ]] || fail "bin/tensim is not executable"
cmp -s "$build/Tensim2.1.qch" "$prefix/share/tensim/Tensim2.1.qch" ||
    fail "the installed help differs from the built one"
[[ -e $prefix/bin/Tensim2.1.qch ]] && fail "the help must not lie beside the installed program"
# The example markers and exercises: installed, and beside the built
# program, as they are in data/.
for example in "${examples[@]}"; do
    cmp -s "$source/data/$example" "$prefix/share/tensim/$example" ||
        fail "the installed $example differs from the repository's data/$example"
    cmp -s "$source/data/$example" "$build/$example" ||
        fail "the $example beside the built program differs from the repository's"
    [[ -e $prefix/bin/$example ]] && fail "$example must not lie beside the installed program"
done

cmp -s "$source/packaging/$id.mime.xml" "$prefix/share/mime/packages/$id.xml" ||
    fail "the installed MIME package differs from the repository's packaging/$id.mime.xml"

QT_QPA_PLATFORM=offscreen "$iconcheck" "$prefix/share/icons/hicolor" "$id" ||
    fail "the installed icons are not the program's icon"

# The desktop entry names the installed program and icon.
desktop=$prefix/share/applications/$id.desktop
grep -qx "Exec=tensim %f" "$desktop" || fail "the desktop entry does not start tensim with a file"
grep -qx "MimeType=application/x-tensim;" "$desktop" ||
    fail "the desktop entry does not open application/x-tensim"
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry does not name the icon $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" \
    "$prefix/share/metainfo/$id.metainfo.xml" || fail "the metainfo does not launch $id.desktop"

if command -v desktop-file-validate >/dev/null; then
    # Hints are advice; errors and warnings fail.
    out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
    if grep -Eq ": (error|warning): " <<<"$out"; then fail "desktop-file-validate: $out"; fi
    [[ -n $out ]] && echo "$out"
else
    echo "desktop-file-validate is not installed: the desktop entry is not validated"
fi

if command -v appstreamcli >/dev/null; then
    out=$(appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" 2>&1) ||
        fail "appstreamcli validate: $out"
    if grep -Eq "^[EW]: " <<<"$out"; then fail "appstreamcli validate: $out"; fi
    echo "$out"
else
    echo "appstreamcli is not installed: the metainfo is not validated"
fi

# A MIME database built from the installed package file alone names
# x.tensim application/x-tensim, a kind of JSON.
if command -v update-mime-database >/dev/null; then
    mimedir=$work/mime-database/mime
    mkdir -p "$mimedir"
    cp -r "$prefix/share/mime/packages" "$mimedir/"
    XDG_DATA_DIRS=$work/mime-database update-mime-database "$mimedir" ||
        fail "update-mime-database rejects share/mime/packages/$id.xml"
    grep -Eqx "[0-9]+:application/x-tensim:\*\.tensim" "$mimedir/globs2" ||
        fail "the MIME database does not map x.tensim to application/x-tensim"
    grep -qx "application/x-tensim application/json" "$mimedir/subclasses" ||
        fail "application/x-tensim is not a sub-class of application/json"
    grep -q "<comment>Ejercicio de Tensim</comment>" "$mimedir/application/x-tensim.xml" ||
        fail "application/x-tensim has no Spanish comment"
else
    echo "update-mime-database is not installed: the MIME type is not checked"
fi

# Starts the installed program and waits, at most 30 s, for its start-up
# log: the main window shown and the help found in <tree>/share/tensim.
pid=
stop_program()
{
    if [[ -n $pid ]]; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        pid=
    fi
}
trap stop_program EXIT

start_and_watch()
{
    local tree=$1 log=$2
    local help_line="tensim.startup: help file: $tree/share/tensim/Tensim2.1.qch (found)"
    local shown_line="tensim.startup: main window shown"
    : >"$log"
    QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="tensim.startup.info=true" \
        QT_MESSAGE_PATTERN="%{category}: %{message}" "$tree/bin/tensim" >"$log" 2>&1 &
    pid=$!
    local started=$SECONDS
    while ! { grep -qxF "$help_line" "$log" && grep -qxF "$shown_line" "$log"; }; do
        if grep -q "^tensim.startup: help file: " "$log" && ! grep -qxF "$help_line" "$log"; then
            cat "$log" >&2
            fail "$tree/bin/tensim did not find its help in $tree/share/tensim"
        fi
        if ! kill -0 "$pid" 2>/dev/null; then
            cat "$log" >&2
            fail "$tree/bin/tensim ended before its main window was shown and its help found"
        fi
        if ((SECONDS - started >= 30)); then
            cat "$log" >&2
            fail "$tree/bin/tensim: no '$help_line' and '$shown_line' within 30 s"
        fi
        sleep 0.1
    done
    echo "$tree/bin/tensim: main window shown, help found, after about $((SECONDS - started)) s"
    stop_program
}

start_and_watch "$prefix" "$work/tensim.log"

# The tree is relocatable: moved elsewhere, it finds its help in its new place.
mv "$prefix" "$work/moved"
start_and_watch "$work/moved" "$work/tensim-moved.log"
