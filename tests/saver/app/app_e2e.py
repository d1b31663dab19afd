#!/usr/bin/env python3
"""End-to-end tests of the application under Wine: the scene records, the default scene and its
music, each case on a display of its own.

    app_e2e.py <case> --build <build dir> --source <source dir> --work <work dir>

Cases:
  testwindow   /t: frame 1 shows the loading picture, frame 2 loads, then the scene plays and
               changes over the seconds
  twomonitors  /s on two monitors: each output loads and plays its own copy of the scene
  music        /t with a private sound server: the music files are written to the temporary
               directory and heard, the completion of the first starts the next
  silent       /t without a sound server: the scene plays silently and ends cleanly
  muted        /t with a private sound server and the setting "MuteSound" 1: nothing is heard,
               neither the music nor the scene's sounds, not even while the scene starts them
  nodocument   a build whose document 107 is empty: "Could not load required media." in the
               error box, and a clean exit
  brokendocument  the same for a truncated document
"""
import math
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "wine"))
sys.dont_write_bytecode = True  # keep the source tree free of caches
from wine_e2e import (ONE_SCREEN, TWO_SCREENS, WM_CLOSE, check, ends_within, main,  # noqa: E402
                      read_events, read_png, wait_for, white_box)

MEDIA_NOT_FOUND = "0x8200000B"


def harness_path(env, variant=""):
    return os.path.join(env.build, "tests/saver/app/vq_app_harness%s.exe" % variant)


def run_harness(env, args, shots, quit_after, variant="", extra_env=None, timeout=180):
    """Runs the harness to the end; returns (exit code, events, folder of the pictures)."""
    log = env.out_file("app.log")
    shot_dir = env.out_file("shots")
    os.makedirs(shot_dir)
    variables = {"VQ_APP_LOG": env.win_path(log), "VQ_APP_SHOT_DIR": env.win_path(shot_dir),
                 "VQ_APP_SHOTS": ",".join(str(s) for s in shots), "VQ_APP_QUIT": str(quit_after)}
    variables.update(extra_env or {})
    rc, _, err = env.run(harness_path(env, variant), args, variables, timeout=timeout, name="harness")
    check(rc == 0, "the harness ended with %d: %s" % (rc, err[-2000:]))
    return read_events(log), shot_dir


def draws(events, output):
    return [e for e in events if e.get("event") == "draw" and e.get("output") == str(output)]


def shot(shot_dir, frame, output):
    path = os.path.join(shot_dir, "frame%d-output%d.png" % (frame, output))
    check(os.path.exists(path), "frame %d of output %d was not saved" % (frame, output))
    return read_png(path)


def brightness(pixel):
    return sum(pixel) / 3.0


def lit_fraction(picture, area=None, level=24):
    width, height, rows = picture
    l, t, r, b = area or (0, 0, width, height)
    count = lit = 0
    for y in range(t, b, 2):
        for x in range(l, r, 2):
            count += 1
            lit += brightness(rows[y][x]) > level
    return lit / float(count)


def mean_difference(a, b):
    (w, h, ra), (_, _, rb) = a, b
    total = n = 0
    for y in range(0, h, 2):
        for x in range(0, w, 2):
            pa, pb = ra[y][x], rb[y][x]
            total += sum(abs(pa[i] - pb[i]) for i in range(3)) / 3.0
            n += 1
    return total / n


def check_stages(events, output):
    """Frame 1 shows the loading picture, frame 2 loads the scene, every later frame plays it."""
    d = draws(events, output)
    check(len(d) >= 3, "output %d drew %d frames" % (output, len(d)))
    expected = [("new", "loading-shown"), ("loading-shown", "running"), ("running", "running")]
    for draw, (before, after) in zip(d, expected):
        check((draw["before"], draw["after"]) == (before, after),
              "output %d frame %s went %s -> %s" % (output, draw["frame"], draw["before"], draw["after"]))
    check(all(e["error"] == "0" for e in d), "an error was raised: %s" % [e for e in d if e["error"] != "0"][:1])
    check(d[1]["manager"] not in ("", "0000000000000000", "(nil)"), "no resource manager after loading")
    # The music starts on the frame after the first scene frame, which it must not hold back.
    started = [draw["music"] for draw in d[:4]]
    check(started[:3] == ["0", "0", "0"] and started[3:] in ([], ["1"]),
          "output %d: the music started at the wrong frame (frames 1 to 4: %s)" % (output, started))
    return d


def check_loading_picture(picture):
    width, height, rows = picture
    side = height * 2 // 3
    left = (width - side) // 2
    top = (height - side) // 2
    inside = (left, top, left + side, top + side)
    check(lit_fraction(picture, inside, 40) > 0.05, "frame 1 shows no loading picture in its centre")
    check(lit_fraction(picture, (0, 0, max(left - 2, 2), height), 4) == 0.0,
          "frame 1 is not black beside the loading picture")


def check_scene_frame(picture, what):
    check(lit_fraction(picture) > 0.85, "%s does not show the scene's picture" % what)


