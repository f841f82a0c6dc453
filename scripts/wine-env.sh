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

quorvel_wine_say() { echo "wine-env: $*" >&2; }

# The locale gives Wine its ANSI code page: zh_CN.UTF-8 gives 936 (GBK); scripts/setup.sh creates
# it. glibc reads the system's locale archive once in a process, so a shell that started in a
# locale from the archive (LANG=en_US.UTF-8, C.UTF-8) before setup.sh added zh_CN.UTF-8 cannot
# switch to it itself and bash would warn; the programs it starts from then on can, and only they
# need it. So the shell's own switch stays quiet, and a locale really missing is said so.
quorvel_locale=zh_CN.UTF-8
if [ -n "$( { LC_ALL=$quorvel_locale; } 2>&1)" ] &&
    ! LC_ALL=C locale -a 2>/dev/null | grep -qix 'zh_CN\.utf-\?8'; then
    quorvel_wine_say "the locale $quorvel_locale is missing (scripts/setup.sh creates it)"
fi
{ export LANG=$quorvel_locale LC_ALL=$quorvel_locale; } 2>/dev/null

# Sets the Windows version that programs in the prefix see: win7, winxp, win2003, win8, win10.
quorvel_wine_set_version() {
    wine reg add 'HKCU\Software\Wine' /v Version /d "$1" /f >/dev/null 2>&1
}

# Y: a window manager draws the frames of top-level windows; N: Wine draws them itself (for a
# display without a window manager).
quorvel_wine_set_decorated() {
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d "$1" /f >/dev/null 2>&1
}

# Raise this when the settings below change, so that existing prefixes pick them up.
quorvel_wine_setup_version=2

# Creates and initialises the prefix once. Safe to call from several processes at a time.
quorvel_wine_prepare() {
    mkdir -p "$WINEPREFIX"
    local ready="$WINEPREFIX/.quorvel-ready"
    [ "$(cat "$ready" 2>/dev/null)" = "$quorvel_wine_setup_version" ] && return 0
    (
        flock 9
        [ "$(cat "$ready" 2>/dev/null)" = "$quorvel_wine_setup_version" ] && exit 0
        if [ ! -e "$WINEPREFIX/system.reg" ]; then
            quorvel_wine_say "initialising Wine prefix $WINEPREFIX"
            wineboot -i >/dev/null 2>&1 || true
            wineserver -w
            if [ ! -e "$WINEPREFIX/system.reg" ]; then
                quorvel_wine_say "wineboot did not create the prefix $WINEPREFIX"
                exit 1
            fi
        fi
        quorvel_wine_say "configuring Wine prefix $WINEPREFIX"
        # Wine ships its own fonts (Marlett draws the caption buttons, check marks and arrows;
        # Tahoma is the dialog font) but does not always find them where the distribution puts
        # them, so give the prefix its own copies.
        local fonts="$WINEPREFIX/drive_c/windows/Fonts"
        if [ -d /usr/share/wine/fonts ] && [ -d "$fonts" ]; then
            cp -n /usr/share/wine/fonts/* "$fonts/" 2>/dev/null || true
        fi
        # A crashing program ends with a report on the console instead of waiting for someone
        # to close the crash dialog.
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
            >/dev/null 2>&1
        quorvel_wine_set_version win7
        wineserver -w
        echo "$quorvel_wine_setup_version" >"$ready"
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
