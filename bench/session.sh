# Sourced by the bench scripts that run the application (after setting `root`): a private
# PulseAudio server with a null sink in <work dir>, so that the music graph renders and plays
# without a sound card or another session's server, and the end of the run.
#   start_sound_server <work dir>   returns non-zero, after saying why, when there is none
#   stop_sound_server
#   finish_bench_work <work dir>    the sound server, the Wine session in <work dir>/wine, the folder
#   wine_loader_for <program.exe>   the Wine loader of the program's word size
sound_server_pid=""
sound_runtime=""

start_sound_server() {
  local work=$1
  # The server's socket must fit a socket address (107 characters): a short runtime folder.
  sound_runtime=$(mktemp -d /tmp/vq-sound.XXXXXX) || return 1
  export XDG_RUNTIME_DIR="$sound_runtime"
  unset PULSE_SERVER
  command -v pulseaudio >/dev/null 2>&1 || { echo "no pulseaudio: the music graph stays closed" >&2; return 1; }
  HOME="$work" pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
    --load="module-null-sink sink_name=nul rate=44100 channels=2 norewinds=1" \
    --load="module-native-protocol-unix auth-anonymous=1" >"$work/pulse.log" 2>&1 &
  sound_server_pid=$!
  for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  pactl set-default-sink nul >/dev/null 2>&1 || { cat "$work/pulse.log" >&2; echo "no sound server" >&2; return 1; }
}

stop_sound_server() {
  [ -n "$sound_server_pid" ] || return 0
  kill "$sound_server_pid" 2>/dev/null
  wait "$sound_server_pid" 2>/dev/null
  sound_server_pid=""
  rm -rf "$sound_runtime"
}

finish_bench_work() {
  stop_sound_server
  "$root/tests/wine/wine-env.sh" cleanup "$1/wine"
  rm -rf "$1"
}

wine_loader_for() {
  case "$(file -b "$1")" in
    PE32+*) echo /usr/lib/wine/wine64 ;;
    *) echo /usr/lib/wine/wine ;;
  esac
}
