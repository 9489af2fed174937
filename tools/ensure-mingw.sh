#!/usr/bin/env bash
# Installs the 32-bit and 64-bit mingw-w64 cross compilers through apt when
# either is missing.
set -euo pipefail
missing=()
command -v i686-w64-mingw32-g++ >/dev/null 2>&1 || missing+=(g++-mingw-w64-i686)
command -v x86_64-w64-mingw32-g++ >/dev/null 2>&1 || missing+=(g++-mingw-w64-x86-64)
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "ensure-mingw: ${missing[*]} missing; run as root or: apt-get install ${missing[*]}" >&2
  exit 1
fi
echo "ensure-mingw: installing ${missing[*]} through apt"
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
