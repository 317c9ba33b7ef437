#pragma once
// Measuring hooks, off unless KESTRELON_TRACE=1 is set. They print lines to stderr for the
// benchmark (bench/measure.py) and change nothing the user sees:
//   "startup-first-paint <ms since process start> rss <kB> mono <ns>"  once, after the first
//       window update that painted the main window with the live-board list filled;
//   "dat-received <ns>"  when a thread fetch finishes: when its last bytes arrived;
//   "page-shown <ns>"    after the window update that painted a newly shown marquee page.
// Times are CLOCK_MONOTONIC nanoseconds, comparable with other processes'.
// KESTRELON_TRACE_OPEN_VIEWER_MS=N opens the thread view, the first browser window, N ms after
// the main window's first paint (board list filled or not):
//   "viewer-shown <1 shown, 0 not> rss <kB>"  when its show has returned;
//   "viewer-settled rss <kB>"                  three seconds later.
// KESTRELON_TRACE_REGET_MS=N (with the trace on) sets the countdown step, so a benchmark can
// run many re-fetch cycles in a short time.

class formMain;

// Installs the probe on the window when the trace is on; the probe is the window's child.
void installTraceProbe(formMain &window);
