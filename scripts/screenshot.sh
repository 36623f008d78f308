#!/usr/bin/env bash
# Takes a screenshot of ktTintora --simulate as a user sees it, under a virtual display.
#   bash scripts/screenshot.sh [out.png] [eng|chn] [build-dir]
# Runs in a throw-away data folder and per-user settings folder, so nothing of yours changes.
set -euo pipefail
cd "$(dirname "$0")/.."
OUT=${1:-/tmp/ktTintora.png}
LANG_VALUE=${2:-eng}
BUILD=${3:-build}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$WORK/config/NQLV"
printf '[lang]\nvalue=%s\n' "$LANG_VALUE" > "$WORK/config/NQLV/ktTintora.conf"
export KT_DATA_ROOT="$WORK/data" KT_VIRTUAL_PORT_DIR="$WORK/ports" XDG_CONFIG_HOME="$WORK/config"
xvfb-run -a -s "-screen 0 1600x900x24" sh -c "
    '$BUILD/bin/ktTintora' --simulate & app=\$!
    sleep 5
    import -window root '$OUT'
    kill -TERM \$app; wait \$app" 
echo "screenshot: $OUT"
