#!/usr/bin/env bash
# Builds the fuzz targets with clang into build-fuzz/ and runs each for the
# given number of seconds (default 60), then prints per target the inputs
# run and the findings: inputs that crashed, hung or ran out of memory, kept
# under build-fuzz/findings/<target>/.
#
#   fuzz/run.sh [seconds] [target...]
#
# A target keeps going after a finding (libFuzzer's fork mode), so one known
# fault does not hide the others. The committed seeds in fuzz/corpus/<target>/
# are copied to build-fuzz/corpus/<target>/, where the run adds what it finds.
# Replay one finding: build-fuzz/fuzz/fuzz_<target> <file>.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(string_rows insert_list number_fields gbk_text option_store)
case $seconds in '' | *[!0-9]*) echo "usage: fuzz/run.sh [seconds] [target...]" >&2; exit 2 ;; esac

cc=${CC:-clang-14}
cxx=${CXX:-clang++-14}
command -v "$cxx" >/dev/null || { echo "fuzz/run.sh needs $cxx (Debian: clang-14 libclang-rt-14-dev)" >&2; exit 1; }

CC=$cc CXX=$cxx cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVANE_FUZZ=ON \
  -DKELVANE_GUI=OFF -DKELVANE_TESTS=OFF -DKELVANE_BENCH=OFF >/dev/null
cmake --build build-fuzz --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
summary=()
status=0
for t in "${targets[@]}"; do
  corpus=build-fuzz/corpus/$t
  findings=build-fuzz/findings/$t
  log=build-fuzz/findings/$t.log
  mkdir -p "$corpus" "$findings"
  cp -n fuzz/corpus/"$t"/* "$corpus"/ 2>/dev/null || true
  before=$(find "$findings" -type f | wc -l)
  echo "== $t: ${seconds}s"
  # -timeout: an input that takes seconds is a hang worth keeping.
  build-fuzz/fuzz/fuzz_"$t" "$corpus" -max_total_time="$seconds" -fork=1 -ignore_crashes=1 \
    -ignore_timeouts=1 -ignore_ooms=1 -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
    -artifact_prefix="$findings"/ -print_final_stats=1 >"$log" 2>&1 || true
  # Fork mode reports "#<runs>: cov: ..." lines; the last one has the total.
  runs=$(grep -oE '^#[0-9]+' "$log" | tail -n 1 | tr -d '#')
  found=$(($(find "$findings" -type f | wc -l) - before))
  summary+=("$(printf '%-14s %12s runs  %3d new findings' "$t" "${runs:-?}" "$found")")
  [ "$found" -gt 0 ] && status=1
done
echo
printf '%s\n' "${summary[@]}"
[ $status -eq 0 ] || echo "findings kept under build-fuzz/findings/<target>/ (log beside them)"
exit $status
