#!/usr/bin/env bash
# Installs the 32-bit mingw-w64 cross compiler through apt when it is missing.
set -euo pipefail
if command -v i686-w64-mingw32-g++ >/dev/null 2>&1; then exit 0; fi
if [ "$(id -u)" -ne 0 ]; then
  echo "ensure-mingw: i686-w64-mingw32-g++ is missing; run as root or: apt-get install g++-mingw-w64-i686" >&2
  exit 1
fi
echo "ensure-mingw: installing g++-mingw-w64-i686 through apt"
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq g++-mingw-w64-i686 >/dev/null
