#!/usr/bin/env bash
# Builds both Windows DLLs and writes the release archive
# dist/kelto-VERSION-windows.zip: x86/kelto.p, x64/kelto.p and INSTALL.txt.
# Then checks what the archive holds, as an artist would unpack it.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/ensure-mingw.sh
for preset in windows-i686 windows-x64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" >/dev/null
done

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows-x64/CMakeCache.txt)
[ -n "$version" ] || { echo "package: no project version in build/windows-x64" >&2; exit 1; }
archive=dist/kelto-$version-windows.zip
stage=build/package
rm -rf "$stage" "$archive"
mkdir -p "$stage/x86" "$stage/x64" dist
cp build/windows-i686/kelto.p "$stage/x86/kelto.p"
cp build/windows-x64/kelto.p "$stage/x64/kelto.p"
sed "s/@VERSION@/$version/" docs/INSTALL.txt >"$stage/INSTALL.txt"
# A fixed time stamp, so that the same build gives the same archive.
(cd "$stage" && cmake -E tar cf "../../$archive" --format=zip --mtime=2026-01-01 x86/kelto.p x64/kelto.p INSTALL.txt)

# The check: exactly the three files, each DLL of its width, the notes of this version.
check=$(mktemp -d)
trap 'rm -rf "$check"' EXIT
(cd "$check" && cmake -E tar xf "$OLDPWD/$archive")
listing=$(cd "$check" && find . -type f | sort | tr '\n' ' ')
[ "$listing" = "./INSTALL.txt ./x64/kelto.p ./x86/kelto.p " ] || {
  echo "package: $archive holds $listing" >&2
  exit 1
}
tools/check-windows-dll.sh "$check/x86/kelto.p" i386 >/dev/null
tools/check-windows-dll.sh "$check/x64/kelto.p" x86-64 >/dev/null
grep -q "^Kelto $version - install notes" "$check/INSTALL.txt" || { echo "package: INSTALL.txt names another version" >&2; exit 1; }
echo "package: $archive: x86/kelto.p (PE32 i386), x64/kelto.p (PE32+ x86-64), INSTALL.txt"
