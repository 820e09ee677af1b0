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


def gbk(text):
    return text.encode("gbk")


class Inspector:
    """Reads the program's window from the outside (tests/e2e/inspector)."""

    def __init__(self):
        self.exe = os.environ.get("SOUNDBOARD_INSPECTOR", "")

    def _run(self, command):
        done = subprocess.run(["wine", self.exe, command], capture_output=True, timeout=60)
        if done.returncode != 0:
            raise RuntimeError(f"inspector {command}: exit {done.returncode}")
        return done.stdout.decode("ascii").split()

    def controls(self):
        """(class, caption bytes, left, top, width, height, visible) of the window and each control."""
        words = self._run("controls")
        rows = []
        for i in range(0, len(words), 7):
            cls, caption, *numbers = words[i:i + 7]
            text = b"" if caption == "-" else bytes.fromhex(caption)
            rows.append((cls, text, *map(int, numbers)))
        return rows

    def control_centre(self, caption):
        for row in self.controls()[1:]:
            if row[1] == gbk(caption) and row[6]:
                return row[2] + row[4] // 2, row[3] + row[5] // 2
        raise LookupError(f"no visible control captioned {caption}")

    def list_box(self):
        """(selection, [(item bytes, (left, top, right, bottom)), ...])."""
        lines = subprocess.run(["wine", self.exe, "items"], capture_output=True, timeout=60,
                               check=True).stdout.decode("ascii").splitlines()
        items = []
        for line in lines[1:]:
            text, *rect = line.split()
            items.append((b"" if text == "-" else bytes.fromhex(text), tuple(map(int, rect))))
        return int(lines[0]), items

    def items(self):
        return [text for text, _ in self.list_box()[1]]


def click_at(x, y, count=1):
    xdotool("mousemove", "--sync", x, y)
    xdotool("click", "--repeat", count, "--delay", 80, 1)


def wait_for_window(title, timeout=30):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        found = visible_windows(title)
        if found:
            return found[0]
        time.sleep(0.1)
    raise TimeoutError(f"no window titled {title}")


def wait_gone(window, timeout=30):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if window not in [int(w) for w in xdotool("search", "--onlyvisible", "--name", ".*", check=False).split()]:
            return
        time.sleep(0.1)
    raise TimeoutError("window stayed")


def windows_path(unix_path):
    return subprocess.run(["winepath", "-w", unix_path], capture_output=True, text=True,
                          check=True).stdout.strip()


def app_data_folder():
    """The Unix path of the prefix user's roaming application-data folder."""
    out = subprocess.run(["wine", "cmd", "/c", "echo", "%APPDATA%"], capture_output=True,
                         check=True).stdout.decode("gbk").strip()
    return subprocess.run(["winepath", "-u", out], capture_output=True, text=True,
                          check=True).stdout.strip()


def make_tone(path, frequency, seconds, kind="mp3"):
    """A sine tone as an MP3 (through lame) or a 16-bit WAV."""
    wav = path if kind == "wav" else path + ".wav"
    subprocess.run(["sox", "-n", "-r", "44100", "-c", "2", "-b", "16", wav, "synth", str(seconds),
                    "sine", str(frequency), "vol", "0.5"], check=True)
    if kind == "mp3":
        subprocess.run(["lame", "--quiet", "-b", "128", wav, path], check=True)
        os.unlink(wav)
    return path


def tone_power(samples, frequency, start, length):
    """Goertzel power of frequency over the left channel of samples[start:start+length] frames."""
    import math
    coeff = 2 * math.cos(2 * math.pi * frequency / RATE)
    s1 = s2 = 0.0
    for i in range(start, min(start + length, len(samples) // CHANNELS)):
        s0 = samples[i * CHANNELS] / 32768.0 + coeff * s1 - s2
        s2, s1 = s1, s0
    return (s1 * s1 + s2 * s2 - coeff * s1 * s2) / max(length, 1)


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
