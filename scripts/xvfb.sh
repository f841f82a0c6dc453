# Sourced. quorvel_start_xvfb starts a virtual X display (1024 x 768, 24 bits) on the first free
# display number from :99 on, waits until it accepts clients, and exports DISPLAY. The caller
# owns the server: its process id is in QUORVEL_XVFB_PID.

quorvel_start_xvfb() {
    # A number is taken when its lock file exists or some server answers on it (a server outside
    # this file system, a chroot's host for example, is seen only by answering).
    local number=99
    while [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ] ||
        xwininfo -display ":$number" -root >/dev/null 2>&1; do
        number=$((number + 1))
    done
    echo "xvfb: starting virtual display :$number" >&2
    Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    QUORVEL_XVFB_PID=$!
    export DISPLAY=":$number"
    local _
    for _ in $(seq 1 100); do
        if [ -e "/tmp/.X11-unix/X$number" ] && xwininfo -root >/dev/null 2>&1; then
            return 0
        fi
        if ! kill -0 "$QUORVEL_XVFB_PID" 2>/dev/null; then
            break
        fi
        sleep 0.1
    done
    echo "xvfb: the virtual display :$number did not start" >&2
    return 1
}
