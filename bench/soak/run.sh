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
pulse_pid=""
finish() {
  [ -n "$pulse_pid" ] && { kill "$pulse_pid" 2>/dev/null; wait "$pulse_pid" 2>/dev/null; }
  "$root/tests/wine/wine-env.sh" cleanup "$work/wine"
  rm -rf "$work"
}
trap finish EXIT

# A private sound server with a null sink, so that the music graph renders and plays.
mkdir -p "$work/runtime" && chmod 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"
unset PULSE_SERVER
HOME="$work" pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
  --load="module-null-sink sink_name=nul rate=44100 channels=2 norewinds=1" \
  --load="module-native-protocol-unix auth-anonymous=1" >"$work/pulse.log" 2>&1 &
pulse_pid=$!
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl set-default-sink nul || { cat "$work/pulse.log" >&2; echo "soak: no sound server" >&2; exit 1; }

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
