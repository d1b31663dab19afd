#!/usr/bin/env bash
# Installs what is missing, builds the saver and runs it full screen under Wine on the embedded
# scene: on $DISPLAY when there is one, otherwise on a private Xvfb, leaving a screenshot in out/.
# Where 32-bit programs cannot run, the 64-bit build of the same code is shown.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup-debian.sh
if /usr/lib/wine/wine --version >/dev/null 2>&1; then build=win32; loader=/usr/lib/wine/wine; arch=win32
else build=win64; loader=/usr/lib/wine/wine64; arch=win64; fi
tools/build.sh "$build"

export WINEPREFIX="$PWD/out/wineprefix-$build" WINEARCH=$arch WINEDEBUG=-all WINEDLLOVERRIDES="winedbg.exe=d;mscoree,mshtml="
mkdir -p out
private_x=""
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 250); do [ -e "/tmp/.X11-unix/X$n" ] || break; done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >out/xvfb.log 2>&1 &
  private_x=$!
  trap 'kill $private_x 2>/dev/null || true' EXIT
  export DISPLAY=":$n"
  sleep 1
fi
[ -d "$WINEPREFIX" ] || timeout 300 "$loader" wineboot -i >/dev/null 2>&1

saver="build/$build/saver/vorniquel.scr"
if [ -n "$private_x" ]; then
  "$loader" "$saver" /s &
  pid=$!
  sleep "${VQ_SHOT_AFTER:-8}"
  import -window root out/screenshot.png
  kill $pid 2>/dev/null || true
  timeout 20 wineserver -k >/dev/null 2>&1 || true
  echo "run-saver: no display, so the saver ran on a private Xvfb; its screen is in out/screenshot.png"
else
  "$loader" "$saver" /s
fi
