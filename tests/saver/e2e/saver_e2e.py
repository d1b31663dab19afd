#!/usr/bin/env python3
"""End-to-end tests of the saver's run modes under Wine, each case on a display of its own.

    saver_e2e.py <case> --build <build dir> --source <source dir> --work <work dir>

Cases: modes, password, fullscreen, testwindow, preview, errorbox. The cases that need the
saver's main loop first ask the harness whether this build has it and report "skipped" (exit 77)
when the loop is still a stand-in.
"""
import os
import re
import shutil
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "wine"))
sys.dont_write_bytecode = True  # keep the source tree free of caches
from wine_e2e import (ONE_SCREEN, PBT_APMSUSPEND, SC_CLOSE, SC_SCREENSAVE, SKIP, STARTUP,  # noqa: E402
                      TWO_SCREENS, WM_ACTIVATEAPP, WM_CLOSE, WM_COMMAND, WM_KEYDOWN,
                      WM_LBUTTONDOWN, WM_MBUTTONDOWN, WM_MOUSEMOVE, WM_POWERBROADCAST,
                      WM_RBUTTONDOWN, WM_SYSCOMMAND, Failure, check, ends_within, lparam, main,
                      read_events, wait_for, white_box)

ENDING = 30
WS_SYSMENU = 0x00080000


def size_of(w):
    l, t, r, b = (int(v) for v in w["rect"].split(","))
    return r - l, b - t


def has_main_loop(env):
    rc, _, _ = env.run(env.harness, [], {"VQ_HARNESS": "probe_loop"}, name="probe")
    check(rc in (0, SKIP), "the loop probe failed with %d" % rc)
    return rc == 0


# ---------------------------------------------------------------------------------------------
# Cases that need no main loop: Prepare's mode and parent, the message box, password, bad input.

def harness_run(env, command_line, options="", timeout=STARTUP, stop=None, verb="run"):
    """Runs the harness through saverctl with an exact command line ("host-run": %HWND% names a
    window of saverctl's); stop(env, saverctl process) may end it. Returns (saverctl's output
    without the host line, the harness's events)."""
    log = env.out_file("harness.log")
    p = env.start(env.saverctl, [verb, str(timeout * 1000), command_line],
                  {"VQ_HARNESS": options, "VQ_HARNESS_LOG": env.win_path(log)}, "saverctl-run",
                  timeout + 30)
    if stop is not None:
        stop(env, p)
    p.wait(timeout + 40)
    out = "".join(l for l in open(p.out_name) if not l.startswith("host "))
    return out, read_events(log)


def prepared(events):
    for e in events:
        if e.get("event") == "prepared":
            return e
    raise Failure("the harness logged no prepared state: %s" % events)


def case_modes(env):
    saver_dir = os.path.join(env.c_drive(), "saver -s dir")
    os.makedirs(saver_dir, exist_ok=True)
    shutil.copy(env.harness, os.path.join(saver_dir, "saver_harness.exe"))
    plain_dir = os.path.join(env.c_drive(), "my-saver")
    os.makedirs(plain_dir, exist_ok=True)
    shutil.copy(env.harness, os.path.join(plain_dir, "saver_harness.exe"))

    # Exact command lines and the mode and parent that Prepare reads from them. Modes that would
    # open windows or dialogs are given handles that name no window, so each run ends by itself.
    table = [
        ('"C:\\saver -s dir\\saver_harness.exe" /r', "5", "0"),
        ("C:\\my-saver\\saver_harness.exe /r", "5", "0"),
        ("C:\\my-saver\\saver_harness.exe /p 12345", "1", "12345"),
        ("C:\\my-saver\\saver_harness.exe /P:678", "1", "678"),
        ("C:\\my-saver\\saver_harness.exe /p", "1", "0"),
        ("C:\\my-saver\\saver_harness.exe /p 99999999999999999999999999", "1", None),
    ]
    for command_line, mode, parent in table:
        out, events = harness_run(env, command_line)
        state = prepared(events)
        check(state["mode"] == mode, "%s: mode %s, expected %s" % (command_line, state["mode"], mode))
        if parent is not None:
            check(state["parent"] == parent,
                  "%s: parent %s, expected %s" % (command_line, state["parent"], parent))
        # A preview without a usable parent has no window and ends at once (no hang, no crash).
        check(out.startswith("exit 0 "), "%s: %s" % (command_line, out))
        if mode == "1":
            check(state["main"] == "0" and state["error"] == "1",
                  "%s: a preview without a parent window must be an error without a window" %
                  command_line)

    # The message box of configure mode (forced error) is owned by the window that /c names,
    # whether the program name is quoted or not; without /c it has no owner.
    def close_box(owned):
        def stop(env, saverctl):
            owner = "0"
            if owned:
                host = wait_for(lambda: re.search(r"^host (\d+)", open(saverctl.out_name).read(),
                                                  re.M), STARTUP)
                check(host, "saverctl made no owner window")
                owner = host.group(1)
            box = wait_for(lambda: [w for w in env.windows("#32770") if w["title"] == "Vorniquel"],
                           STARTUP)
            check(box, "configure mode with an error shows no message box titled Vorniquel")
            check(box[0]["owner"] == owner,
                  "message box owner %s, expected %s" % (box[0]["owner"], owner))
            _, listing = env.ctl("windows")
            check("title=Could not find any compatible Direct3D devices." in listing,
                  "the message box lacks the error text:\n" + listing)
            env.post(box[0]["hwnd"], WM_COMMAND, 1, 0)
        return stop

    for command_line, owned in [
            ('"C:\\saver -s dir\\saver_harness.exe" /c:%HWND%', True),
            ("C:\\my-saver\\saver_harness.exe /c %HWND%", True),
            ("C:\\my-saver\\saver_harness.exe", False)]:
        out, events = harness_run(env, command_line, "fail_caps", stop=close_box(owned),
                                  verb="host-run")
        state = prepared(events)
        check(state["mode"] == "0", "%s: mode %s" % (command_line, state["mode"]))
        check(state["code"] == "0x82000003", "%s: error %s" % (command_line, state["code"]))
        check(out.startswith("exit 0 "), "%s: %s" % (command_line, out))


