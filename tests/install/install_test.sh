#!/usr/bin/env bash
# Installs the build into a temporary prefix whose path holds a space, as a
# user's may; validates the desktop entry, the AppStream metadata and the file
# type; starts the installed editor as a desktop does: by the entry's Exec
# line without its field codes, in its Path. The sample model must show, in a
# window of the entry's class with an icon, and no box may open; with %f as a
# model's path, that model shows. Its --help and --version agree with its
# manual page. The uninstall
# must then remove all it added and nothing else. Run as root, it first
# installs as another user from this tree that user cannot write, which must
# stop before copying anything.
# Usage: install_test.sh SOURCE_DIR BUILD_DIR (needs an X display).
set -euo pipefail
source_dir="$1"
build="$2"
work="$(mktemp -d)"
editor=""
trap '[ -z "$editor" ] || kill "$editor" 2>/dev/null; rm -rf "$work"' EXIT
fail() {
    echo "install test: $*" >&2
    exit 1
}

# Another user, who can read this tree but not write it, installs into a
# prefix of their own: it must stop before copying anything.
as_nobody() { setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"; }
if [ "$(id -u)" -eq 0 ] && as_nobody test -r "$build/cmake_install.cmake" &&
    ! as_nobody test -w "$build"; then
    chmod a+x "$work"
    mkdir -m 777 "$work/user"
    if as_nobody cmake --install "$build" --prefix "$work/user/.local" >"$work/user.log" 2>&1; then
        fail "an install from a tree the user cannot write went ahead"
    fi
    grep -q "Nothing was installed: user nobody cannot write" "$work/user.log" ||
        fail "no reason given: $(cat "$work/user.log")"
    [ -z "$(ls -A "$work/user")" ] || fail "the refused install left: $(ls -R "$work/user")"
fi

# A folder that was there before, holding an entry of someone else's.
prefix="$work/install prefix"
mkdir -p "$prefix/share/applications"
printf '[Desktop Entry]\nType=Application\nName=Other\nExec=true\n' >"$prefix/share/applications/other.desktop"
cmake --install "$build" --prefix "$prefix" >"$work/install.log"

# Programs only: nothing of the tests or benchmarks; the changelog is the
# Debian package's.
[ "$(ls "$prefix/bin" | tr '\n' ' ')" = "facetor facetor-cli " ] ||
    fail "bin holds: $(ls "$prefix/bin" | tr '\n' ' ')"
for f in facetor/dflt.3do facetor/d/gamedata/resource/res2.gob facetor/c/bottle1.mat \
    man/man1/facetor.1.gz man/man1/facetor-cli.1.gz doc/facetor/copyright \
    icons/hicolor/scalable/apps/org.facetor.Facetor.svg mime/packages/org.facetor.Facetor.xml; do
    [ -s "$prefix/share/$f" ] || fail "share/$f is not installed"
done
[ ! -e "$prefix/share/doc/facetor/changelog.Debian.gz" ] || fail "the changelog is installed"

entry="$prefix/share/applications/org.facetor.Facetor.desktop"
desktop-file-validate "$entry" || fail "desktop-file-validate rejects the entry"
report="$(appstreamcli validate --no-net "$prefix/share/metainfo/org.facetor.Facetor.metainfo.xml")" ||
    fail "appstreamcli rejects the metainfo: $report"

# A value of the entry, its backslash escape undone.
value() { sed -n "s/^$1=//p" "$entry" | sed 's/\\\\/\\/g'; }
# The install ran update-desktop-database and update-mime-database, as a
# desktop needs.
grep -qx "model/x-3do=org.facetor.Facetor.desktop;" "$prefix/share/applications/mimeinfo.cache" ||
    fail "the entry does not open model/x-3do: $(cat "$prefix/share/applications/mimeinfo.cache")"

# The file type as desktops see it with only this prefix's data: by name, and
# by the header of a file whose name says nothing, after comments.
mime_of() {
    XDG_DATA_DIRS="$prefix/share" XDG_DATA_HOME="$work/no-data-home" GIO_USE_VFS=local \
        gio info -a standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'
}
mkdir "$work/files"
printf 'anything\r\n' >"$work/files/ship.3do"
printf 'anything\r\n' >"$work/files/SHIP.3DO"
{
    for ((i = 0; i < 50; ++i)); do printf '# %77s\r\n' "comment $i"; done # 4,000 bytes
    printf 'SECTION: HEADER\r\n\r\n3DO 2.1\r\n'
} >"$work/files/comment-led"
printf '# notes\r\nSECTION: MODELRESOURCE\r\n' >"$work/files/not-a-model"
for case in ship.3do:model/x-3do SHIP.3DO:model/x-3do comment-led:model/x-3do; do
    [ "$(mime_of "$work/files/${case%%:*}")" = "${case#*:}" ] ||
        fail "${case%%:*} is $(mime_of "$work/files/${case%%:*}"), not ${case#*:}"
done
[ "$(mime_of "$work/files/not-a-model")" != model/x-3do ] || fail "a file without the header is a model"

# Exec's quoting is the shell's double quotes, so eval splits it; the field
# codes a launcher fills (none, with no file) go, and %% is a %.
eval "exec_words=($(value Exec))"
exec_line=()
for word in "${exec_words[@]}"; do
    [[ "$word" =~ ^%[fFuUdDnNickvm]$ ]] || exec_line+=("${word//%%/%}")
done
path="$(value Path)"
[ "${exec_line[*]}" = "$prefix/bin/facetor" ] || fail "Exec is ${exec_line[*]}"
[ "$path" = "$prefix/share/facetor" ] || fail "Path is $path"

(cd "$path" && exec env QT_QPA_PLATFORM=xcb "${exec_line[@]}") >"$work/editor.log" 2>&1 &
editor=$!
windows() { xdotool search --all --onlyvisible --pid "$editor" --name "$1" 2>/dev/null || true; }
names() { for w in $(windows '.*'); do printf '"%s" ' "$(xdotool getwindowname "$w")"; done; }
alive() { kill -0 "$editor" 2>/dev/null || fail "the editor ended: $(cat "$work/editor.log")"; }
# The caption first (a box shows at any time), then a whole second in which
# the main window is the only one.
main=""
for ((tick = 0; tick < 600; ++tick)); do
    [ -z "$(windows '^Facetor$')" ] || fail "an error box opened; windows: $(names)"
    alive
    main="$(windows '^FACETOR v0\.1 Preview - dflt\.3do$')"
    [ -z "$main" ] || break
    sleep 0.1
done
[ -n "$main" ] || fail "no window \"FACETOR v0.1 Preview - dflt.3do\"; windows: $(names)"
# Windows the manager frames, besides the main one: a box would be one. A
# tooltip or a menu is not (override-redirect), and shows when the pointer
# happens to rest on a widget that has one.
others() {
    for w in $(windows '.*'); do
        [ "$w" != "$main" ] || continue
        xwininfo -id "$w" 2>/dev/null | grep -q 'Override Redirect State: no' || continue
        printf '%s "%s" ' "$w" "$(xdotool getwindowname "$w" 2>/dev/null)"
    done
}
quiet_since="$(date +%s%N)"
while (($(date +%s%N) - quiet_since < 1000000000)); do
    shown="$(others)"
    [ -z "$shown" ] || fail "more than the main window shows: $shown"
    alive
    sleep 0.1
done

# Desktops match the window to the entry by its class, and show its icon.
class="$(xprop -id "$main" WM_CLASS | sed -n 's/.*", "\(.*\)"$/\1/p')"
[ -n "$class" ] && [ "$class" = "$(value StartupWMClass)" ] ||
    fail "window class \"$class\", entry StartupWMClass \"$(value StartupWMClass)\""
icons="$(xprop -len 1000000 -id "$main" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | tr '\n' ' ')"
[[ "$icons" == *"Icon (48 x 48)"* ]] || fail "the window shows no icon of ours: $icons"
kill "$editor"
wait "$editor" 2>/dev/null || true
editor=""

# A file manager opens a model by the same line with %f as its path: the
# editor shows that model.
model="$work/my models/ship one.3do"
mkdir -p "$(dirname "$model")"
cp "$prefix/share/facetor/dflt.3do" "$model"
exec_file=()
for word in "${exec_words[@]}"; do
    case "$word" in
    %f) exec_file+=("$model") ;;
    %[FuUdDnNickvm]) ;;
    *) exec_file+=("${word//%%/%}") ;;
    esac
