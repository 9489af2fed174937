#!/usr/bin/env bash
# Builds the native module and the benchmarks, then measures what the module
# costs the host (see BENCHMARKS.md). Extra arguments go to Google Benchmark,
# e.g. tools/bench.sh --benchmark_filter=Resolved
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset native >/dev/null
cmake --build --preset native --target kelto_benchmarks >/dev/null
# Medians of interleaved repetitions, so that the ratio does not follow the
# machine's drift from one benchmark to the next.
exec build/native/kelto_benchmarks --benchmark_min_time=0.5 --benchmark_repetitions=5 \
  --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true "$@"
