#!/usr/bin/env bash
# Builds both modifiers in both flavours (kelto.p, kelto_focus.p, and the
# current/ ones the docs' examples load) and the simulated host, then runs
# the bundled demo scene.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset native >/dev/null
cmake --build --preset native --target kelto kelto_focus kelto_current kelto_focus_current kelto-host >/dev/null
exec build/native/kelto-host "$@"
