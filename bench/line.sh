#!/usr/bin/env bash
# The production line against simulated units at a real unit's pace (115200 baud, 15 ms a record), each on
# a pseudo-terminal of its own: one unit alone, then UNITS at once (default 8). Each unit has an empty SIM
# of 250 locations and gets a building's configuration of ROWS phone-book rows (default 200: about a
# minute a unit, as on a real bench), programmed and verified. Prints the time until the last unit's
# record is in the report, and the program's CPU (the line and every unit's run) as a share of one core
# over that time.
#   [ROWS=N] bench/line.sh [BUILD_DIR] [UNITS]      (default build/release, 8 units)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/release}"
units="${2:-8}"
# GNU time reports the CPU of a command and of the processes it waited for.
"$root/scripts/setup" time >/dev/null || true
tmp="$(mktemp -d)"
sim=""
trap '[ -n "$sim" ] && kill "$sim" 2>/dev/null; rm -rf "$tmp"' EXIT
export XDG_DATA_HOME="$tmp/data" QT_QPA_PLATFORM=offscreen

# How many lines of file $2 hold $1; 0 while the file is missing.
lines_with() {
  local n
  n="$(grep -c -e "$1" "$2" 2>/dev/null)" || true
  echo "${n:-0}"
}
# Starts zuvovu-sim with $1 units and the options after it; sets $sim and the file of device paths.
start_units() {
  local count="$1"
  shift
  rm -f "$tmp/devices"
  "$build/zuvovu-sim" --units "$count" --stopped "$@" >"$tmp/devices" &
  sim=$!
  until [ "$(lines_with . "$tmp/devices")" -ge "$count" ]; do sleep 0.05; done
}
stop_units() { kill "$sim"; wait "$sim" 2>/dev/null || true; sim=""; }

# The configuration every unit gets, as the program saves it from a unit that holds it.
for i in $(seq 1 "${ROWS:-200}"); do echo "Resident $i=+420$((600000000 + i))"; done >"$tmp/rows.txt"
start_units 1 --instant --phonebook "$tmp/rows.txt"
"$build/zuvovu" --port "$(head -1 "$tmp/devices")" --read "$tmp/line.oru" 2>/dev/null
stop_units

# Runs the line on $1 units; prints "SECONDS CPU_SECONDS".
line_run() {
  local count="$1"
  start_units "$count"
  rm -f "$tmp/report.csv"
  local begin end
  begin="$(date +%s.%N)"
  # The line's CPU and its children's, once it has ended.
  /usr/bin/time -f '%U %S' -o "$tmp/cpu" "$build/zuvovu" --line "$tmp/line.oru" \
    --ports "$(paste -sd, "$tmp/devices")" --report "$tmp/report.csv" --timeout 20 2>"$tmp/line.err" &
  local line=$!
  until [ "$(lines_with ',done,' "$tmp/report.csv")" -ge "$count" ]; do
    if grep -q -E ',(failed|refused|differences|interrupted),' "$tmp/report.csv" 2>/dev/null; then
      echo "a unit was not done:" >&2
      cat "$tmp/report.csv" "$tmp/line.err" >&2
      exit 1
    fi
    sleep 0.05
  done
  end="$(date +%s.%N)"
  pkill -INT -P "$line" -x zuvovu || true
  wait "$line" || true
  stop_units
  awk -v b="$begin" -v e="$end" '{ printf "%.2f %.3f\n", e - b, $1 + $2 }' "$tmp/cpu"
}

read -r alone alone_cpu <<<"$(line_run 1)"
read -r many many_cpu <<<"$(line_run "$units")"
printf 'one unit alone:   %6.1f s, CPU %5.2f s (%.1f %% of one core)\n' "$alone" "$alone_cpu" \
  "$(awk -v c="$alone_cpu" -v t="$alone" 'BEGIN { print 100 * c / t }')"
printf '%2d units at once: %6.1f s, CPU %5.2f s (%.1f %% of one core)\n' "$units" "$many" "$many_cpu" \
  "$(awk -v c="$many_cpu" -v t="$many" 'BEGIN { print 100 * c / t }')"
awk -v a="$alone" -v m="$many" -v c="$many_cpu" 'BEGIN {
  ratio = m / a; share = 100 * c / m
  printf "%.2f times one unit alone (target 1.5), CPU %.1f %% of one core (target 5): %s\n", ratio, share,
    (ratio <= 1.5 && share < 5) ? "met" : "missed"
}'
