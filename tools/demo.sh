#!/usr/bin/env bash
# Builds the module and the simulated host, then runs the bundled demo scene.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset native >/dev/null
cmake --build --preset native --target kelto kelto-host >/dev/null
exec build/native/kelto-host "$@"
