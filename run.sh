#!/usr/bin/env bash
# Installs the build dependencies, builds the suite and starts Quillon.
set -euo pipefail
cd "$(dirname "$0")"
.ci/install-deps

cmake --preset default
cmake --build --preset default
program=build/default/bin/quillon
if [ ! -x "$program" ]; then
  echo "Quillon is not part of this build yet; the libraries and their tests are built in build/default." >&2
  exit 1
fi
exec "$program" "$@"
