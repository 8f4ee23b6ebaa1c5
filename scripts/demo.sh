#!/usr/bin/env bash
# Demonstration under Wine: the program beside a sample classroom prompt of the project's
# own. Waits for real sign-ins, expands the log, saves a screenshot and prints its path.
#   bash scripts/demo.sh [--close]    (--close: the prompt closes when it is clicked)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
stay="--stay"
[ "${1:-}" = "--close" ] && stay=""

bash scripts/bootstrap.sh
cmake --preset cross >/dev/null
cmake --build --preset cross --target varnel-signin classroom_prompt window_tool >/dev/null

source scripts/wine-env.sh
pids=()
finish() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wine_down
}
trap finish EXIT
wine_up
tool=build/cross/tests/win/window_tool.exe
log=$(mktemp)

wine build/cross/src/varnel-signin.exe &
pids+=($!)
wine "$tool" wait "Varnel自动签到" 30
wine build/cross/tests/win/classroom_prompt.exe --seconds 30 $stay > "$log" &
pids+=($!)

# Two sign-ins take two ticks of the 3 s scan period (one if the prompt closes).
wanted=2
[ -z "$stay" ] && wanted=1
for _ in $(seq 100); do
  [ "$(grep -c 'pressed' "$log" || true)" -ge "$wanted" ] && break
  sleep 0.1
done
tr -d '\r' < "$log"

wine "$tool" press "Varnel自动签到" "运行日志"
sleep 1
mkdir -p docs
out=docs/demo.png
import -window root -crop 1060x730+60+60 +repage "$out"
echo "screenshot: $root/$out"
wine "$tool" close "Varnel自动签到"
rm -f "$log"
