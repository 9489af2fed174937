#!/usr/bin/env bash
# Runs the demo under valgrind's memcheck: the native kelto-host with its
# kelto.p, and with its kelto_focus.p on the Kelto Focus example (along the
# view, every setting, so that the offsets and the lag run too), each as a
# classic and as a current host. Any memory error or leak fails.
set -euo pipefail
cd "$(dirname "$0")/.."
focus_run=(--scene examples/focus.scene --pick "Measure=Along view" --set "Subject Offset=0 0.25 -1"
  --set "Focus Offset=0.1" --set "Lag=0.5")
for folder in build/native build/native/current; do
  for hostKind in classic current; do
    for run in kelto.p kelto_focus.p; do
      arguments=()
      if [ "$run" = kelto_focus.p ]; then arguments=("${focus_run[@]}"); fi
      valgrind --quiet --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite,indirect \
        build/native/kelto-host "$folder/$run" --host "$hostKind" "${arguments[@]}" >/dev/null
      echo "memcheck-demo: no memory errors: kelto-host $folder/$run --host $hostKind ${arguments[*]}"
    done
  done
done
