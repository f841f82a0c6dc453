#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a while on the corpus in fuzz/corpus
# (a scratch copy, so the repository's corpus only changes when you copy findings back).
#   scripts/fuzz.sh            # 30 seconds per target
#   scripts/fuzz.sh 3600       # an hour per target
# A failing input (crash, sanitizer report, leak, time-out) ends the script with exit code 1 and
# is kept in build/fuzz/findings/<target>/.
set -euo pipefail
seconds=${1:-30}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/fuzz
targets=(profile_writer paths project_file theme_file theme_pack utf8)

echo "== fuzz: building the targets with clang in $build"
if ! cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DQUORVEL_FUZZ=ON \
    -DQUORVEL_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$build.configure.log" 2>&1; then
    cat "$build.configure.log" >&2
    exit 1
fi
cmake --build "$build" -j2 --target "${targets[@]/%/_fuzz}" >/dev/null

status=0
for target in "${targets[@]}"; do
    work=$build/corpus/$target
    findings=$build/findings/$target
    mkdir -p "$work" "$findings"
    cp -n "$root/fuzz/corpus/$target/"* "$work/" 2>/dev/null || true
    echo "== fuzz: ${target}_fuzz for ${seconds}s"
    log=$build/${target}_fuzz.log
    # Each target gets an (almost) fixed memory cap and per-input time limit so that a slow or
    # greedy input is a finding too.
    if (cd "$build" && "./fuzz/${target}_fuzz" -max_total_time="$seconds" -print_final_stats=1 \
        -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$findings/" "$work" >"$log" 2>&1); then
        grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$log" || true
    else
        echo "fuzz: ${target}_fuzz found a failing input (log: $log):" >&2
        grep -E 'ERROR|SUMMARY|Test unit written' "$log" >&2 || tail -20 "$log" >&2
        status=1
    fi
done
if [ "$status" = 0 ]; then
    echo "== fuzz: no failures"
fi
exit "$status"
