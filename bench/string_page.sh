#!/usr/bin/env bash
# Runs of the string tab to its output file, headless (offscreen): from the
# click on Generate to the success box, against the generator alone streaming
# the same rows (upper, lower, digits, length 8 to 16) to a file. The two are
# interleaved, one process each, with the peak memory of every process.
# Target: the page's run reaches at least 80% of the generator's rows/s, and
# its memory does not grow with the count.
# Usage: bench/string_page.sh [runs per count (default 5)] [counts...]
# Builds build/ when needed; exits 1 when the target is missed.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -d build ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target string_page_probe string_bench >/dev/null
export QT_QPA_PLATFORM=offscreen
XDG_CONFIG_HOME=$(mktemp -d)
export XDG_CONFIG_HOME
log=$(mktemp)
trap 'rm -rf "$XDG_CONFIG_HOME" "$log"' EXIT

runs=${1:-5}
shift || true
counts=("$@")
[ ${#counts[@]} -gt 0 ] || counts=(1000000 10000000)

# One probe process: its line, then its peak resident set in KiB.
probe() {
  local out
  out=$( { /usr/bin/time -v build/bench/string_page_probe "$1" "$2" 2>&1 1>&3 | \
           awk '/Maximum resident set size/ { print "rss", $NF }'; } 3>&1 )
  echo "$out" | tr '\n' ' '
  echo
}

for n in "${counts[@]}"; do
  for ((i = 0; i < runs; i++)); do
    probe gen "$n" >>"$log"
    probe page "$n" >>"$log"
  done
done

# median <mode> <rows> <column>; max likewise.
median() {
  awk -v m="$1" -v n="$2" -v c="$3" '$1 == m && $2 == n { print $c }' "$log" | sort -n |
    awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}
maximum() {
  awk -v m="$1" -v n="$2" -v c="$3" '$1 == m && $2 == n && $c > x { x = $c } END { print x }' "$log"
}

status=0
printf '%-5s %9s %13s %9s %14s %14s %9s %9s\n' mode rows "click-box ms" "run ms" "rows/s (click)" "rows/s (run)" "cpu ms" "peak MiB"
for n in "${counts[@]}"; do
  for mode in gen page; do
    click=$(median "$mode" "$n" 3) run=$(median "$mode" "$n" 4) cpu=$(median "$mode" "$n" 5) rss=$(maximum "$mode" "$n" 7)
    awk -v m="$mode" -v n="$n" -v k="$click" -v r="$run" -v c="$cpu" -v s="$rss" 'BEGIN {
      printf "%-5s %9d %13.1f %9.1f %14.0f %14.0f %9.1f %9.1f\n", m, n, k, r, n / k * 1000, n / r * 1000, c, s / 1024 }'
  done
  ratio=$(awk -v g="$(median gen "$n" 4)" -v p="$(median page "$n" 4)" 'BEGIN { printf "%.3f", g / p }')
  echo "  rows $n: the page's run reaches $(awk -v r="$ratio" 'BEGIN { printf "%.1f", r * 100 }')% of the generator's rows/s"
  awk -v r="$ratio" 'BEGIN { exit !(r >= 0.8) }' || status=1
done

echo
echo "For reference, the generator benchmark (length 16, same run):"
build/bench/string_bench --benchmark_filter='StreamToFile_Alnum16' --benchmark_counters_tabular=true 2>/dev/null | tail -n 1
exit $status
