#!/usr/bin/env bash
# tessera-fetch against curl on a 200 MB download from an FTP server on
# 127.0.0.1 (pyftpdlib, tests/lib/net/ftp_test_server.py, run with Debian's
# /usr/bin/python3), in one run: each program fetches the file RUNS times
# (default 3), taking turns, and the best time of each counts. Prints both
# speeds and the ratio; exits 1 when tessera-fetch reaches less than 0.9
# times curl's speed, 2 when the bench cannot run.
#
#   bench/ftp_fetch_bench.sh [path/to/tessera-fetch]
#
# Files go to /dev/shm when it exists, so that the disk does not decide.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
fetch=${1:-$here/../build/default/bin/tessera-fetch}
runs=${RUNS:-3}
size_mb=200
goal=0.9

fail() {
  echo "ftp_fetch_bench: $*" >&2
  exit 2
}
[ -x "$fetch" ] || fail "no tessera-fetch at $fetch (build it, or name it)"
command -v curl >/dev/null || fail "curl is not installed"
/usr/bin/python3 -c 'import pyftpdlib' 2>/dev/null || fail "python3-pyftpdlib is not installed"

base=/dev/shm
[ -d "$base" ] && [ -w "$base" ] || base=${TMPDIR:-/tmp}
work=$(mktemp -d "$base/ftp-bench.XXXXXX")
server=
cleanup() {
  local status=$?
  if [ -n "$server" ]; then
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
  fi
  rm -rf "$work"
  exit "$status"
}
trap cleanup EXIT

mkdir "$work/root"
head -c "${size_mb}M" /dev/urandom >"$work/root/big.bin"
/usr/bin/python3 "$here/../tests/lib/net/ftp_test_server.py" --root "$work/root" >"$work/port" 2>/dev/null &
server=$!
for _ in $(seq 100); do
  grep -q '^PORT ' "$work/port" 2>/dev/null && break
  sleep 0.1
done
port=$(sed -n 's/^PORT //p' "$work/port")
[ -n "$port" ] || fail "the FTP server did not start"
url="ftp://127.0.0.1:$port/big.bin"

# Seconds that one download takes, to the nanosecond; checks what arrived.
time_one() {
  local out=$work/download.bin start end
  rm -f "$out"
  start=$(date +%s.%N)
  "$@" "$out" || fail "$1 failed"
  end=$(date +%s.%N)
  cmp -s "$out" "$work/root/big.bin" || fail "$1 fetched something else"
  awk -v s="$start" -v e="$end" 'BEGIN { printf "%.6f\n", e - s }'
}

fetch_times=()
curl_times=()
for _ in $(seq "$runs"); do
  fetch_times+=("$(time_one "$fetch" "$url" -o)")
  curl_times+=("$(time_one curl -s "$url" -o)")
done
best_fetch=$(printf '%s\n' "${fetch_times[@]}" | sort -g | head -n 1)
best_curl=$(printf '%s\n' "${curl_times[@]}" | sort -g | head -n 1)

awk -v mb="$size_mb" -v f="$best_fetch" -v c="$best_curl" -v goal="$goal" 'BEGIN {
  ratio = c / f
  printf "tessera-fetch  %8.1f MB/s  (best of its runs: %.3f s)\n", mb / f, f
  printf "curl           %8.1f MB/s  (best of its runs: %.3f s)\n", mb / c, c
  printf "speed ratio tessera-fetch/curl: %.2f (goal: at least %.1f)\n", ratio, goal
  exit ratio < goal ? 1 : 0
}'
