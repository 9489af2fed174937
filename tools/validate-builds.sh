#!/usr/bin/env bash
# Runs the conformance check (kelto-host validate) on every build of both
# modules, kelto.p and kelto_focus.p: both native flavours, and each Windows
# DLL through its own kelto-host.exe under Wine (the 32-bit one skipped on a
# machine that cannot run 32-bit x86 programs: tools/wine-env.sh). A build
# that serves both protocols must have no check skipped: one that refused
# version 5 would pass with its current checks skipped. Then on a module that
# only claims to be the modifier, which it must reject. The seed is printed,
# to replay a failure.
set -euo pipefail
cd "$(dirname "$0")/.."
seed=${1:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}
. tools/wine-env.sh

status=0
# validate LABEL classic|current COMMAND...
validate() {
  local label=$1 flavour=$2 output totals
  shift 2
  if output=$("$@" --seed "$seed" 2>&1 | tr -d '\r'); then
    totals=$(tail -n 1 <<<"$output")
    if [ "$flavour" = current ] && ! grep -q ', 0 skipped$' <<<"$totals"; then
      echo "validate-builds: $label serves both protocols but had checks skipped:" >&2
      grep '^SKIP ' <<<"$output" >&2
      status=1
    else
      echo "validate-builds: $label: $totals"
    fi
  else
    echo "validate-builds: $label failed the conformance check:" >&2
    grep -v '^PASS ' <<<"$output" >&2
    status=1
  fi
}

# Both modules, Kelto (kelto.p) and Kelto Focus (kelto_focus.p), of every build.
wine_can_run 32 && build_windows_host 32
build_windows_host 64
for module in kelto kelto_focus; do
  validate "native $module.p" classic build/native/kelto-host validate build/native/$module.p
  validate "native current/$module.p" current build/native/kelto-host validate build/native/current/$module.p
  if wine_can_run 32; then
    validate "32-bit Windows $module.p" classic \
      wine_run 32 build/windows-i686/kelto-host.exe validate build/windows-i686/$module.p
  else
    wine_skip "the conformance check of the 32-bit Windows $module.p"
  fi
  validate "64-bit Windows $module.p" current \
    wine_run 64 build/windows-x64/kelto-host.exe validate build/windows-x64/$module.p
done

if build/native/kelto-host validate build/native/fault_modules/fault_impostor.p --seed "$seed" >/dev/null 2>&1; then
  echo "validate-builds: the impostor module passed the conformance check" >&2
  status=1
else
  echo "validate-builds: the impostor module is rejected, as it must be"
fi
exit $status
