#!/usr/bin/env bash
# kelvane-cli.exe under Wine gives the same bytes as the Linux program for
# every seeded run of tests/cli/golden_cases.txt (both encodings, both line
# ends, Chinese text in the arguments), and --from-settings reads what the
# window stored in the registry.
#   golden_cli_test.sh <kelvane-cli.exe> <tests/cli>   (in the Wine test session)
set -uo pipefail
exe=$1 cases=$2/golden_cases.txt data=$2/data
dir=${KELVANE_WINE_DIR:?the Wine test session}
export WINEPREFIX=$dir/prefix WINEDEBUG=-all DISPLAY LANG=${LANG:-C.UTF-8}
DISPLAY=$(cat "$dir/display")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
run() { wine "$exe" "$@" </dev/null >"$tmp/out" 2>"$tmp/err"; }

n=0
while read -r expected args; do
  [[ -z "$expected" || "$expected" == \#* ]] && continue
  n=$((n + 1))
  # shellcheck disable=SC2086
  if ! run $args; then
    echo "FAILED (exit status): $args"; cat "$tmp/err"; fail=1; continue
  fi
  if [[ "$expected" == *.txt ]]; then
    cmp -s "$tmp/out" "$data/$expected" || { echo "FAILED (bytes differ from $expected): $args"; fail=1; continue; }
  else
    [ "$(sha256sum <"$tmp/out" | cut -c1-64)" = "$expected" ] || { echo "FAILED (SHA-256): $args"; fail=1; continue; }
  fi
  echo "ok: $args"
done <"$cases"
[ "$n" -ge 9 ] || { echo "FAILED: only $n runs read from $cases"; fail=1; }

# --out: a file is written whole, the device NUL straight through (no file
# of that name appears).
cd "$tmp" || exit 1
winout="Z:${tmp//\//\\}\\rows.txt"
run numbers --count 5 --seed o --out NUL && [ ! -e "$tmp/NUL" ] && [ ! -s "$tmp/out" ] \
  && echo "ok: --out NUL" || { echo "FAILED: --out NUL"; fail=1; }
run numbers --count 5 --seed o && cp "$tmp/out" "$tmp/expected"
if run numbers --count 5 --seed o --out "$winout" && cmp -s "$tmp/rows.txt" "$tmp/expected"; then
  echo "ok: --out $winout"
else
  echo "FAILED: --out $winout"; cat "$tmp/err"; fail=1
fi

# --from-settings: the number tab's options as the window keeps them.
key='HKCU\Software\Kelvane\Kelvane'
wine reg add "$key" /v isInt /d 1 /f >/dev/null 2>&1 </dev/null
wine reg add "$key" /v isFloat /d 0 /f >/dev/null 2>&1 </dev/null
wine reg add "$key" /v count_int /d 7 /f >/dev/null 2>&1 </dev/null
if run numbers --from-settings --range 1 9 --seed s; then cp "$tmp/out" "$tmp/stored"; fi
run numbers --int --count 7 --range 1 9 --seed s
if [ -s "$tmp/stored" ] && cmp -s "$tmp/stored" "$tmp/out" && [ "$(wc -l <"$tmp/out")" -eq 7 ]; then
  echo "ok: --from-settings reads the registry"
else
  echo "FAILED: --from-settings"; fail=1
fi
wine reg delete "$key" /f >/dev/null 2>&1 </dev/null
exit $fail
