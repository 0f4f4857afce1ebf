#!/usr/bin/env bash
# Times two common ways of making 10^6 random 16-character passwords into a
# file, then runs the string benchmark, and prints rows per second and the
# ratios, all from the same run on the same machine.
#
#   bench/string_peers.sh [build dir]      (default: build; needs hyperfine, pwgen, openssl)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
bench="$build/bench/string_bench"
[ -x "$bench" ] || { echo "missing $bench: build first (cmake --build $build)" >&2; exit 1; }
for tool in hyperfine pwgen openssl python3; do
    command -v "$tool" >/dev/null || { echo "missing $tool" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rows=1000000

# Median wall time of each command over several runs.
hyperfine --style basic --warmup 1 --runs 10 --export-json "$work/pipeline.json" \
    -n pipeline "openssl rand -base64 14000000 | tr -dc 'A-Za-z0-9' | fold -w 16 | head -n $rows > $work/a.txt"
hyperfine --style basic --warmup 1 --runs 5 --export-json "$work/pwgen.json" \
    -n pwgen "pwgen -s -1 16 $rows > $work/b.txt"

"$bench" --benchmark_filter='BM_Draws|BM_MakeRow_|BM_MakeRowFn_|BM_StreamToFile_' \
    --benchmark_repetitions=3 --benchmark_report_aggregates_only=true \
    --benchmark_format=json >"$work/ours.json"

python3 - "$work" "$rows" <<'EOF'
import json, sys
work, rows = sys.argv[1], int(sys.argv[2])
def median(name):
    return json.load(open(f"{work}/{name}.json"))["results"][0]["median"]
pipeline = rows / median("pipeline")
pwgen = rows / median("pwgen")
ours = {}
for b in json.load(open(f"{work}/ours.json"))["benchmarks"]:
    if b.get("aggregate_name") == "median":
        ours[b["run_name"].split("/")[0]] = b
print()
print(f"{'command':34} {'rows/s':>12}")
print(f"{'openssl | tr | fold | head':34} {pipeline:12.3e}")
print(f"{'pwgen -s -1 16':34} {pwgen:12.3e}")
print()
print(f"{'string generator':34} {'rows/s':>12} {'MB/s':>8} {'vs pipeline':>12} {'vs pwgen':>9}")
for name, b in sorted(ours.items()):
    if "rows/s" not in b:
        continue
    r = b["rows/s"]
    mb = f"{b['bytes_per_second'] / 1e6:8.1f}" if "bytes_per_second" in b else f"{'-':>8}"
    print(f"{name:34} {r:12.3e} {mb} {r / pipeline:12.2f} {r / pwgen:9.1f}")
# Upper, lower and digits, length 16: one length draw, then per character
# 4/3 kind draws on average (one kind in four is off) and one character draw.
draws = ours["BM_Draws"]["draws/s"]
per_row = 1 + 16 * (4 / 3 + 1)
print()
print(f"getRandInt: {draws:.3e} draws/s; {per_row:.1f} draws per row of 16 give at most "
      f"{draws / per_row:.3e} rows/s ({draws / per_row / pipeline:.2f} x pipeline) before any other work")
EOF
