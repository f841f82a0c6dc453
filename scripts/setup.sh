#!/usr/bin/env bash
# Installs what the native and the Windows builds, the tests under Wine and the screenshots need,
# on Debian 12. Idempotent: it installs only what is missing, so on a prepared machine it only
# checks (and then needs no root).
set -euo pipefail

packages=(
    # Native build and tests.
    g++ cmake ninja-build libgtest-dev googletest libbenchmark-dev
    # The format check of the sources.
    clang-format
    # The fuzz targets: clang with its libFuzzer and sanitizer runtimes.
    clang libclang-rt-dev
    # Windows cross build.
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    # Running the Windows build: Wine, its X11 driver's libraries and fonts, a virtual display,
    # window lookup and screenshots, a Chinese locale and a font with Chinese glyphs.
    wine wine64 fonts-wine libxrender1 libxrandr2 libxi6 libxcursor1 libxinerama1 libxcomposite1
    libxfixes3 xvfb xauth x11-utils imagemagick fonts-wqy-microhei locales
    # Checking the theme packs the tests export: another reader of cabinets and another lister.
    cabextract gcab
    # Walking the program by hand on a virtual display: keys and clicks sent to its window.
    xdotool
)

echo "setup: checking ${#packages[@]} packages"
missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

as_root() {
    if [ "$(id -u)" = 0 ]; then
        "$@"
    elif command -v sudo >/dev/null; then
        sudo "$@"
    else
        echo "setup: '$*' needs root; run this script as root" >&2
        exit 1
    fi
}

if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    if ! as_root apt-get update -q; then
        echo "setup: apt-get update failed" >&2
        exit 1
    fi
    if ! as_root apt-get install -y -q --no-install-recommends "${missing[@]}"; then
        echo "setup: apt-get install failed" >&2
        exit 1
    fi
else
    echo "setup: all packages present"
fi

# Wine takes its ANSI code page from the locale: zh_CN.UTF-8 gives code page 936 (GBK).
if locale -a 2>/dev/null | grep -qix 'zh_CN\.utf-\?8'; then
    echo "setup: locale zh_CN.UTF-8 present"
else
    echo "setup: creating locale zh_CN.UTF-8"
    as_root localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
echo "setup: done"
