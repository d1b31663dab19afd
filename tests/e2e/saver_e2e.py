#!/usr/bin/env python3
"""End-to-end tests of the saver's run modes under Wine, each case on a display of its own.

    saver_e2e.py <case> --build <build dir> --source <source dir> --work <work dir>

Cases: modes, password, fullscreen, testwindow, preview, errorbox. The cases that need the
saver's main loop first ask the harness whether this build has it and report "skipped" (exit 77)
when the loop is still a stand-in.
"""
import argparse
import os
import re
import shutil
import struct
import subprocess
import sys
import time
import zlib

SKIP = 77
LOADER = "/usr/lib/wine/wine64"
TWO_SCREENS = ["-screen", "0", "800x600x24", "-screen", "1", "640x480x24", "+xinerama",
               "-extension", "RANDR"]
ONE_SCREEN = ["-screen", "0", "1024x768x24"]
WM_KEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN = 0x100, 0x201, 0x204, 0x207
WM_MOUSEMOVE, WM_ACTIVATEAPP, WM_POWERBROADCAST, WM_SYSCOMMAND = 0x200, 0x1C, 0x218, 0x112
WM_CLOSE, WM_COMMAND = 0x10, 0x111
SC_CLOSE, SC_SCREENSAVE, PBT_APMSUSPEND = 0xF060, 0xF140, 4
SAVER_CLASS = "D3DSaverWndClass"


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(condition, timeout, step=0.1):
    """Polls condition() until it returns something true; returns it, or None on timeout."""
    deadline = time.time() + timeout
    while time.time() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(step)
    return None


def lparam(x, y):
    return (y & 0xFFFF) << 16 | (x & 0xFFFF)


class Env:
    """One private Xvfb and one Wine prefix (copied from the shared test prefix when present)."""

    def __init__(self, args, screens):
        self.build, self.source = args.build, args.source
        self.dir = os.path.join(args.work, "env")
        self.script = os.path.join(self.source, "tests/wine/wine-env.sh")
        self.scr = os.path.join(self.build, "saver/vorniquel.scr")
        self.harness = os.path.join(self.build, "tests/harness/saver_harness.exe")
        self.saverctl = os.path.join(self.build, "tests/saverctl/saverctl.exe")
        env = dict(os.environ)
        template = os.path.join(self.build, "wine-env/prefix")
        if os.path.isdir(template):
            env["VQ_WINE_TEMPLATE"] = template
        subprocess.run([self.script, "setup", self.dir, LOADER] + screens, env=env, check=True,
                       stdout=subprocess.DEVNULL, timeout=400)
        self.vars = {}
        for line in open(os.path.join(self.dir, "env")):
            line = line.replace("export ", "").strip()
            if "=" in line:
                key, value = line.split("=", 1)
                self.vars[key] = value
        self.count = 0
        self.processes = []

    def cleanup(self):
        for p in self.processes:
            if p.poll() is None:
                p.kill()
        subprocess.run([self.script, "cleanup", self.dir], timeout=60)

    def out_file(self, name):
        self.count += 1
        return os.path.join(self.dir, "%02d-%s" % (self.count, name))

    def win_path(self, path):
        return "Z:" + os.path.abspath(path).replace("/", "\\")

    def c_drive(self):
        return os.path.join(self.vars["WINEPREFIX"], "drive_c")

    def start(self, program, args, extra_env=None, name="proc", timeout=120):
        """Starts a Windows program through the wrapper; its output goes to files, since
        programs it starts would hold a pipe open."""
        env = dict(os.environ)
        env["VQ_TIMEOUT"] = str(timeout)
        env.update(extra_env or {})
        out = open(self.out_file(name + ".out"), "w")
        err_name = self.out_file(name + ".err")
        err = open(err_name, "w")
        p = subprocess.Popen([self.script, "run", self.dir, program] + list(args), env=env,
                             stdout=out, stderr=err, stdin=subprocess.DEVNULL)
        p.out_name, p.err_name = out.name, err_name
        self.processes.append(p)
        return p

    def run(self, program, args, extra_env=None, timeout=60, name="run"):
        p = self.start(program, args, extra_env, name, timeout)
        p.wait(timeout + 20)
        return p.returncode, open(p.out_name).read(), open(p.err_name).read()

    def ctl(self, *args):
        rc, out, _ = self.run(self.saverctl, [str(a) for a in args], name="ctl")
        return rc, out

    def windows(self, class_name=SAVER_CLASS):
        _, out = self.ctl("windows")
        found = []
        for line in out.splitlines():
            fields = dict(re.findall(r"(\w+)=(\S*)", line.split(" title=")[0]))
            if "hwnd" not in fields:
                continue
            fields["title"] = line.split(" title=", 1)[1] if " title=" in line else ""
            if class_name is None or fields.get("class") == class_name:
                found.append(fields)
        return found

    def post(self, hwnd, message, wparam=0, lp=0):
        rc, _ = self.ctl("post", hwnd, message, wparam, lp)
        check(rc == 0, "posting 0x%x to %s failed" % (message, hwnd))

    def screenshot(self):
        name = self.out_file("shot.png")
        subprocess.run(["import", "-display", self.vars["DISPLAY"], "-window", "root", "PNG24:" + name],
                       check=True, timeout=30)
        return read_png(name)

    def has_main_loop(self):
        rc, _, _ = self.run(self.harness, [], {"VQ_HARNESS": "probe_loop"}, name="probe")
        check(rc in (0, SKIP), "the loop probe failed with %d" % rc)
        return rc == 0


