#!/usr/bin/env python3
"""Runs the real-window, browser, fetch and start-up measurements and prints the one table of
bench/run: every figure beside its goal, met or not, and the ratios, all from this one run.

Run by bench/run under xvfb-run (a 1920 x 1080 screen). Inputs: the build folder (kharness,
boardsim, kestrelon), the kbench JSON of the same run, and the ratio lines of bench/run in $RATIOS.
Writes the figures as JSON and the table as Markdown beside the kbench JSON.
"""

import argparse
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
import urllib.request

import peer

CLK_TCK = os.sysconf("SC_CLK_TCK")
VIEWS = [("labels", "label view, shadow off"), ("labels-shadow", "label view, shadow on"),
         ("marquee", "marquee view")]
COUNTS = [50, 200, 400]
NOT_RUN = {"error": "not run"}


def strip_plan():
    """Every view at every count, and the label view at 1000 (its worst frames)."""
    return [(v, n) for v, _ in VIEWS for n in COUNTS] + [("labels", 1000)]


# ---- /proc ------------------------------------------------------------------------------------

def read(path):
    try:
        with open(path, "rb") as f:
            return f.read().decode("utf-8", "replace")
    except OSError:
        return ""


def stat_fields(pid):
    """Fields after the command name (index 0 is the state), or None when the process is gone."""
    text = read(f"/proc/{pid}/stat")
    close = text.rfind(")")
    return text[close + 1:].split() if close >= 0 else None


def process_tree(root):
    children = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            fields = stat_fields(entry)
            if fields:
                children.setdefault(int(fields[1]), []).append(int(entry))
    tree, todo = [], [root]
    while todo:
        pid = todo.pop()
        tree.append(pid)
        todo.extend(children.get(pid, []))
    return tree


def cpu_seconds(pid):
    fields = stat_fields(pid)
    return (int(fields[11]) + int(fields[12])) / CLK_TCK if fields else 0.0


def kb_field(text, key):
    for line in text.splitlines():
        name, _, rest = line.partition(":")
        if name == key and rest.split():
            return int(rest.split()[0])
    return 0


def xserver_pid(display):
    """The Xvfb (or Xorg) serving `display` (":99"), found by its command line; 0 when none."""
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            args = read(f"/proc/{entry}/cmdline").split("\0")
            if os.path.basename(args[0]) in ("Xvfb", "Xorg") and display in args[1:]:
                return int(entry)
    return 0


def pss_mb(pid):
    return kb_field(read(f"/proc/{pid}/smaps_rollup"), "Pss") / 1024.0


def rss_mb(pid):
    return kb_field(read(f"/proc/{pid}/status"), "VmRSS") / 1024.0


# ---- cases ------------------------------------------------------------------------------------

def harness(build, *args, timeout=300, env=None):
    cmd = [os.path.join(build, "bench", "kharness"), *map(str, args)]
    run = subprocess.run(cmd, capture_output=True, text=True, timeout=timeout,
                         env=dict(os.environ, **env) if env else None)
    lines = [l for l in run.stdout.splitlines() if l.startswith("{")]
    if not lines:
        return {"error": f"kharness {' '.join(map(str, args))}: exit {run.returncode}: {run.stderr[-400:]}"}
    return json.loads(lines[-1])


def chromium_case(page, seconds, xpid=0, warmup=3.0):
    exe = shutil.which("chromium") or shutil.which("chromium-browser")
    if not exe:
        return {"error": "chromium is not installed"}
    profile = tempfile.mkdtemp(prefix="kbench-chromium-")
    flags = ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
             "--disable-background-networking", "--disable-component-update", "--disable-sync",
             f"--user-data-dir={profile}", "--window-size=1920,1080", "--window-position=0,0",
             "--no-default-browser-check", "--disable-features=Translate"]
    if os.environ.get("KESTRELON_BENCH_CHROMIUM_HEADLESS") == "1":
        flags.append("--headless")
    proc = subprocess.Popen([exe, *flags, "file://" + page], stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, start_new_session=True)
    try:
        time.sleep(warmup)
        before = {pid: cpu_seconds(pid) for pid in process_tree(proc.pid)}
        x0 = cpu_seconds(xpid) if xpid else 0.0
        t0 = time.monotonic()
        time.sleep(seconds)
        tree = process_tree(proc.pid)
        after = {pid: cpu_seconds(pid) for pid in tree}
        wall = time.monotonic() - t0
        x1 = cpu_seconds(xpid) if xpid else 0.0
        pss = sum(pss_mb(pid) for pid in tree)
        rss = sum(rss_mb(pid) for pid in tree)
        cpu = sum(after[pid] - before.get(pid, 0.0) for pid in after)
        out = {"cpu_s_per_s": cpu / wall, "pss_mb": pss, "rss_sum_mb": rss, "processes": len(tree),
               "headless": "--headless" in flags}
        if xpid:
            out["xserver_cpu_s_per_s"] = (x1 - x0) / wall
        return out
    finally:
        try:
            os.killpg(proc.pid, 15)
        except ProcessLookupError:
            pass
        try:
            proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            os.killpg(proc.pid, 9)
            proc.wait()
        shutil.rmtree(profile, ignore_errors=True)


