#!/usr/bin/env bash
# One sound test of the sound objects under Wine, with a private sound server (a pulseaudio null
# sink, recorded from its monitor) or with none at all.
#   sound-audio-test.sh <case> <work dir> <wine-env.sh> <wine env dir> <device test> <probe> <analyser>
set -uo pipefail
case_name=$1; work=$2; wine_env=$3; env_dir=$4; device_test=$5; probe=$6; analyser=$7

# shellcheck source=../sound-server.sh
source "$(dirname "$0")/../sound-server.sh"

case "$case_name" in
sound_objects_with_sound_server)
  start_sound_server
  "$wine_env" run "$env_dir" "$device_test"
  ;;
sound_objects_without_sound_server)
  without_sound_server
  "$wine_env" run "$env_dir" "$device_test"
  ;;
sound_buffers_under_wine)
  start_sound_server
  record "$work/buffers.raw" buffers
  python3 "$analyser" buffers "$work/buffers.raw"
  ;;
sound_slide_heard_at_its_volume)
  start_sound_server
  record "$work/full.raw" slide 100 100 0 3
  record "$work/object-half.raw" slide 50 100 0 3
  record "$work/setting-half.raw" slide 100 50 0 3
  record "$work/muted.raw" slide 100 100 1 3
  python3 "$analyser" slide 3 "$work/full.raw" "$work/object-half.raw" "$work/setting-half.raw" "$work/muted.raw"
  ;;
sound_random_replay_within_its_bounds)
  start_sound_server
  record "$work/random.raw" random 1 2 9
  python3 "$analyser" random 1 2 "$work/random.raw"
  ;;
sound_formats_heard_alike)
  start_sound_server
  record "$work/formats.raw" formats 1.5
  python3 "$analyser" formats 1.5 "$work/formats.raw"
  ;;
*) fail "unknown case $case_name" ;;
esac
