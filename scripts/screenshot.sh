#!/usr/bin/env bash
# Screenshots of the program's windows under Wine, made by the program itself running:
#   docs/main-window.png    主窗口 as it starts
#   docs/author-window.png  作者窗口 opened with 作者
#   docs/hidden-window.png  彩蛋窗口 opened by a press on the picture
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/bootstrap.sh
cmake --preset cross >/dev/null
cmake --build --preset cross --target varnel-signin window_tool >/dev/null

source scripts/wine-env.sh
program_pid=""
finish() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  wine_down
}
trap finish EXIT
wine_up
tool=build/cross/tests/win/window_tool.exe
mkdir -p docs

# Grabs the X screen and crops it to the window with this caption, with a small margin.
shoot() {
  local caption=$1 out=$2 x y w h
  read -r x y w h < <(wine "$tool" rect "$caption" | tr -d '\r')
  sleep 1
  import -window root -crop "$((w + 16))x$((h + 16))+$((x - 8))+$((y - 8))" +repage "$out"
  echo "$out"
}

wine build/cross/src/varnel-signin.exe &
program_pid=$!
wine "$tool" wait "Varnel自动签到" 30
shoot "Varnel自动签到" docs/main-window.png

# The press returns when the window it opened has gone again.
wine "$tool" press "Varnel自动签到" "作者" &
press_pid=$!
wine "$tool" wait "Hi～" 10
shoot "Hi～" docs/author-window.png
wine "$tool" close "Hi～"
wait "$press_pid" || true

wine "$tool" lpress "Varnel自动签到" 50 60
wine "$tool" wait "隐藏彩蛋" 10
shoot "隐藏彩蛋" docs/hidden-window.png
wine "$tool" close "隐藏彩蛋"

wine "$tool" close "Varnel自动签到"
wait "$program_pid" || true
program_pid=""