class BoardSim:
    def __init__(self, build, home, *args):
        log = open(os.path.join(home, "boardsim.log"), "w+")
        self.proc = subprocess.Popen([os.path.join(build, "tools", "boardsim"), *args,
                                      "--write-services", os.path.join(home, "services.ini")],
                                     stdout=log, stderr=subprocess.STDOUT)
        self.url = ""
        self.home = home
        for _ in range(100):
            log.seek(0)
            first = log.readline().strip()
            if first.startswith("http") and os.path.exists(os.path.join(home, "services.ini")):
                self.url = first
                break
            time.sleep(0.05)
        self.host = self.url.split("/")[2] if self.url else ""

    def stop(self):
        self.proc.terminate()
        self.proc.wait(timeout=10)


def fetch_case(build, cycles):
    home = tempfile.mkdtemp(prefix="kbench-fetch-")
    sim = BoardSim(build, home, "--rate", "0", "--start-count", "1000")
    try:
        if not sim.url:
            return {"error": "boardsim did not start"}
        return harness(build, "fetch", "--home", home, "--host", sim.host, "--cycles", cycles)
    finally:
        sim.stop()
        shutil.rmtree(home, ignore_errors=True)


# Bytes per hour on a live thread at 3 posts a second, ten times faster: the server posts 30 a
# second and the two channels fetch every 1.2 s instead of 12 s, so each fetch meets as many new
# responses as the program's would. With deletions (abone > 0) the differential fetch that meets
# one falls back to the whole dat.
BYTES_SPEEDUP = 10


def bytes_case(build, cycles, abone=0.0):
    home = tempfile.mkdtemp(prefix="kbench-bytes-")
    sim = BoardSim(build, home, "--rate", str(3 * BYTES_SPEEDUP), "--start-count", "1", "--abone-rate", str(abone))
    try:
        if not sim.url:
            return {"error": "boardsim did not start"}
        return harness(build, "bytes", "--host", sim.host, "--cycles", cycles,
                       "--interval-ms", int(12000 / BYTES_SPEEDUP), timeout=cycles * 3 + 60)
    finally:
        sim.stop()
        shutil.rmtree(home, ignore_errors=True)


def summary(values):
    ordered = sorted(values)
    p99 = ordered[min(len(ordered) - 1, int(round(0.99 * (len(ordered) - 1))))]
    return {"median": statistics.median(ordered), "p99": p99}


def live_home(sim, home):
    """A program folder for the real program: the server's services.ini and a first-run settings
    file in the marquee view ("モード２", as the demo starts)."""
    shutil.copy(os.path.join(sim.home, "services.ini"), home)
    with open(os.path.join(home, "livecfg.txt"), "w", newline="") as f:
        f.write("".join(l + "\r\n" for l in [sim.url, "600", "600", "16500", "5200"] + [""] * 11 + ["1"]))


def first_live_thread(sim):
    """The top thread of the live board livenhk, read from its subject.txt."""
    with urllib.request.urlopen(f"http://{sim.host}/livenhk/subject.txt", timeout=10) as r:
        for line in r.read().decode("cp932", "replace").splitlines():
            if ".dat<>" in line:
                return f"http://{sim.host}/test/read.cgi/livenhk/{line.split('.')[0]}/l50"
    return ""


def traced_program(build, home, sim, *args, env_extra=None):
    env = dict(os.environ, KESTRELON_TRACE="1", **(env_extra or {}))
    return subprocess.Popen([os.path.join(build, "kestrelon"), "--home", home, "--menu", sim.url, *args],
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, env=env)


def stop_program(proc):
    if proc.poll() is None:
        proc.terminate()
        try:
            proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


