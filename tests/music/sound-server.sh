#!/usr/bin/env bash
# Sourced by the sound tests: a private sound server (a pulseaudio null sink) recorded from its
# monitor, or none at all. Expects $work (emptied and made here); defines start_sound_server,
# without_sound_server, start_recording, stop_recording, record and fail; ends on exit whatever
# it started.
# `record` runs "$wine_env" run "$env_dir" "$probe" with the given arguments.
rm -rf "$work"
mkdir -p "$work/runtime"
chmod 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"
unset PULSE_SERVER

pulse_pid=""
record_pid=""
stop_recording() {
  if [ -n "$record_pid" ]; then
    kill "$record_pid" 2>/dev/null
    wait "$record_pid" 2>/dev/null
    record_pid=""
  fi
}
finish() {
  stop_recording
  if [ -n "$pulse_pid" ]; then
    kill "$pulse_pid" 2>/dev/null
    wait "$pulse_pid" 2>/dev/null
  fi
}
trap finish EXIT
fail() { echo "$(basename "$0"): $*" >&2; exit 1; }

# The null sink is stereo like a real device (Wine's primary buffer keeps no volume on a mono
# one) and never rewinds: a rewind would drop the start of a stream from its monitor.
start_sound_server() {
  HOME="$work" pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
    --load="module-null-sink sink_name=nul rate=44100 channels=2 norewinds=1" \
    --load="module-native-protocol-unix auth-anonymous=1" >"$work/pulse.log" 2>&1 &
  pulse_pid=$!
  for _ in $(seq 300); do  # a loaded machine may take seconds
    pactl info >/dev/null 2>&1 && break
    kill -0 "$pulse_pid" 2>/dev/null || { cat "$work/pulse.log" >&2; fail "the sound server did not start"; }
    sleep 0.1
  done
  pactl info >/dev/null 2>&1 || fail "the sound server does not answer"
  pactl set-default-sink nul || fail "no null sink"
  export VQ_SOUND_SERVER=1
}

# An empty private runtime directory and an explicit server address that does not exist, so
# nothing can reach or start a sound server.
without_sound_server() {
  export PULSE_SERVER="unix:$work/runtime/no-server"
  export VQ_SOUND_SERVER=0
}

start_recording() {  # start_recording <raw file>
  # A short latency: parec hands over what it holds in fragments, and whatever sits in an
  # unfinished fragment is lost when it is stopped.
  parec --latency-msec=50 -d nul.monitor --raw --format=s16le --channels=1 --rate=22050 >"$1" &
  record_pid=$!
}

# Records what the probe plays: record <raw file> <probe args...>
record() {
  local out=$1; shift
  start_recording "$out"
  "$wine_env" run "$env_dir" "$probe" "$@" >"$out.log" || { cat "$out.log"; fail "the probe failed: $*"; }
  sleep 0.5  # the last fragments of the recording
  stop_recording
  cat "$out.log"
}

