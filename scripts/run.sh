#!/usr/bin/env bash
# Builds varno.exe and starts it under Wine: on your X display when there is
# one, otherwise on a private virtual display (then it runs until Ctrl-C).
#   scripts/run.sh --demo   shows the main job on a private display and ends
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset cross >/dev/null
cmake --build --preset cross --target varno varno_driver
exe=build/cross/shell/varno.exe

if [[ "${1:-}" == "--demo" ]]; then
  exec scripts/with-wine-env.sh python3 scripts/demo.py
fi

if [[ -n "${DISPLAY:-}" ]] && xdpyinfo >/dev/null 2>&1; then
  echo "Starting Varno on display $DISPLAY (it starts minimized: look for it on the taskbar)."
  exec env LANG=C.UTF-8 WINEDEBUG=-all wine "$exe"
fi
echo "No X display here: starting Varno on a private virtual display. Ctrl-C ends it."
exec scripts/with-wine-env.sh wine "$exe"
