#!/usr/bin/env bash
# Runs the same scenes through the Windows build (kelto-host.exe loading the
# Windows kelto.p under Wine) and the native build, with every value printed
# to 17 digits: the two must agree line for line, bit for bit.
set -euo pipefail
cd "$(dirname "$0")/.."
windows=build/windows-i686
native=build/native

# A prefix of the project's own, with no prompts to install Mono or Gecko,
# made before the first comparison so that its messages stay out of it.
export WINEPREFIX="$PWD/build/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
timeout 300 wineboot --init >/dev/null 2>&1 || true

status=0
compare() {
  local on_windows on_linux
  # The first line names the module file, which differs by build.
  on_windows=$(timeout 300 wine "$windows/kelto-host.exe" "$windows/kelto.p" "$@" 2>&1 | tr -d '\r' | sed 1d) || true
  on_linux=$("$native/kelto-host" "$native/kelto.p" "$@" 2>&1 | sed 1d) || true
  if [ -n "$on_linux" ] && [ "$on_windows" = "$on_linux" ]; then
    echo "compare-windows-build: same output on Windows and Linux: kelto-host $*"
  else
    echo "compare-windows-build: the builds differ: kelto-host $*" >&2
    diff <(echo "$on_windows") <(echo "$on_linux") >&2 || true
    status=1
  fi
}

compare --info
compare --scene examples/demo.scene --exact
compare --scene examples/demo.scene --exact --pick "Reference Item=Ground" --pick "Reference Camera=Close-up"
compare --scene examples/demo.scene --exact --pick "Reference Item=(none)"
compare --scene examples/flyby.scene --exact
compare --scene examples/flyby.scene --exact --pick "Reference Camera=Wide"
compare --scene examples/edits.scene --exact
compare --scene examples/demo.scene --exact --edit "delete Ground@30" --edit "delete Camera@60"
exit $status
