#!/usr/bin/env bash
# Times kelvane-cli on inputs whose work must stay linear in their length,
# each against a plain one-row command in the same run (the cost of
# starting the program), and prints medians and the extra time:
#   --unique bound: strings --digits --exclude 012345678 --length 0-100000 --count 1 --unique
#                   (and the same without --unique)
#   insert list:    strings --length 12 --count 1 --insert '0|0|...' (30,000 "0|")
# Target: each under 50 ms more than the plain command.
# Then the peak memory of `times --interval 0` for 10 and 10^6 events (a run
# keeps no log, so both are the same).
# Usage: bench/cli_long_inputs.sh [kelvane-cli]   (default build/cli/kelvane-cli)
set -euo pipefail
cd "$(dirname "$0")/.."
RUNS=${RUNS:-10}
CLI=$(realpath "${1:-build/cli/kelvane-cli}")
OUT=$(mktemp -d /tmp/kelvane-long.XXXXXX)
trap 'rm -rf "$OUT"' EXIT

INSERT=$(printf '0|%.0s' $(seq 30000))
printf '%s' "$INSERT" >"$OUT/insert.txt"

declare -A CMDS=(
  [plain]="$CLI strings --digits --length 12 --count 1"
  [unique-bound]="$CLI strings --digits --exclude 012345678 --length 0-100000 --count 1 --unique"
  [long-lengths]="$CLI strings --digits --exclude 012345678 --length 0-100000 --count 1"
  [insert-list]="$CLI strings --digits --length 12 --count 1 --insert \"\$(cat $OUT/insert.txt)\""
)
ORDER=(plain unique-bound long-lengths insert-list)

# Median wall seconds of a shell command.
median() {
  local cmd=$1
  if command -v hyperfine >/dev/null; then
    hyperfine --style none --warmup 1 --runs "$RUNS" --export-json "$OUT/h.json" "$cmd >/dev/null" >/dev/null 2>&1
    python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["results"][0]["median"])' "$OUT/h.json"
  else
    local i
    for ((i = 0; i < RUNS; i++)); do
      { /usr/bin/time -f '%e' bash -c "$cmd >/dev/null"; } 2>&1 | tail -1
    done | sort -g | awk '{ w[NR] = $1 } END { print w[int((NR + 1) / 2)] }'
  fi
}

declare -A MED
for name in "${ORDER[@]}"; do
  MED[$name]=$(median "${CMDS[$name]}")
done
printf '%-14s %12s %14s %8s\n' input 'median ms' 'extra ms' 'x plain'
for name in "${ORDER[@]}"; do
  awk -v n="$name" -v m="${MED[$name]}" -v p="${MED[plain]}" \
    'BEGIN { printf "%-14s %12.1f %14.1f %8.2f\n", n, m * 1000, (m - p) * 1000, m / p }'
done

for events in 10 1000000; do
  kib=$({ /usr/bin/time -f '%M' "$CLI" times --interval 0 --count "$events" >/dev/null; } 2>&1 | tail -1)
  printf 'times --interval 0 --count %-8s peak %6s KiB\n' "$events" "$kib"
done