def case_password(env):
    debug = {"VQ_WINEDEBUG": "-all,fixme+mpr"}
    # Wine prints the owner window and the reserved pointer at the build's pointer width.
    width = 16 if env.loader.endswith("64") else 8
    for args, owner in [(["/a", "1234"], 1234), (["/a"], 0), (["/A:77"], 77)]:
        start = time.time()
        rc, _, err = env.run(env.scr, args, debug, timeout=STARTUP)
        check(rc == 0, "%s: exit %d" % (args, rc))
        check(time.time() - start < STARTUP, "%s took too long" % args)
        expected = 'fixme:mpr:PwdChangePasswordA "SCRSAVE" %0*X 0 %s' % (width, owner, "0" * width)
        check(expected in err, "%s: the password change was not called as expected:\n%s" %
              (args, err))
    rc, _, err = env.run(env.scr, ["/r"], debug, timeout=STARTUP)
    check(rc == 0 and "PwdChangePasswordA" not in err, "/r must do nothing: %d %s" % (rc, err))
    check(not env.windows(), "/r or /a left a saver window")


# ---------------------------------------------------------------------------------------------
# Cases that need the main loop.

def start_saver(env, args, program=None, extra_env=None, count=1):
    p = env.start(program or env.scr, args, extra_env, "saver")
    def shown():
        # A window still inside its creation is not yet visible: wait for the finished ones.
        found = [w for w in env.windows() if w["visible"] == "1"]
        return found if len(found) >= count else None

    windows = wait_for(shown, STARTUP)
    check(windows, "no saver window appeared for %s" % args)
    return p, windows


