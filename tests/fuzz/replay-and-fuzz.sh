#!/usr/bin/env bash
# Replays every fuzz target's seed corpus (tests/fuzz/corpus/<target>/), then
# fuzzes each target for a while from those seeds. Fails on the first crash,
# leak, sanitizer report, time-out or allocation over the limit, and when a
# target has no corpus.
#
#   tests/fuzz/replay-and-fuzz.sh BIN_DIR [SECONDS]
#
# BIN_DIR holds the fuzz preset's programs (build/fuzz/bin); SECONDS is the
# fuzzing time per target (30 by default; 0 only replays). A failing input
# is kept in the artifacts folder that is printed, and shown in base64.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
bin_dir="${1:?usage: replay-and-fuzz.sh BIN_DIR [SECONDS]}"
seconds="${2:-30}"
limits=(-rss_limit_mb=2048 -malloc_limit_mb=256 -timeout=10)

artifacts="$(mktemp -d "${TMPDIR:-/tmp}/corvid-fuzz.XXXXXX")"
shopt -s nullglob
targets=("$bin_dir"/fuzz_*)
[ ${#targets[@]} -gt 0 ] || { echo "replay-and-fuzz: no fuzz programs in $bin_dir" >&2; exit 1; }

report() {
  echo "replay-and-fuzz: $1 failed; inputs kept in $artifacts/$2" >&2
  for input in "$artifacts/$2"/crash-* "$artifacts/$2"/leak-* "$artifacts/$2"/timeout-* "$artifacts/$2"/oom-*; do
    [ -f "$input" ] && { echo "$input:" >&2; base64 "$input" >&2; }
  done
  exit 1
}

for program in "${targets[@]}"; do
  name="$(basename "$program")"
  corpus="$here/corpus/$name"
  if [ ! -d "$corpus" ] || [ -z "$(ls -A "$corpus")" ]; then
    echo "replay-and-fuzz: $name has no seed corpus in $corpus" >&2
    exit 1
  fi
  dict=()
  [ -f "$here/${name#fuzz_}.dict" ] && dict=(-dict="$here/${name#fuzz_}.dict")
  mkdir -p "$artifacts/$name/new"
  echo "== $name: replaying $(ls "$corpus" | wc -l) seeds"
  "$program" "${limits[@]}" -runs=0 -artifact_prefix="$artifacts/$name/" "$corpus" \
    >"$artifacts/$name/replay.log" 2>&1 || { tail -n 40 "$artifacts/$name/replay.log" >&2; report "$name (replay)" "$name"; }
  if [ "$seconds" -gt 0 ]; then
    echo "== $name: fuzzing for $seconds s"
    # New inputs go to a scratch folder; the checked-in seeds are only read.
    "$program" "${limits[@]}" "${dict[@]}" -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="$artifacts/$name/" "$artifacts/$name/new" "$corpus" \
      >"$artifacts/$name/fuzz.log" 2>&1 || { tail -n 60 "$artifacts/$name/fuzz.log" >&2; report "$name" "$name"; }
    grep -E '^stat::number_of_executed_units' "$artifacts/$name/fuzz.log" | sed "s/^/   $name /" || true
  fi
done
rm -rf "$artifacts"
if [ "$seconds" -gt 0 ]; then
  echo "== every fuzz target replayed its corpus and ran $seconds s without a finding"
else
  echo "== every fuzz target replayed its corpus without a finding"
fi