def check_playing(shot_dir, draws_of_output, output, early, late):
    check_loading_picture(shot(shot_dir, 1, output))
    check_scene_frame(shot(shot_dir, 3, output), "frame 3 of output %d" % output)
    a, b = shot(shot_dir, early, output), shot(shot_dir, late, output)
    times = {int(e["frame"]): float(e["apptime"]) for e in draws_of_output}
    check(times[late] - times[early] >= 2.0, "frames %d and %d lie only %.2f s apart" %
          (early, late, times[late] - times[early]))
    # A frozen scene gives the same frame again (a difference of 0); the first slide's camera
    # wanders slowly over a soft picture, which moves every pixel a little (1.4 to 3 here).
    difference = mean_difference(a, b)
    check(difference > 0.5, "output %d: frames %d and %d are the same (mean difference %.2f)" %
          (output, early, late, difference))


def case_testwindow(env):
    events, shots = run_harness(env, ["/t"], [1, 3, 40, 150], 150)
    d = check_stages(events, 0)
    check(shot(shots, 1, 0)[:2] == (600, 400), "the test window's back buffer is not 600 x 400")
    check_playing(shots, d, 0, 40, 150)
    music = [e for e in events if e.get("event") == "music"]
    check(all(e["running"] == "1" for e in music), "a music event reached a record that was not running")


def case_twomonitors(env):
    events, shots = run_harness(env, ["/s"], [1, 3, 30, 200], 200)
    prepared = [e for e in events if e.get("event") == "prepared"]
    check(prepared and prepared[0]["error"] == "0", "prepare failed: %s" % prepared)
    managers = []
    for output in (0, 1):
        d = check_stages(events, output)
        check_playing(shots, d, output, 30, 200)
        managers.append(d[1]["manager"])
    check(managers[0] != managers[1], "both outputs play the same copy of the scene: %s" % managers)


# --- Sound ------------------------------------------------------------------------------------

class SoundServer:
    """A private pulseaudio with a stereo null sink; what plays there is recorded from its
    monitor as 16-bit mono at 22050 Hz."""

    def __init__(self, work):
        # The server's socket lives in its runtime folder, and a socket address holds at most
        # 107 characters: a short folder of its own, whatever the depth of the build folder.
        self.runtime = tempfile.mkdtemp(prefix="vq-sound.", dir="/tmp")
        self.env = dict(os.environ, XDG_RUNTIME_DIR=self.runtime, HOME=work)
        self.env.pop("PULSE_SERVER", None)
        self.log = open(os.path.join(work, "pulse.log"), "w")
        self.server = subprocess.Popen(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit",
             "--use-pid-file=no",
             "--load=module-null-sink sink_name=nul rate=44100 channels=2 norewinds=1",
             "--load=module-native-protocol-unix auth-anonymous=1"],
            env=self.env, stdout=self.log, stderr=subprocess.STDOUT)
        self.recorder = None
        ready = wait_for(lambda: subprocess.run(["pactl", "info"], env=self.env, capture_output=True)
                         .returncode == 0 or self.server.poll() is not None, 15)
        check(ready and self.server.poll() is None, "the sound server did not start")
        subprocess.run(["pactl", "set-default-sink", "nul"], env=self.env, check=True)

    def record(self, path):
        self.raw = path
        self.recorder = subprocess.Popen(
            ["parec", "--latency-msec=50", "-d", "nul.monitor", "--raw", "--format=s16le",
             "--channels=1", "--rate=22050"], env=self.env, stdout=open(path, "wb"))

    def stop(self):
        for p in (self.recorder, self.server):
            if p is not None and p.poll() is None:
                p.terminate()
                try:
                    p.wait(10)
                except subprocess.TimeoutExpired:
                    p.kill()
        shutil.rmtree(self.runtime, ignore_errors=True)


def loud_seconds(raw):
    """Seconds of the recording whose 50 ms windows are clearly above silence."""
    import array
    samples = array.array("h")
    samples.frombytes(open(raw, "rb").read())
    window = 22050 // 20
    loud = 0
    for start in range(0, len(samples) - window + 1, window):
        chunk = samples[start:start + window]
        if math.sqrt(sum(s * s for s in chunk) / window) > 40.0:
            loud += 1
    return loud / 20.0


def temp_music_files(env):
    found = {}
    for root, _, files in os.walk(env.c_drive()):
        if "temp" not in root.lower():
            continue
        for name in files:
            if name in ("dawn.wav", "evening.wav"):
                found[name] = os.path.join(root, name)
    return found


def check_extracted_music(env):
    found = temp_music_files(env)
    check(sorted(found) == ["dawn.wav", "evening.wav"], "music files in the temporary directory: %s" % found)
    for name, path in found.items():
        made = os.path.join(env.build, "resources/scene", name)
        check(open(path, "rb").read() == open(made, "rb").read(), "%s was written with other bytes" % name)