done
(cd "$path" && exec env QT_QPA_PLATFORM=xcb "${exec_file[@]}") >"$work/editor.log" 2>&1 &
editor=$!
for ((tick = 0; tick < 600; ++tick)); do
    [ -z "$(windows '^Facetor$')" ] || fail "an error box opened; windows: $(names)"
    alive
    [[ "$(names)" != *"\"FACETOR v0.1 Preview - $model\""* ]] || break
    sleep 0.1
done
[[ "$(names)" == *"\"FACETOR v0.1 Preview - $model\""* ]] || fail "%f did not open the model; windows: $(names)"
kill "$editor"
wait "$editor" 2>/dev/null || true
editor=""

# What --help lists and --version says, the manual page says too; neither
# needs a display.
no_display() { env -u DISPLAY QT_QPA_PLATFORM=no-such-platform "$prefix/bin/facetor" "$@"; }
help="$(no_display --help)" || fail "--help failed"
version="$(no_display --version)" || fail "--version failed"
manual="$(gzip -dc "$prefix/share/man/man1/facetor.1.gz")"
[[ "$manual" == *".TH FACETOR 1 "*"\"Facetor ${version#facetor }\""* ]] ||
    fail "the manual page's header does not name $version"
for option in $(grep -oE '^ +(-[a-z], )?--?[a-z-]*' <<<"$help" | grep -oE -- '--?[a-z-]*'); do
    grep -qF -- "${option//-/\\-}" <<<"$manual" || fail "--help lists $option, the manual page does not"
done

# The uninstall leaves the folder that was there before, with its file, and
# nothing else.
cmake -D facetor_build_dir="$build" -P "$source_dir/packaging/uninstall.cmake" >"$work/uninstall.log"
left="$(cd "$work" && find "install prefix" | sort | tr '\n' ' ')"
[ "$left" = "install prefix install prefix/share install prefix/share/applications install prefix/share/applications/other.desktop " ] ||
    fail "the uninstall left: $left"
echo "install test: installed, validated, the editor shows dflt.3do and a file given as %f, and uninstalled"
