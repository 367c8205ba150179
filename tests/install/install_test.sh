#!/usr/bin/env bash
# Installs the build into a temporary prefix whose path holds a space, as a
# user's may, validates the desktop entry and the AppStream metadata, and
# starts the installed editor as a desktop does: by the entry's Exec line, in
# its Path. The sample model must show and no box may open.
# Usage: install_test.sh BUILD_DIR (needs an X display).
set -euo pipefail
build="$1"
work="$(mktemp -d)"
editor=""
trap '[ -z "$editor" ] || kill "$editor" 2>/dev/null; rm -rf "$work"' EXIT
fail() {
    echo "install test: $*" >&2
    exit 1
}

prefix="$work/install prefix"
cmake --install "$build" --prefix "$prefix" >"$work/install.log"

# Programs only: nothing of the tests or benchmarks.
[ "$(ls "$prefix/bin" | tr '\n' ' ')" = "facetor facetor-cli " ] ||
    fail "bin holds: $(ls "$prefix/bin" | tr '\n' ' ')"
for f in facetor/dflt.3do facetor/d/gamedata/resource/res2.gob facetor/c/bottle1.mat \
    man/man1/facetor.1.gz man/man1/facetor-cli.1.gz doc/facetor/copyright \
    icons/hicolor/scalable/apps/org.facetor.Facetor.svg; do
    [ -s "$prefix/share/$f" ] || fail "share/$f is not installed"
done

entry="$prefix/share/applications/org.facetor.Facetor.desktop"
desktop-file-validate "$entry" || fail "desktop-file-validate rejects the entry"
report="$(appstreamcli validate --no-net "$prefix/share/metainfo/org.facetor.Facetor.metainfo.xml")" ||
    fail "appstreamcli rejects the metainfo: $report"

# A value of the entry, its backslash escape undone; Exec's quoting is the
# shell's double quotes, so eval splits it.
value() { sed -n "s/^$1=//p" "$entry" | sed 's/\\\\/\\/g'; }
eval "exec_line=($(value Exec))"
path="$(value Path)"
[ "${exec_line[*]}" = "$prefix/bin/facetor" ] || fail "Exec is ${exec_line[*]}"
[ "$path" = "$prefix/share/facetor" ] || fail "Path is $path"

(cd "$path" && exec env QT_QPA_PLATFORM=xcb "${exec_line[@]}") >"$work/editor.log" 2>&1 &
editor=$!
windows() { xdotool search --all --onlyvisible --pid "$editor" --name "$1" 2>/dev/null || true; }
names() { for w in $(windows '.*'); do printf '"%s" ' "$(xdotool getwindowname "$w")"; done; }
# Boxes open before the caption is set or right after: one second's grace.
for ((tick = 0; tick < 300; ++tick)); do
    [ -z "$(windows '^Facetor$')" ] || fail "an error box opened; windows: $(names)"
    kill -0 "$editor" 2>/dev/null || fail "the editor ended: $(cat "$work/editor.log")"
    [ -z "$(windows '^FACETOR v0\.1 Preview - dflt\.3do$')" ] || break
    sleep 0.2
done
[ "$tick" -lt 300 ] || fail "no window \"FACETOR v0.1 Preview - dflt.3do\"; windows: $(names)"
sleep 1
[ "$(windows '.*' | wc -l)" -eq 1 ] || fail "more than the main window shows: $(names)"
kill -0 "$editor" 2>/dev/null || fail "the editor ended: $(cat "$work/editor.log")"
echo "install test: installed, validated, and the editor shows dflt.3do"
