#!/usr/bin/env bash
# Every kind bench in one Wine session, and one table of each kind's CPU time per frame against the
# plain picture slide measured in the same program: every slide of the default scene (falling code,
# water rings, the lake, the glass ball, the particle, brush and 3D-object slides...) against the
# scene's plain picture slide (bench/layers), and 10 000 sparkles against the same slide without
# them (bench/particles). A change that slows a kind shows in its row. The brush slides follow in a
# second table, each measured twice in a row: with every brush drawing its whole picture quad (as
# before brushes drew only the part their mask reaches) and as they draw now.
#   bench/kinds/run.sh [build dir] [frames] [runs]     (a win32 or win64 build)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build/win64}" && pwd); frames=${2:-200}; runs=${3:-1}
layers="$build/bench/layers/vq_bench_layers.exe"
particles="$build/bench/particles/vq_bench_particles.exe"
scene=$(ls "$build"/resources/documents/*.dds 2>/dev/null | head -1)
for exe in "$layers" "$particles"; do
  [ -f "$exe" ] || { echo "build $exe first (tools/build.sh win64)" >&2; exit 1; }
done
[ -n "$scene" ] || { echo "no default scene document in $build/resources/documents" >&2; exit 1; }
source "$root/bench/session.sh"
env_dir=$(mktemp -d); trap '"$root/tests/wine/wine-env.sh" cleanup "$env_dir"; rm -rf "$env_dir"' EXIT
"$root/tests/wine/wine-env.sh" setup "$env_dir" "$(wine_loader_for "$layers")" -screen 0 1280x1024x24 >/dev/null
export VQ_TIMEOUT=${VQ_TIMEOUT:-3600}
for run in $(seq "$runs"); do
  layer_out=$("$root/tests/wine/wine-env.sh" run "$env_dir" "$layers" "Z:$(echo "$scene" | tr / '\\')" "$frames")
  particle_out=$("$root/tests/wine/wine-env.sh" run "$env_dir" "$particles" "$frames" 10000)
  echo "run $run of $runs, $frames frames per row, 1024 x 768, CPU time per frame"
  {
    echo "$layer_out" | sed -n 's/^plain picture: *\([0-9.]*\) ms.*/plain picture slide (the base)|\1|\1|1.00/p'
    plain=$(echo "$layer_out" | sed -n 's/^plain picture: *\([0-9.]*\) ms.*/\1/p')
    echo "$layer_out" | awk -v p="$plain" '/^kind / {
      ms = $2; ratio = $3; $1 = $2 = $3 = ""; sub(/^ +/, ""); printf "%s|%s|%s|%s\n", $0, ms, p, ratio }'
    echo "$particle_out" | awk '
      /^slide without particles:/ { none = $4 }
      /^slide with [0-9]+ sparkles:/ { many = $5; count = $3 }
      END { if (none > 0) printf "%s sparkles on a picture slide [bench/particles]|%s|%s|%.2f\n", count, many, none, many / none }'
  } | awk -F'|' 'BEGIN { printf "%-64s %10s %10s %7s\n", "kind (slide [layer class, drawn objects])", "ms/frame", "plain ms", "ratio" }
                 { printf "%-64.64s %10.2f %10.2f %7.2f\n", $1, $2, $3, $4 }'
  echo "$layer_out" | awk '/^brushes / { before = $2; after = $3; $1 = $2 = $3 = ""; sub(/^ +/, "");
      if (!n++) printf "\n%-40s %16s %16s %7s\n", "brush slide", "whole quad ms", "mask part ms", "after"
      printf "%-40.40s %16.2f %16.2f %7.2f\n", $0, before, after, after / before }'
done
