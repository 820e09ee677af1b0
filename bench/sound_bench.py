"""Time to sound, Play blocking and CPU per second of sound: the program's
playback beside its peers, measured in the same run on the same files and the
same sound server. Runs inside the Wine environment (scripts/winenv.sh run
BUILD python3 bench/sound_bench.py ...), which gives DISPLAY, PULSE_SERVER and
WINEPREFIX. Prints one line per figure:

  bench <figure> ours=<median> <peer>=<median> ... unit=<unit>

The first sample of a sound is found in a recording of the default sink's
monitor (parec with a 2 ms latency, started and delivering before any sound
is asked for): each chunk is stamped when it arrives, and a sample's time is
its chunk's arrival less the samples after it. Time stamps are the monotonic
raw clock, which is also Wine's performance counter, so the time of Play
inside the Windows program can be set beside them.
"""
import argparse
import array
import os
import statistics
import subprocess
import sys
import threading
import time

RATE = 48000
CHANNELS = 2
FRAME_BYTES = 2 * CHANNELS
THRESHOLD = 1000  # the test tone peaks at half of full scale
SILENCE_BEFORE_TRIAL = 0.3


def now():
    return time.clock_gettime(time.CLOCK_MONOTONIC_RAW)


class Monitor:
    """The default sink's monitor, recorded with every chunk time-stamped."""

    def __init__(self):
        self.process = subprocess.Popen(
            ["parec", "--raw", "--format=s16le", f"--rate={RATE}", f"--channels={CHANNELS}",
             "--latency-msec=2", "-d", "@DEFAULT_MONITOR@"], stdout=subprocess.PIPE, bufsize=0)
        self.lock = threading.Lock()
        self.arrived = threading.Condition(self.lock)
        self.chunks = []  # (arrival time, whole frames as bytes)
        threading.Thread(target=self._read, daemon=True).start()
        with self.arrived:
            if not self.arrived.wait_for(lambda: self.chunks, timeout=10):
                raise RuntimeError("the monitor delivers no data")

    def _read(self):
        pending = b""
        while True:
            data = os.read(self.process.stdout.fileno(), 4096)
            if not data:
                return
            stamp = now()
            pending += data
            whole = len(pending) // FRAME_BYTES * FRAME_BYTES
            with self.arrived:
                self.chunks.append((stamp, pending[:whole]))
                self.arrived.notify_all()
            pending = pending[whole:]

    def close(self):
        self.process.terminate()
        self.process.wait(timeout=10)

    def _take(self, since):
        """Chunks that arrived after since; older ones are dropped."""
        with self.lock:
            self.chunks = [c for c in self.chunks if c[0] > since]
            return list(self.chunks)

    def first_sound(self, since, timeout):
        """Time of the first loud sample that arrived after since, or None."""
        deadline = since + timeout
        checked = 0
        while True:
            chunks = self._take(since)
            for stamp, data in chunks[checked:]:
                samples = array.array("h")
                samples.frombytes(data)
                for index, value in enumerate(samples):
                    if abs(value) > THRESHOLD:
                        frames_after = (len(samples) - index) // CHANNELS
                        return stamp - frames_after / RATE
            checked = len(chunks)
            if now() > deadline:
                return None
            time.sleep(0.005)

    def wait_for_silence(self, seconds=SILENCE_BEFORE_TRIAL, timeout=10):
        """Waits until the monitor has been quiet for the given time."""
        deadline = now() + timeout
        quiet_since = now()
        while now() < deadline:
            if self.first_sound(quiet_since, 0) is not None:
                quiet_since = now()
            elif now() - quiet_since >= seconds:
                return
            time.sleep(0.02)
        raise RuntimeError("the sink does not fall silent")


