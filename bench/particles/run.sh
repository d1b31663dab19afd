#!/usr/bin/env bash
# Runs the particle benchmark under 64-bit Wine: CPU time per frame of a 1024 x 768 slide with
# 10 000 sparkles against the same slide without, in one run.
#   bench/particles/run.sh [build dir] [frames] [particles]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build/win64}" && pwd); frames=${2:-300}; particles=${3:-10000}
bench="$build/bench/particles/vq_bench_particles.exe"
[ -f "$bench" ] || { echo "build $bench first (tools/build.sh win64)" >&2; exit 1; }
env_dir=$(mktemp -d); trap '"$root/tests/wine/wine-env.sh" cleanup "$env_dir"; rm -rf "$env_dir"' EXIT
"$root/tests/wine/wine-env.sh" setup "$env_dir" /usr/lib/wine/wine64 -screen 0 1280x1024x24 >/dev/null
"$root/tests/wine/wine-env.sh" run "$env_dir" "$bench" "$frames" "$particles"
