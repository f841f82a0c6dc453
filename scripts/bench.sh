#!/usr/bin/env bash
# Runs every benchmark and writes the figures to build/bench-results.txt:
#  - the INI writer at 100 and 10,000 keys (native, Google Benchmark);
#  - a large Windows 7 generation against a plain copy of the same files, natively (in the
#    temporary folder, and again in /dev/shm, a file system in memory, when there is one) and
#    under Wine;
#  - start-up to the first painted window under Wine, against a minimal Win32 window;
#  - the first preview of a 6000 x 4000 JPEG (made once with ImageMagick) against decoding it
#    whole, under Wine;
#  - exporting a theme pack with a slideshow of 20 images of 20 MB against a plain copy of the
#    same files, natively (the host's own writer) and under Wine (the cabinet library's FCI);
#  - generation measured from outside under Wine: the real window driven through a Windows 7
#    theme with a slideshow of 20 images of 20 MB, from the click on the generate button to the
#    closing message, against CopyFileW of the same files (1 MB and 400 MB runs, nine rounds).
# Builds build/bench (native, Release) and build/win (Windows, Release) as needed.
#   scripts/bench.sh                 # the defaults: 300 images of 1 MB, 9 rounds, 61 starts
#   QUORVEL_BENCH_IMAGES=500 QUORVEL_BENCH_IMAGE_KB=512 scripts/bench.sh
#   QUORVEL_BENCH_OUTSIDE_ROUNDS=0 scripts/bench.sh     # without the outside measurement
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"

images=${QUORVEL_BENCH_IMAGES:-300}
image_kb=${QUORVEL_BENCH_IMAGE_KB:-1024}
rounds=${QUORVEL_BENCH_ROUNDS:-9}
starts=${QUORVEL_BENCH_STARTS:-61}
preview_rounds=${QUORVEL_BENCH_PREVIEW_ROUNDS:-5}
preview_image=$repo/build/bench-preview-6000x4000.jpg
outside_images=${QUORVEL_BENCH_OUTSIDE_IMAGES:-20}
outside_mb=${QUORVEL_BENCH_OUTSIDE_MB:-20}
outside_rounds=${QUORVEL_BENCH_OUTSIDE_ROUNDS:-9}
outside_settle=${QUORVEL_BENCH_OUTSIDE_SETTLE:-20}
pack_images=${QUORVEL_BENCH_PACK_IMAGES:-20}
pack_mb=${QUORVEL_BENCH_PACK_MB:-20}
results=$repo/build/bench-results.txt

say() { echo "bench: $*" >&2; }

"$repo/scripts/setup.sh" >&2

mkdir -p "$repo/build"
say "building build/bench (native, Release)"
cmake -S "$repo" -B "$repo/build/bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVEL_TESTS=OFF \
    >/dev/null
cmake --build "$repo/build/bench" -j2 --target quorvel_bench quorvel_generation_bench \
    quorvel_project_bench quorvel_pack_bench quorvel_pack_export_bench >/dev/null
say "building build/win (Windows, Release)"
cmake -S "$repo" -B "$repo/build/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$repo/build/win" -j2 --target quorvel quorvel_generation_bench \
    quorvel_startup_bench quorvel_project_bench quorvel_pack_bench quorvel_preview_bench minimal_window \
    quorvel_outside_bench quorvel_pack_export_bench >/dev/null
if [ ! -s "$preview_image" ]; then
    say "making a 6000 x 4000 JPEG for the preview bench (about a minute)"
    convert -size 6000x4000 -seed 1 plasma:fractal -quality 90 "$preview_image.tmp.jpg"
    mv "$preview_image.tmp.jpg" "$preview_image"
fi

generation_args=(--images="$images" --image-kb="$image_kb" --rounds="$rounds")

