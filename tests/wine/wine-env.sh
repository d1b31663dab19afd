#!/usr/bin/env bash
# One Wine environment for a test run: a private Xvfb display and a private 32-bit prefix,
# made by "setup", shared by every "run", torn down by "cleanup".
#
#   wine-env.sh setup   <dir> <wine loader> [xvfb screen args...]
#   wine-env.sh run     <dir> <program.exe> [args...]
#   wine-env.sh cleanup <dir>
#   wine-env.sh loader  <program.exe>     prints the Wine loader for the program's word size
#
# "run" makes a crash fail at once: the crash debugger is disabled, every program runs under a
# timeout, and its stderr is scanned for unhandled exceptions.
set -uo pipefail

cmd=${1:?command}; dir=${2:?environment directory}; shift 2
env_file="$dir/env"

free_display() {
  local n
  for n in $(seq 90 250); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then echo "$n"; return 0; fi
  done
  return 1
}

start_xvfb() {  # start_xvfb <dir> <screen args...>; prints the display number
  local d="$1"; shift
  local n tries
  for tries in 1 2 3 4 5; do
    n=$(free_display) || { echo "wine-env: no free X display" >&2; return 1; }
    Xvfb ":$n" "$@" -nolisten tcp >"$d/xvfb.log" 2>&1 &
    echo $! >"$d/xvfb.pid"
    for _ in $(seq 50); do
      # Two environments set up at once may pick the same number: the display is ours only
      # when the lock file holds our server's pid (the loser's server exits).
      if [ -e "/tmp/.X11-unix/X$n" ] && [ "$(tr -d ' \n' <"/tmp/.X$n-lock" 2>/dev/null)" = "$(cat "$d/xvfb.pid")" ]; then
        echo "$n"; return 0
      fi
      kill -0 "$(cat "$d/xvfb.pid")" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "wine-env: Xvfb did not start" >&2; cat "$d/xvfb.log" >&2
  return 1
}

# The Wine loader that runs a program: /usr/lib/wine/wine for a 32-bit one, wine64 for a 64-bit
# one (read from the machine field of its PE header).
loader_for() {
  local exe=$1 pe machine
  pe=$(od -An -t u4 -j 60 -N 4 "$exe" 2>/dev/null | tr -d ' ') || return 1
  [ -n "$pe" ] || return 1
  machine=$(od -An -t x2 -j $((pe + 4)) -N 2 "$exe" | tr -d ' ')
  case "$machine" in
    014c) echo /usr/lib/wine/wine ;;
    8664) echo /usr/lib/wine/wine64 ;;
    *) return 1 ;;
  esac
}

case "$cmd" in
loader)
  # "loader" takes a program in place of the environment directory.
  loader_for "$dir" || { echo "wine-env: $dir is not a 32- or 64-bit Windows program" >&2; exit 1; }
  ;;
