#!/usr/bin/env bash
# The live demo: installs what is missing, builds, starts the local board server, prepares a
# demo program folder pointed at it and opens Kestrelon on a live thread in the marquee view.
# Closing Kestrelon stops the server.
#
# Without a display ($DISPLAY and $WAYLAND_DISPLAY unset) the same run happens on a virtual
# X server: the thread runs for about 40 seconds and screenshots are saved (their folder is
# printed at the end; KESTRELON_DEMO_OUT chooses another).
#
# Extra arguments go to Kestrelon (for example --quit-after 60).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${KESTRELON_BUILD:-$root/build}"
# KESTRELON_SKIP_BUILD=1 uses an existing build as it is (kestrelon and tools/boardsim).
if [ -z "${KESTRELON_SKIP_BUILD:-}" ]; then
  "$root/scripts/install-deps.sh"
  "$root/scripts/build.sh" "$build" RelWithDebInfo
fi

home="$build/demo-home"
out="${KESTRELON_DEMO_OUT:-$build/demo-shots}"
mkdir -p "$home"
simlog="$home/boardsim.log"

# The board server: a free port, new responses about twice a second on every live thread, and
# the same boards over https on a second port (its throwaway authority is named in services.ini
# as network/ca_file; the https menu address is its second line of output).
"$build/tools/boardsim" --rate 2.5 --tls --write-services "$home/services.ini" >"$simlog" 2>&1 &
sim=$!
cleanup() { kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true; }
trap cleanup EXIT INT TERM
for _ in $(seq 1 100); do
  [ -s "$simlog" ] && break
  sleep 0.1
done
menu="$(head -n 1 "$simlog")"
case "$menu" in
  http://*) ;;
  *) echo "demo: the board server did not start:"; cat "$simlog"; exit 1 ;;
esac
hostport="${menu#http://}"; hostport="${hostport%%/*}"

# The top thread of the live board "livenhk", read from its subject.txt over bash's own socket.
exec 3<>"/dev/tcp/${hostport%:*}/${hostport#*:}"
printf 'GET /livenhk/subject.txt HTTP/1.0\r\nHost: %s\r\n\r\n' "$hostport" >&3
thread="$(tr -d '\r' <&3 | LC_ALL=C sed -n '/^$/,$p' | LC_ALL=C grep -a -m1 '\.dat<>' | cut -d. -f1 || true)"
exec 3<&-
if [ -z "$thread" ]; then echo "demo: no live thread on $menu"; exit 1; fi
url="http://$hostport/test/read.cgi/livenhk/$thread/l50"

# A first demo run gets a wide window at the top of the screen in "モード２" (the marquee view:
# outlined comments floating over whatever is behind the window). Later runs keep the user's
# settings; --menu rewrites line 1 with this run's server.
if [ ! -f "$home/livecfg.txt" ]; then
  printf '%s\r\n' "$menu" 600 600 16500 5200 "" "" "" "" "" "" "" "" "" "" "" 1 >"$home/livecfg.txt"
fi

echo "Board server: $menu (over https: $(sed -n 2p "$simlog"))"
echo "Thread:       $url"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  "$build/kestrelon" --home "$home" --menu "$menu" "$@" "$url"
  exit 0
fi

# No display: a virtual screen, a 40-second run, screenshots while comments scroll.
mkdir -p "$out"
rm -f "$out"/*.png
echo "No display: running on a virtual X server for about 40 seconds ..."
export KESTRELON_DEMO_HOME="$home" KESTRELON_DEMO_MENU="$menu" KESTRELON_DEMO_URL="$url" \
       KESTRELON_DEMO_OUT_DIR="$out" KESTRELON_DEMO_BIN="$build/kestrelon"
xvfb-run -a -s "-screen 0 1280x600x24" bash -c '
  "$KESTRELON_DEMO_BIN" --home "$KESTRELON_DEMO_HOME" --menu "$KESTRELON_DEMO_MENU" \
      --quit-after 40.5 --screenshot "$KESTRELON_DEMO_OUT_DIR/window-40s.png" "$KESTRELON_DEMO_URL" \
      >"$KESTRELON_DEMO_OUT_DIR/kestrelon.log" 2>&1 &
  k=$!
  # Fetches land about 13, 25 and 37 seconds in; these are a few seconds after them.
  sleep 16.5; import -window root "$KESTRELON_DEMO_OUT_DIR/screen-16s.png" 2>/dev/null || true
  sleep 12;   import -window root "$KESTRELON_DEMO_OUT_DIR/screen-28s.png" 2>/dev/null || true
  wait "$k"
'
# The window picture keeps its see-through strip transparent; lay it over a stand-in for the
# video behind it, as a desktop with a compositor would show it.
if [ -f "$out/window-40s.png" ]; then
  size="$(identify -format '%wx%h' "$out/window-40s.png")"
  convert -size "$size" gradient:'#20405e'-'#8fb3c9' \
      \( -size "$size" radial-gradient:'#f6d9a0'-none \) -compose over -composite \
      "$out/window-40s.png" -compose over -composite "$out/over-video-40s.png" || true
fi
echo
echo "Screenshots in $out:"
echo "  screen-16s.png, screen-28s.png  the virtual screen a few seconds after a re-fetch: new"
echo "                                  responses scrolling across the strip (no compositor here,"
echo "                                  so the see-through strip shows black)"
echo "  window-40s.png                  the window as Kestrelon saved it before closing, strip"
echo "                                  transparent"
echo "  over-video-40s.png              the same laid over a stand-in backdrop"
echo "Kestrelon's settings of this run: $home/livecfg.txt"