def read_png(path):
    """Decodes an 8-bit RGB or RGBA PNG into (width, height, rows of (r, g, b) tuples)."""
    data = open(path, "rb").read()
    pos, chunks, width = 8, b"", 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            check(depth == 8 and colour in (2, 6), "unexpected PNG format in " + path)
            channels = 3 if colour == 2 else 4
        elif kind == b"IDAT":
            chunks += body
        pos += 12 + length
    raw = zlib.decompress(chunks)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        filt = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = previous[i]
            c = previous[i - channels] if i >= channels else 0
            if filt == 1:
                line[i] = (line[i] + a) & 0xFF
            elif filt == 2:
                line[i] = (line[i] + b) & 0xFF
            elif filt == 3:
                line[i] = (line[i] + (a + b) // 2) & 0xFF
            elif filt == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 0xFF
        rows.append([tuple(line[x * channels:x * channels + 3]) for x in range(width)])
        previous = line
    return width, height, rows


def white_box(shot, area):
    """The bounding box (l, t, r, b) of pure white pixels inside area, or None."""
    _, _, rows = shot
    left, top, right, bottom = area
    xs, ys = [], []
    for y in range(top, bottom):
        row = rows[y]
        for x in range(left, right):
            if row[x] == (255, 255, 255):
                xs.append(x)
                ys.append(y)
    if not xs:
        return None
    return min(xs), min(ys), max(xs) + 1, max(ys) + 1


def size_of(w):
    l, t, r, b = (int(v) for v in w["rect"].split(","))
    return r - l, b - t


def ends_within(process, seconds):
    try:
        process.wait(seconds)
        return True
    except subprocess.TimeoutExpired:
        return False


# ---------------------------------------------------------------------------------------------
# Cases that need no main loop: Prepare's mode and parent, the message box, password, bad input.

def read_log(path):
    events = []
    if os.path.exists(path):
        for line in open(path, errors="replace"):
            fields = dict(re.findall(r"(\w+)=(\S*)", line.split(" text=")[0]))
            events.append(fields)
    return events


def harness_run(env, command_line, options="", timeout=30, stop=None):
    """Runs the harness through saverctl with an exact command line; stop(env) may end it.
    Returns (saverctl's output, the harness's events)."""
    log = env.out_file("harness.log")
    p = env.start(env.saverctl, ["run", str(timeout * 1000), command_line],
                  {"VQ_HARNESS": options, "VQ_HARNESS_LOG": env.win_path(log)}, "saverctl-run",
                  timeout + 30)
    if stop is not None:
        stop(env)
    p.wait(timeout + 40)
    return open(p.out_name).read(), read_log(log)


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
        ("C:\\my-saver\\saver_harness.exe /a 1234", "4", "1234"),
        ("C:\\my-saver\\saver_harness.exe /a", "4", "0"),
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

    # The quoted name holds " -s": read as a switch it would run full screen; it is the test
    # window. The message box of configure mode (forced error) is owned by the /c: window.
    _, tray = env.ctl("windows")
    owner = re.search(r"hwnd=(\d+) \S+ class=Shell_TrayWnd", tray)
    check(owner is not None, "no window to own the message box:\n" + tray)
    owner = owner.group(1)

    def close_box(expected_owner):
        def stop(env):
            box = wait_for(lambda: [w for w in env.windows("#32770") if w["title"] == "Vorniquel"],
                           20)
            check(box, "configure mode with an error shows no message box titled Vorniquel")
            check(box[0]["owner"] == expected_owner,
                  "message box owner %s, expected %s" % (box[0]["owner"], expected_owner))
            _, listing = env.ctl("windows")
            check("title=Could not find any compatible Direct3D devices." in listing,
                  "the message box lacks the error text:\n" + listing)
            env.post(box[0]["hwnd"], WM_COMMAND, 1, 0)
        return stop

    for command_line, expected_owner in [
            ('"C:\\saver -s dir\\saver_harness.exe" /c:%s' % owner, owner),
            ("C:\\my-saver\\saver_harness.exe /c %s" % owner, owner),
            ("C:\\my-saver\\saver_harness.exe", "0")]:
        out, events = harness_run(env, command_line, "fail_caps", stop=close_box(expected_owner))
        state = prepared(events)
        check(state["mode"] == "0", "%s: mode %s" % (command_line, state["mode"]))
        check(state["code"] == "0x82000003", "%s: error %s" % (command_line, state["code"]))
        check(out.startswith("exit 0 "), "%s: %s" % (command_line, out))


def case_password(env):
    debug = {"VQ_WINEDEBUG": "-all,fixme+mpr"}
    for args, owner in [(["/a", "1234"], "00000000000004D2"), (["/a"], "0000000000000000"),
                        (["/A:77"], "000000000000004D")]:
        start = time.time()
        rc, _, err = env.run(env.scr, args, debug, timeout=30)
        check(rc == 0, "%s: exit %d" % (args, rc))
        check(time.time() - start < 20, "%s took too long" % args)
        expected = 'fixme:mpr:PwdChangePasswordA "SCRSAVE" %s 0 0000000000000000' % owner
        check(expected in err, "%s: the password change was not called as expected:\n%s" %
              (args, err))
    rc, _, err = env.run(env.scr, ["/r"], debug, timeout=30)
    check(rc == 0 and "PwdChangePasswordA" not in err, "/r must do nothing: %d %s" % (rc, err))
    check(not env.windows(), "/r or /a left a saver window")


# ---------------------------------------------------------------------------------------------
# Cases that need the main loop.

def start_saver(env, args, program=None, extra_env=None, count=1):
    p = env.start(program or env.scr, args, extra_env, "saver")
    windows = wait_for(lambda: len(env.windows()) >= count and env.windows(), 30)
    check(windows, "no saver window appeared for %s" % args)
    return p, windows


def case_fullscreen(env):
    p, windows = start_saver(env, ["/s"], count=2)
    check(len(windows) == 2, "expected one window per monitor, got %s" % windows)
    check(sorted(size_of(w) for w in windows) == [(640, 480), (800, 600)],
          "window sizes %s" % [size_of(w) for w in windows])
    by_size = {size_of(w): w for w in windows}
    first, second = by_size[(800, 600)], by_size[(640, 480)]
    for w in windows:
        check(int(w["style"], 16) & 0xFFFF0000 == 0x94000000, "not a visible popup: %s" % w)
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
    check(ends_within(p, 10), "the sixth move to a new position did not end full screen")
    check(p.returncode == 0, "exit code %d" % p.returncode)

    endings = [("key", WM_KEYDOWN, 0x41, 0), ("left button", WM_LBUTTONDOWN, 1, 0),
               ("right button", WM_RBUTTONDOWN, 2, 0), ("middle button", WM_MBUTTONDOWN, 0x10, 0),
               ("deactivation", WM_ACTIVATEAPP, 0, 0),
               ("suspend", WM_POWERBROADCAST, PBT_APMSUSPEND, 0)]
    for name, message, wparam, lp in endings:
        p, windows = start_saver(env, ["-S"], count=2)
        env.post(windows[-1]["hwnd"], message, wparam, lp)
        check(ends_within(p, 10), "full screen did not end on %s" % name)
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
    check(ends_within(p, 10), "closing the test window did not end the saver")
    check(p.returncode == 0, "exit code %d" % p.returncode)

    p, windows = start_saver(env, ["/T"])
    env.post(windows[0]["hwnd"], WM_POWERBROADCAST, PBT_APMSUSPEND, 0)
    check(ends_within(p, 10), "a suspend broadcast did not end the test window")

    # The quoted program name holds " -s " and a '-': it is still the test window.
    saver_dir = os.path.join(env.c_drive(), "saver -s dir")
    os.makedirs(saver_dir, exist_ok=True)
    shutil.copy(env.scr, os.path.join(saver_dir, "vorniquel.scr"))
    p = env.start(env.saverctl, ["run", "60000", '"C:\\saver -s dir\\vorniquel.scr" /t'],
                  name="quoted")
    windows = wait_for(env.windows, 30)
    check(windows and windows[0]["client"] == "50,50,650,450",
          "a quoted program name did not give the test window: %s" % windows)
    env.post(windows[0]["hwnd"], WM_CLOSE)
    check(ends_within(p, 20), "quoted run did not end")
    check(open(p.out_name).read().startswith("exit 0 "), open(p.out_name).read())


def preview_report(text):
    lines = dict(line.split(" ", 1) for line in text.splitlines() if " " in line)
    return lines, text


def case_preview(env):
    log = env.out_file("preview-harness.log")
    rc, out, _ = env.run(env.saverctl,
                         ["preview-host", "152", "112", "20000",
                          env.win_path(env.harness) + " /p %HWND%"],
                         {"VQ_HARNESS_LOG": env.win_path(log)}, timeout=60, name="preview")
    lines, text = preview_report(out)
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
    check(int(exit_line.group(2)) < 5000, "the preview took too long to end:\n" + text)
    events = read_log(log)
    created = [int(e["t"]) for e in events if e.get("event") == "window-created"]
    waited = [int(e["t"]) for e in events if e.get("event") == "after-wait"]
    check(created and waited and waited[0] - created[0] >= 450,
          "the preview did not wait for its 500 ms timer: %s" % events)


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

    first = wait_for(box_now, 20, 0.2)
    check(first, "no white error box appeared on the black screen")
    time.sleep(0.6)
    second = box_now()
    check(second, "the error box vanished")
    for _, (l, t, r, b) in (first, second):
        # The white inside of the 300 x 150 box; its black frame is one pixel wide.
        check(296 <= r - l <= 300 and 146 <= b - t <= 150, "box size %dx%d" % (r - l, b - t))
        check(0 <= l and r <= 640 and 0 <= t and b <= 480, "box outside its monitor")
    (t1, (l1, top1, _, _)), (t2, (l2, top2, _, _)) = first, second
    check(l2 != l1 or top2 != top1, "the error box does not move")
    # It starts centred at (170, 165) and drifts at 640/10 and 480/20 pixels per second, so until
    # its first bounce it lies on the line through the centre with slope 24/64.
    if l2 > l1 > 171:
        check(abs((top1 - 166) - (l1 - 171) * 0.375) <= 4, "box off its path: %s" % (first,))
        speed = (l2 - l1) / (t2 - t1)
        check(30 <= speed <= 130, "horizontal speed %.0f px/s, expected about 64" % speed)
    _, _, rows = env.screenshot()
    check(rows[2][2] == (0, 0, 0) and rows[590][2] == (0, 0, 0), "the screen is not black")
    env.post(windows[0]["hwnd"], WM_KEYDOWN, 0x41, 0)
    check(ends_within(p, 10), "the error screen did not end on a key")


CASES = {
    "modes": (case_modes, ONE_SCREEN, False),
    "password": (case_password, ONE_SCREEN, False),
    "fullscreen": (case_fullscreen, TWO_SCREENS, True),
    "testwindow": (case_testwindow, ONE_SCREEN, True),
    "preview": (case_preview, ONE_SCREEN, True),
    "errorbox": (case_errorbox, TWO_SCREENS, True),
}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("case", choices=sorted(CASES))
    parser.add_argument("--build", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()
    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    function, screens, needs_loop = CASES[args.case]
    env = Env(args, screens)
    try:
        if needs_loop and not env.has_main_loop():
            print("skipped: this build's main loop is a stand-in, so the saver cannot run")
            return SKIP
        function(env)
        print("passed: " + args.case)
        return 0
    except Failure as failure:
        print("FAILED: %s" % failure)
        return 1
    finally:
        env.cleanup()


if __name__ == "__main__":
    sys.exit(main())
