#!/usr/bin/env bash
# Sourced by the sound tests: a private sound server (a pulseaudio null sink) recorded from its
# monitor, or none at all. Expects $work (emptied and made here); defines start_sound_server,
# without_sound_server, start_recording, stop_recording, record and fail; ends on exit whatever
# it started.
# `record` runs "$wine_env" run "$env_dir" "$probe" with the given arguments.
rm -rf "$work"
mkdir -p "$work"
# A sound server listens on a Unix socket under its runtime folder, and a socket's address holds
# at most 107 characters: a build folder deep enough pushes it past that, and the server then
# cannot start. So the runtime folders live in a short folder of their own, removed on exit.
runtime_root=$(mktemp -d /tmp/vq-sound.XXXXXX) || { echo "$(basename "$0"): no runtime folder" >&2; exit 1; }
mkdir -p "$runtime_root/own"
chmod 700 "$runtime_root/own"
export XDG_RUNTIME_DIR="$runtime_root/own"
unset PULSE_SERVER

# The recorded sound must be played in real time, whatever else keeps the machine busy: on a
# desktop the sound server and the audio threads of its programs run at raised priority, and a
# server or a program starved of the processor for tens of milliseconds leaves the null sink to
# play silence (the tone then comes back with gaps, longer and at another apparent pitch).
# Both get that priority here: a lower nice value (without the right to it, nice says so and
# runs them as they are).

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
  stop_neighbour
  if [ -n "$pulse_pid" ]; then
    kill "$pulse_pid" 2>/dev/null
    wait "$pulse_pid" 2>/dev/null
  fi
  rm -rf "$runtime_root"
}
trap finish EXIT
fail() { echo "$(basename "$0"): $*" >&2; exit 1; }

# The null sink is stereo like a real device (Wine's primary buffer keeps no volume on a mono
# one) and never rewinds: a rewind would drop the start of a stream from its monitor.
start_sound_server() {
  HOME="$work" nice -n -15 pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
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
  export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/no-server"
  export VQ_SOUND_SERVER=0
}

start_recording() {  # start_recording <raw file>
  # A short latency: parec hands over what it holds in fragments, and whatever sits in an
  # unfinished fragment is lost when it is stopped.
  nice -n -15 parec --latency-msec=50 -d nul.monitor --raw --format=s16le --channels=1 --rate=22050 >"$1" &
  record_pid=$!
}

# A neighbour: another program in the same Wine prefix playing a steady 1200 Hz tone (a pitch no
# recording test plays) through a sound server of its own, as other tests and programs on the
# machine do. A recording hears only its own server, so it must never hear the neighbour.
neighbour_pid=""
neighbour_pulse_pid=""
start_neighbour() {  # start_neighbour <seconds>
  [ -n "${VQ_NEIGHBOUR_PROBE:-}" ] || return 0
  local dir="$work/neighbour" runtime="$runtime_root/neighbour"
  rm -rf "$runtime"; mkdir -p "$dir" "$runtime"; chmod 700 "$runtime"
  XDG_RUNTIME_DIR="$runtime" HOME="$dir" pulseaudio -n --daemonize=no --exit-idle-time=-1 \
    --disallow-exit --use-pid-file=no --load="module-null-sink sink_name=nul rate=44100 channels=2" \
    --load="module-native-protocol-unix auth-anonymous=1" >"$dir/pulse.log" 2>&1 &
  neighbour_pulse_pid=$!
  for _ in $(seq 300); do
    XDG_RUNTIME_DIR="$runtime" pactl info >/dev/null 2>&1 && break
    kill -0 "$neighbour_pulse_pid" 2>/dev/null || break
    sleep 0.1
  done
  XDG_RUNTIME_DIR="$runtime" pactl set-default-sink nul >/dev/null 2>&1 ||
    { cat "$dir/pulse.log" >&2; fail "the neighbour's sound server did not start"; }
  # A session of its own, so that stopping it ends Wine's processes under the wrapper too.
  XDG_RUNTIME_DIR="$runtime" VQ_TIMEOUT=120 setsid nice -n -15 "$wine_env" run "$env_dir" "$VQ_NEIGHBOUR_PROBE" tone 1200 "$1" \
    >"$dir/tone.log" 2>&1 &
  neighbour_pid=$!
  # The neighbour is playing before the recording starts.
  for _ in $(seq 300); do
    XDG_RUNTIME_DIR="$runtime" pactl list short sink-inputs 2>/dev/null | grep -q . && return 0
    kill -0 "$neighbour_pid" 2>/dev/null || break
    sleep 0.1
  done
  cat "$dir/tone.log" >&2
  fail "the neighbour does not play"
}
stop_neighbour() {
  [ -n "$neighbour_pid" ] && { kill -- "-$neighbour_pid" 2>/dev/null; wait "$neighbour_pid" 2>/dev/null; }
  [ -n "$neighbour_pulse_pid" ] && { kill "$neighbour_pulse_pid" 2>/dev/null; wait "$neighbour_pulse_pid" 2>/dev/null; }
  neighbour_pid=""; neighbour_pulse_pid=""
}

# Records what the probe plays, beside a neighbour: record <raw file> <probe args...>
record() {
  local out=$1; shift
  # Wine's server takes part in every wait of the program's audio threads: end the one earlier
  # programs left, so that the next starts it at the raised priority (these tests run alone).
  (source "$env_dir/env"; wineserver -k 2>/dev/null; wineserver -w 2>/dev/null)
  start_neighbour 60
  start_recording "$out"
  nice -n -15 "$wine_env" run "$env_dir" "$probe" "$@" >"$out.log" || { cat "$out.log"; fail "the probe failed: $*"; }
  sleep 0.5  # the last fragments of the recording
  stop_recording
  stop_neighbour
  cat "$out.log"
}

