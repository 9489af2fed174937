#!/usr/bin/env bash
# Checks the C++ style (.clang-format), then builds everything and runs every
# check: the four Windows DLLs, their export tables and the release archive; the suite natively over both module
# flavours; valgrind's memcheck over the demo; each Windows build against the
# native one under Wine, and the conformance check on every build (the 32-bit
# Windows runs skipped, each with a line saying so, on a machine that cannot
# run 32-bit x86 programs); a short repeatable fuzzing run (100,000 inputs a
# fuzzer, half for some); then the suite under the sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/check-format.sh
tools/package.sh

cmake --preset native
cmake --build --preset native
ctest --preset native
tools/memcheck-demo.sh

tools/ensure-wine.sh
tools/compare-windows-build.sh
tools/validate-builds.sh

tools/run-fuzzers.sh 100000

cmake --preset asan
cmake --build --preset asan
ctest --preset asan
