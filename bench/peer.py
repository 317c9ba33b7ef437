"""The peer of the strip measurements: Debian's danmaQ, a see-through comment overlay (each comment
its own window), fed over loopback by a small server of ours that speaks its subscription API
and measured like our strip: its CPU and the X server's over the same span, and its PSS.

danmaQ has no command-line options and keeps no settings file: its window takes the server,
channel and password, so the case types them with xdotool and presses Subscribe (Alt+S). It
then long-polls GET /api/v1.1/channels/<channel>/danmaku and shows each {text, style, position}
of the JSON list returned on a free line; with every line taken it drops the comment ("Screen is
Full!"). Its debug output on stderr names each line taken ("Slot: <n>", -1 when none is free)
and each comment that left ("danmaku closed"), which gives the number on screen at any moment.
"""

import http.server
import json
import os
import re
import shutil
import subprocess
import tempfile
import threading
import time

CHANNEL = "kbench"
LINES = 24  # danmaQ's lines on a 1080-pixel screen, so the most comments it shows at once
SAMPLES = ["ｷﾀ━━━(ﾟ∀ﾟ)━━━!!", "はやい", "今日もいい天気", "ﾊｧﾊｧ", "ウホッ！いい男", ">>12 それはない",
           "wwwwwwwwwwwwwwwwwwww", "実況はここでいいのか？", "解説者の話が面白かったので最後まで見てしまった"]


def comment_text(n):
    """The texts of the harness's label view (bench/SampleComments.h)."""
    return SAMPLES[n % len(SAMPLES)] + str(n)


class FeedServer:
    """Answers each poll with the comments due since the last answer, holding the poll until
    the next batch (every `interval` s) as a long-polling server does. `rate` comments a second
    in all; a poll for another path or channel gets 404."""

    def __init__(self, rate, interval=0.25):
        self.rate, self.interval = rate, interval
        self.served = self.polls = 0
        self._lock = threading.Lock()
        self._due = 0.0  # comments owed, fractional
        self._next = None
        feed = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"

            def log_message(self, *args):
                pass

            def do_GET(self):
                if self.path.split("?")[0] != f"/api/v1.1/channels/{CHANNEL}/danmaku":
                    self.send_response(404)
                    self.send_header("Content-Length", "0")
                    self.end_headers()
                    return
                body = json.dumps(feed.next_batch(), ensure_ascii=False).encode("utf-8")
                self.send_response(200)
                self.send_header("Content-Type", "application/json; charset=utf-8")
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.httpd.daemon_threads = True
        self.httpd.handle_error = lambda request, address: None  # a poll cut short at the end
        self.url = "http://127.0.0.1:%d" % self.httpd.server_address[1]
        self._thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self._thread.start()

    def next_batch(self, now=None, sleep=time.sleep):
        with self._lock:
            now = time.monotonic() if now is None else now
            if self._next is None:
                self._next = now
            wait = max(0.0, self._next - now)
            self._next = max(self._next, now) + self.interval
        sleep(wait)
        with self._lock:
            self._due += self.rate * self.interval
            count = int(self._due)
            self._due -= count
            first = self.served
            self.served += count
            self.polls += 1
        return [{"text": comment_text(first + i), "style": "white", "position": "fly"} for i in range(count)]

    def stop(self):
        self.httpd.shutdown()
        self.httpd.server_close()


class OnScreen:
    """Counts danmaQ's comments on screen from its stderr: a line taken adds one, a comment that
    left removes one; dropped ones (no free line) are counted apart."""
    SLOT = re.compile(r"(?<!Flying )Slot:\s+(-?\d+)")

    def __init__(self):
        self.now = self.dropped = self.shown = 0

    def feed(self, line):
        m = self.SLOT.search(line)
        if m:
            if int(m.group(1)) >= 0:
                self.now += 1
                self.shown += 1
            else:
                self.dropped += 1
        elif "danmaku closed" in line:
            self.now = max(0, self.now - 1)


def subscribe(window_name, server, channel, password):
    """Types the server, channel and password into danmaQ's window and presses Subscribe.
    xdotool sends real key events (XTEST) to the focused window: Qt ignores sent events."""
    win = subprocess.run(["xdotool", "search", "--name", f"^{window_name}$"], capture_output=True,
                         text=True).stdout.split()
    if not win:
        return False
    steps = [["windowfocus", "--sync", win[0]], ["key", "ctrl+a"], ["type", server],
             ["key", "Tab", "ctrl+a"], ["type", channel], ["key", "Tab", "ctrl+a"], ["type", password],
             ["key", "alt+s"]]
    return all(subprocess.run(["xdotool", *s], capture_output=True).returncode == 0 for s in steps)


def danmaq_case(seconds, cpu_seconds, pss_mb, xserver_pid, rate=8.0, warmup=20.0):
    """danmaQ fed `rate` comments a second, measured over `seconds` once a comment has been
    dropped for want of a line (at most `warmup` s). About 2.2 a second leave its 24 lines, but it
    picks lines at random and may drop a comment while some are free, so only an ample feed keeps
    nearly every line taken; the comments dropped cost it a JSON parse each."""
    exe = shutil.which("danmaQ")
    if not exe:
        return {"error": "danmaQ is not installed"}
    if not shutil.which("xdotool"):
        return {"error": "xdotool is not installed"}
    home = tempfile.mkdtemp(prefix="kbench-danmaq-")
    feed = FeedServer(rate)
    counter = OnScreen()
    env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"))
    proc = subprocess.Popen([exe], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True,
                            errors="replace", env=env, start_new_session=True)
    reader = threading.Thread(target=lambda: [counter.feed(l) for l in proc.stderr], daemon=True)
    reader.start()
    try:
        for _ in range(50):
            time.sleep(0.2)
            if subscribe("DanmaQ", feed.url, CHANNEL, "kbench"):
                break
        else:
            return {"error": "danmaQ's window did not appear"}
        started = time.monotonic()
        while not counter.dropped and time.monotonic() - started < warmup:
            time.sleep(0.25)
        if not feed.polls:
            return {"error": "danmaQ did not poll the feed"}
        cpu0, x0, shown0, t0 = cpu_seconds(proc.pid), cpu_seconds(xserver_pid), counter.shown, time.monotonic()
        samples = []
        while time.monotonic() - t0 < seconds:
            time.sleep(0.25)
            samples.append(counter.now)
        wall = time.monotonic() - t0
        cpu1, x1 = cpu_seconds(proc.pid), cpu_seconds(xserver_pid)
        return {"cpu_s_per_s": (cpu1 - cpu0) / wall, "xserver_cpu_s_per_s": (x1 - x0) / wall,
                "pss_mb": pss_mb(proc.pid), "on_screen_mean": sum(samples) / len(samples),
                "on_screen_max": max(samples), "shown_per_s": (counter.shown - shown0) / wall,
                "dropped": counter.dropped, "polls": feed.polls}
    finally:
        try:
            os.killpg(proc.pid, 15)
            proc.wait(timeout=10)
        except (ProcessLookupError, subprocess.TimeoutExpired):
            proc.kill()
            proc.wait()
        feed.stop()
        shutil.rmtree(home, ignore_errors=True)
