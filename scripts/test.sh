#!/usr/bin/env bash
# Builds and tests everything: the native build and its tests, the same tests built with
# AddressSanitizer and UBSan, a short run of the fuzz targets, then the Windows build and its
# tests under Wine (on a virtual display when there is no $DISPLAY). All builds treat warnings
# as errors. Ends with one line "N passed, N failed" counting the GoogleTest tests of every run
# (the fuzz run counts as one item), and exits non-zero when anything failed.
set -uo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
started=$SECONDS

say() { echo "test: $*"; }

"$repo/scripts/setup.sh" || { say "setup failed"; echo "0 passed, 1 failed"; exit 1; }

results="$repo/build/test-results"
passed=0
failed=0
skipped=0
problems=()

# Adds up the test cases of the GoogleTest XML reports in a folder.
count_results() {
    local folder=$1 counts
    counts=$(cat "$folder"/*.xml 2>/dev/null | awk '
        function finish() { if (open) { if (failure) f++; else p++; open = 0 } }
        /<testcase / {
            finish()
            if ($0 ~ /status="notrun"/) next
            if ($0 ~ /result="skipped"/) { s++; next }
            open = 1; failure = 0
            if ($0 ~ /\/>[ \t]*$/) finish()
            next
        }
        /<failure/ { if (open) failure = 1 }
        /<\/testcase>/ { finish() }
        END { finish(); printf "%d %d %d\n", p, f, s }')
    echo "${counts:-0 0 0}"
}

# Runs the tests of one build through CTest, each GoogleTest program writing its XML report into
# $results/<name>; gtest_output is the value of GTEST_OUTPUT as the test programs see the folder.
run_tests() {
    local name=$1 build=$2 gtest_output=$3
    shift 3
    local folder="$results/$name" rc p f s
    rm -rf "$folder" && mkdir -p "$folder"
    say "running the $name tests"
    GTEST_OUTPUT="$gtest_output" ctest --test-dir "$build" --output-on-failure "$@"
    rc=$?
    read -r p f s < <(count_results "$folder")
    say "$name tests: $p passed, $f failed, $s skipped"
    passed=$((passed + p))
    failed=$((failed + f))
    skipped=$((skipped + s))
    if [ "$rc" != 0 ] && [ "$f" = 0 ]; then
        # CTest failed without a failed test case: a test program crashed, hung or did not run.
        problems+=("the $name test run failed without a test result (crash, timeout or no tests)")
        failed=$((failed + 1))
    fi
}

build() {
    local name=$1 folder=$2
    shift 2
    say "building $name in $folder"
    if cmake -S "$repo" -B "$folder" -G Ninja -DQUORVEL_WERROR=ON "$@" >"$folder.configure.log" 2>&1 ||
        { cat "$folder.configure.log"; false; }; then
        if cmake --build "$folder" -j2; then
            return 0
        fi
    fi
    problems+=("the $name build failed")
    failed=$((failed + 1))
    return 1
}

mkdir -p "$repo/build"

# --- format -----------------------------------------------------------------------------------
# Every C++ source of the repository as the repository's .clang-format lays it out; counts as
# one item of the summary.
say "checking the format of the sources"
if git -C "$repo" ls-files -z '*.cpp' '*.h' | (cd "$repo" && xargs -0 clang-format --dry-run -Werror); then
    passed=$((passed + 1))
else
    problems+=("sources not formatted as .clang-format says (clang-format -i on the files above)")
    failed=$((failed + 1))
fi

# --- native -----------------------------------------------------------------------------------
if build native "$repo/build/native" -DCMAKE_BUILD_TYPE=Debug; then
    run_tests native "$repo/build/native" "xml:$results/native/" --parallel 2
fi
say "native part done after $((SECONDS - started))s"

# --- native, with AddressSanitizer and UndefinedBehaviorSanitizer -------------------------------
# The same tests once more, built with both sanitizers; any finding ends the test program with a
# report and counts as a failure.
if build asan "$repo/build/asan" -DCMAKE_BUILD_TYPE=Debug -DQUORVEL_SANITIZE=ON; then
    ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1 \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        run_tests asan "$repo/build/asan" "xml:$results/asan/" --parallel 2
fi
say "sanitizer part done after $((SECONDS - started))s"

# --- fuzzing ----------------------------------------------------------------------------------
# A short run of every libFuzzer target on its corpus (scripts/fuzz.sh 3600 for a long one);
# counts as one item of the summary.
fuzz_seconds=${QUORVEL_FUZZ_SECONDS:-25}
say "fuzzing, ${fuzz_seconds}s per target"
if "$repo/scripts/fuzz.sh" "$fuzz_seconds"; then
    passed=$((passed + 1))
else
    problems+=("the fuzz run failed (see its output above)")
    failed=$((failed + 1))
fi
say "fuzz part done after $((SECONDS - started))s"

# --- Windows, under Wine ----------------------------------------------------------------------
if build Windows "$repo/build/win" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake"; then
    xvfb_pid=
    wine_started=0
    cleanup() {
        if [ "$wine_started" = 1 ]; then
            quorvel_wine_stop_server
        fi
        if [ -n "$xvfb_pid" ]; then
            kill "$xvfb_pid" 2>/dev/null
            wait "$xvfb_pid" 2>/dev/null
        fi
    }
    trap cleanup EXIT
    # The display comes first: Wine binds a prefix's desktop to the display of its first program.
    decorated=Y
    if [ -z "${DISPLAY:-}" ]; then
        source "$repo/scripts/xvfb.sh"
        quorvel_start_xvfb && xvfb_pid=$QUORVEL_XVFB_PID
        decorated=N # no window manager: Wine draws the frames itself
    fi
    source "$repo/scripts/wine-env.sh"
    if quorvel_wine_prepare; then
        quorvel_wine_set_version win7
        quorvel_wine_set_decorated "$decorated"
        quorvel_wine_start_server
        wine_started=1
        # The test programs see the folder through Wine's drive Z:, the host's root.
        run_tests Windows "$repo/build/win" "xml:Z:$(echo "$results/Windows/" | tr / '\\')"
        quorvel_wine_stop_server
        wine_started=0
    else
        problems+=("the Wine prefix could not be prepared")
        failed=$((failed + 1))
    fi
    cleanup
    trap - EXIT
fi
say "Windows part done after $((SECONDS - started))s"

for problem in "${problems[@]}"; do
    say "FAILED: $problem"
done
if [ "$skipped" != 0 ]; then
    say "$skipped skipped"
fi
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
