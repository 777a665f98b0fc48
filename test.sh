#!/usr/bin/env bash
# Installs the build dependencies, then builds and runs the whole test suite
# twice: the normal build and the AddressSanitizer/UBSan build.
set -euo pipefail
cd "$(dirname "$0")"
.ci/install-deps

for preset in default asan; do
  echo "== $preset: configure, build, test"
  cmake --preset "$preset"
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
