#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's prefix and returns its exit code. CMake
# names this script as the emulator of the Windows build, so CTest runs the test programs
# through it:  scripts/wine-run.sh build/win/tests/quorvel_tests.exe --gtest_filter=...
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
if [ $# -eq 0 ]; then
    echo "usage: $0 program.exe [arguments...]" >&2
    exit 2
fi
quorvel_wine_prepare
exec wine "$@"
