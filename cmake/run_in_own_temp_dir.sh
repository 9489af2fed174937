#!/bin/sh
# Runs a test program with TEST_TMPDIR, where GoogleTest's TempDir() points,
# set to a fresh folder of its own and removed afterwards, so that tests run
# side by side (ctest -j, another build's tests) never share a scratch file.
#   sh cmake/run_in_own_temp_dir.sh PROGRAM ARGUMENTS...
scratch=$(mktemp -d "${TMPDIR:-/tmp}/kelto-test.XXXXXX") || exit 1
TEST_TMPDIR=$scratch "$@"
status=$?
rm -rf "$scratch"
exit $status
