#!/usr/bin/env bash
# Builds the program and starts it under Wine. Without a display of your own it runs on a
# private Xvfb display (look at it with scripts/screenshot.sh instead).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/bootstrap.sh
cmake --preset cross >/dev/null
cmake --build --preset cross --target varnel-signin

source scripts/wine-env.sh
trap wine_down EXIT
wine_up
echo "Varnel自动签到 is running under Wine (DISPLAY=$DISPLAY); close its window or press Ctrl+C to stop."
wine build/cross/src/varnel-signin.exe
