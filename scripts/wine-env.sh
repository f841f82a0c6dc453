# Sourced by the scripts that run the Windows build under Wine. Sets up a private Wine prefix
# (by default build/wineprefix in the repository; QUORVEL_WINEPREFIX overrides it) with a
# Chinese locale, so that the ANSI code page is 936 (GBK), Windows version 7 and quiet logs.
#
#   source scripts/wine-env.sh
#   quorvel_wine_prepare           # creates the prefix on first use (takes a few seconds)
#   quorvel_wine_start_server      # keeps one wineserver alive for many runs
#   wine some.exe
#   quorvel_wine_stop_server       # ends it and every program still running in the prefix

quorvel_repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${QUORVEL_WINEPREFIX:-$quorvel_repo/build/wineprefix}"
export WINEARCH=win64
export WINEDEBUG=-all
# Do not offer to install Mono and Gecko into a new prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=zh_CN.UTF-8
export LC_ALL=zh_CN.UTF-8

quorvel_wine_say() { echo "wine-env: $*" >&2; }

# Sets the Windows version that programs in the prefix see: win7, winxp, win2003, win8, win10.
quorvel_wine_set_version() {
    wine reg add 'HKCU\Software\Wine' /v Version /d "$1" /f >/dev/null 2>&1
}

# Creates and initialises the prefix once. Safe to call from several processes at a time.
quorvel_wine_prepare() {
    mkdir -p "$WINEPREFIX"
    local ready="$WINEPREFIX/.quorvel-ready"
    [ -e "$ready" ] && return 0
    (
        flock 9
        if [ ! -e "$ready" ]; then
            quorvel_wine_say "initialising Wine prefix $WINEPREFIX"
            wineboot -i >/dev/null 2>&1 || true
            wineserver -w
            quorvel_wine_set_version win7
            wineserver -w
            if [ ! -e "$WINEPREFIX/system.reg" ]; then
                quorvel_wine_say "wineboot did not create the prefix $WINEPREFIX"
                exit 1
            fi
            touch "$ready"
        fi
    ) 9>"$WINEPREFIX/.quorvel-lock"
}

# Keeps a wineserver running for the prefix until quorvel_wine_stop_server, so that each program
# start does not start a server of its own.
quorvel_wine_start_server() {
    wineserver -p
}

quorvel_wine_stop_server() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
}
