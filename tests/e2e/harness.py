"""Drives the built program as a user meets it: started from its dist folder
under Wine, its window found and measured with xdotool, clicked and typed at,
its sound recorded from the null sink's monitor, its exit code read.

Runs inside the Wine environment (scripts/winenv.sh run BUILD python3 ...),
which provides DISPLAY, PULSE_SERVER, WINEPREFIX and NULL_SINK.
"""
import array
import os
import re
import shutil
import subprocess
import tempfile
import time
import unittest

TITLE = "舞台音效板"
DIST = os.environ.get("SOUNDBOARD_DIST", "")
RATE = 48000
CHANNELS = 2


def xdotool(*args, check=True):
    done = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True)
    if check and done.returncode != 0:
        raise RuntimeError(f"xdotool {' '.join(map(str, args))}: {done.stderr.strip()}")
    return done.stdout


def visible_windows(title=TITLE):
    out = xdotool("search", "--onlyvisible", "--name", f"^{title}$", check=False)
    return [int(w) for w in out.split()]


class Geometry:
    def __init__(self, x, y, width, height):
        self.x, self.y, self.width, self.height = x, y, width, height

    def __repr__(self):
        return f"Geometry(x={self.x}, y={self.y}, width={self.width}, height={self.height})"


def window_geometry(window):
    values = {}
    for line in xdotool("getwindowgeometry", "--shell", window).splitlines():
        key, _, value = line.partition("=")
        values[key] = int(value)
    return Geometry(values["X"], values["Y"], values["WIDTH"], values["HEIGHT"])


def screen_size():
    width, height = xdotool("getdisplaygeometry").split()
    return int(width), int(height)


class Program:
    """One copy of the program, started from a folder of its own."""

    def __init__(self, folder):
        self.folder = folder
        self.exe = os.path.join(folder, "soundboard.exe")
        self.process = None
        self.window = None

    def start(self, timeout=60):
        known = set(visible_windows())
        self.process = subprocess.Popen(["wine", self.exe], cwd="/", stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            new = [w for w in visible_windows() if w not in known]
            if new:
                self.window = new[0]
                return self
            if self.process.poll() is not None:
                raise RuntimeError(f"program ended before it showed a window: {self.process.returncode}")
            time.sleep(0.1)
        raise TimeoutError("no window appeared")

    def geometry(self):
        return window_geometry(self.window)

    def focus(self):
        xdotool("windowfocus", "--sync", self.window)
        time.sleep(0.2)

    def click(self, x, y, button=1):
        """Clicks at (x, y) of the window's outer rectangle."""
        xdotool("mousemove", "--window", self.window, x, y)
        xdotool("click", button)

    def key(self, *keys):
        self.focus()
        xdotool("key", "--clearmodifiers", *keys)

    def type(self, text):
        xdotool("type", "--delay", 20, text)

    def pixel(self, x, y):
        """(red, green, blue) at (x, y) of the window's outer rectangle, as shown."""
        out = subprocess.run(["import", "-window", str(self.window), "-crop", f"1x1+{x}+{y}", "-depth", "8",
                              "txt:-"], check=True, capture_output=True, text=True).stdout
        match = re.search(r"\((\d+),(\d+),(\d+)", out.splitlines()[-1])
        return tuple(int(v) for v in match.groups())

    def wait(self, timeout=30):
        """The exit code as the Linux parent sees it (-1 shows as 255)."""
        return self.process.wait(timeout=timeout)

    def running(self):
        return self.process is not None and self.process.poll() is None

    def stop(self):
        if self.running():
            self.process.kill()
            self.process.wait(timeout=10)


class Recorder:
    """Records the null sink's monitor as signed 16-bit stereo at 48 kHz."""

    def __init__(self):
        self.path = tempfile.mktemp(suffix=".raw")
        self.file = None
        self.process = None

    def __enter__(self):
        self.file = open(self.path, "wb")
        sink = os.environ.get("NULL_SINK", "soundboard_null")
        self.process = subprocess.Popen(
            ["parec", "--raw", "-d", f"{sink}.monitor", "--format=s16le", f"--rate={RATE}",
             f"--channels={CHANNELS}", "--latency-msec=10"], stdout=self.file)
        # Ask for sound only once the recorder delivers data.
        deadline = time.monotonic() + 10
        while os.path.getsize(self.path) == 0 and time.monotonic() < deadline:
            time.sleep(0.02)
        return self

    def __exit__(self, *exc):
        self.process.terminate()
        self.process.wait(timeout=10)
        self.file.close()

    def samples(self):
        data = array.array("h")
        with open(self.path, "rb") as f:
            raw = f.read()
        data.frombytes(raw[: len(raw) // 2 * 2])
        os.unlink(self.path)
        return data

    @staticmethod
    def loud_seconds(samples, threshold=1000, window_ms=10):
        """Seconds of 10 ms windows whose peak exceeds threshold."""
        step = RATE * CHANNELS * window_ms // 1000
        loud = 0
        for start in range(0, len(samples), step):
            chunk = samples[start:start + step]
            if chunk and max(abs(v) for v in chunk) > threshold:
                loud += 1
        return loud * window_ms / 1000.0


def copy_dist(folder_name, parent=None):
    """A copy of dist/ in a new folder with the given name; returns its path."""
    parent = parent or tempfile.mkdtemp(prefix="soundboard-e2e-")
    target = os.path.join(parent, folder_name)
    shutil.copytree(DIST, target)
    return target


class ProgramTestCase(unittest.TestCase):
    """Ends every copy a test started, whatever happened."""

    def setUp(self):
        if not DIST or not os.path.isfile(os.path.join(DIST, "soundboard.exe")):
            self.fail(f"SOUNDBOARD_DIST does not hold soundboard.exe: {DIST!r}")
        self.programs = []

    def tearDown(self):
        for program in self.programs:
            program.stop()

    def launch(self, folder=None):
        program = Program(folder or DIST)
        self.programs.append(program)
        return program.start()
