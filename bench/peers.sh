#!/usr/bin/env bash
# Times the two peer commands the number benchmark is compared with, in the
# same run as bench/number_bench, and prints their rows per second:
#   integers: shuf -r -i 80-100 -n 10000000 > file
#   floats:   an awk rand() loop printing %.2f, 10000000 rows
# Output files go to /tmp and are removed afterwards. Uses hyperfine when
# present (median of the runs), otherwise /usr/bin/time over RUNS runs.
# Usage: bench/peers.sh [number_bench binary]   (default build/bench/number_bench)
set -euo pipefail
cd "$(dirname "$0")/.."
ROWS=10000000
RUNS=${RUNS:-5}
BENCH=${1:-build/bench/number_bench}
OUT=$(mktemp -d /tmp/kelvane-peers.XXXXXX)
trap 'rm -rf "$OUT"' EXIT
AWK=$(command -v mawk || command -v awk)

INT_CMD="shuf -r -i 80-100 -n $ROWS > $OUT/int.txt"
FLOAT_CMD="$AWK 'BEGIN { srand(); for (i = 0; i < $ROWS; i++) printf \"%.2f\\n\", 80 + rand() * 20 }' > $OUT/float.txt"

# Times a shell command; prints "<median wall s> <mean CPU s>" (CPU = user + system).
time_command() {
  local cmd=$1
  if command -v hyperfine >/dev/null; then
    hyperfine -N --style none --warmup 1 --runs "$RUNS" --export-json "$OUT/h.json" \
      "bash -c \"$(printf '%s' "$cmd" | sed 's/["\\]/\\&/g')\"" >/dev/null 2>&1
    python3 -c 'import json,sys; r=json.load(open(sys.argv[1]))["results"][0]; print(r["median"], r["user"] + r["system"])' "$OUT/h.json"
  else
    local i
    for ((i = 0; i < RUNS; i++)); do
      { /usr/bin/time -f '%e %U %S' bash -c "$cmd" >/dev/null; } 2>&1 | tail -1
    done | sort -g | awk '{ w[NR] = $1; c += $2 + $3 } END { print w[int((NR + 1) / 2)], c / NR }'
  fi
}

rate() { awk -v n="$ROWS" -v s="$1" 'BEGIN { printf "%.1f", n / s / 1e6 }'; }

read -r int_wall int_cpu < <(time_command "$INT_CMD")
read -r float_wall float_cpu < <(time_command "$FLOAT_CMD")
echo "peer shuf integers 80-100: median ${int_wall} s wall = $(rate "$int_wall") M rows/s; CPU $(rate "$int_cpu") M rows/s"
echo "peer $(basename "$AWK") %.2f floats:     median ${float_wall} s wall = $(rate "$float_wall") M rows/s; CPU $(rate "$float_cpu") M rows/s"

if [ -x "$BENCH" ]; then
  "$BENCH" --benchmark_format=json --benchmark_out="$OUT/k.json" --benchmark_out_format=json >/dev/null 2>&1
  python3 - "$OUT/k.json" "$ROWS" "$int_wall" "$int_cpu" "$float_wall" "$float_cpu" <<'PY'
import json, sys
data = json.load(open(sys.argv[1]))
rows = float(sys.argv[2])
peer = {"Int": (rows / float(sys.argv[3]), rows / float(sys.argv[4])),
        "Float": (rows / float(sys.argv[5]), rows / float(sys.argv[6]))}
scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
print(f"{'benchmark (10^6 rows)':<28} {'wall M rows/s':>14} {'x peer':>7} {'CPU M rows/s':>13} {'x peer':>7}")
for b in data["benchmarks"]:
    kind = "Int" if b["name"].startswith("BM_Int") else "Float"
    unit = scale[b["time_unit"]]
    wall = 1e6 / (b["real_time"] * unit)
    cpu = 1e6 / (b["cpu_time"] * unit)
    print(f"{b['name']:<28} {wall / 1e6:14.1f} {wall / peer[kind][0]:7.1f} {cpu / 1e6:13.1f} {cpu / peer[kind][1]:7.1f}")
PY
fi
