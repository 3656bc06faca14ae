#!/bin/bash
# Runs one command inside a private Wine world: its own Xvfb display and its own WINEPREFIX, both removed afterwards.
#   scripts/with-wine-env.sh ctest --test-dir build/cross -L e2e
# Exits with the command's status. Inside an environment made by this script, it just runs the command.
set -u

if [ "$#" -eq 0 ]; then
  echo "usage: $0 COMMAND [ARG...]" >&2
  exit 2
fi

if [ -n "${VARNO_WINE_ENV:-}" ]; then
  exec "$@"
fi

for tool in Xvfb xdpyinfo wine wineboot wineserver; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "with-wine-env: $tool is not installed (Debian packages: xvfb x11-utils wine wine64)" >&2
    exit 127
  fi
done

work_dir=$(mktemp -d "${TMPDIR:-/tmp}/varno-wine.XXXXXX") || exit 1
xvfb_pid=""

cleanup() {
  # Every Wine process of this prefix ends with its server; then the display goes.
  if [ -d "$work_dir/prefix" ]; then
    WINEPREFIX="$work_dir/prefix" wineserver -k >/dev/null 2>&1
    WINEPREFIX="$work_dir/prefix" wineserver -w >/dev/null 2>&1
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  rm -rf "$work_dir"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

log() { echo "with-wine-env: $*" >&2; }

# -displayfd lets Xvfb take the first free display number itself and tells it once it accepts connections,
# so parallel runs never race for the same number.
Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$work_dir/display" 2>"$work_dir/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 1 200); do
  [ -s "$work_dir/display" ] && break
  if ! kill -0 "$xvfb_pid" 2>/dev/null; then
    log "Xvfb failed to start:"; cat "$work_dir/xvfb.log" >&2
    exit 1
  fi
  sleep 0.05
done
display_number=$(head -n1 "$work_dir/display" | tr -dc '0-9')
if [ -z "$display_number" ]; then
  log "Xvfb did not report a display within 10 s"
  exit 1
fi
export DISPLAY=":$display_number"
for _ in $(seq 1 100); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done
if ! xdpyinfo >/dev/null 2>&1; then
  log "display $DISPLAY does not answer"
  exit 1
fi

export WINEPREFIX="$work_dir/prefix"
export WINEARCH=win64
export LANG=C.UTF-8
export LC_ALL=C.UTF-8
export WINEDEBUG=-all
# No Mono or Gecko install prompts, and no menu entries written into the user's home.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export VARNO_WINE_ENV=1

# Wine's own fonts go in before wineboot, which then registers them; copied later, they cost the first
# window program of the run about 10 s of font cache rebuilding.
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
if ! wineboot -i >"$work_dir/wineboot.log" 2>&1; then
  log "wineboot -i failed:"; cat "$work_dir/wineboot.log" >&2
  exit 1
fi
# Without a window manager Wine waits about 2 s for each managed window to close; unmanaged windows close at once.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
# wineboot leaves two service managers running, and while both live every start of Wine's desktop process waits
# 10 s for a service that never starts. End them all; they start again, singly, when first needed.
wineserver -k
wineserver -w
# One server for the rest of the run, so each wine start finds it running instead of starting a new one.
wineserver -p
# Start the service manager and its services now, detached from CMD's output: Wine hands its standard handles
# to the services it starts, so services started by a test would hold that test's output pipe open for the
# rest of the run (and a runner that reads the pipe to its end would wait for ever).
wine net start rpcss </dev/null >/dev/null 2>&1

"$@"
status=$?
exit "$status"
