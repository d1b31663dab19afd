#!/usr/bin/env bash
# Runs the default-scene benchmark under 64-bit Wine with a private sound server (so that the music
# graph renders and plays as in the saver) and, in the same Wine session, the Clear-and-Present
# floor program at the same window size. The bench prints its start-up against the decoding of
# every picture the scene names, the frames that switch to each slide on its first showing, and per
# slide its frame beside the floor measured on the same device right after it, with the frame's
# phases.
#   bench/app/run.sh [build dir] [frames per slide]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build/win64}" && pwd); frames=${2:-150}
bench="$build/bench/app/vq_bench_app.exe"
floor="$build/bench/frame-floor/vq_bench_frame_floor.exe"
for exe in "$bench" "$floor"; do
  [ -f "$exe" ] || { echo "build $exe first (tools/build.sh win64)" >&2; exit 1; }
done
work=$(mktemp -d)
source "$root/bench/session.sh"
trap 'finish_bench_work "$work"' EXIT
# Without a sound server the bench runs without a music graph.
start_sound_server "$work" || true

# Every picture file the assembled scene description names, where the document writer found it.
pictures=()
while IFS= read -r p; do pictures+=("Z:$(echo "$p" | tr / '\\')"); done < <(python3 - "$build" "$root" <<'EOF'
import json, os, sys
build, root = sys.argv[1], sys.argv[2]
doc = json.load(open(os.path.join(build, "resources/documents/default-scene.json")))
names = set()
def walk(v):
    if isinstance(v, dict):
        for x in v.values(): walk(x)
    elif isinstance(v, list):
        for x in v: walk(x)
    elif isinstance(v, str) and v.lower().endswith((".jpg", ".jpeg", ".png", ".bmp")):
        names.add(v)
walk(doc)
folders = [os.path.join(build, "resources/scene"), os.path.join(build, "resources/documents/slides"),
           os.path.join(root, "resources/documents/slides")]
for n in sorted(names):
    for f in folders:
        if os.path.isfile(os.path.join(f, n)):
            print(os.path.join(f, n)); break
EOF
)

"$root/tests/wine/wine-env.sh" setup "$work/wine" "$(wine_loader_for "$bench")" -screen 0 1280x1024x24 >/dev/null
export VQ_TIMEOUT=${VQ_TIMEOUT:-3600}
scene_out=$("$root/tests/wine/wine-env.sh" run "$work/wine" "$bench" "$frames" "${pictures[@]}")
floor_out=$("$root/tests/wine/wine-env.sh" run "$work/wine" "$floor" 1 "$frames" 1024 768)
echo "$scene_out"
echo "$floor_out"
scene_ms=$(echo "$scene_out" | sed -n 's/^scene frame: *\([0-9.]*\) ms.*/\1/p')
floor_ms=$(echo "$floor_out" | sed -n 's/^minimal Clear+Present: *\([0-9.]*\) ms.*/\1/p')
awk -v s="$scene_ms" -v f="$floor_ms" 'BEGIN { if (f > 0) printf "ratio scene frame / floor program: %.2f\n", s / f }'
