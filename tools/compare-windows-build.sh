#!/usr/bin/env bash
# Runs the same scenes through each Windows build (kelto-host.exe loading its
# own kelto.p and kelto_focus.p under Wine) and the matching native build,
# with every value printed to 17 digits: the two must agree line for line,
# bit for bit. The 32-bit DLLs are compared with the classic native modules,
# the 64-bit ones with the native modules that serve both protocols, under
# both kinds of host. On a machine that cannot run 32-bit x86 programs the
# 32-bit comparison is skipped (tools/wine-env.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
native=build/native

. tools/wine-env.sh

status=0
same_platform() {
  sed -e 1d -e 's/, machine 0x[0-9a-f]* ([A-Za-z]*)$/, machine (its platform'"'"'s)/'
}

# compare WINDOWS_BUILD WIDTH MODULE_FILE NATIVE_MODULE ARGUMENTS...
compare() {
  local windows=$1 width=$2 file=$3 module=$4 on_windows on_linux
  shift 4
  # The first line names the module file, and the descriptor line each build's
  # own machine code: both differ by build.
  on_windows=$(wine_run "$width" "$windows/kelto-host.exe" "$windows/$file" "$@" 2>&1 | tr -d '\r' | same_platform) \
    || true
  on_linux=$("$native/kelto-host" "$module" "$@" 2>&1 | same_platform) || true
  if [ -n "$on_linux" ] && [ "$on_windows" = "$on_linux" ]; then
    echo "compare-windows-build: same output from $windows/$file and $module: kelto-host $*"
  else
    echo "compare-windows-build: the builds differ: $windows/$file and $module: kelto-host $*" >&2
    diff <(echo "$on_windows") <(echo "$on_linux") >&2 || true
    status=1
  fi
}

# compare_scenes WINDOWS_BUILD WIDTH NATIVE_FOLDER HOST_ARGUMENTS...: Kelto's
# scenes through kelto.p, then Kelto Focus's through kelto_focus.p (both
# measures, every setting, and a scene moved from Kelto).
compare_scenes() {
  local windows=$1 width=$2 folder=$3
  shift 3
  if ! wine_can_run "$width"; then
    wine_skip "comparing $windows with $folder${*:+ ($*)}"
    return
  fi
  build_windows_host "$width"
  local kelto=(compare "$windows" "$width" kelto.p "$folder/kelto.p" "$@")
  "${kelto[@]}" --info
  "${kelto[@]}" --scene examples/demo.scene --exact
  "${kelto[@]}" --scene examples/demo.scene --exact --pick "Reference Item=Ground" --pick "Reference Camera=Close-up"
  "${kelto[@]}" --scene examples/demo.scene --exact --pick "Reference Item=(none)"
  "${kelto[@]}" --scene examples/flyby.scene --exact
  "${kelto[@]}" --scene examples/flyby.scene --exact --pick "Reference Camera=Wide"
  "${kelto[@]}" --scene examples/edits.scene --exact
  "${kelto[@]}" --scene examples/demo.scene --exact --edit "delete Ground@30" --edit "delete Camera@60"
  local focus=(compare "$windows" "$width" kelto_focus.p "$folder/kelto_focus.p" "$@")
  "${focus[@]}" --info
  "${focus[@]}" --scene examples/focus.scene --exact
  "${focus[@]}" --scene examples/focus.scene --exact --pick "Measure=Along view" \
    --set "Subject Offset=0 0.25 -1" --set "Focus Offset=0.1" --set "Lag=0.5"
  "${focus[@]}" --scene examples/demo.scene --exact --edit "delete Ground@30"
}

compare_scenes build/windows-i686 32 "$native"
compare_scenes build/windows-x64 64 "$native/current" --host classic
compare_scenes build/windows-x64 64 "$native/current" --host current
exit $status
