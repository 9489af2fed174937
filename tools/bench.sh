#!/usr/bin/env bash
# Measures what the modules cost the host (see BENCHMARKS.md): the Google
# Benchmark suite over the native modules, then kelto-floor over every
# shipped binary: both native flavours, and both Windows DLLs under Wine (the
# 32-bit one skipped, with a line saying so, on a machine that cannot run
# 32-bit x86 programs). Extra arguments go to Google Benchmark, e.g.
#   tools/bench.sh --benchmark_filter=Resolved
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset native >/dev/null
cmake --build --preset native --target kelto_benchmarks kelto-floor >/dev/null
# Medians of interleaved repetitions, so that the ratio does not follow the
# machine's drift from one benchmark to the next.
build/native/kelto_benchmarks --benchmark_min_time=0.5 --benchmark_repetitions=5 \
  --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true "$@"

echo
build/native/kelto-floor build/native/kelto.p build/native/kelto_focus.p
build/native/kelto-floor build/native/current/kelto.p build/native/current/kelto_focus.p

tools/ensure-mingw.sh
tools/ensure-wine.sh
. tools/wine-env.sh
for preset in windows-i686:32 windows-x64:64; do
  dir=build/${preset%:*} width=${preset#*:}
  cmake --preset "${preset%:*}" >/dev/null
  cmake --build --preset "${preset%:*}" --target kelto-floor kelto kelto_focus >/dev/null
  if wine_can_run "$width"; then
    wine_run "$width" "$dir/kelto-floor.exe" "$dir/kelto.p" "$dir/kelto_focus.p" | tr -d '\r'
  else
    wine_skip "measuring $dir"
  fi
done
