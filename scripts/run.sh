#!/usr/bin/env bash
# Builds the Windows program (Release) and starts it under Wine as Windows 7.
# With a display ($DISPLAY set) the program simply runs there until it is closed. Without one it
# runs on a virtual display, a screenshot of that display is saved in the build folder, and the
# program is ended afterwards.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"

"$repo/scripts/setup.sh"

build="$repo/build/win"
echo "run: configuring and building the Windows program in $build"
cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVEL_WERROR=ON \
    -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" --target quorvel -j2
exe="$build/quorvel.exe"

# A prefix of its own, so that ending the program here never touches a test run.
export QUORVEL_WINEPREFIX="${QUORVEL_WINEPREFIX:-$repo/build/wineprefix-run}"
source "$repo/scripts/wine-env.sh"

if [ -n "${DISPLAY:-}" ]; then
    quorvel_wine_prepare
    quorvel_wine_set_version win7
    quorvel_wine_set_decorated Y
    echo "run: starting $exe on display $DISPLAY"
    exec wine "$exe"
fi

xvfb_pid=
cleanup() {
    quorvel_wine_stop_server
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
}
trap cleanup EXIT

# The display comes first: Wine binds a prefix's desktop to the display of its first program.
source "$repo/scripts/xvfb.sh"
quorvel_start_xvfb
xvfb_pid=$QUORVEL_XVFB_PID
quorvel_wine_prepare
quorvel_wine_set_version win7
# With no window manager to draw frames, Wine draws the caption and border itself.
quorvel_wine_set_decorated N

echo "run: starting $exe on virtual display $DISPLAY"
wine "$exe" &
program_pid=$!

# Wine names the X window after the window's caption.
echo "run: waiting for the main window"
shown=0
for _ in $(seq 1 120); do
    if xwininfo -root -tree 2>/dev/null | grep -q 'Quorvel'; then
        shown=1
        break
    fi
    if ! kill -0 "$program_pid" 2>/dev/null; then
        break
    fi
    sleep 0.5
done
if [ "$shown" != 1 ]; then
    echo "run: the main window did not appear" >&2
    exit 1
fi
sleep 2 # let it paint

mkdir -p "$repo/build/screenshots"
shot="$repo/build/screenshots/run.png"
import -window root "$shot"
echo "run: screenshot saved to $shot"
echo "run: ending the program"
