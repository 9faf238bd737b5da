#!/usr/bin/env bash
# Runs a Windows program under wine64 in the project's private Wine prefix and exits with the
# program's exit code.
#   scripts/wine-run.sh program.exe [arguments...]
# MV_WINEPREFIX  the prefix to use (default build/wineprefix; made with wineboot on first use)
# DISPLAY        when unset, a private Xvfb is started on a free display and stopped at exit
# LC_ALL         defaults to ru_RU.UTF-8, which gives Wine the ANSI code page 1251
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
wine=/usr/lib/wine/wine64

export WINEPREFIX="${MV_WINEPREFIX:-$root/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL="${LC_ALL:-ru_RU.UTF-8}"

xvfb_pid=
stop_display() {
  if [ -n "$xvfb_pid" ]; then
    # Wine's helper processes hold the display until the server of the prefix has gone.
    /usr/lib/wine/wineserver -w 2>/dev/null
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
}
trap stop_display EXIT

start_display() {
  local n
  for n in $(seq 90 189); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do
      if [ -e "/tmp/.X11-unix/X$n" ]; then
        export DISPLAY=":$n"
        return 0
      fi
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    # Another run took the display first, or the server did not come up: try the next one.
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=
  done
  echo "wine-run: no free X display for Xvfb" >&2
  return 1
}

if [ -z "${DISPLAY:-}" ]; then
  start_display || exit 1
fi

# Runs started together must not build the prefix twice.
mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$wine" wineboot -i >/dev/null 2>&1
    /usr/lib/wine/wineserver -w
  fi
) 9>"$WINEPREFIX.lock"

"$wine" "$@"
status=$?
exit "$status"