{
    echo "Quorvel benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, commit $(git rev-parse --short HEAD 2>/dev/null || echo '?')"
    echo
    echo "== INI writer (native)"
    "$repo/build/bench/bench/quorvel_bench" --benchmark_counters_tabular=true 2>/dev/null
    echo
    echo "== generation against a plain copy, native, temporary folder on disk"
    "$repo/build/bench/bench/quorvel_generation_bench" "${generation_args[@]}"
    echo
    echo "== opening a project file, native"
    "$repo/build/bench/bench/quorvel_project_bench"
    echo
    echo "== opening a theme pack against copying its bytes, native"
    "$repo/build/bench/bench/quorvel_pack_bench"
    echo
    echo "== exporting a theme pack against a plain copy, native (uncompressed host writer)"
    "$repo/build/bench/bench/quorvel_pack_export_bench" --images="$pack_images" --image-mb="$pack_mb"
    if [ -d /dev/shm ] && [ -w /dev/shm ]; then
        echo
        echo "== generation against a plain copy, native, /dev/shm (in memory)"
        "$repo/build/bench/bench/quorvel_generation_bench" "${generation_args[@]}" --folder=/dev/shm
    fi
} | tee "$results"

# Under Wine, on a virtual display unless there is one already.
xvfb_pid=
cleanup() {
    quorvel_wine_stop_server 2>/dev/null || true
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
}
trap cleanup EXIT
decorated=Y
if [ -z "${DISPLAY:-}" ]; then
    source "$repo/scripts/xvfb.sh"
    quorvel_start_xvfb
    xvfb_pid=$QUORVEL_XVFB_PID
    decorated=N
fi
export QUORVEL_WINEPREFIX="${QUORVEL_WINEPREFIX:-$repo/build/wineprefix-bench}"
source "$repo/scripts/wine-env.sh"
quorvel_wine_prepare
quorvel_wine_set_version win7
quorvel_wine_set_decorated "$decorated"
quorvel_wine_start_server || true # fails harmlessly when one runs already

{
    echo
    echo "== generation against a plain copy, under Wine ($(wine --version))"
    wine "$repo/build/win/bench/quorvel_generation_bench.exe" "${generation_args[@]}"
    echo
    echo "== exporting a theme pack against a plain copy, under Wine (FCI)"
    wine "$repo/build/win/bench/quorvel_pack_export_bench.exe" --images="$pack_images" \
        --image-mb="$pack_mb"
    echo
    echo "== opening a project file, under Wine"
    wine "$repo/build/win/bench/quorvel_project_bench.exe"
    echo
    echo "== opening a theme pack against copying its bytes, under Wine"
    wine "$repo/build/win/bench/quorvel_pack_bench.exe"
    echo
    echo "== start-up to the first painted window, under Wine"
    wine "$repo/build/win/bench/quorvel_startup_bench.exe" \
        --program="$(winepath -w "$repo/build/win/quorvel.exe")" \
        --baseline="$(winepath -w "$repo/build/win/bench/minimal_window.exe")" --runs="$starts"
    echo
    echo "== first preview of a 6000 x 4000 JPEG against decoding it whole, under Wine"
    wine "$repo/build/win/bench/quorvel_preview_bench.exe" \
        --image="$(winepath -w "$preview_image")" --rounds="$preview_rounds"
} 2>&1 | tr -d '\r' | tee -a "$results"

if [ "$outside_rounds" -gt 0 ]; then
    # The images and the copies go to a folder of the build tree, on the same disk as the rest.
    outside_work="$repo/build/outside-bench"
    {
        echo
        echo "== generation in the real window from outside against CopyFileW, under Wine"
        wine "$repo/build/win/bench/quorvel_outside_bench.exe" \
            --program="$(winepath -w "$repo/build/win/quorvel.exe")" \
            --work="$(winepath -w "$outside_work")" --images="$outside_images" \
            --image-mb="$outside_mb" --rounds="$outside_rounds" --settle="$outside_settle"
    } 2>&1 | tr -d '\r' | grep -v 'FS volume label' | tee -a "$results"
    rm -rf "$outside_work"
fi

say "figures in $results"
