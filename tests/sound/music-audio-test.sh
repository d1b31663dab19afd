#!/usr/bin/env bash
# One sound test of the music under Wine, with a private sound server (a pulseaudio null sink,
# recorded from its monitor) or with none at all.
#   music-audio-test.sh <case> <work dir> <wine-env.sh> <wine env dir> <device test> <probe> <analyser>
set -uo pipefail
case_name=$1; work=$2; wine_env=$3; env_dir=$4; device_test=$5; probe=$6; analyser=$7

# shellcheck source=sound-server.sh
source "$(dirname "$0")/sound-server.sh"

case "$case_name" in
music_device_with_sound_server)
  start_sound_server
  "$wine_env" run "$env_dir" "$device_test"
  ;;
music_device_without_sound_server)
  without_sound_server
  "$wine_env" run "$env_dir" "$device_test"
  ;;
music_heard_at_the_volume_setting)
  start_sound_server
  record "$work/full.raw" volume 100 0
  record "$work/half.raw" volume 50 0
  record "$work/muted.raw" volume 100 1
  python3 "$analyser" volume "$work/full.raw" "$work/half.raw" "$work/muted.raw"
  ;;
music_playlist_heard_in_order)
  start_sound_server
  record "$work/playlist.raw" playlist 4
  [ "$(grep -c '^complete' "$work/playlist.raw.log")" -eq 4 ] || fail "expected four completions"
  python3 "$analyser" sequence "$work/playlist.raw" 440 660 880 440
  ;;
music_stops_after_device_loss)
  start_sound_server
  record "$work/lost.raw" lost 1000
  python3 "$analyser" stops "$work/lost.raw" 0.3 2.0
  ;;
*) fail "unknown case $case_name" ;;
esac
