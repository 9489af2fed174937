#!/usr/bin/env bash
# Installs Wine with its 32-bit and 64-bit halves through apt when missing,
# so that each Windows build of the simulated host can load its kelto.p.
set -euo pipefail
if command -v wine >/dev/null 2>&1 && dpkg -s wine32:i386 >/dev/null 2>&1 && dpkg -s wine64 >/dev/null 2>&1; then
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "ensure-wine: Wine is missing; run as root or: dpkg --add-architecture i386 && apt-get install wine wine32:i386 wine64" >&2
  exit 1
fi
echo "ensure-wine: installing wine, wine32:i386 and wine64 through apt"
dpkg --add-architecture i386
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends wine wine32:i386 wine64 >/dev/null
