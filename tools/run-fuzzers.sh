#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a fixed number of
# inputs from a fixed seed, so that a run is repeatable. More runs:
#   tools/run-fuzzers.sh 5000000
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-50000}

# clang's libFuzzer runtime comes with Debian's libclang-rt package.
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
printf '#include <cstddef>\n#include <cstdint>\nextern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }\n' >"$probe/probe.cpp"
if ! clang++ -fsanitize=fuzzer "$probe/probe.cpp" -o "$probe/probe" 2>/dev/null; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "run-fuzzers: clang cannot link libFuzzer; run as root or: apt-get install libclang-rt-14-dev" >&2
    exit 1
  fi
  echo "run-fuzzers: installing libclang-rt-14-dev through apt"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq libclang-rt-14-dev >/dev/null
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

for target in fuzz_block_load fuzz_scene_file; do
  corpus="$probe/$target"
  mkdir -p "$corpus"
  [ "$target" = fuzz_scene_file ] && cp examples/*.scene "$corpus/"
  echo "run-fuzzers: $target, $runs inputs"
  build/fuzz/$target -seed=1 -runs="$runs" -artifact_prefix="build/fuzz/$target-" "$corpus" 2>&1 | tail -n 1
done
