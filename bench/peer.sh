#!/usr/bin/env bash
# Reads the same simulated unit with zuvovu and with Debian's AT phone tool (gsmpb, package gsm-utils), each
# over a pseudo-terminal to zuvovu-sim, and prints the CPU time (user + system) each took, at a real unit's
# pace and with the unit answering at once, the median of REPEAT runs each (default 3).
#   [REPEAT=N] bench/peer.sh [BUILD_DIR] [SIZES...]      (default build/release, sizes 250 2000)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/release}"
shift || true
sizes=("${@:-250 2000}")
sizes=(${sizes[*]})
repeat="${REPEAT:-3}"
# The peer comes from Debian; a machine that cannot install it gets no comparison.
"$root/scripts/setup" gsm-utils || true
if ! command -v gsmpb >/dev/null; then
  echo "gsmpb is not installed (Debian package gsm-utils): no comparison; zuvovu alone is measured by bench_readback_line"
  exit 0
fi
tmp="$(mktemp -d)"
sim=""
trap '[ -n "$sim" ] && kill "$sim" 2>/dev/null; rm -rf "$tmp"' EXIT
# gsmpb insists on setting the modem lines, which a pseudo-terminal does not have.
cc -shared -fPIC -O2 -o "$tmp/ptymodem.so" "$root/bench/ptymodem.c" -ldl

# Starts zuvovu-sim holding a full SIM of $1 locations; $2 is --instant or empty. Sets $sim and $device.
start_unit() {
  # The last unit's path must not be taken for this one's.
  rm -f "$tmp/sim.out"
  "$build/zuvovu-sim" --stopped --capacity "$1" --phonebook "$tmp/unit.txt" $2 >"$tmp/sim.out" &
  sim=$!
  device=""
  until [ -n "$device" ]; do
    sleep 0.05
    device="$(head -1 "$tmp/sim.out" 2>/dev/null || true)"
  done
}
# A unit just switched on refuses the first phonebook command while its SIM starts: zuvovu asks again, gsmpb
# gives up. The peer gets a unit whose SIM has started; its CPU is counted from there.
sim_started() {
  stty -F "$device" raw -echo 115200
  exec 3<>"$device"
  printf 'AT+CPBR=?\r' >&3
  timeout 5 grep -q -m1 'ERROR' <&3 || true
  exec 3>&-
}
stop_unit() { kill "$sim"; wait "$sim" 2>/dev/null || true; sim=""; }
# The user and system CPU of a command in milliseconds, or "failed" with what it said when it did not succeed.
cpu_ms() {
  local TIMEFORMAT='%3U %3S'
  if ! { time "$@" >"$tmp/said" 2>&1; } 2>"$tmp/time"; then
    echo "failed: $(tail -c 300 "$tmp/said" | tr '\n' ' ')"
    return
  fi
  awk '{ printf "%.0f", ($1 + $2) * 1000 }' "$tmp/time"
}

# The median of a list of numbers.
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

for size in "${sizes[@]}"; do
  for i in $(seq 1 "$size"); do echo "Contact $i=+420$((600000000 + i))"; done >"$tmp/unit.txt"
  for pace in real instant; do
    flag=""; [ "$pace" = instant ] && flag="--instant"
    ours_runs=(); peer_runs=(); failed=""
    # A shared machine gives one run's CPU its neighbours' noise: the median of a few runs each.
    for run in $(seq 1 "$repeat"); do
      start_unit "$size" "$flag"
      ours="$(cpu_ms env QT_QPA_PLATFORM=offscreen "$build/zuvovu" --port "$device" --read "$tmp/unit.oru")"
      stop_unit
      start_unit "$size" "$flag"
      [ "$pace" = real ] && sim_started
      # gsmpb brings a list it finds up to date instead of writing it anew.
      rm -f "$tmp/peer.pb"
      peer="$(cpu_ms env LD_PRELOAD="$tmp/ptymodem.so" gsmpb -b 115200 -s "$device" -p SM -d "$tmp/peer.pb" -c)"
      stop_unit
      if [[ "$ours$peer" == *failed* ]]; then
        failed="zuvovu: $ours; gsmpb: $peer"
        break
      fi
      ours_runs+=("$ours"); peer_runs+=("$peer")
    done
    if [ -n "$failed" ]; then
      printf '%5d locations, %-7s %s\n' "$size" "$pace" "$failed"
      continue
    fi
    ours="$(median "${ours_runs[@]}")"; peer="$(median "${peer_runs[@]}")"
    # The entries in the peer's list show that it read them all.
    printf '%5d locations, %-7s zuvovu %6d ms CPU, gsmpb %6d ms CPU (%d entries; median of %d): %.2fx\n' \
      "$size" "$pace" "$ours" "$peer" "$(grep -c . "$tmp/peer.pb")" "$repeat" \
      "$(awk -v a="$ours" -v b="$peer" 'BEGIN { print a / b }')"
  done
done
