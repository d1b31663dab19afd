#!/usr/bin/env bash
# Runs the full-screen outputs on a two-monitor Xvfb (Xinerama, no RandR) and checks what each
# screen shows: Xvfb keeps each screen's frame buffer in a file, so both screens are looked at.
# Under Wine 8 the second adapter reports a 0 x 0 desktop of unknown format and one 800 x 600 mode;
# its full-screen device is made in that mode and its window then moved onto its 640 x 480 monitor.
#   two_monitor_fullscreen.sh <work dir> <program.exe> [template prefix]
set -uo pipefail
work=${1:?work dir}; exe=${2:?program}; template=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
env_script="$here/../wine/wine-env.sh"
rm -rf "$work"; mkdir -p "$work/fb" "$work/run"
[ -n "$template" ] && [ -d "$template" ] && export VQ_WINE_TEMPLATE="$template"
"$env_script" setup "$work/env" "$("$env_script" loader "$exe")" -screen 0 800x600x24 -screen 1 640x480x24 +xinerama \
  -extension RANDR -fbdir "$work/fb" >/dev/null || exit 1
trap '"$env_script" cleanup "$work/env"' EXIT
# shellcheck disable=SC1091
display=$(. "$work/env/env"; echo "$DISPLAY")

cd "$work/run"
VQ_TIMEOUT=120 "$env_script" run "$work/env" "$exe" >"$work/out.txt" 2>"$work/err.txt" &
pid=$!

frames() { [ -f frames.txt ] && tr -d '\r' <frames.txt; }
# Waits until there are two outputs and each has drawn at least $1 frames; prints the counts.
wait_frames() {
  local need=$1 f
  for _ in $(seq 600); do
    f=$(frames)
    if echo "$f" | awk -v n="$need" '{ ok = NF >= 2; for (i = 1; i <= NF; i++) if ($i < n) ok = 0 } END { exit !ok }'; then
      echo "$f"; return 0
    fi
    kill -0 $pid 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}
most() { echo "$1" | awk '{ m = 0; for (i = 1; i <= NF; i++) if ($i > m) m = $i; print m }'; }

# The share of an image's pixels that have the given colour.
share() { convert "$1" -fuzz 4% -fill white -opaque "$2" -fill black +opaque white -colorspace gray -format '%[fx:mean]' info:; }

status=0
check_shot() {  # check_shot <tag>
  local tag=$1
  DISPLAY=$display import -window root "$work/root-$tag.png"
  convert "xwd:$work/fb/Xvfb_screen0" "$work/screen0-$tag.png"
  convert "xwd:$work/fb/Xvfb_screen1" "$work/screen1-$tag.png"
  local s0 s1 r0
  s0=$(share "$work/screen0-$tag.png" '#C04020')
  s1=$(share "$work/screen1-$tag.png" '#20C040')
  r0=$(share "$work/root-$tag.png" '#C04020')
  echo "$tag: screen 0 shows output 0 on $s0, screen 1 shows output 1 on $s1, root shows output 0 on $r0"
  # Wine places both monitors at (0, 0), as Xvfb's Xinerama layout does: the second screen's
  # window covers the top-left 640 x 480 of the first, and the first output shows around it.
  awk -v a="$s0" -v b="$s1" -v c="$r0" 'BEGIN { exit !(a > 0.2 && b > 0.95 && c > 0.2) }' || {
    echo "FAIL: the screens do not show both outputs ($tag)"; status=1; }
}

first=$(wait_frames 10) || { echo "FAIL: the outputs did not draw"; touch quit; wait $pid; cat "$work/out.txt" "$work/err.txt"; exit 1; }
echo "frames: $first"
check_shot first
second=$(wait_frames $(( $(most "$first") + 10 ))) || {
  echo "FAIL: the outputs stopped drawing"; status=1; }
echo "frames: $second"
check_shot second
touch quit
wait $pid; rc=$?
cat "$work/out.txt"
[ "$rc" -eq 0 ] || { echo "FAIL: the program reported $rc"; cat "$work/err.txt"; status=1; }
exit $status
