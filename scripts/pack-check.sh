#!/usr/bin/env bash
# Exports theme packs with the Windows build under Wine, that is through the system's cabinet
# library, and reads them with other programs: `cabextract -t` tests every block, `gcab -l` lists
# every member, and each extracted member must hold its source's bytes. Both kinds of pack are
# checked; the theme inside must be UTF-16 LE with a byte order mark.
#   scripts/pack-check.sh [build-dir]
set -euo pipefail
build=$(cd "${1:-build/win}" && pwd)
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
quorvel_wine_prepare

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/素材"
# Images stored as they are, everything else compressed: random bytes for the images, text-like
# bytes (that MSZIP shrinks) for the rest.
head -c 2600000 /dev/urandom >"$work/素材/港湾.jpg" # more than the writer's 1 MB buffers
head -c 90000 /dev/urandom >"$work/素材/b.PNG"
seq 1 40000 >"$work/素材/arrow.cur"
seq 7 300000 >"$work/素材/晨雾.wav"
w=$(winepath -w "$work" 2>/dev/null)
s="$w\\素材"
printf '%s\r\n' "; Quorvel project 1" "[Project]" "PageSet=Win7" "[Win7]" \
    "PointerScheme=2" "PointerSchemeName=港湾指针" "Pointer.Arrow=$s\\arrow.cur" \
    "SoundScheme=2" "SoundSchemeName=港湾声音" "Sound.Startup=$s\\晨雾.wav" \
    "Wallpaper=$s\\港湾.jpg" "Slideshow=港湾.jpg;b.PNG;" "VisualStyle=$s\\港湾.jpg" \
    "ThemeName=港湾" "DisplayName=秋日港湾" \
    "[Picks]" "Pointer.Arrow=$s\\arrow.cur" "Sound.Startup=$s\\晨雾.wav" "Wallpaper=$s\\港湾.jpg" \
    "[Slideshow]" "Image1=$s\\港湾.jpg" "Image2=$s\\b.PNG" "[End]" >"$work/p.quorvel"

failures=0
fail() {
    echo "pack-check: $*" >&2
    failures=$((failures + 1))
}

for kind in themepack deskthemepack; do
    pack="$work/out.$kind"
    if ! output=$(wine "$build/quorvel.exe" --generate "$w\\p.quorvel" --pack "$w\\out.$kind"); then
        fail "$kind: export failed: $output"
        continue
    fi
    cabextract -t "$pack" >"$work/test.txt" 2>&1 || fail "$kind: cabextract -t: $(cat "$work/test.txt")"
    gcab -l "$pack" >"$work/list.txt" 2>&1 || fail "$kind: gcab -l failed"
    rm -rf "$work/x" && mkdir "$work/x"
    cabextract -q -d "$work/x" "$pack" || fail "$kind: cabextract failed"
    while read -r member source; do
        grep -q "^${member//\//\\\\} " "$work/list.txt" || fail "$kind: gcab does not list $member"
        cmp -s "$work/x/$member" "$work/素材/$source" || fail "$kind: $member differs from $source"
    done <<'LIST'
DesktopBackground/file.jpg 港湾.jpg
DesktopBackground/b.PNG b.PNG
arrow.cur arrow.cur
file.wav 晨雾.wav
LIST
    [ "$(head -c 2 "$work/x/file.theme" | od -An -tx1 | tr -d ' ')" = fffe ] ||
        fail "$kind: the theme has no UTF-16 LE byte order mark"
    theme=$(iconv -f UTF-16 -t UTF-8 "$work/x/file.theme")
    for line in "DisplayName=秋日港湾" "MTSM=DABJDKT" "Wallpaper=DesktopBackground\\file.jpg" \
        "Arrow=arrow.cur"; do
        grep -qF "$line" <<<"$theme" || fail "$kind: the theme lacks $line"
    done
    style='%ResourceDir%\Themes\Aero\Aero.msstyles'
    [ $kind = deskthemepack ] && style='%SystemRoot%\resources\Themes\Aero\Aero.msstyles'
    grep -qF "Path=$style" <<<"$theme" || fail "$kind: the style path is not $style"
    [ $kind = deskthemepack ] && ! grep -qF "AutoColorization=0" <<<"$theme" &&
        fail "$kind: no AutoColorization=0"
    echo "pack-check: $kind: $(grep -c . "$work/list.txt") members, $(stat -c %s "$pack") bytes"
done
if [ $failures -gt 0 ]; then
    echo "pack-check: $failures failed" >&2
    exit 1
fi
echo "pack-check: passed"
