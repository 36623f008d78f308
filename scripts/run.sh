#!/usr/bin/env bash
# Installs what is needed, builds, and starts ktTintora against a simulated probe.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
bash scripts/build.sh

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    cat >&2 <<'TXT'
No display is available, so the window cannot be shown.
Start it under a virtual display instead:
    xvfb-run -a -s "-screen 0 1600x900x24" build/bin/ktTintora --simulate
or run this script from a desktop session.
TXT
    exit 1
fi
exec build/bin/ktTintora --simulate "$@"
