#!/usr/bin/env bash
# Runs one command on an X server of its own with openbox as window manager,
# so desktop tests can run side by side. Usage: run-under-x.sh command [args...]
# PELMORA_X_DISPLAYS="first-last" chooses the display numbers tried (default 100-199).
set -uo pipefail

range=${PELMORA_X_DISPLAYS:-100-199}
first=${range%-*}
last=${range#*-}
workdir=$(mktemp -d)
xvfb_pid=""
wm_pid=""

cleanup() {
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$workdir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Xvfb writes the display number to the pipe once it accepts clients, or
# exits when the number is taken; try the next number then. Start from a
# random point of the range so parallel tests rarely race for one number.
span=$((last - first + 1))
offset=$((RANDOM % span))
display=""
for ((i = 0; i < span; i++)); do
  n=$((first + (offset + i) % span))
  [ -e "/tmp/.X${n}-lock" ] && continue
  rm -f "$workdir/fd"
  mkfifo "$workdir/fd"
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -displayfd 3 3>"$workdir/fd" \
    >"$workdir/xvfb.log" 2>&1 &
  xvfb_pid=$!
  if read -r -t 20 got <"$workdir/fd" && [ "$got" = "$n" ]; then
    display=":$n"
    break
  fi
  kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null
  xvfb_pid=""
done
if [ -z "$display" ]; then
  echo "run-under-x: no free X display in $range" >&2
  cat "$workdir/xvfb.log" >&2 2>/dev/null
  exit 1
fi
export DISPLAY=$display

# The window manager is ready once it names itself on the root window. On a
# busy machine its first connection can fail: it is started again then.
wm_ready=""
attempt=0
while [ -z "$wm_ready" ] && [ "$attempt" -lt 3 ]; do
  attempt=$((attempt + 1))
  openbox --sm-disable >"$workdir/openbox.log" 2>&1 &
  wm_pid=$!
  for ((i = 0; i < 400; i++)); do
    if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
      wm_ready=yes
      break
    fi
    if ! kill -0 "$wm_pid" 2>/dev/null; then
      wait "$wm_pid" 2>/dev/null
      wm_pid=""
      sleep 0.5
      break
    fi
    sleep 0.05
  done
done
if [ -z "$wm_ready" ]; then
  echo "run-under-x: openbox did not start" >&2
  cat "$workdir/openbox.log" >&2
  exit 1
fi

export QT_QPA_PLATFORM=xcb
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
"$@"
