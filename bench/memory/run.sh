#!/usr/bin/env bash
# The memory of the default scene full screen at 1920 x 1080 under 64-bit Wine, with a private sound
# server so that the music graph plays: the process's memory after the first slide and after two
# full cycles of the show (at the same point of the first slide), again after the last cycle (four
# by default: whether the show still grows once every slide has been shown twice), and a line per
# slide switch.
#   bench/memory/run.sh [build dir] [cycles] [application seconds per frame] [width] [height] [music 1|0]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build/win64}" && pwd); cycles=${2:-4}; step=${3:-0.25}; width=${4:-1920}; height=${5:-1080}; music=${6:-1}
bench="$build/bench/memory/vq_bench_memory.exe"
[ -f "$bench" ] || { echo "build $bench first (tools/build.sh win64)" >&2; exit 1; }
work=$(mktemp -d)
source "$root/bench/session.sh"
trap 'finish_bench_work "$work"' EXIT
# Without a sound server the bench runs without a music graph.
start_sound_server "$work" || true
# The screen is the full-screen size, so that the saver's full-screen output needs no mode change.
"$root/tests/wine/wine-env.sh" setup "$work/wine" /usr/lib/wine/wine64 -screen 0 "${width}x${height}x24" >/dev/null
export VQ_TIMEOUT=${VQ_TIMEOUT:-3600}
"$root/tests/wine/wine-env.sh" run "$work/wine" "$bench" "$cycles" "$step" "$music"
