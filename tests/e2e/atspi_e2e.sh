#!/usr/bin/env bash
# The running program's accessibility tree read through AT-SPI under a private Xvfb server
# and session bus: no focusable control without a name. usage: atspi_e2e.sh PROGRAM_DIR
set -euo pipefail
program_dir=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
cleanup() {
  kill "${vlmor:-}" "${xvfb:-}" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
# A display of the process's own; the next when it is taken.
display=$((190 + $$ % 40))
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
  display=$((display + 1))
done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb=$!
ready=0
for _ in $(seq 200); do
  if xdpyinfo -display ":$display" >/dev/null 2>&1; then ready=1; break; fi
  kill -0 $xvfb 2>/dev/null || break
  sleep 0.1
done
if [ $ready -ne 1 ]; then echo "no X server on :$display"; cat "$work/xvfb.log"; exit 1; fi
export DISPLAY=":$display" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache"
export XDG_RUNTIME_DIR="$work/run" QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
status=0
dbus-run-session -- bash -c '
  set -euo pipefail
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  launcher=$!
  "$0/vlmor" >"$2/vlmor.log" 2>&1 &
  vlmor=$!
  status=0
  /usr/bin/python3 "$1/atspi_walk.py" vlmor || status=$?
  kill $vlmor $launcher 2>/dev/null || true
  [ $status -eq 0 ] || cat "$2/vlmor.log"
  exit $status
' "$program_dir" "$here" "$work" || status=$?
exit $status
