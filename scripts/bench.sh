#!/usr/bin/env bash
# Performance figures under Wine, each beside its yardstick in the same run:
# the scan tick, start-up, memory and idle CPU. Takes about two minutes.
#   bash scripts/bench.sh [idle seconds, default 60]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/bootstrap.sh
cmake --preset cross >/dev/null
cmake --build --preset cross --target varnel-signin minimal_window bench settle_desktop window_tool >/dev/null

source scripts/wine-env.sh
trap wine_down EXIT
wine_up
export ALSA_CONFIG_PATH="$root/build/cross/tests/win/alsa-none.conf"
wine build/cross/tests/win/settle_desktop.exe >/dev/null
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), $(wine --version), $(date -u +%Y-%m-%d)"
wine build/cross/tests/win/bench.exe "$root/build/cross/src/varnel-signin.exe" \
  "$root/build/cross/tests/win/minimal_window.exe" | tr -d '\r'

# 4. Idle: the process's own CPU time and wake-ups, read from Linux while it sits for a
# minute with no prompt on screen.
idle=${1:-60}
wine build/cross/src/varnel-signin.exe &
program=$!
wine build/cross/tests/win/window_tool.exe wait "Varnel自动签到" 30
sleep 4
pid=$(pgrep -f 'varnel-signin\.exe' | head -n 1)
cpu() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
switches() { cat /proc/"$pid"/task/*/status | awk '/^voluntary_ctxt_switches/ {s += $2} END {print s}'; }
hz=$(getconf CLK_TCK)
cpu0=$(cpu); sw0=$(switches)
sleep "$idle"
cpu1=$(cpu); sw1=$(switches)
echo "4. Idle: CPU time over $idle s with no prompt on screen (goal: only the ticks, no polling)"
echo "   $(( (cpu1 - cpu0) * 1000 / hz )) ms of CPU, $((sw1 - sw0)) wake-ups of its threads, $((idle / 3)) ticks due"
wine build/cross/tests/win/window_tool.exe close "Varnel自动签到"
wait "$program" || true
