#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a while on the corpus in fuzz/corpus
# (a scratch copy, so the repository's corpus only changes when you copy findings back).
#   scripts/fuzz.sh            # 30 seconds per target
#   scripts/fuzz.sh 3600       # an hour per target
set -euo pipefail
seconds=${1:-30}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/fuzz
echo "== fuzz: building the targets with clang in $build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DQUORVEL_FUZZ=ON \
    -DQUORVEL_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target profile_writer_fuzz paths_fuzz >/dev/null
for target in profile_writer paths; do
    work=$build/corpus/$target
    mkdir -p "$work"
    cp -n "$root/fuzz/corpus/$target/"* "$work/" 2>/dev/null || true
    echo "== fuzz: ${target}_fuzz for ${seconds}s"
    (cd "$build" && "./fuzz/${target}_fuzz" -max_total_time="$seconds" -print_final_stats=1 \
        "$work" 2>&1 | grep -E '^(Done|stat::number_of_executed_units|==.*ERROR)' || true)
    if ls "$build"/crash-* >/dev/null 2>&1; then
        echo "fuzz: ${target}_fuzz found a failing input: $(ls "$build"/crash-*)" >&2
        exit 1
    fi
done
echo "== fuzz: no failures"
