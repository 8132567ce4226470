#!/bin/bash
# Acceptance test of the built executable, the way a photographer meets it:
# a real X server with a window manager, the demo camera plugged in, a TCP
# client releasing the shutter, the picture on disk and in the quick view, and
# the camera window closed through the window system.
#   acceptance.sh <build dir> <output dir for screenshots and logs>
set -euo pipefail
build=$1
out=$2
exe=$build/Source/OrvaneLumaport
settings_tool=$build/tools/olp_settings/olp_settings
scale=${OLP_TEST_TIMEOUT_SCALE:-1}
rm -rf "$out" && mkdir -p "$out"

work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    [ -f "$out/application.log" ] && tail -n 30 "$out/application.log"
    exit 1
}

# wait_for <seconds> <command...>: polls the command until it succeeds.
wait_for() {
    local limit=$(($1 * scale * 10))
    shift
    local i=0
    until "$@" >/dev/null 2>&1; do
        i=$((i + 1))
        [ "$i" -ge "$limit" ] && return 1
        sleep 0.1
    done
}

shot() {
    import -display ":$display" -window root "$out/$1.png" 2>/dev/null || echo "no screenshot $1"
}

# A display number nobody uses.
display=""
for n in $(seq 91 160); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
        display=$n
        break
    fi
done
[ -n "$display" ] || fail "no free display number"
Xvfb ":$display" -screen 0 1920x1200x24 -nolisten tcp >"$out/xvfb.log" 2>&1 &
pids+=($!)
wait_for 20 test -e "/tmp/.X11-unix/X$display" || fail "Xvfb did not start"
export DISPLAY=":$display"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
openbox --sm-disable >"$out/openbox.log" 2>&1 &
pids+=($!)
wait_for 20 wmctrl -m || fail "the window manager did not start"

export HOME=$work/home
export APPDATA=$work/appdata
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
mkdir -p "$HOME" "$APPDATA"
"$settings_tool" DemoCamera true >/dev/null || fail "could not set the demo camera key"

"$exe" >"$out/application.log" 2>&1 &
app=$!
pids+=($app)

camera_window() { xdotool search --onlyvisible --name '^Kesta D'; }
wait_for 60 camera_window || { shot 01-no-camera-window; fail "the camera window did not appear"; }
shot 01-camera-window

# The photographer switches quick view on: the third tool button (the eye).
window_id=$(camera_window | head -n 1)
xdotool mousemove --window "$window_id" 150 106 click 1

# One "R" from a TCP client: one picture. The server serves one client at a
# time and turns others away at once, so connect until greeted.
greeting=""
for _ in $(seq $((100 * scale))); do
    if exec 3<>/dev/tcp/127.0.0.1/1234 2>/dev/null; then
        IFS= read -r -t $((5 * scale)) greeting <&3 || true
        [ -n "$greeting" ] && break
        exec 3>&- 3<&-
    fi
    sleep 0.2
done
[ -n "$greeting" ] || fail "no greeting from the TCP server"
[[ "$greeting" == "Orvane Lumaport - TCP Server"* ]] || fail "unexpected greeting: $greeting"
printf 'R' >&3

picture() { find "$HOME" -name 'Picture00001.JPG' -size +1k | grep -q .; }
wait_for 60 picture || { shot 02-no-picture; fail "no picture landed"; }
shot 02-picture-landed
quick_view() { xdotool search --onlyvisible --name '^Picture00001 Quick View$'; }
wait_for 30 quick_view || { shot 03-no-quick-view; fail "the quick view window did not appear"; }
shot 03-quick-view
printf 'Q' >&3
exec 3>&-

# The user closes the camera window: the program quits by itself.
wmctrl -c 'Kesta D —' || fail "could not ask the window manager to close the camera window"
exited() { ! kill -0 "$app" 2>/dev/null; }
wait_for 60 exited || { shot 04-still-running; fail "the program did not quit after its window was closed"; }
rc=0
wait "$app" || rc=$?
shot 04-after-quit
[ "$rc" -eq 0 ] || fail "the program exited with $rc"

settings_file=$(find "$APPDATA" -name 'OrvaneLumaport3.xml' | head -n 1)
[ -n "$settings_file" ] || fail "no settings file written"
cp "$settings_file" "$out/"
grep -Eq 'PictureNumber[^0-9]*2[^0-9]' "$settings_file" || fail "the picture number did not advance in $settings_file"
[ "$(find "$HOME" -name 'Picture0000*.JPG' | wc -l)" -eq 1 ] || fail "expected exactly one picture"
echo "ok: camera window, picture, quick view, clean quit, settings written; screenshots in $out"