def program_fetch_case(build, cycles):
    """Fetch to screen through the real program's re-fetch cycle: kestrelon on a live thread of
    boardsim, the countdown stepped every 100 ms; from the moment the last bytes of the dat
    arrived to the end of the window update that painted the new page (KESTRELON_TRACE)."""
    home = tempfile.mkdtemp(prefix="kbench-live-")
    sim = BoardSim(build, home, "--rate", "4", "--start-count", "600")
    proc = None
    try:
        if not sim.url:
            return {"error": "boardsim did not start"}
        run_home = os.path.join(home, "run")
        os.mkdir(run_home)
        live_home(sim, run_home)
        url = first_live_thread(sim)
        if not url:
            return {"error": "no live thread"}
        proc = traced_program(build, run_home, sim, "--quit-after", str(cycles * 3 + 30), url,
                              env_extra={"KESTRELON_TRACE_REGET_MS": "100"})
        received, totals = 0, []
        deadline = time.monotonic() + cycles * 3 + 30
        for line in proc.stderr:
            words = line.split()
            if len(words) == 2 and words[0] == "dat-received":
                received = int(words[1])
            elif len(words) == 2 and words[0] == "page-shown" and received:
                totals.append((int(words[1]) - received) / 1e6)
                received = 0
                if len(totals) >= cycles:
                    break
            if time.monotonic() > deadline:
                break
        if not totals:
            return {"error": "no page shown after a re-fetch"}
        return {"cycles": len(totals), "total_ms": summary(totals), "all_ms": totals}
    finally:
        if proc:
            stop_program(proc)
        sim.stop()
        shutil.rmtree(home, ignore_errors=True)


