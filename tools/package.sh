#!/usr/bin/env bash
# Builds the Windows DLLs of both widths and writes the release archive
# dist/kelto-VERSION-windows.zip: x86/ and x64/ each with kelto.p and
# kelto_focus.p, and INSTALL.txt. Then checks what the archive holds, as an
# artist would unpack it.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/ensure-mingw.sh
for preset in windows-i686 windows-x64; do
  cmake --preset "$preset" >/dev/null
  # The DLLs alone: kelto-host.exe is built by the scripts that run it.
  cmake --build --preset "$preset" --target kelto kelto_focus >/dev/null
done

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows-x64/CMakeCache.txt)
[ -n "$version" ] || { echo "package: no project version in build/windows-x64" >&2; exit 1; }
archive=dist/kelto-$version-windows.zip
stage=build/package
rm -rf "$stage" "$archive"
mkdir -p "$stage/x86" "$stage/x64" dist
modules="kelto.p kelto_focus.p"
files=""
for module in $modules; do
  cp "build/windows-i686/$module" "$stage/x86/$module"
  cp "build/windows-x64/$module" "$stage/x64/$module"
  files="$files x86/$module x64/$module"
done
sed "s/@VERSION@/$version/" docs/INSTALL.txt >"$stage/INSTALL.txt"
# A fixed time stamp, so that the same build gives the same archive.
(cd "$stage" && cmake -E tar cf "../../$archive" --format=zip --mtime=2026-01-01 $files INSTALL.txt)

# The check: exactly the five files, each DLL of its width, the notes of this version.
check=$(mktemp -d)
trap 'rm -rf "$check"' EXIT
(cd "$check" && cmake -E tar xf "$OLDPWD/$archive")
listing=$(cd "$check" && find . -type f | sort | tr '\n' ' ')
expected="./INSTALL.txt ./x64/kelto.p ./x64/kelto_focus.p ./x86/kelto.p ./x86/kelto_focus.p "
[ "$listing" = "$expected" ] || {
  echo "package: $archive holds $listing" >&2
  exit 1
}
for module in $modules; do
  tools/check-windows-dll.sh "$check/x86/$module" i386 >/dev/null
  tools/check-windows-dll.sh "$check/x64/$module" x86-64 >/dev/null
done
grep -q "^Kelto $version - install notes" "$check/INSTALL.txt" || { echo "package: INSTALL.txt names another version" >&2; exit 1; }
echo "package: $archive: x86/kelto.p and x86/kelto_focus.p (PE32 i386), x64/kelto.p and x64/kelto_focus.p (PE32+ x86-64), INSTALL.txt"