def case_fullscreen(env):
    p, windows = start_saver(env, ["/s"], count=2)
    # Each full-screen device sizes its window to its own mode as it is made: wait for both.
    expected_sizes = [(640, 480), (800, 600)]
    def settled():
        found = [w for w in env.windows() if w["visible"] == "1"]
        return found if sorted(size_of(w) for w in found) == expected_sizes else None
    windows = wait_for(settled, STARTUP) or windows
    check(len(windows) == 2, "expected one window per monitor, got %s" % windows)
    check(sorted(size_of(w) for w in windows) == expected_sizes,
          "window sizes %s" % [size_of(w) for w in windows])
    by_size = {size_of(w): w for w in windows}
    first, second = by_size[(800, 600)], by_size[(640, 480)]
    for w in windows:
        # The full-screen device adds the system menu to its window's style.
        check(int(w["style"], 16) & 0xFFFF0000 & ~WS_SYSMENU == 0x94000000, "not a visible popup: %s" % w)
        check(int(w["exstyle"], 16) & 0x8, "not topmost: %s" % w)
        check(w["title"] == "Vorniquel", "title %r" % w["title"])
    check(first["owner"] == "0" and second["owner"] == first["hwnd"],
          "the second window must be owned by the first: %s" % windows)
    time.sleep(1.0)
    # Input that must not end full screen: activation gained, Alt+F4 and the screen-saver command,
    # five moves to new positions and repeated positions. A window that appears under the
    # pointer is told of the pointer's position by the system, which counts as the first move;
    # so the first posted move goes to that same position, and counts only if the system's did
    # not.
    env.post(first["hwnd"], WM_ACTIVATEAPP, 1, 0)
    env.post(first["hwnd"], WM_SYSCOMMAND, SC_CLOSE, 0)
    env.post(first["hwnd"], WM_SYSCOMMAND, SC_SCREENSAVE, 0)
    _, cursor = env.ctl("cursor", second["hwnd"])
    cx, cy = (int(v) for v in cursor.split()[1:3])
    moves = [(cx, cy), (cx, cy), (cx + 20, cy + 30), (cx + 20, cy + 30), (cx + 40, cy + 50),
             (cx + 60, cy + 70), (cx + 80, cy + 90), (cx + 80, cy + 90)]
    for x, y in moves:
        env.post(second["hwnd"], WM_MOUSEMOVE, 0, lparam(x, y))
    check(not ends_within(p, 2.0), "full screen ended before the sixth move to a new position")
    env.post(first["hwnd"], WM_MOUSEMOVE, 0, lparam(cx + 100, cy + 110))
    check(ends_within(p, ENDING), "the sixth move to a new position did not end full screen")
    check(p.returncode == 0, "exit code %d" % p.returncode)

    endings = [("key", WM_KEYDOWN, 0x41, 0), ("left button", WM_LBUTTONDOWN, 1, 0),
               ("right button", WM_RBUTTONDOWN, 2, 0), ("middle button", WM_MBUTTONDOWN, 0x10, 0),
               ("deactivation", WM_ACTIVATEAPP, 0, 0),
               ("suspend", WM_POWERBROADCAST, PBT_APMSUSPEND, 0)]
    for name, message, wparam, lp in endings:
        p, windows = start_saver(env, ["-S"], count=2)
        env.post(windows[-1]["hwnd"], message, wparam, lp)
        check(ends_within(p, ENDING), "full screen did not end on %s" % name)
        check(p.returncode == 0, "%s: exit code %d" % (name, p.returncode))


def case_testwindow(env):
    p, windows = start_saver(env, ["/t"])
    check(len(windows) == 1, "expected one test window: %s" % windows)
    w = windows[0]
    check(int(w["style"], 16) & 0x10CA0000 == 0x10CA0000, "test window style %s" % w["style"])
    check(w["client"] == "50,50,650,450", "test window client %s" % w["client"])
    check(w["owner"] == "0" and w["parent"] == "0" and w["title"] == "Vorniquel", str(w))
    time.sleep(1.0)
    hwnd = w["hwnd"]
    for message, wparam, lp in [(WM_KEYDOWN, 0x41, 0), (WM_LBUTTONDOWN, 1, 0),
                                (WM_RBUTTONDOWN, 2, 0), (WM_ACTIVATEAPP, 0, 0)]:
        env.post(hwnd, message, wparam, lp)
    for i in range(10):
        env.post(hwnd, WM_MOUSEMOVE, 0, lparam(10 + 5 * i, 10 + 3 * i))
    check(not ends_within(p, 2.0), "the test window ended on keys, clicks, moves or deactivation")
    env.post(hwnd, WM_CLOSE)
    check(ends_within(p, ENDING), "closing the test window did not end the saver")
    check(p.returncode == 0, "exit code %d" % p.returncode)

    p, windows = start_saver(env, ["/T"])
    env.post(windows[0]["hwnd"], WM_POWERBROADCAST, PBT_APMSUSPEND, 0)
    check(ends_within(p, ENDING), "a suspend broadcast did not end the test window")

    # The quoted program name holds " -s " and a '-': it is still the test window.
    saver_dir = os.path.join(env.c_drive(), "saver -s dir")
    os.makedirs(saver_dir, exist_ok=True)
    shutil.copy(env.scr, os.path.join(saver_dir, "vorniquel.scr"))
    p = env.start(env.saverctl, ["run", "60000", '"C:\\saver -s dir\\vorniquel.scr" /t'],
                  name="quoted")
    windows = wait_for(lambda: [w for w in env.windows() if w["visible"] == "1"], STARTUP)
    check(windows and windows[0]["client"] == "50,50,650,450",
          "a quoted program name did not give the test window: %s" % windows)
    env.post(windows[0]["hwnd"], WM_CLOSE)
    check(ends_within(p, ENDING), "quoted run did not end")
    check(open(p.out_name).read().startswith("exit 0 "), open(p.out_name).read())


def preview_report(text):
    lines = dict(line.split(" ", 1) for line in text.splitlines() if " " in line)
    return lines, text


