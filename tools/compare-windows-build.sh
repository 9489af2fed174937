#!/usr/bin/env bash
# Runs the same scenes through each Windows build (kelto-host.exe loading its
# own kelto.p under Wine) and the matching native build, with every value
# printed to 17 digits: the two must agree line for line, bit for bit. The
# 32-bit DLL is compared with the classic native module, the 64-bit one with
# the native module that serves both protocols, under both kinds of host.
# On a machine that cannot run 32-bit x86 programs the 32-bit comparison is
# skipped (tools/wine-env.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
native=build/native

. tools/wine-env.sh

status=0
# compare WINDOWS_BUILD WIDTH NATIVE_MODULE ARGUMENTS...
same_platform() {
  sed -e 1d -e 's/, machine 0x[0-9a-f]* ([A-Za-z]*)$/, machine (its platform'"'"'s)/'
}

compare() {
  local windows=$1 width=$2 module=$3 on_windows on_linux
  shift 3
  # The first line names the module file, and the descriptor line each build's
  # own machine code: both differ by build.
  on_windows=$(wine_run "$width" "$windows/kelto-host.exe" "$windows/kelto.p" "$@" 2>&1 | tr -d '\r' | same_platform) \
    || true
  on_linux=$("$native/kelto-host" "$module" "$@" 2>&1 | same_platform) || true
  if [ -n "$on_linux" ] && [ "$on_windows" = "$on_linux" ]; then
    echo "compare-windows-build: same output from $windows and $module: kelto-host $*"
  else
    echo "compare-windows-build: the builds differ: $windows and $module: kelto-host $*" >&2
    diff <(echo "$on_windows") <(echo "$on_linux") >&2 || true
    status=1
  fi
}

# compare_scenes WINDOWS_BUILD WIDTH NATIVE_MODULE HOST_ARGUMENTS...
compare_scenes() {
  local windows=$1 width=$2 module=$3
  shift 3
  if ! wine_can_run "$width"; then
    wine_skip "comparing $windows with $module${*:+ ($*)}"
    return
  fi
  compare "$windows" "$width" "$module" "$@" --info
  compare "$windows" "$width" "$module" "$@" --scene examples/demo.scene --exact
  compare "$windows" "$width" "$module" "$@" --scene examples/demo.scene --exact --pick "Reference Item=Ground" --pick "Reference Camera=Close-up"
  compare "$windows" "$width" "$module" "$@" --scene examples/demo.scene --exact --pick "Reference Item=(none)"
  compare "$windows" "$width" "$module" "$@" --scene examples/flyby.scene --exact
  compare "$windows" "$width" "$module" "$@" --scene examples/flyby.scene --exact --pick "Reference Camera=Wide"
  compare "$windows" "$width" "$module" "$@" --scene examples/edits.scene --exact
  compare "$windows" "$width" "$module" "$@" --scene examples/demo.scene --exact --edit "delete Ground@30" --edit "delete Camera@60"
}

compare_scenes build/windows-i686 32 "$native/kelto.p"
compare_scenes build/windows-x64 64 "$native/current/kelto.p" --host classic
compare_scenes build/windows-x64 64 "$native/current/kelto.p" --host current
exit $status
