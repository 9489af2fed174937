#!/usr/bin/env bash
# Builds the native module and the benchmarks, then measures what the module
# costs the host (see BENCHMARKS.md). Extra arguments go to Google Benchmark,
# e.g. tools/bench.sh --benchmark_filter=Resolved
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset native >/dev/null
cmake --build --preset native --target kelto_benchmarks >/dev/null
exec build/native/kelto_benchmarks --benchmark_min_time=1 "$@"