PROBE_AREA = (100, 100, 252, 212)  # the probe's and the preview host's client, on the screen


def red_share(shot, area):
    _, _, rows = shot
    pixels = [p for row in rows[area[1]:area[3]] for p in row[area[0]:area[2]]]
    return sum(1 for p in pixels if p == (255, 0, 0)) / len(pixels)


def probe_red(env, draw, place):
    """The share of the probe's child seen pure red while it draws (the best of a few looks)."""
    probe = os.path.join(env.build, "tests/saver/e2e/vq_preview_probe.exe")
    if place == "local":
        p = env.start(probe, [draw, "local", "6000"], name="probe", timeout=60)
    else:
        p = env.start(env.saverctl, ["preview-host", "152", "112", "60000", "6000",
                                     env.win_path(probe) + " %s hosted %%HWND%% 6000" % draw],
                      name="probe-host", timeout=90)
    seen = 0.0
    for _ in range(8):
        time.sleep(0.75)
        seen = max(seen, red_share(env.screenshot(), PROBE_AREA))
    p.wait(100)
    return seen


def foreign_child_shown(env):
    """The probe: a child window filled red by GDI and by a Direct3D device, in a window of its
    own process and in the preview host's window of another process, as the control panel hosts
    a preview. GDI in its own process's window is the control: it must be seen. True when Wine
    shows a device's frames in another process's window."""
    seen = {(draw, place): probe_red(env, draw, place)
            for draw in ("gdi", "d3d") for place in ("local", "hosted")}
    print("probe: red seen on %s of the child" %
          ", ".join("%.2f (%s, %s)" % (v, draw, place) for (draw, place), v in seen.items()))
    check(seen[("gdi", "local")] > 0.95, "the probe's own GDI fill is not seen: the probe is broken")
    return seen[("d3d", "hosted")] > 0.95


def case_preview(env):
    # The real saver, whose child is looked at while it draws, then the harness, whose log
    # shows the start-up wait. Under Wine 8 here a Direct3D device's frames on a child window
    # never reach the screen, and nothing a program draws into a child of another process's
    # window does (the probe measures both each run): there the saver's child is checked as a
    # window, and its pixels wherever the probe sees its own.
    look_at = (2, 4, 8) if foreign_child_shown(env) else ()
    if not look_at:
        print("note: Wine does not show a child of another process's window: the preview's pixels "
              "are not checked")
    check_preview(env, env.scr, env.out_file("preview-saver.log"), look_at=look_at)
    log = env.out_file("preview-harness.log")
    check_preview(env, env.harness, log)
    events = read_events(log)
    created = [int(e["t"]) for e in events if e.get("event") == "window-created"]
    waited = [int(e["t"]) for e in events if e.get("event") == "after-wait"]
    check(created and waited and waited[0] - created[0] >= 450,
          "the preview did not wait for its 500 ms timer: %s" % events)


def check_preview(env, program, log, look_at=()):
    """Hosts the program's preview in a window of another process, as the control panel does.
    At each of the look_at seconds after the child appeared its pixels are read from the screen:
    they must show the scene (many colours, not a flat fill) and change as it plays."""
    watch_ms = (max(look_at) + 1) * 1000 if look_at else 1000
    p = env.start(env.saverctl, ["preview-host", "152", "112", "60000", str(watch_ms),
                                 env.win_path(program) + " /p %HWND%"],
                  {"VQ_HARNESS_LOG": env.win_path(log)}, name="preview", timeout=150)
    shots = []
    if look_at:
        appeared = wait_for(lambda: "child-ms" in open(p.out_name).read() and time.time(), STARTUP)
        check(appeared, "no preview child appeared:\n" + open(p.out_name).read())
        text = open(p.out_name).read()
        area = [int(v) for v in re.search(r"client=(\S+)", text).group(1).split(",")]
        for seconds in look_at:
            time.sleep(max(0.0, appeared + seconds - time.time()))
            _, _, rows = env.screenshot()
            shots.append([row[area[0]:area[2]] for row in rows[area[1]:area[3]]])
    p.wait(170)
    lines, text = preview_report(open(p.out_name).read())
    check("child-ms" in lines, "no preview child appeared:\n" + text)
    child = re.search(r"hwnd=\S+ .*", text).group(0)
    host = lines["host"].strip()
    check("parent=%s " % host in child, "the child's parent is not the host:\n" + text)
    check("class=D3DSaverWndClass" in child, text)
    check(int(re.search(r"style=0x(\w+)", child).group(1), 16) & 0x50000000 == 0x50000000,
          "not a visible child:\n" + text)
    l, t, r, b = (int(v) for v in re.search(r"client=(\S+)", child).group(1).split(","))
    check((r - l, b - t) == (152, 112), "the child does not fill the parent's client area:\n" + text)
    check(lines.get("alive-after-input") == "1", "the preview ended on input:\n" + text)
    exit_line = re.search(r"exit (\d+) ms (\d+)", text)
    check(exit_line and exit_line.group(1) == "0", "the preview did not end with 0:\n" + text)
    check(int(exit_line.group(2)) < ENDING * 1000, "the preview took too long to end:\n" + text)
    for seconds, shot in zip(look_at, shots):
        pixels = [pixel for row in shot for pixel in row]
        commonest = max(pixels.count(c) for c in set(pixels))
        check(len(set(pixels)) >= 50 and commonest < 0.5 * len(pixels),
              "the preview shows no scene at %d s: %d colours, the commonest on %d of %d pixels"
              % (seconds, len(set(pixels)), commonest, len(pixels)))
    changed = [sum(a != b for a, b in zip(sum(x, []), sum(y, []))) for x, y in zip(shots, shots[1:])]
    check(all(n > 0 for n in changed), "the preview does not move: %s pixels changed" % changed)


