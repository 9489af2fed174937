#!/usr/bin/env bash
# Fails on any C or C++ file that does not follow .clang-format, naming each one.
# Installs clang-format through apt when it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/apt-install.sh

command -v clang-format >/dev/null 2>&1 || apt_install "clang-format is missing" clang-format

mapfile -t files < <(git ls-files '*.c' '*.cpp' '*.h' 2>/dev/null || find . -path ./build -prune -o \( -name '*.c' -o -name '*.cpp' -o -name '*.h' \) -print)
status=0
for file in "${files[@]}"; do
  clang-format --dry-run -Werror "$file" >/dev/null 2>&1 || { echo "check-format: $file does not follow .clang-format" >&2; status=1; }
done
[ "$status" -eq 0 ] && echo "check-format: ${#files[@]} files follow .clang-format"
exit "$status"
