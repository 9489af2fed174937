#!/usr/bin/env bash
# Mutation testing of the modules (see TESTING.md): makes one-change mutants
# of every file the build compiles into kelto.p (Kelto's and the code both
# share) and into kelto_focus.p (Kelto Focus's own), found on clang's syntax
# tree; builds each as its module is built, without CMake; and says which
# ones the conformance check, the end-to-end tests and the unit tests (Kelto's,
# and Kelto Focus's over the code it holds) kill.
#   tools/mutate.sh [--sample N] [--seed S] [--jobs J] [--timeout SECONDS]
#                   [--only N,N,...] [--modifier kelto|focus] [--list] [--keep]
# Everything lands in build/mutation: its own CMake build folder, so that
# build/native is left alone. Not part of tools/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

# Debian's python, where python3-clang installs; the python3 on the PATH may
# be another one.
python=/usr/bin/python3

. tools/apt-install.sh

[ -x "$python" ] || apt_install "$python is missing" python3
command -v clang >/dev/null 2>&1 || apt_install "clang is missing" clang

# The bindings of the libclang that matches the installed clang: Debian's
# python3-clang-N, N its major version (it brings libclang-N-dev and
# libclang1-N).
clang_major=$(clang -dumpversion | cut -d. -f1)
case "$clang_major" in
  '' | *[!0-9]*) echo "mutate: cannot tell clang's version from \"$(clang -dumpversion)\"" >&2; exit 1 ;;
esac
has_bindings() { "$python" -c 'import clang.cindex; clang.cindex.Index.create()' >/dev/null 2>&1; }
if ! has_bindings; then
  apt_install "libclang's python bindings are missing" "python3-clang-$clang_major"
  has_bindings || { echo "mutate: python3-clang-$clang_major does not load libclang" >&2; exit 1; }
fi

# The native build's configuration with its compile commands written down,
# and only what the mutants are built from and run by.
nice -n 19 cmake --preset native -B build/mutation -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DKELTO_BENCHMARKS=OFF \
  >/dev/null
nice -n 19 cmake --build build/mutation -j2 --target kelto kelto_current kelto_focus kelto_focus_current kelto-host \
  kelto_e2e_tests kelto_unit_tests kelto_unit_tests_current kelto_focus_unit_tests kelto_focus_unit_tests_current \
  >/dev/null

exec nice -n 19 "$python" -B tools/mutation/main.py "$@"
