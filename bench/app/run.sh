#!/usr/bin/env bash
# Runs the default-scene benchmark and, in the same Wine session, the Clear-and-Present floor at
# the same window size; prints both and the ratio of their CPU time per frame.
#   bench/app/run.sh [build dir] [frames]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build/win64}" && pwd); frames=${2:-300}
bench="$build/bench/app/vq_bench_app.exe"
floor="$build/bench/frame-floor/vq_bench_frame_floor.exe"
for exe in "$bench" "$floor"; do
  [ -f "$exe" ] || { echo "build $exe first (tools/build.sh win64)" >&2; exit 1; }
done
env_dir=$(mktemp -d); trap '"$root/tests/wine/wine-env.sh" cleanup "$env_dir"; rm -rf "$env_dir"' EXIT
"$root/tests/wine/wine-env.sh" setup "$env_dir" /usr/lib/wine/wine64 -screen 0 1280x1024x24 >/dev/null
pictures=()
for p in meadow_dawn mountain_lake night_camp sea_floor winter_village harbour_dusk; do
  pictures+=("Z:$(echo "$build/resources/scene/$p.jpg" | tr / '\\')")
done
scene_out=$("$root/tests/wine/wine-env.sh" run "$env_dir" "$bench" "$frames" "${pictures[@]}")
floor_out=$("$root/tests/wine/wine-env.sh" run "$env_dir" "$floor" 1 "$frames" 1024 768)
echo "$scene_out"
echo "$floor_out"
scene_ms=$(echo "$scene_out" | sed -n 's/^scene frame: *\([0-9.]*\) ms.*/\1/p')
floor_ms=$(echo "$floor_out" | sed -n 's/^minimal Clear+Present: *\([0-9.]*\) ms.*/\1/p')
awk -v s="$scene_ms" -v f="$floor_ms" 'BEGIN { if (f > 0) printf "ratio scene frame / Clear+Present floor: %.2f\n", s / f }'
