#!/usr/bin/env bash
# Runs the effect tool under Wine at build time, in a private prefix of the build tree that the
# first run creates (parallel runs wait on a lock). No display is needed.
#   run-fxasm.sh <wine loader> <prefix dir> <fxasm.exe> <source.fx> <output.fxo>
set -euo pipefail
loader=${1:?wine loader}; prefix=${2:?prefix dir}; tool=${3:?tool}; shift 3
case "$loader" in *64) arch=win64 ;; *) arch=win32 ;; esac
export WINEPREFIX="$prefix" WINEARCH="$arch" WINEDEBUG=-all WINEDLLOVERRIDES="winedbg.exe=d;mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$(dirname "$prefix")"
(
  flock 9
  if [ ! -f "$prefix/system.reg" ]; then
    rm -rf "$prefix"
    timeout 300 "$loader" wineboot -i >"$prefix.log" 2>&1 || { echo "run-fxasm: wineboot failed, see $prefix.log" >&2; exit 1; }
    timeout 120 wineserver -w || true
  fi
) 9>"$prefix.lock"
# Absolute Unix paths reach the Windows program through drive Z:.
args=()
for a in "$@"; do
  case "$a" in /*) args+=("Z:$a") ;; *) args+=("$a") ;; esac
done
exec timeout --kill-after=10 120 "$loader" "$tool" "${args[@]}"
