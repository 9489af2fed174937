#!/usr/bin/env bash
# Checks what the host sees of a Windows build: a DLL of the expected width
# whose export directory is named as its file (kelto.p, kelto_focus.p),
# exporting _mod_descrip alone, and importing only DLLs that Windows ships.
#   tools/check-windows-dll.sh [DLL [i386|x86-64]]
set -euo pipefail
dll=${1:-build/windows-i686/kelto.p}
machine=${2:-i386}
allowed_imports='^(KERNEL32\.dll|msvcrt\.dll)$'

fail() { echo "check-windows-dll: $dll: $*" >&2; exit 1; }

case "$machine" in
  i386) format='pei-i386'; kind='PE32 i386' ;;
  x86-64) format='pei-x86-64'; kind='PE32+ x86-64' ;;
  *) echo "check-windows-dll: the machine is i386 or x86-64, not $machine" >&2; exit 2 ;;
esac

[ -f "$dll" ] || fail "no such file"
dump=$(objdump -p "$dll") || fail "objdump cannot read it"

grep -q "file format $format\$" <<<"$dump" || fail "not a $kind file"
awk '/^Characteristics/{on=1; next} on && /^\t/{print; next} on{exit}' <<<"$dump" | grep -qx $'\tDLL' || fail "not a DLL"

expected_name=$(basename "$dll")
name=$(awk '/^Name[ \t]+[0-9a-f]+ /{print $3; exit}' <<<"$dump")
[ "$name" = "$expected_name" ] || fail "export directory names \"$name\", expected \"$expected_name\""

exports=$(awk '/^\[Ordinal\/Name Pointer\] Table/{on=1; next} on && /^\t\[/{print $3; next} on{exit}' <<<"$dump")
[ "$exports" = "_mod_descrip" ] || fail "exports \"$(echo $exports)\", expected only _mod_descrip"

imports=$(awk '/DLL Name:/{print $3}' <<<"$dump")
[ -n "$imports" ] || fail "imports nothing, which no Windows DLL does"
while read -r import; do
  grep -qiE "$allowed_imports" <<<"$import" || fail "imports $import, which Windows does not ship"
done <<<"$imports"

echo "check-windows-dll: $dll: $kind DLL \"$name\", exports _mod_descrip, imports $(echo $imports)"
