#!/usr/bin/env bash
# How wine-env.sh's "run" reports a program whose Unix process was killed (SIGKILL by Wine's
# server) or faulted (SIGSEGV) while it was exiting: the program's own word on how it ended
# counts, anything else stays a failure. A stand-in loader plays the program: it prints the
# given lines, then ends as it is told.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
cat >"$work/loader" <<'LOADER'
#!/usr/bin/env bash
# loader <how to end: kill|N|hang>; prints the lines of $FAKE_LINES (separated by ";") first
how=$1
IFS=';' read -r -a lines <<<"$FAKE_LINES"
for line in "${lines[@]}"; do printf '%s\n' "$line"; done
case "$how" in
  kill) kill -KILL $$ ;;
  segv) kill -SEGV $$ ;;
  hang) sleep 30 ;;
  *) exit "$how" ;;
esac
LOADER
chmod +x "$work/loader"
printf 'export WINEARCH=win64\nVQ_WINE_LOADER=%s\n' "$work/loader" >"$work/env"

failures=0
# how it ends | lines printed | status expected
while IFS='|' read -r how lines expected; do
  FAKE_LINES=$lines VQ_TIMEOUT=2 "$here/wine-env.sh" run "$work" "$how" >/dev/null 2>&1
  got=$?
  if [ "$got" -ne "$expected" ]; then
    echo "FAIL: ending '$how' after '$lines': status $got, expected $expected"
    failures=$((failures + 1))
  fi
done <<'CASES'
kill|[==========] 3 tests ran.;[  PASSED  ] 3 tests.|0
kill|[  PASSED  ] 1 test.|0
kill|[  PASSED  ] 2 tests.;[  FAILED  ] 1 test, listed below:|137
kill|exit status 0|0
kill|exit status 3|3
kill|working...|137
segv|[  PASSED  ] 7 tests.|0
segv|exit status 2|2
segv|working...|139
0|[  PASSED  ] 1 test.|0
5|exit status 0|5
hang|[  PASSED  ] 1 test.|124
CASES
[ "$failures" -eq 0 ] && echo "wine-env exit cases: all passed"
exit $(( failures > 0 ))