def case_music(env):
    sound = SoundServer(env.dir)
    try:
        raw = os.path.join(env.dir, "music.raw")
        sound.record(raw)
        log = env.out_file("app.log")
        wine_env = {"XDG_RUNTIME_DIR": sound.runtime, "VQ_APP_LOG": env.win_path(log)}
        p = env.start(harness_path(env), ["/t"], wine_env, "harness", timeout=120)
        # The first file lasts 8 s; its completion must reach the record and start the next.
        completed = wait_for(lambda: any(e.get("event") == "music" and e.get("code") == "1"
                                         for e in read_events(log)), 60, 0.5)
        check(completed, "no completion event of the first music file reached the application")
        time.sleep(2.0)  # the second file is heard after the completion
        windows = env.windows()
        check(windows, "the test window is gone")
        env.post(windows[0]["hwnd"], WM_CLOSE)
        check(ends_within(p, 20), "closing the test window did not end the saver")
        check(p.returncode == 0, "exit code %d" % p.returncode)
    finally:
        sound.stop()
    events = read_events(log)
    check_stages(events, 0)
    music = [e for e in events if e.get("event") == "music"]
    check(all(e["running"] == "1" for e in music), "a music event reached a record that was not running")
    check_extracted_music(env)
    heard = loud_seconds(raw)
    check(heard >= 8.0, "only %.1f s of music were heard" % heard)


def case_silent(env):
    # No sound server: the sound device cannot be opened, and the scene plays all the same.
    events, shots = run_harness(env, ["/t"], [1, 3, 40, 120], 120,
                                extra_env={"XDG_RUNTIME_DIR": os.path.join(env.dir, "no-sound")})
    d = check_stages(events, 0)
    check_playing(shots, d, 0, 40, 120)
    check_extracted_music(env)


def case_muted(env):
    reg = env.out_file("muted.reg")
    with open(reg, "w") as f:
        f.write('REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Brellick\\Vorniquel Maker\\Screensaver]\r\n'
                '"\\"MuteSound\\""=dword:00000001\r\n')
    rc, _, err = env.run("regedit", ["/S", env.win_path(reg)], name="regedit")
    check(rc == 0, "the setting could not be written: %s" % err[-2000:])
    sound = SoundServer(env.dir)
    try:
        raw = os.path.join(env.dir, "muted.raw")
        sound.record(raw)
        events, _ = run_harness(env, ["/t"], [], 150, extra_env={"XDG_RUNTIME_DIR": sound.runtime})
    finally:
        sound.stop()
    d = check_stages(events, 0)
    check(len(d) >= 150, "only %d frames were drawn" % len(d))
    heard = loud_seconds(raw)
    check(heard == 0, "%.2f s of sound were heard with the sound muted" % heard)


# --- Documents that cannot be played ---------------------------------------------------------

def check_media_error(env, variant):
    log = env.out_file("app.log")
    p = env.start(harness_path(env, variant), ["/t"], {"VQ_APP_LOG": env.win_path(log)}, "harness")
    windows = wait_for(env.windows, 30)
    check(windows, "no test window appeared")

    def failed():
        return [e for e in read_events(log) if e.get("event") == "draw" and e.get("error") == "1"]
    check(wait_for(failed, 60, 0.2), "the scene's load raised no error")
    first_failure = failed()[0]
    check(first_failure["code"] == MEDIA_NOT_FOUND, "error code %s" % first_failure["code"])
    check((first_failure["before"], first_failure["after"]) == ("loading-shown", "loading-shown"),
          "the failed load changed the record: %s" % first_failure)
    area = (50, 50, 650, 450)

    def box_now():
        picture = env.screenshot()
        box = white_box(picture, area)
        if not box:
            return None
        l, t, r, b = box
        ink = sum(1 for y in range(t, b) for x in range(l, r) if picture[2][y][x][0] < 128)
        return box if ink > 200 else None
    check(wait_for(box_now, 20, 0.3), "no error box with its message appeared in the test window")
    env.post(windows[0]["hwnd"], WM_CLOSE)
    check(ends_within(p, 20), "closing the test window did not end the saver")
    check(p.returncode == 0, "exit code %d" % p.returncode)
    events = read_events(log)
    executed = [e for e in events if e.get("event") == "executed"]
    check(executed and executed[0]["code"] == MEDIA_NOT_FOUND, "the run did not end in the media error")
    text = [line for line in open(log, errors="replace") if "event=executed" in line]
    check("Could not load required media." in text[0], "the error text is %r" % text[0])
    check(len([e for e in events if e.get("event") == "draw"]) == 2, "frames were drawn after the failure")


def case_nodocument(env):
    check_media_error(env, "_nodoc")


def case_brokendocument(env):
    check_media_error(env, "_brokendoc")


CASES = {
    "testwindow": (case_testwindow, ONE_SCREEN),
    "twomonitors": (case_twomonitors, TWO_SCREENS),
    "music": (case_music, ONE_SCREEN),
    "silent": (case_silent, ONE_SCREEN),
    "muted": (case_muted, ONE_SCREEN),
    "nodocument": (case_nodocument, ONE_SCREEN),
    "brokendocument": (case_brokendocument, ONE_SCREEN),
}


if __name__ == "__main__":
    sys.exit(main(CASES))
