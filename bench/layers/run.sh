#!/usr/bin/env bash
# CPU time per frame of every slide of the default scene (its layer and drawn objects) against its
# plain picture slide at 1024 x 768, in one run under 64-bit Wine. bench/kinds/run.sh prints the
# same figures, with the particle bench's, as one table.
#   bench/layers/run.sh [build dir] [frames]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build/win64}" && pwd); frames=${2:-300}
bench="$build/bench/layers/vq_bench_layers.exe"
scene=$(ls "$build"/resources/documents/*.dds 2>/dev/null | head -1)
[ -f "$bench" ] || { echo "build $bench first (tools/build.sh win64)" >&2; exit 1; }
[ -n "$scene" ] || { echo "no default scene document in $build/resources/documents" >&2; exit 1; }
env_dir=$(mktemp -d); trap '"$root/tests/wine/wine-env.sh" cleanup "$env_dir"; rm -rf "$env_dir"' EXIT
"$root/tests/wine/wine-env.sh" setup "$env_dir" /usr/lib/wine/wine64 -screen 0 1280x1024x24 >/dev/null
"$root/tests/wine/wine-env.sh" run "$env_dir" "$bench" "Z:$(echo "$scene" | tr / '\\')" "$frames"
