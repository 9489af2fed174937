#!/usr/bin/env bash
# Runs the demo under valgrind's memcheck: the native kelto-host with its
# kelto.p, as a classic and as a current host. Any memory error or leak fails.
set -euo pipefail
cd "$(dirname "$0")/.."
for module in build/native/kelto.p build/native/current/kelto.p; do
  for hostKind in classic current; do
    valgrind --quiet --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite,indirect \
      build/native/kelto-host "$module" --host "$hostKind" >/dev/null
    echo "memcheck-demo: no memory errors: kelto-host $module --host $hostKind"
  done
done
