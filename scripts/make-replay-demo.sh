#!/usr/bin/env bash
# Writes the material to try replay on a fresh machine: two saved dat files of a finished live
# thread (from the board simulator) in PROGRAM_FOLDER/playdat, where the replay panel's file list
# starts, and a short video PROGRAM_FOLDER/replay-demo.avi whose first frame is the first
# response's second (its clock shows the thread's time of day).
#
# Usage: scripts/make-replay-demo.sh [--force] [PROGRAM_FOLDER]
#   PROGRAM_FOLDER  default: $KESTRELON_HOME, else the build folder (where the demo runs from)
#   --force         write again even when both are there
# Environment: KESTRELON_BUILD (build folder, default build/), KESTRELON_BOARDSIM (simulator),
#              KESTRELON_REPLAY_SECONDS (video length, default 180).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

force=0
if [ "${1:-}" = "--force" ]; then force=1; shift; fi
build="${KESTRELON_BUILD:-$root/build}"
home="${1:-${KESTRELON_HOME:-$build}}"
boardsim="${KESTRELON_BOARDSIM:-$build/tools/boardsim}"
seconds="${KESTRELON_REPLAY_SECONDS:-180}"
logs="$home/playdat"
video="$home/replay-demo.avi"

if [ "$force" -eq 0 ] && [ -f "$video" ] && ls "$logs"/*.dat >/dev/null 2>&1; then
  echo "Replay demo already in $home (use --force to write it again)"
  exit 0
fi
if [ ! -x "$boardsim" ]; then
  echo "make-replay-demo: board simulator not found at $boardsim (build first: scripts/build.sh)" >&2
  exit 1
fi
if ! command -v ffmpeg >/dev/null 2>&1; then
  echo "make-replay-demo: ffmpeg is missing (scripts/install-deps.sh installs it)" >&2
  exit 1
fi

mkdir -p "$logs"
# The simulator prints the files it wrote, oldest thread first: the first is where replay starts.
written="$("$boardsim" --write-logs "$logs")"
first="${written%%$'\n'*}"
if [ -z "$first" ] || [ ! -f "$first" ]; then
  echo "make-replay-demo: the simulator wrote no past logs into $logs" >&2
  exit 1
fi

# Time of day of the first response (the date field of line 1 is ASCII apart from the weekday).
line1="$(head -n 1 "$first")"
start="$(grep -aoE '[0-9]{1,2}:[0-9]{2}:[0-9]{2}' <<<"$line1" | head -n 1 || true)"
if [ -z "$start" ]; then
  echo "make-replay-demo: no time in the first line of $first" >&2
  exit 1
fi
IFS=: read -r h m s <<<"$start"
offset=$((10#$h * 3600 + 10#$m * 60 + 10#$s))

# A moving test picture with its own seconds counter, and the thread's clock burnt in when a
# font is at hand.
filter="null"
font="$(fc-match -f '%{file}' monospace 2>/dev/null || true)"
if [ -n "$font" ] && [ -f "$font" ]; then
  filter="drawtext=fontfile=${font}:fontsize=28:fontcolor=white:box=1:boxcolor=black@0.6:x=(w-tw)/2:y=h-th-12:text='%{pts\\:gmtime\\:${offset}\\:%H\\\\\\:%M\\\\\\:%S}'"
fi
ffmpeg -hide_banner -loglevel error -y -f lavfi -i "testsrc=size=320x180:rate=10:duration=${seconds}" \
  -vf "$filter" -c:v mpeg4 -q:v 6 "$video"

echo "Past logs: $logs"
echo "Video:     $video (starts at $start, the first response's second)"
