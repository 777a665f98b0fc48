#!/usr/bin/env bash
# Installs the build dependencies, then builds and runs the whole test suite
# twice (the normal build and the AddressSanitizer/UBSan build), and builds
# the libFuzzer targets, replays each one's seed corpus and fuzzes each for
# 30 seconds (FUZZ_SECONDS overrides; 0 only replays). Last, it builds the
# Debian packages from the normal build, installs, uses and purges them
# (.ci/package-check).
set -euo pipefail
cd "$(dirname "$0")"
.ci/install-deps

for preset in default asan; do
  echo "== $preset: configure, build, test"
  cmake --preset "$preset"
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done

echo "== fuzz: configure, build, replay the seed corpora, fuzz"
cmake --preset fuzz
cmake --build --preset fuzz
tests/fuzz/replay-and-fuzz.sh build/fuzz/bin "${FUZZ_SECONDS:-30}"

echo "== packages: build, lintian, install, use, purge"
.ci/package-check
