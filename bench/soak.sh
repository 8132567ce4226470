#!/bin/bash
# Soak run (a benchmark, not a test): the executable with the demo camera under
# Xvfb takes N "R" commands over TCP at the camera's own pace (each after the
# previous picture landed), then reports the pictures on disk, resident memory
# after 20 pictures and at the end, critical log lines and seconds per picture.
#   bench/soak.sh [build dir] [pictures]      (default: build, 300)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
count=${2:-300}
exe=$build/Source/OrvaneLumaport
work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

display=""
for n in $(seq 161 220); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=$n; break; fi
done
Xvfb ":$display" -screen 0 1920x1200x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
export DISPLAY=":$display" HOME=$work/home APPDATA=$work/appdata
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
unset QT_QPA_PLATFORM
mkdir -p "$HOME" "$APPDATA"
"$build/tools/olp_settings/olp_settings" DemoCamera true >/dev/null
"$exe" >"$work/stdout.log" 2>&1 &
app=$!
pids+=($app)

# The server serves one client at a time and turns others away at once (a
# probe connection may still count as the client), so connect until greeted.
greeting=""
for _ in $(seq 300); do
    if { exec 3<>/dev/tcp/127.0.0.1/1234; } 2>/dev/null; then
        IFS= read -r -t 5 greeting <&3 || true
        [ -n "$greeting" ] && break
        exec 3>&- 3<&-
    fi
    sleep 0.2
done
[ -n "$greeting" ] || { echo "no greeting from the TCP server"; exit 1; }

rss_kib() { awk '/^VmRSS/ {print $2}' "/proc/$app/status"; }
landed() { find "$HOME" -name 'Picture*.JPG' | wc -l; }
rss20=""
start=$(date +%s.%N)
for i in $(seq 1 "$count"); do
    printf 'R' >&3
    for _ in $(seq 600); do [ "$(landed)" -ge "$i" ] && break; sleep 0.05; done
    [ "$(landed)" -ge "$i" ] || { echo "picture $i did not land"; break; }
    [ "$i" -eq 20 ] && rss20=$(rss_kib)
done
end=$(date +%s.%N)
sleep 1
rss_end=$(rss_kib)
printf 'Q' >&3
exec 3>&-

files=$(find "$HOME" -name 'Picture*.JPG' | sort)
n=$(echo "$files" | grep -c . || true)
expected=$(seq -f 'Picture%05g.JPG' 1 "$count")
contiguous=no
[ "$(echo "$files" | xargs -n1 basename | sort)" = "$(echo "$expected" | sort)" ] && contiguous=yes
temps=$(find "$HOME" -type f \( -name '*.tmp' -o -name '.*' -o -name '*~' \) -path '*Pictures*' | wc -l)
log=$(find "$HOME" "$APPDATA" -name 'OrvaneLumaport3.log' | head -n 1)
critical=$(grep -cE '\{Critical\}|\{Fatal\}' "$log" || true)
echo "pictures on disk:       $n of $count (numbers contiguous: $contiguous, temporary files: $temps)"
echo "resident after 20:      $((rss20 / 1024)) MiB"
echo "resident after $count:     $((rss_end / 1024)) MiB (growth $(((rss_end - rss20) / 1024)) MiB)"
echo "critical/fatal lines:   $critical"
echo "seconds per picture:    $(echo "($end - $start) / $count" | bc -l | cut -c1-5)"
