#!/usr/bin/env bash
# End-to-end tests of the Windows build in a real window: starts a virtual display (Xvfb), a
# private Wine prefix with a virtual desktop, and runs tests/quorvel_e2e.exe, which drives
# quorvel.exe like a user. Screenshots of every page land in <build>/screenshots as PNG files.
#
#   scripts/e2e.sh [build-dir] [gtest options...]      (build-dir defaults to build/win)
set -uo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# The unit test program runs its window tests itself when it has a display.
caller_display="${DISPLAY:-}"
build="$repo/build/win"
if [ $# -gt 0 ] && [ -d "$1" ]; then
    build=$(cd "$1" && pwd)
    shift
fi
program="$build/quorvel.exe"
driver="$build/tests/quorvel_e2e.exe"
tests="$build/tests/quorvel_tests.exe"
shots="$build/screenshots"
for file in "$program" "$driver" "$tests"; do
    if [ ! -f "$file" ]; then
        echo "e2e: $file is missing; build the Windows build first" >&2
        exit 2
    fi
done

export QUORVEL_WINEPREFIX="${QUORVEL_E2E_WINEPREFIX:-$build/wineprefix-e2e}"
# shellcheck source=wine-env.sh
source "$repo/scripts/wine-env.sh"

# A display number nobody uses.
display=""
for n in $(seq 91 140); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
        display=$n
        break
    fi
done
if [ -z "$display" ]; then
    echo "e2e: no free X display number" >&2
    exit 2
fi
# Large enough for the window at 192 DPI (about 1000 x 750 with its frame).
Xvfb ":$display" -screen 0 1600x1200x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
cleanup() {
    wineserver -k 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=":$display"
for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$display" ] && break
    sleep 0.1
done

quorvel_wine_prepare || exit 2
# Every program of the prefix runs in one virtual desktop, which draws the window frames itself.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1600x1200 /f >/dev/null 2>&1
# 96 DPI unless a test asks for another (the driver sets it before it starts the program).
for key in 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
    'HKCU\Control Panel\Desktop'; do
    wine reg add "$key" /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
done
quorvel_wine_start_server

rm -rf "$shots"
mkdir -p "$shots"
work="$build/e2e-work"
rm -rf "$work"
mkdir -p "$work"

# The window tests of the unit test program need a display; without one they were skipped in
# the unit run, so they run here on this one (reported in a file of their own).
window_status=0
if [ -z "$caller_display" ]; then
    window_output="${GTEST_OUTPUT:-}"
    case "$window_output" in
    *[\\/]) window_output="${window_output}quorvel_window_tests.xml" ;;
    esac
    GTEST_OUTPUT="$window_output" wine "$tests" --gtest_filter='Win32Window*' --gtest_color=no
    window_status=$?
fi

wine "$driver" --program="$(winepath -w "$program")" --screenshots="$(winepath -w "$shots")" \
    --work="$(winepath -w "$work")" "$@"
status=$?

for bmp in "$shots"/*.bmp; do
    [ -e "$bmp" ] || continue
    convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
echo "e2e: screenshots in $shots"
[ $window_status -eq 0 ] || exit $window_status
exit $status
