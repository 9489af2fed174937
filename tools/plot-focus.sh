#!/usr/bin/env bash
# Draws docs/focus-measures.svg, the README's plot of Kelto Focus's two
# measures over the example scene, with the native build's kelto-host.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset native >/dev/null
cmake --build --preset native --target kelto_focus kelto-host >/dev/null
build/native/kelto-host build/native/kelto_focus.p --scene examples/focus.scene \
  --compare "Measure=Straight line" --compare "Measure=Along view" --plot docs/focus-measures.svg >/dev/null
echo "docs/focus-measures.svg"
