# Sourced by the run and test scripts: a private Wine prefix inside the build folder,
# a virtual desktop (so windows get real frames without a window manager), a Chinese
# locale (code page 936 and a CJK UI font), and Xvfb when there is no display.
# wine_up starts what is needed; wine_down stops exactly what wine_up started.

wine_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$wine_root/build/wineprefix}"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LANG=zh_CN.UTF-8
export LC_ALL=zh_CN.UTF-8

wine_xvfb_pid=""

wine_start_display() {
  [ -n "${DISPLAY:-}" ] && return
  local n=99
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
  wine_xvfb_pid=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$n" ] && return
    sleep 0.1
  done
  echo "wine-env: Xvfb did not come up on :$n" >&2
  return 1
}

# One-time prefix set-up: every plain `wine program.exe` then opens in one 1920x1080
# virtual desktop, sound goes through ALSA (tests capture it with ALSA's file plugin),
# and web addresses go to whatever WineBrowser lists (tests point it at a recorder).
wine_init_prefix() {
  [ -f "$WINEPREFIX/.varnel-ready" ] && return
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || { echo "wine-env: wineboot failed" >&2; return 1; }
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1920x1080 /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d alsa /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.varnel-ready"
}

wine_up() {
  wine_start_display || return 1
  wine_init_prefix || return 1
  # Keep one wineserver for the whole run: each process start is then much cheaper.
  wineserver -p
  # The first program after a fresh wineserver brings the desktop up; let it settle
  # before anything times synthesised input.
  wine cmd /c exit >/dev/null 2>&1 || true
}

wine_down() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  if [ -n "$wine_xvfb_pid" ]; then
    kill "$wine_xvfb_pid" 2>/dev/null || true
    wait "$wine_xvfb_pid" 2>/dev/null || true
    wine_xvfb_pid=""
  fi
}
