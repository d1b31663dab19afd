#!/usr/bin/env bash
# Runs the frame-floor benchmark under 64-bit Wine in a private Xvfb, for 1 and 2 outputs.
#   bench/frame-floor/run.sh [build dir] [frames]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/win64}; frames=${2:-300}
exe="$build/bench/frame-floor/vq_bench_frame_floor.exe"
[ -f "$exe" ] || { echo "build $exe first (tools/build.sh win64)" >&2; exit 1; }
env_dir=$(mktemp -d); trap '"$root/tests/wine/wine-env.sh" cleanup "$env_dir"; rm -rf "$env_dir"' EXIT
"$root/tests/wine/wine-env.sh" setup "$env_dir" /usr/lib/wine/wine64 >/dev/null
for n in 1 2; do "$root/tests/wine/wine-env.sh" run "$env_dir" "$exe" "$n" "$frames"; done