def windows_path(path):
    """Wine's name for a Linux path: the Linux root is drive Z:."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def xdotool(*args):
    return subprocess.run(["xdotool", *map(str, args)], check=True, capture_output=True,
                          text=True).stdout


def median(values):
    return statistics.median(values) if values else float("nan")


def note_missing(what, values, trials):
    """Trials whose sound never came are left out of the median; say so."""
    if len(values) < trials:
        print(f"bench: {what}: no sound in {trials - len(values)} of {trials} trials", file=sys.stderr)


def exec_to_sound(monitor, command, trials):
    """Milliseconds from exec of command to its first sample, per trial."""
    times = []
    for _ in range(trials):
        monitor.wait_for_silence()
        start = now()
        process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        first = monitor.first_sound(start, 5)
        process.wait(timeout=30)
        if first is not None:
            times.append((first - start) * 1000)
    return times


class ClickWindow:
    """bench_click_window under Wine: its window, and its lines as they come."""

    TITLE = "soundboard-bench-window"

    def __init__(self, exe, sound):
        self.process = subprocess.Popen(["wine", exe, windows_path(sound)], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, text=True, bufsize=1)
        self.lines = []
        self.condition = threading.Condition()
        threading.Thread(target=self._read, daemon=True).start()
        clock = self.next_line("clock", 60)
        # The window's performance counter and our clock must be one clock.
        self.shared_clock = abs(float(clock[1]) - now()) < 1.0
        self.window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", f"^{self.TITLE}$"],
                                     check=True, capture_output=True, text=True, timeout=60).stdout.split()[0]

    def _read(self):
        for line in self.process.stdout:
            with self.condition:
                self.lines.append(line.split())
                self.condition.notify_all()

    def next_line(self, kind, timeout):
        with self.condition:
            if not self.condition.wait_for(lambda: any(l[0] == kind for l in self.lines), timeout):
                raise RuntimeError(f"bench_click_window printed no {kind} line")
            line = next(l for l in self.lines if l[0] == kind)
            self.lines.remove(line)
            return line

    def click_trials(self, monitor, trials, warmups):
        """(click-to-sound, Play-to-sound) in milliseconds, per trial. A click
        is timed from the exec of the xdotool that releases the button: a push
        button acts when it is released."""
        xdotool("mousemove", "--window", self.window, 120, 60)
        clicks, plays = [], []
        for trial in range(warmups + trials):
            monitor.wait_for_silence()
            xdotool("mousedown", 1)
            time.sleep(0.05)
            start = now()
            xdotool("mouseup", 1)
            play = self.next_line("play", 10)
            first = monitor.first_sound(start, 5)
            if trial < warmups or first is None:
                continue
            clicks.append((first - start) * 1000)
            if self.shared_clock:
                plays.append((first - float(play[1])) * 1000)
        return clicks, plays

    def close(self):
        self.process.stdin.close()
        self.process.wait(timeout=30)


def make_files(folder):
    """The tone the time-to-sound figures play, as MP3 and as its decoded WAV,
    and a 5-minute 320 kbps MP3 for the CPU figure; made once."""
    os.makedirs(folder, exist_ok=True)
    tone, decoded, long = (os.path.join(folder, n) for n in ("tone.mp3", "tone.wav", "five_minutes.mp3"))
    if not os.path.exists(tone):
        source = os.path.join(folder, "tone_source.wav")
        subprocess.run(["sox", "-n", "-r", "44100", "-c", "2", "-b", "16", source, "synth", "0.3",
                        "sine", "440", "sine", "660", "gain", "-6"], check=True)
        subprocess.run(["lame", "--quiet", "-b", "128", source, tone], check=True)
        os.unlink(source)
    if not os.path.exists(decoded):
        subprocess.run(["mpg123", "-q", "-w", decoded, tone], check=True)
    if not os.path.exists(long):
        source = os.path.join(folder, "long_source.wav")
        subprocess.run(["sox", "-n", "-r", "44100", "-c", "2", "-b", "16", source, "synth", "300",
                        "sine", "220-880", "sine", "330-1320", "pinknoise", "gain", "-12"], check=True)
        subprocess.run(["lame", "--quiet", "-b", "320", source, long], check=True)
        os.unlink(source)
    return tone, decoded, long


def process_cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def cpu_per_second(command, settle, window, windows):
    """Milliseconds of CPU per second of sound of the process that command
    starts (its own threads, all of them), over windows after settle seconds.
    Wine runs a Windows program in the process that `wine` execs into."""
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(settle)
        values = []
        for _ in range(windows):
            cpu, start = process_cpu_seconds(process.pid), now()
            time.sleep(window)
            values.append((process_cpu_seconds(process.pid) - cpu) * 1000 / (now() - start))
        return values
    finally:
        process.terminate()
        process.wait(timeout=30)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--bin", required=True, help="folder of the bench_*.exe programs")
    parser.add_argument("--files", required=True, help="folder for the generated sound files")
    parser.add_argument("--trials", type=int, default=30)
    parser.add_argument("--calls", type=int, default=1000)
    args = parser.parse_args()
    exe = lambda name: os.path.join(args.bin, f"bench_{name}.exe")
    tone, decoded, long = make_files(args.files)

    monitor = Monitor()
    try:
        window = ClickWindow(exe("click_window"), tone)
        try:
            clicks, plays = window.click_trials(monitor, args.trials, warmups=3)
        finally:
            window.close()
        paplay = exec_to_sound(monitor, ["paplay", decoded], args.trials)
        mpg123 = exec_to_sound(monitor, ["mpg123", "-q", "-o", "pulse", tone], args.trials)
    finally:
        monitor.close()
    for what, values in (("click", clicks), ("paplay", paplay), ("mpg123", mpg123)):
        note_missing(what, values, args.trials)
    peers = f"paplay={median(paplay):.1f} mpg123={median(mpg123):.1f}"
    print(f"bench click-to-sound ours={median(clicks):.1f} {peers} unit=ms", flush=True)
    if plays:
        print(f"bench play-to-sound ours={median(plays):.1f} {peers} unit=ms", flush=True)
    else:
        print(f"bench play-to-sound ours=n/a {peers} unit=ms (Wine's clock is not this one)", flush=True)

    subprocess.run(["wine", exe("play_block"), windows_path(tone), windows_path(decoded), str(args.calls), "40"],
                   check=True)

    settle, span, windows = 3.0, 15.0, 3
    seconds = settle + span * windows + 5
    ours = cpu_per_second(["wine", exe("play_for"), windows_path(long), str(seconds)], settle, span, windows)
    theirs = cpu_per_second(["mpg123", "-q", "-o", "pulse", long], settle, span, windows)
    print(f"bench cpu-per-audio-second ours={median(ours):.2f} mpg123={median(theirs):.2f} unit=ms/s",
          flush=True)


if __name__ == "__main__":
    main()
