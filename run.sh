#!/usr/bin/env bash
# Installs the build dependencies, builds the suite and starts Quillon. On a
# machine without a display it writes one sample message with quillon-cli
# instead and prints where.
set -euo pipefail
cd "$(dirname "$0")"
.ci/install-deps

cmake --preset default
cmake --build --preset default
bin=build/default/bin

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display here (DISPLAY and WAYLAND_DISPLAY are unset): Quillon's window cannot open." >&2
  echo "Writing a sample post mail from docs/sample.jpg with quillon-cli instead:" >&2
  out=build/default/sample-mail
  mkdir -p "$out"
  exec "$bin/quillon-cli" --from me@example.org --to my-blog@tumblr.com \
    --caption "Sunset over the bay" --out "$out" docs/sample.jpg
fi
exec "$bin/quillon" "$@"
