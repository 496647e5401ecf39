#!/usr/bin/env bash
# Programs one changed entry into a simulated unit at a real unit's pace, writing only the locations that
# differ, and again with the full sequence (--full), each from the moment the unit has been read and backed
# up to the verified result; prints both times and their ratio.
#   bench/programming.sh [BUILD_DIR] [LOCATIONS]      (default build/release, 250 locations)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/release}"
size="${2:-250}"
tmp="$(mktemp -d)"
sim=""
trap '[ -n "$sim" ] && kill "$sim" 2>/dev/null; rm -rf "$tmp"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_DATA_HOME="$tmp/data"

"$build/zuvovu-sim" --stopped --capacity "$size" >"$tmp/sim.out" &
sim=$!
until [ -s "$tmp/sim.out" ]; do sleep 0.05; done
device="$(head -1 "$tmp/sim.out")"

# A configuration that fills the SIM: ADMIN1 and the four settings strings, then the rows.
configuration() {
  printf 'ADMIN1=+420603111222\r\n'
  for i in $(seq 1 $((size - 5))); do printf 'Flat %d=+420%d\r\n' "$i" $((600000000 + i)); done
}
configuration >"$tmp/all.oru"
sed 's/^Flat 100=.*/Flat 100=+420777000100\r/' "$tmp/all.oru" >"$tmp/one.oru"

# Seconds from the backup (the unit read) to the end of the verification.
programming_seconds() {
  "$build/zuvovu" --port "$device" --stay-stopped "$@" 2>&1 |
    while IFS= read -r line; do printf '%s %s\n' "$(date +%s.%N)" "$line"; done >"$tmp/said"
  printf '%s ended\n' "$(date +%s.%N)" >>"$tmp/said"
  if grep -q ' error' "$tmp/said"; then cat "$tmp/said" >&2; exit 1; fi
  awk '/backup of the unit/ { start = $1 } END { printf "%.1f", $1 - start }' "$tmp/said"
}

programming_seconds --program "$tmp/all.oru" --full >/dev/null
changed="$(programming_seconds --program "$tmp/one.oru")"
writes="$(grep -c 'programming location' "$tmp/said" || true)"
programming_seconds --program "$tmp/all.oru" >/dev/null
full="$(programming_seconds --program "$tmp/one.oru" --full)"
printf '%d locations, one entry changed: %s s writing %d location(s), full sequence %s s: %.2f of it (target 0.25)\n' \
  "$size" "$changed" "$writes" "$full" "$(awk -v a="$changed" -v b="$full" 'BEGIN { print a / b }')"
