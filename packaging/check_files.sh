#!/bin/sh
# check_files.sh BUILD_DIR DESKTOP_FILE METAINFO_FILE
# The desktop entry and the AppStream metadata pass their validators without errors or warnings,
# and an install into a scratch root puts everything where the desktop looks for it: the Exec
# program in /usr/bin, the entry the metadata launches, the icon the entry names, the docs.
set -u
build=$1 desktop=$2 metainfo=$3
fail=0
bad() { echo "FAIL: $*"; fail=1; }

out=$(desktop-file-validate "$desktop" 2>&1) || bad "desktop-file-validate: $out"
echo "$out" | grep -E "error|warning" >/dev/null && bad "desktop-file-validate: $out"
appstreamcli validate --no-net "$metainfo" || bad "appstreamcli validate"

root=$(mktemp -d "${TMPDIR:-/tmp}/wt-install.XXXXXX")
trap 'rm -rf "$root"' EXIT
DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null || bad "cmake --install"

key() { sed -n "s/^$1=//p" "$2" | head -n 1; }
entry=$root/usr/share/applications/$(basename "$desktop")
[ -f "$entry" ] || bad "desktop entry not installed: $entry"
exec_prog=$(key Exec "$desktop" | cut -d' ' -f1)
[ -x "$root/usr/bin/$exec_prog" ] || bad "Exec=$exec_prog is not an installed program"
icon=$(key Icon "$desktop")
for size in 16 32 48 256; do
    png=$root/usr/share/icons/hicolor/${size}x${size}/apps/$icon.png
    file "$png" 2>/dev/null | grep -q "PNG image data, $size x $size, 8-bit/color RGBA" ||
        bad "icon $icon at $size px: $(file "$png")"
done
launch=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
[ "$launch" = "$(basename "$desktop")" ] || bad "metainfo launches '$launch'"
[ -f "$root/usr/share/metainfo/$(basename "$metainfo")" ] || bad "metainfo not installed"
for doc in copyright changelog.gz; do
    [ -n "$(find "$root/usr/share/doc" -name "$doc")" ] || bad "no /usr/share/doc/*/$doc"
done
gzip -t "$root"/usr/share/doc/*/changelog.gz || bad "changelog.gz is not gzip"
# The whole tree as the software centre would read it: entry, metadata and icon together.
appstreamcli validate-tree --no-net "$root" || bad "appstreamcli validate-tree"
[ $fail -eq 0 ] && echo "package files: all good"
exit $fail
