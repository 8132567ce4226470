#!/bin/bash
# Stages the install (DESTDIR) and checks what a desktop gets: the desktop entry
# and the AppStream metadata validate, the icon has its four sizes, the udev
# rule and the executable are where the system looks for them.
#   install.sh <build dir>
set -euo pipefail
build=$1
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null
root=$stage/usr
status=0
check() {
    if "$@"; then echo "ok   $*"; else echo "FAIL $*"; status=1; fi
}
check test -x "$root/bin/OrvaneLumaport"
check desktop-file-validate "$root/share/applications/orvane-lumaport.desktop"
for f in "$root"/share/metainfo/*.metainfo.xml; do
    check appstreamcli validate --no-net "$f"
done
for size in 48 64 128 256; do
    icon=$root/share/icons/hicolor/${size}x${size}/apps/orvane-lumaport.png
    check test "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${size}x${size}"
done
check test -f "$root/lib/udev/rules.d/65-orvane-camera.rules"
check grep -q '^Icon=orvane-lumaport$' "$root/share/applications/orvane-lumaport.desktop"
exit $status