setup)
  loader=${1:?wine loader}; shift
  case "$loader" in *64) arch=win64 ;; *) arch=win32 ;; esac
  rm -rf "$dir"; mkdir -p "$dir"
  [ $# -gt 0 ] || set -- -screen 0 1024x768x24
  display=$(start_xvfb "$dir" "$@") || exit 1
  prefix="$dir/prefix"
  template="${VQ_WINE_TEMPLATE:-}"
  if [ -n "$template" ] && [ -d "$template" ]; then
    # Hard links keep a copy nearly free (a prefix is over a gigabyte and many tests make
    # one). Files a program may rewrite in place (registry, ini files) are real copies.
    cp -al "$template" "$prefix" 2>/dev/null || { rm -rf "$prefix"; cp -a "$template" "$prefix"; }
    (cd "$template" && find . -maxdepth 1 -name '*.reg' && find drive_c/windows -maxdepth 1 -name '*.ini') |
      while read -r file; do cp --remove-destination "$template/$file" "$prefix/$file"; done
  else
    WINEARCH=$arch WINEPREFIX="$prefix" WINEDEBUG=-all DISPLAY=":$display" \
      WINEDLLOVERRIDES="mscoree,mshtml=" timeout 300 "$loader" wineboot -i >"$dir/wineboot.log" 2>&1 \
      || { echo "wine-env: wineboot failed" >&2; cat "$dir/wineboot.log" >&2; exit 1; }
    WINEPREFIX="$prefix" timeout 120 wineserver -w
  fi
  # A crashing program must end, not wait in the debugger.
  WINEPREFIX="$prefix" DISPLAY=":$display" WINEDEBUG=-all timeout 60 "$loader" reg add \
    'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /t REG_SZ /d 1 /f >/dev/null 2>&1
  WINEPREFIX="$prefix" DISPLAY=":$display" WINEDEBUG=-all timeout 60 "$loader" reg delete \
    'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f >/dev/null 2>&1
  {
    echo "export DISPLAY=:$display"
    echo "export WINEPREFIX=$prefix"
    echo "export WINEARCH=$arch"
    echo "VQ_WINE_LOADER=$loader"
  } >"$env_file"
  echo "wine-env: display :$display, prefix $prefix"
  ;;
run)
  [ -f "$env_file" ] || { echo "wine-env: no environment in $dir (run setup first)" >&2; exit 1; }
  # shellcheck disable=SC1090
  source "$env_file"
  # A 64-bit program cannot run in a 32-bit prefix: say so plainly.
  if [ "$(loader_for "$1" 2>/dev/null)" = /usr/lib/wine/wine64 ] && [ "$WINEARCH" = win32 ]; then
    echo "wine-env: $1 is a 64-bit program and this prefix is a 32-bit one" >&2
    exit 1
  fi
  export WINEDEBUG="${VQ_WINEDEBUG:--all,err+seh}"
  export WINEDLLOVERRIDES="winedbg.exe=d;mscoree,mshtml="
  errlog=$(mktemp "$dir/stderr.XXXXXX")
  outlog=$(mktemp "$dir/stdout.XXXXXX")
  limit=${VQ_TIMEOUT:-300}
  started=$(date +%s)
  timeout --kill-after=10 "$limit" "$VQ_WINE_LOADER" "$@" > >(tee "$outlog") 2> >(tee "$errlog" >&2)
  rc=$?
  sleep 0.2
  # Once every thread of a program has ended, Wine's server gives its Unix process a moment to
  # finish exiting and then kills it (SIGKILL). On a loaded machine the Unix side's own exit
  # (the GL driver's and sound library's threads) can take longer, so a program that did all its
  # work and returned dies of SIGKILL (status 137). Our own timeout kills only at its limit. The
  # Unix side's teardown can also fault after the program returned (GStreamer's threads under
  # Wine's DirectShow: SIGSEGV, 139; SIGABRT, 134); a fault of the program itself is a Windows
  # exception, which Wine reports below. A program that said how it ended has ended: a
  # GoogleTest program's closing summary, or a program's own last line "exit status N".
  if { [ "$rc" -eq 137 ] || [ "$rc" -eq 139 ] || [ "$rc" -eq 134 ]; } && [ $(( $(date +%s) - started )) -lt "$limit" ]; then
    said=$(tr -d '\r' <"$outlog" | grep -E '^exit status [0-9]+$' | tail -n 1 | awk '{ print $3 }')
    if [ -z "$said" ] && grep -q -E '^\[  PASSED  \] [0-9]+ tests?\.' "$outlog" &&
       ! grep -q -E '^\[  FAILED  \]' "$outlog"; then
      said=0
    fi
    if [ -n "$said" ]; then
      echo "wine-env: the program ended with $said; its Unix process died of status $rc while exiting" >&2
      rc=$said
    fi
  fi
  if grep -q -E 'Unhandled exception|Unhandled page fault|Unhandled stack overflow|err:seh' "$errlog"; then
    echo "wine-env: the program raised an unhandled exception" >&2
    [ "$rc" -eq 0 ] && rc=99
  fi
  [ "$rc" -eq 124 ] && echo "wine-env: the program timed out" >&2
  rm -f "$errlog" "$outlog"
  exit "$rc"
  ;;
cleanup)
  if [ -f "$env_file" ]; then
    # shellcheck disable=SC1090
    source "$env_file"
    timeout 30 wineserver -k >/dev/null 2>&1
  fi
  [ -f "$dir/xvfb.pid" ] && kill "$(cat "$dir/xvfb.pid")" 2>/dev/null
  # The prefix is the bulk of the environment; logs and results beside it stay.
  [ -n "${VQ_KEEP_WINE_PREFIX:-}" ] || rm -rf "$dir/prefix"
  exit 0
  ;;
*) echo "wine-env: unknown command $cmd" >&2; exit 2 ;;
esac
