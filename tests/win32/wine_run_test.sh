#!/usr/bin/env bash
# cmake/wine-run.sh with a stand-in for wine: a start Wine failed (a quick
# exit with no output, or with only Wine's own messages) is retried once and
# said so; a program that ran and failed, or failed twice, is not hidden.
#   wine_run_test.sh <wine-run.sh>
set -uo pipefail
runner=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/bin" "$tmp/wine"
echo :99 >"$tmp/wine/display" # a session, so no private X server is started
export KELVANE_WINE_DIR=$tmp/wine PATH=$tmp/bin:$PATH
failures=0

# The stand-in plays the script given for its n-th start (one line per start:
# exit code, then what it prints; "-" prints nothing).
fake() {
  printf '%s\n' "$@" >"$tmp/plan"
  : >"$tmp/starts"
  cat >"$tmp/bin/wine" <<'STUB'
#!/usr/bin/env bash
echo x >>"$(dirname "$0")/../starts"
n=$(wc -l <"$(dirname "$0")/../starts")
read -r code text < <(sed -n "${n}p" "$(dirname "$0")/../plan")
[ "$text" = - ] || echo "$text"
exit "$code"
STUB
  chmod +x "$tmp/bin/wine"
}

check() { # name, want rc, want starts, want stdout, want "retry" in stderr (yes/no)
  local rc starts out err
  out=$("$runner" prog.exe 2>"$tmp/err")
  rc=$?
  starts=$(wc -l <"$tmp/starts")
  err=no
  grep -q "wine-run: prog.exe failed to start.*retrying once" "$tmp/err" && err=yes
  if [ "$rc" != "$2" ] || [ "$starts" != "$3" ] || [ "$out" != "$4" ] || [ "$err" != "$5" ]; then
    echo "FAIL $1: rc $rc starts $starts stdout '$out' retry-message $err (want $2 $3 '$4' $5)"
    failures=$((failures + 1))
  else
    echo "ok   $1"
  fi
}

fake "1 -" "0 passed"
check "silent quick failure is retried" 0 2 passed yes
fake "1 wine: could not load kernel32.dll" "0 passed"
check "Wine's own start message is retried" 0 2 passed yes
fake "1 -" "1 -"
check "a second failed start is reported" 1 2 "" yes
fake "1 [  FAILED  ] one test" "0 passed"
check "a program that ran and failed runs once" 1 1 "[  FAILED  ] one test" no
fake "0 -" "1 -"
check "a quiet success runs once" 0 1 "" no

[ "$failures" -eq 0 ]