def bounce(start, speed, span, t):
    """Position at time t of a point moving at speed from start, reflected within [0, span]."""
    phase = (start + speed * t) % (2 * span)
    return phase if phase <= span else 2 * span - phase


def on_bounce_path(x, y, tolerance=4):
    for step in range(0, 6000):
        t = step * 0.01
        if abs(bounce(170, 64, 340, t) - x) <= tolerance and abs(bounce(165, 24, 330, t) - y) <= tolerance:
            return True
    return False


def case_errorbox(env):
    p, windows = start_saver(env, ["/s"], program=env.harness, extra_env={"VQ_HARNESS": "fail_caps"},
                             count=2)
    # Wine puts both monitors at the origin, so the 640 x 480 window (owned by the first one,
    # hence above it) covers the top left of the 800 x 600 one: its box is the one seen there.
    area = (0, 0, 640, 480)

    def box_now():
        shot = env.screenshot()
        box = white_box(shot, area)
        if box:
            # The message is written in dark letters inside the box.
            l, t, r, b = box
            ink = sum(1 for y in range(t, b) for x in range(l, r) if shot[2][y][x][0] < 128)
            check(ink > 200, "the error box holds no text")
        return (time.time(), box) if box else None

    first = wait_for(box_now, STARTUP, 0.2)
    check(first, "no white error box appeared on the black screen")
    time.sleep(0.6)
    second = box_now()
    check(second, "the error box vanished")
    for _, (l, t, r, b) in (first, second):
        # The white inside of the 300 x 150 box; its black frame is one pixel wide.
        check(296 <= r - l <= 300 and 146 <= b - t <= 150, "box size %dx%d" % (r - l, b - t))
        check(0 <= l and r <= 640 and 0 <= t and b <= 480, "box outside its monitor")
    (_, (l1, top1, _, _)), (_, (l2, top2, _, _)) = first, second
    check(l2 != l1 or top2 != top1, "the error box does not move")
    # It starts centred at (170, 165) and drifts at 640/10 and 480/20 pixels per second,
    # bouncing off the edges: each seen position lies on that path (its white inside starts one
    # pixel in from the box's corner).
    check(on_bounce_path(l1 - 1, top1 - 1), "box at (%d, %d) is off its path" % (l1, top1))
    check(on_bounce_path(l2 - 1, top2 - 1), "box at (%d, %d) is off its path" % (l2, top2))
    _, _, rows = env.screenshot()
    check(rows[2][2] == (0, 0, 0) and rows[590][2] == (0, 0, 0), "the screen is not black")
    env.post(windows[0]["hwnd"], WM_KEYDOWN, 0x41, 0)
    check(ends_within(p, ENDING), "the error screen did not end on a key")


CASES = {
    "modes": (case_modes, ONE_SCREEN),
    "password": (case_password, ONE_SCREEN),
    "fullscreen": (case_fullscreen, TWO_SCREENS),
    "testwindow": (case_testwindow, ONE_SCREEN),
    "preview": (case_preview, ONE_SCREEN),
    "errorbox": (case_errorbox, TWO_SCREENS),
}
NEEDS_MAIN_LOOP = {"fullscreen", "testwindow", "preview", "errorbox"}


def skip_without_main_loop(env, case):
    if case in NEEDS_MAIN_LOOP and not has_main_loop(env):
        return "this build's main loop is a stand-in, so the saver cannot run"
    return None


if __name__ == "__main__":
    sys.exit(main(CASES, skip_without_main_loop))