def program_startup_case(build, runs=5, before=None):
    """The real program, process start to the first window update that painted the main window
    with the board menu listed (KESTRELON_TRACE), and its resident memory then; then one more
    start that opens the first browser window (the thread view) and its memory. With before
    (the build folder of an earlier version), each run starts that version's program right
    after this one's, so the two compare under the same load."""
    home = tempfile.mkdtemp(prefix="kbench-start-")
    sim = BoardSim(build, home, "--rate", "0")
    results, former, viewer = [], [], {}

    def one_start(program_build, into):
        run_home = tempfile.mkdtemp(prefix="kbench-home-")
        shutil.copy(os.path.join(home, "services.ini"), run_home)
        t0 = time.monotonic_ns()
        proc = traced_program(program_build, run_home, sim, "--quit-after", "20")
        for line in proc.stderr:
            words = line.split()
            if len(words) == 6 and words[0] == "startup-first-paint":
                into.append({"to_painted_ms": (int(words[5]) - t0) / 1e6, "rss_mb": int(words[3]) / 1024.0})
                break
        stop_program(proc)
        shutil.rmtree(run_home, ignore_errors=True)

    try:
        if not sim.url:
            return {"error": "boardsim did not start"}
        for _ in range(runs):
            one_start(build, results)
            if before:
                one_start(before, former)
        run_home = tempfile.mkdtemp(prefix="kbench-home-")
        shutil.copy(os.path.join(home, "services.ini"), run_home)
        proc = traced_program(build, run_home, sim, "--quit-after", "30",
                              env_extra={"KESTRELON_TRACE_OPEN_VIEWER_MS": "500",
                                         "QTWEBENGINE_DISABLE_SANDBOX": "1"})
        for line in proc.stderr:
            words = line.split()
            if len(words) == 4 and words[0] == "viewer-shown":
                viewer = {"shown": words[1] == "1", "shown_rss_mb": int(words[3]) / 1024.0}
            elif len(words) == 3 and words[0] == "viewer-settled":
                viewer["settled_rss_mb"] = int(words[2]) / 1024.0
                break
        stop_program(proc)
        shutil.rmtree(run_home, ignore_errors=True)
    finally:
        sim.stop()
        shutil.rmtree(home, ignore_errors=True)
    if not results:
        return {"error": "no startup-first-paint line"}

    def median(rows):
        rows.sort(key=lambda r: r["to_painted_ms"])
        return {**rows[len(rows) // 2], "runs": len(rows), "to_painted_all_ms": [r["to_painted_ms"] for r in rows]}

    out = median(results)
    if viewer:
        out["viewer"] = viewer
    if former:
        out["former"] = {**median(former), "build": before}
    return out


def startup_case(build, runs=5):
    home = tempfile.mkdtemp(prefix="kbench-start-")
    sim = BoardSim(build, home, "--rate", "0")
    results, program = [], {}
    try:
        if not sim.url:
            return {"error": "boardsim did not start"}
        for _ in range(runs):
            run_home = tempfile.mkdtemp(prefix="kbench-home-")
            shutil.copy(os.path.join(home, "services.ini"), run_home)
            t0 = time.monotonic_ns()
            results.append(harness(build, "startup", "--home", run_home, "--menu", sim.url,
                                   "--t0-ns", t0, timeout=60))
            shutil.rmtree(run_home, ignore_errors=True)
        # The program itself, end to end: start, start-up, one second shown, orderly close.
        run_home = tempfile.mkdtemp(prefix="kbench-home-")
        shutil.copy(os.path.join(home, "services.ini"), run_home)
        t0 = time.monotonic()
        proc = subprocess.Popen([os.path.join(build, "kestrelon"), "--home", run_home, "--menu", sim.url,
                                 "--quit-after", "1"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        _, status, usage = os.wait4(proc.pid, 0)
        program = {"wall_minus_shown_ms": (time.monotonic() - t0 - 1.0) * 1000,
                   "max_rss_mb": usage.ru_maxrss / 1024.0, "exit": os.waitstatus_to_exitcode(status)}
        proc.returncode = program["exit"]
        shutil.rmtree(run_home, ignore_errors=True)
    finally:
        sim.stop()
        shutil.rmtree(home, ignore_errors=True)
    good = [r for r in results if "error" not in r]
    if not good:
        return {"error": results[0].get("error", "no run") if results else "no run", "program": program}
    good.sort(key=lambda r: r["to_painted_ms"])
    median = good[len(good) // 2]
    return {**median, "runs": len(good), "to_painted_all_ms": [r["to_painted_ms"] for r in good],
            "program": program}


# ---- the table ------------------------------------------------------------------------------

class Table:
    def __init__(self):
        self.rows = []  # (figure, measured, goal, met) or (section,)

    def section(self, title):
        self.rows.append((title,))

    def row(self, figure, measured, goal="", met=None):
        mark = "" if met is None else ("yes" if met else "NO")
        self.rows.append((figure, measured, goal, mark))

    def text(self):
        widths = [max(len(r[i]) for r in self.rows if len(r) == 4) for i in range(4)]
        widths = [max(w, len(h)) for w, h in zip(widths, ("Figure", "Measured", "Goal", "Met"))]
        line = lambda cells: "  ".join(c.ljust(w) for c, w in zip(cells, widths)).rstrip()
        out = [line(("Figure", "Measured", "Goal", "Met")), line(["-" * w for w in widths])]
        for r in self.rows:
            out.append(f"[{r[0]}]" if len(r) == 1 else line(r))
        return "\n".join(out)

    def markdown(self):
        out = ["| Figure | Measured | Goal | Met |", "|---|---|---|---|"]
        for r in self.rows:
            out.append(f"| **{r[0]}** | | | |" if len(r) == 1 else "| " + " | ".join(r) + " |")
        return "\n".join(out)


def kbench_times(path):
    scale = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}
    times, counters = {}, {}
    try:
        with open(path) as f:
            runs = json.load(f)["benchmarks"]
    except (OSError, ValueError, KeyError):
        return times, counters
    for run in runs:
        if run.get("run_type", "iteration") == "iteration" and "error_occurred" not in run:
            times.setdefault(run["name"], run["cpu_time"] * scale[run["time_unit"]])
            counters.setdefault(run["name"], run)
    return times, counters


def fmt_ms(ns):
    return f"{ns / 1e6:.3f} ms" if ns >= 1e5 else f"{ns / 1e3:.2f} us"


def build_table(res, times, counters, ratio_lines):
    t = Table()
    if "strip" in res:
        window_sections(t, res)
    scaling_section(t, times, counters)
    ratio_section(t, res, times, ratio_lines)
    return t


def strip_goals(view, n):
    """The goals of one strip case: frames/s, p99 interval (ms), CPU-s/s, PSS (MB); None where
    the case carries none."""
    labels = view.startswith("labels")
    return {"fps": {200: 60, 400: 50}.get(n),
            "p99": 20 if n == 200 or (labels and n == 1000) else None,
            "cpu": 0.35 if n == 200 else None,
            "pss": (70 if labels else 90) if n == 200 else None}


def run_cases(res):
    """The strip cases of the run, in the table's order: by view, then by comment count."""
    order = [v for v, _ in VIEWS]
    keys = [k.split("/") for k in res.get("strip", {})]
    return sorted(((v, int(n)) for v, n in keys if v in order), key=lambda c: (order.index(c[0]), c[1]))


def x_share(c):
    """' X server x, sum y' figures of a case measured with the X server, else None."""
    x = c.get("xserver_cpu_s_per_s")
    return None if x is None else (x, c["cpu_s_per_s"] + x)


PEER_VIEW = "labels-shadow"  # danmaQ draws each comment with a shadow too


def peer_section(t, res):
    peer = res.get("peer")
    if peer is None:
        return
    t.section("Peer: danmaQ (Debian), one window per comment, on the same X server")
    if "error" in peer:
        t.row("danmaQ", "failed: " + peer["error"][:60], "", False)
        return
    n = peer["comments"]
    t.row("danmaQ: comments on screen, mean / most", f"{peer['on_screen_mean']:.1f} / {peer['on_screen_max']}")
    t.row("danmaQ: CPU-s/s / X server / sum",
          f"{peer['cpu_s_per_s']:.3f} / {peer['xserver_cpu_s_per_s']:.3f} / "
          f"{peer['cpu_s_per_s'] + peer['xserver_cpu_s_per_s']:.3f}")
    t.row("danmaQ: PSS", f"{peer['pss_mb']:.0f} MB")
    peer_sum = peer["cpu_s_per_s"] + peer["xserver_cpu_s_per_s"]
    for count in (n, 200):
        ours = strip_case(res, PEER_VIEW, count)
        label = f"Kestrelon label view (shadow on), {count} comments / danmaQ, {n}"
        if "error" in ours:
            t.row(label, "failed: " + ours["error"][:60], "", False)
            continue
        share = x_share(ours)
        if share and peer_sum > 0:
            t.row(label + ": CPU, program + X server (program alone)",
                  f"{share[1] / peer_sum:.2f}  ({ours['cpu_s_per_s'] / max(peer['cpu_s_per_s'], 1e-9):.2f})")
        t.row(label + ": PSS", f"{ours['pss_mb'] / peer['pss_mb']:.2f}" if peer["pss_mb"] > 0 else "n/a")


def window_sections(t, res):
    case = lambda view, n: strip_case(res, view, n)
    titles = dict(VIEWS)

    t.section("Strip rendering, 1920 x 1080 window, %g s per case" % res["seconds"])
    for view, n in run_cases(res):
        c, goal = case(view, n), strip_goals(view, n)
        label = f"{titles[view]}, {n} comments"
        if "error" in c:
            t.row(label, "failed: " + c["error"][:60], "", False)
            continue
        fps_goal = goal["fps"]
        if fps_goal is not None and c.get("row_pixels_per_s"):
            # Rows that move fewer pixels a second than that have no new picture to show.
            fps_goal = min(fps_goal, round(c["row_pixels_per_s"], 1))
        t.row(label + ": frames/s", f"{c['fps']:.1f}", f">= {fps_goal}" if fps_goal else "",
              None if fps_goal is None else c["fps"] >= fps_goal - 0.5)
        t.row(label + ": interval median / p99",
              f"{c['interval_median_ms']:.1f} / {c['interval_p99_ms']:.1f} ms",
              f"p99 <= {goal['p99']} ms" if goal["p99"] else "",
              None if goal["p99"] is None else c["interval_p99_ms"] <= goal["p99"])
        t.row(label + ": CPU-s/s", f"{c['cpu_s_per_s']:.3f}", f"<= {goal['cpu']}" if goal["cpu"] else "",
              None if goal["cpu"] is None else c["cpu_s_per_s"] <= goal["cpu"])
        share = x_share(c)
        if share:
            t.row(label + ": X server CPU-s/s / program + X server", f"{share[0]:.3f} / {share[1]:.3f}")
        t.row(label + ": RSS / PSS", f"{c['rss_mb']:.0f} / {c['pss_mb']:.0f} MB",
              f"PSS <= {goal['pss']} MB" if goal["pss"] else "",
              None if goal["pss"] is None else c["pss_mb"] <= goal["pss"])
    for view, c in res.get("start_gl", {}).items():
        label = f"{dict(VIEWS)[view]}, 200 comments, with the GL context made at start-up (the former start): RSS / PSS"
        t.row(label, "failed: " + c["error"][:60] if "error" in c else f"{c['rss_mb']:.0f} / {c['pss_mb']:.0f} MB")
    idle = res.get("idle", NOT_RUN)
    if "error" in idle:
        t.row("idle (countdown ticking, nothing moving): CPU-s/s", "failed: " + idle["error"][:60], "<= 0.01", False)
    else:
        t.row("idle (countdown ticking, nothing moving): CPU-s/s", f"{idle['cpu_s_per_s']:.4f}", "<= 0.01",
              idle["cpu_s_per_s"] <= 0.01)

    peer_section(t, res)

    t.section("Marquee view against Chromium, the same 200-comment tempHtml2.html")
    chrome, ours = res.get("chromium", NOT_RUN), case("marquee", 200)
    if "error" in chrome or "error" in ours:
        t.row("Chromium", "failed: " + chrome.get("error", ours.get("error", ""))[:60], "", False)
    else:
        t.row("Chromium: CPU-s/s", f"{chrome['cpu_s_per_s']:.3f}")
        share = x_share(chrome)
        if share:
            t.row("Chromium: X server CPU-s/s / Chromium + X server", f"{share[0]:.3f} / {share[1]:.3f}")
        t.row("Chromium: PSS over %d processes" % chrome["processes"], f"{chrome['pss_mb']:.0f} MB")
        cpu_ratio = ours["cpu_s_per_s"] / chrome["cpu_s_per_s"] if chrome["cpu_s_per_s"] > 0 else float("inf")
        mem_ratio = ours["pss_mb"] / chrome["pss_mb"] if chrome["pss_mb"] > 0 else float("inf")
        t.row("Kestrelon / Chromium CPU", f"{cpu_ratio:.3f}", "<= 0.1", cpu_ratio <= 0.1)
        t.row("Kestrelon / Chromium PSS", f"{mem_ratio:.3f}", "<= 0.5", mem_ratio <= 0.5)

    t.section("Bytes received on a live thread (3 posts a second, fetched every 12 s)")
    b = res.get("bytes", NOT_RUN)
    if "error" in b:
        t.row("bytes per hour", "failed: " + b["error"][:60], "<= 0.1", False)
    else:
        diff, whole = b["differential_bytes_per_hour"], b["whole_bytes_per_hour"]
        t.row(f"differential / whole re-fetches, bytes per hour ({b['cycles']} fetches, {b['threads']} threads)",
              f"{diff / 1e6:.2f} / {whole / 1e6:.2f} MB = {diff / whole:.3f}", "<= 0.1", diff / whole <= 0.1)
    b = res.get("bytes_abone", NOT_RUN)
    if "error" not in b:
        diff, whole = b["differential_bytes_per_hour"], b["whole_bytes_per_hour"]
        t.row(f"  the same with a deletion every 500 posts ({b['cycles']} fetches)",
              f"{diff / 1e6:.2f} / {whole / 1e6:.2f} MB = {diff / whole:.3f}")

    t.section("Fetch to screen over loopback")
    live = res.get("fetch_program", NOT_RUN)
    if "error" in live:
        t.row("kestrelon re-fetch cycle", "failed: " + live["error"][:60], "both < 10 ms", False)
    else:
        t.row(f"kestrelon re-fetch cycle (differential on), 600-900 responses: last bytes to painted page, "
              f"median / p99 ({live['cycles']} cycles)",
              f"{live['total_ms']['median']:.2f} / {live['total_ms']['p99']:.2f} ms", "both < 10 ms",
              live["total_ms"]["median"] < 10 and live["total_ms"]["p99"] < 10)
    f = res.get("fetch", NOT_RUN)
    if "error" in f:
        t.row("fetch to screen, piece by piece", "failed: " + f["error"][:60])
    else:
        t.row(f"piece by piece, 1000-response dat, 30-response batch: median / p99 ({f['cycles']} cycles)",
              f"{f['total_ms']['median']:.2f} / {f['total_ms']['p99']:.2f} ms")
        total = f["total_ms"]["median"] or 1
        for key, title in (("decode_ms", "decoding (CP932)"), ("convert_ms", "conversion (convertDat)"),
                           ("close_to_record_ms", "  both, inside the channel on close"),
                           ("wait_return_ms", "wait returning to the caller"),
                           ("build_ms", "page building"), ("write_ms", "page written to tempHtml2.html"),
                           ("load_ms", "page loaded into WebScroll"), ("first_paint_ms", "until the first paint ends")):
            t.row("  " + title, f"{f[key]['median']:.3f} ms ({100 * f[key]['median'] / total:.0f} %)")

    t.section("Start-up to a painted main window with the board menu listed")
    live = res.get("startup_program", NOT_RUN)
    if "error" in live:
        t.row("kestrelon start-up", "failed: " + live["error"][:60], "< 400 ms", False)
    else:
        t.row(f"kestrelon: process start to first paint (median of {live['runs']})",
              f"{live['to_painted_ms']:.0f} ms", "< 400 ms", live["to_painted_ms"] < 400)
        t.row("kestrelon: resident memory then", f"{live['rss_mb']:.0f} MB", "< 90 MB RSS",
              live["rss_mb"] < 90)
        v = live.get("viewer")
        if v:
            t.row("kestrelon: first browser window (thread view) opened: RSS as shown / 3 s later",
                  f"{v['shown_rss_mb']:.0f} / {v.get('settled_rss_mb', 0):.0f} MB" if v["shown"] else "not shown")
        f = live.get("former")
        if f:
            t.row("earlier version (KESTRELON_BENCH_BEFORE), run alternately: process start to first paint / RSS",
                  f"{f['to_painted_ms']:.0f} ms / {f['rss_mb']:.0f} MB")
            t.row("  this version / earlier: start to first paint, RSS",
                  f"{live['to_painted_ms'] / f['to_painted_ms']:.2f}, {live['rss_mb'] / f['rss_mb']:.2f}")
    s = res.get("startup", NOT_RUN)
    if "error" in s:
        t.row("start-up", "failed: " + s["error"][:60], "< 400 ms", False)
    else:
        t.row(f"kharness, same start-up: process start to first paint (median of {s['runs']})",
              f"{s['to_painted_ms']:.0f} ms")
        t.row("  of which: exec and libraries to start-up code", f"{s['to_startup_code_ms']:.0f} ms")
        t.row("  windows built / Form_Load / show to paint",
              f"{s['windows_built_ms']:.0f} / {s['form_load_ms']:.0f} / {s['show_to_paint_ms']:.0f} ms")
        t.row("  kharness: resident memory then (RSS / PSS)", f"{s['rss_mb']:.0f} / {s['pss_mb']:.0f} MB")
    prog = s.get("program", {})
    if prog:
        t.row("kestrelon --quit-after 1: wall less the 1 s shown", f"{prog['wall_minus_shown_ms']:.0f} ms")
        t.row("kestrelon --quit-after 1: peak RSS", f"{prog['max_rss_mb']:.0f} MB")


def strip_case(res, view, n):
    return res.get("strip", {}).get(f"{view}/{n}", NOT_RUN)


def scaling_section(t, times, counters):
    t.section("Scaling (kbench, CPU time)")

    def ratio_row(title, num, den, goal=None, per_tenfold_of=None):
        if num not in times or den not in times or times[den] <= 0:
            t.row(title, "not run")
            return
        r = times[num] / times[den]
        shown = f"{r:.2f}  ({fmt_ms(times[num])} / {fmt_ms(times[den])})"
        if per_tenfold_of:
            import math
            tenfold = r ** (1 / math.log10(per_tenfold_of))
            shown += f", {tenfold:.2f} per tenfold"
            t.row(title, shown, "<= 12 per tenfold", tenfold <= 12)
        else:
            t.row(title, shown, goal or "", None if goal is None else r <= 12)

    ratio_row("convertDat, 10,000 / 1,000 lines", "BM_ScaleConvertDat/10000", "BM_ScaleConvertDat/1000", "<= 12")
    ratio_row("convertDat, 100,000 / 10,000 lines", "BM_ScaleConvertDat/100000", "BM_ScaleConvertDat/10000", "<= 12")
    ratio_row("marquee page of the last 30, 10,000 / 1,000 lines", "BM_ScalePageBuild/10000",
              "BM_ScalePageBuild/1000", "<= 12")
    ratio_row("marquee page of the last 30, 30,000 / 10,000 lines", "BM_ScalePageBuild/30000",
              "BM_ScalePageBuild/10000", per_tenfold_of=3)
    refused = counters.get("BM_ScalePageBuild/100000", {}).get("refused")
    if refused is not None:
        t.row("marquee page, 100,000 lines", "refused (16-bit response index)" if refused else "built")
    ratio_row("replay lookup per tick, 100,000 / 1,000 entries", "BM_WmpLookup/100000", "BM_WmpLookup/1000", "<= 12")
    ratio_row("replay tick, 100,000 / 1,000 entries", "BM_WmpTick/100000", "BM_WmpTick/1000", "<= 12")


def ratio_section(t, res, times, ratio_lines):
    t.section("Ratios within this run")
    case = lambda view, n: strip_case(res, view, n)
    m200, l200, s200 = case("marquee", 200), case("labels", 200), case("labels-shadow", 200)
    if all("error" not in c for c in (m200, l200, s200)) and l200["cpu_s_per_s"] > 0 and m200["cpu_s_per_s"] > 0:
        t.row("window, 200 comments: label shadow on / off CPU", f"{s200['cpu_s_per_s'] / l200['cpu_s_per_s']:.2f}")
        t.row("window, 200 comments: label (shadow off) / marquee CPU",
              f"{l200['cpu_s_per_s'] / m200['cpu_s_per_s']:.2f}")
    for view, title in VIEWS:
        a, b = case(view, 400), case(view, 50)
        if "error" not in a and "error" not in b and b["cpu_s_per_s"] > 0:
            t.row(f"window, {title}: CPU 400 / 50 comments", f"{a['cpu_s_per_s'] / b['cpu_s_per_s']:.2f}")
    for line in ratio_lines:
        label, num, den = line.split("|")
        if num in times and den in times and times[den] > 0:
            t.row(label, f"{times[num] / times[den]:.2f}  ({fmt_ms(times[num])} / {fmt_ms(times[den])})")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", required=True)
    ap.add_argument("--kbench-json", required=True)
    ap.add_argument("--seconds", type=float, default=float(os.environ.get("KESTRELON_BENCH_SECONDS", 20)))
    ap.add_argument("--cycles", type=int, default=50)
    ap.add_argument("--kbench-only", action="store_true", help="only the kbench figures")
    ap.add_argument("--only", default=os.environ.get("KESTRELON_BENCH_ONLY", ""),
                    help="comma-separated parts to run: peer, strip, memory, idle, chromium, fetch, bytes, startup")
    ap.add_argument("--table-from", help="a measure.json of an earlier run: print its table again")
    args = ap.parse_args()
    ratio_lines = [l for l in os.environ.get("RATIOS", "").strip().splitlines() if l.count("|") == 2]
    times, counters = kbench_times(args.kbench_json)
    if args.kbench_only:
        print()
        print(build_table({}, times, counters, ratio_lines).text())
        return
    if args.table_from:
        with open(args.table_from) as f:
            res = json.load(f)
        print_table(res, build_table(res, times, counters, ratio_lines), os.path.dirname(os.path.abspath(args.kbench_json)))
        return

    res = {"seconds": args.seconds, "load_before": os.getloadavg(), "strip": {}}
    only = set(filter(None, args.only.split(",")))
    part = lambda name: not only or name in only
    xpid = xserver_pid(os.environ.get("DISPLAY", ""))
    scratch = tempfile.mkdtemp(prefix="kbench-pages-")
    page200 = os.path.join(scratch, "tempHtml2.html")

    def strip(view, n):
        print(f"  {dict(VIEWS)[view]}, {n} comments ...", file=sys.stderr, flush=True)
        extra = ["--page-out", page200] if (view, n) == ("marquee", 200) else []
        res["strip"][f"{view}/{n}"] = harness(args.build, "strip", "--view", view, "--comments", n,
                                              "--seconds", args.seconds, "--xserver-pid", xpid, *extra)

    if part("peer"):
        print("  danmaQ fed over loopback ...", file=sys.stderr, flush=True)
        res["peer"] = peer.danmaq_case(args.seconds, cpu_seconds, pss_mb, xpid)
        held = res["peer"].get("on_screen_max", peer.LINES) or peer.LINES
        res["peer"]["comments"] = held
        if PEER_VIEW + f"/{held}" not in [f"{v}/{n}" for v, n in strip_plan()]:
            strip(PEER_VIEW, held)
    if part("strip"):
        for view, n in strip_plan():
            strip(view, n)
    if part("memory"):
        # The strip with the GL context the browser engine needs made at start-up, as the
        # program did before it loaded the engine with its first browser window.
        for view in ("labels", "marquee"):
            print(f"  {dict(VIEWS)[view]}, 200 comments, GL context made at start-up ...", file=sys.stderr, flush=True)
            res.setdefault("start_gl", {})[view] = harness(
                args.build, "strip", "--view", view, "--comments", 200, "--seconds", min(args.seconds, 5),
                env={"KHARNESS_SHARED_GL": "1"})
    if part("idle"):
        print("  idle ...", file=sys.stderr, flush=True)
        res["idle"] = harness(args.build, "idle", "--seconds", args.seconds, "--xserver-pid", xpid)
    if part("chromium"):
        print("  Chromium on the 200-comment page ...", file=sys.stderr, flush=True)
        res["chromium"] = (chromium_case(page200, args.seconds, xpid) if os.path.exists(page200)
                           else {"error": "no page"})
    if part("fetch"):
        print("  fetch to screen ...", file=sys.stderr, flush=True)
        res["fetch"] = fetch_case(args.build, args.cycles)
        print("  fetch to screen, the real program ...", file=sys.stderr, flush=True)
        res["fetch_program"] = program_fetch_case(args.build, args.cycles)
    if part("bytes"):
        print("  bytes per hour, differential and whole ...", file=sys.stderr, flush=True)
        cycles = int(os.environ.get("KESTRELON_BENCH_BYTES_CYCLES", 300))
        res["bytes"] = bytes_case(args.build, cycles)
        res["bytes_abone"] = bytes_case(args.build, cycles, abone=0.002)
    if part("startup"):
        print("  start-up ...", file=sys.stderr, flush=True)
        res["startup"] = startup_case(args.build)
        res["startup_program"] = program_startup_case(args.build, before=os.environ.get("KESTRELON_BENCH_BEFORE"))
    res["load_after"] = os.getloadavg()
    shutil.rmtree(scratch, ignore_errors=True)

    out_dir = os.path.dirname(os.path.abspath(args.kbench_json))
    with open(os.path.join(out_dir, "measure.json"), "w") as f:
        json.dump(res, f, indent=1)
    print_table(res, build_table(res, times, counters, ratio_lines), out_dir)


def print_table(res, table, out_dir):
    with open(os.path.join(out_dir, "table.md"), "w") as f:
        f.write(table.markdown() + "\n")
    print()
    print(f"Load average before / after: {res['load_before'][0]:.1f} / {res['load_after'][0]:.1f} "
          f"on {os.cpu_count()} CPUs")
    print(table.text())


if __name__ == "__main__":
    main()
