#!/usr/bin/env bash
# The soak: the default scene through hundreds of slide switches with forced device losses and
# music-file changes, and in the same Wine session and sound server the same soak of the frame
# floor (Clear and Present, the same losses, a plain music graph), whose growth is Wine's own.
#   bench/soak/run.sh [build dir] [switches] [width] [height] [application seconds per frame] [music 1|0]
# Exits non-zero when a figure of the application grew beyond its limit.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build/win64}" && pwd); switches=${2:-500}; width=${3:-1024}; height=${4:-768}; step=${5:-1}; music=${6:-1}
soak="$build/bench/soak/vq_bench_soak.exe"
floor="$build/bench/frame-floor/vq_bench_frame_floor.exe"
for exe in "$soak" "$floor"; do
  [ -f "$exe" ] || { echo "build $exe first (tools/build.sh win64)" >&2; exit 1; }
done
work=$(mktemp -d)
source "$root/bench/session.sh"
trap 'finish_bench_work "$work"' EXIT

# A private sound server with a null sink, so that the music graph renders and plays.
start_sound_server "$work" || { echo "soak: no sound server" >&2; exit 1; }

"$root/tests/wine/wine-env.sh" setup "$work/wine" /usr/lib/wine/wine64 -screen 0 1280x1024x24 >/dev/null || exit 1
export VQ_TIMEOUT=${VQ_TIMEOUT:-7200}
"$root/tests/wine/wine-env.sh" run "$work/wine" "$soak" "$switches" "$width" "$height" "$step" "$music" >"$work/soak.txt"
soak_rc=$?
cat "$work/soak.txt"
# The floor makes as many frames per switch, and keeps the same cadence of losses and music changes.
frames_per_switch=$(sed -n 's/^soak frames per switch: *\([0-9]*\).*/\1/p' "$work/soak.txt")
slides=$(sed -n 's/^soak of the default scene (\([0-9]*\) slides.*/\1/p' "$work/soak.txt")
if [ -n "$frames_per_switch" ] && [ -n "$slides" ]; then
  "$root/tests/wine/wine-env.sh" run "$work/wine" "$floor" soak "$switches" "$frames_per_switch" "$slides" \
    "$width" "$height" >"$work/floor.txt"
  floor_rc=$?
  cat "$work/floor.txt"
  [ "$floor_rc" -eq 0 ] || echo "soak: the frame floor's figures grew too (exit $floor_rc): that growth is Wine's"
fi
exit "$soak_rc"
