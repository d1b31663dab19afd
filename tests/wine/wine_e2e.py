"""What the end-to-end drivers share: a private Xvfb and Wine prefix made by wine-env.sh, the
programs started in it, saverctl's window listing and posted messages, screenshots read back as
pixels, and the command line and outcome of one case.

A driver imports this module by adding this folder to sys.path, lists its cases as
name -> (function(env), Xvfb screen arguments), and ends with sys.exit(main(CASES)).
"""
import argparse
import os
import re
import shutil
import struct
import subprocess
import time
import zlib

SKIP = 77
TWO_SCREENS = ["-screen", "0", "800x600x24", "-screen", "1", "640x480x24", "+xinerama",
               "-extension", "RANDR"]
ONE_SCREEN = ["-screen", "0", "1024x768x24"]
WM_KEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN = 0x100, 0x201, 0x204, 0x207
WM_MOUSEMOVE, WM_ACTIVATEAPP, WM_POWERBROADCAST, WM_SYSCOMMAND = 0x200, 0x1C, 0x218, 0x112
WM_CLOSE, WM_COMMAND = 0x10, 0x111
SC_CLOSE, SC_SCREENSAVE, PBT_APMSUSPEND = 0xF060, 0xF140, 4
SAVER_CLASS = "D3DSaverWndClass"
# Generous bounds for a loaded machine: Wine programs start slowly when many tests run at once.
STARTUP = 90


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


def ends_within(process, seconds):
    try:
        process.wait(seconds)
        return True
    except subprocess.TimeoutExpired:
        return False


def lparam(x, y):
    return (y & 0xFFFF) << 16 | (x & 0xFFFF)


def read_events(path):
    """The key=value fields of each line of a program's event log (a free text after " text="
    is left out); no events when the log was never written."""
    events = []
    if os.path.exists(path):
        for line in open(path, errors="replace"):
            events.append(dict(re.findall(r"(\w+)=(\S*)", line.split(" text=")[0])))
    return events


class Env:
    """One private Xvfb and one Wine prefix (copied from the shared test prefix when present)."""

    def __init__(self, args, screens):
        self.build, self.source = args.build, args.source
        self.dir = os.path.join(args.work, "env")
        self.script = os.path.join(self.source, "tests/wine/wine-env.sh")
        self.scr = os.path.join(self.build, "saver/vorniquel.scr")
        self.harness = os.path.join(self.build, "tests/saver/harness/saver_harness.exe")
        self.saverctl = os.path.join(self.build, "tests/saver/saverctl/saverctl.exe")
        # The prefix is of the build's word size: every program a case starts is of that build.
        self.loader = subprocess.run([self.script, "loader", self.scr], check=True, text=True,
                                     stdout=subprocess.PIPE, timeout=60).stdout.strip()
        env = dict(os.environ)
        template = os.path.join(self.build, "wine-env/prefix")
        if os.path.isdir(template):
            env["VQ_WINE_TEMPLATE"] = template
        subprocess.run([self.script, "setup", self.dir, self.loader] + screens, env=env, check=True,
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

    def run(self, program, args, extra_env=None, timeout=STARTUP, name="run"):
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
                       check=True, timeout=STARTUP)
        return read_png(name)


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


def slide_frames(env, document, slides, size, slide_seconds, offsets):
    """Runs the scene viewer over a document (a path in the build tree) whose slides show for
    slide_seconds each without fades, at `offsets` seconds into each slide, with seed 1; returns
    {slide name: [rows of the frame at each offset]}."""
    viewer = os.path.join(env.build, "tools/scene-viewer/scene-viewer.exe")
    out = os.path.join(env.dir, "frames")
    os.makedirs(out, exist_ok=True)
    times = [i * slide_seconds + offset for i in range(len(slides)) for offset in offsets]
    rc, _, err = env.run(viewer, ["--doc", env.win_path(os.path.join(env.build, document)),
                                  "--out", env.win_path(out), "--size", "%dx%d" % size, "--seed", "1",
                                  "--times", ",".join("%g" % t for t in times)], timeout=300)
    check(rc == 0, "the viewer failed: " + err)

    def frame(t):
        w, h, rows = read_png(os.path.join(out, "frame-%06d.png" % round(t * 1000)))
        check((w, h) == size, "frame size %dx%d" % (w, h))
        return rows
    return {name: [frame(i * slide_seconds + offset) for offset in offsets] for i, name in enumerate(slides)}


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


def main(cases, skip_reason=None):
    """Runs the case named on the command line in an environment of its own; 0 when it passed,
    1 when a check failed, SKIP when skip_reason(env, case) names a reason not to run it."""
    parser = argparse.ArgumentParser()
    parser.add_argument("case", choices=sorted(cases))
    parser.add_argument("--build", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()
    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    function, screens = cases[args.case]
    env = Env(args, screens)
    try:
        reason = skip_reason(env, args.case) if skip_reason else None
        if reason:
            print("skipped: " + reason)
            return SKIP
        function(env)
        print("passed: " + args.case)
        return 0
    except Failure as failure:
        print("FAILED: %s" % failure)
        return 1
    finally:
        env.cleanup()
