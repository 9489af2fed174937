#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a fixed number of
# inputs (half as many for the call-sequence targets) from a fixed seed, starting from the seed corpus in fuzz/corpus (and
# the example scenes), so that a run is repeatable. More runs (the corpus in
# the repository is not written to):
#   tools/run-fuzzers.sh 10000000
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-200000}

. tools/apt-install.sh

command -v clang++ >/dev/null 2>&1 || apt_install "clang is missing" clang

# clang's libFuzzer runtime comes with Debian's libclang-rt-N-dev, N the major
# version of the clang installed.
clang_major=$(clang++ -dumpversion | cut -d. -f1)
case "$clang_major" in
  '' | *[!0-9]*) echo "run-fuzzers: cannot tell clang's version from \"$(clang++ -dumpversion)\"" >&2; exit 1 ;;
esac
runtime=libclang-rt-$clang_major-dev
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
printf '#include <cstddef>\n#include <cstdint>\nextern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }\n' >"$probe/probe.cpp"
links_libfuzzer() { clang++ -fsanitize=fuzzer "$probe/probe.cpp" -o "$probe/probe" 2>/dev/null; }
if ! links_libfuzzer; then
  apt_install "clang $clang_major cannot link libFuzzer" "$runtime"
  links_libfuzzer || { echo "run-fuzzers: clang $clang_major cannot link libFuzzer even with $runtime" >&2; exit 1; }
fi

fuzzers=(block_load instance_sequence scene_file host_scene focus_block focus_sequence)
cmake --preset fuzz >/dev/null
# The fuzzers alone: the rest of the tree is built and tested elsewhere.
cmake --build --preset fuzz --target "${fuzzers[@]/#/fuzz_}"

for name in "${fuzzers[@]}"; do
  target=fuzz_$name
  # A sequence input takes many calls, a host scene is read twice and
  # written: those targets take half the inputs.
  count=$runs
  case "$name" in *_sequence | host_scene) count=$((runs / 2)) ;; esac
  corpus="$probe/$name"
  mkdir -p "$corpus"
  cp fuzz/corpus/$name/* "$corpus/"
  # The example scenes seed the scene reader too.
  [ "$name" = scene_file ] && cp examples/*.scene "$corpus/"
  [ "$name" = host_scene ] && cp examples/*.lws "$corpus/"
  echo "run-fuzzers: $target, $count inputs"
  if ! build/fuzz/$target -seed=1 -runs="$count" -artifact_prefix="build/fuzz/$target-" "$corpus" >"$probe/$name.log" 2>&1; then
    tail -n 40 "$probe/$name.log" >&2
    echo "run-fuzzers: $target failed; the input is in build/fuzz/$target-*" >&2
    exit 1
  fi
  grep -E '^Done|DONE' "$probe/$name.log" | tail -n 2
done
