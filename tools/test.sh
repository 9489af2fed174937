#!/usr/bin/env bash
# Builds everything and runs every check: the Windows DLL and its export
# table, the suite natively, the Windows build against the native one under
# Wine, a short repeatable fuzzing run, then the suite under the sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/ensure-mingw.sh
cmake --preset windows-i686
cmake --build --preset windows-i686
tools/check-windows-dll.sh build/windows-i686/kelto.p

cmake --preset native
cmake --build --preset native
ctest --preset native

tools/ensure-wine.sh
tools/compare-windows-build.sh

tools/run-fuzzers.sh

cmake --preset asan
cmake --build --preset asan
ctest --preset asan
